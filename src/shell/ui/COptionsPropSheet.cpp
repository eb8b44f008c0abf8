#include "shell/ui/COptionsPropSheet.h"

#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/PepFile.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Help.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "shell/ui/PreferencePages.h"
#include "shell/ui/WindowHost.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>
#include <utility>

namespace quorin::shell::ui {

using core::ui::ToQString;

CPreferencePage::CPreferencePage(const QString& title, const QString& helpKeyword, QWidget* parent)
    : QWidget(parent), m_title(title), m_helpKeyword(helpKeyword)
{}

void CPreferencePage::SetModified(bool modified)
{
    if (m_modified != modified) {
        m_modified = modified;
        emit modifiedChanged(modified);
    }
}

void CPreferencePage::refuse(const std::string& message, QLineEdit* field)
{
    emit showRequested();
    core::ui::ShowMessage(ToQString(message), ToQString(core::msg::kError));
    field->setFocus();
    field->selectAll();
}

void CPreferencePage::keepRow(QListWidget* list, int row)
{
    const auto select = [list, row] {
        const QSignalBlocker blocker(list);
        list->setCurrentRow(row);
    };
    select();
    QTimer::singleShot(0, list, select);
}

QLineEdit* CPreferencePage::field(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    connect(edit, &QLineEdit::textEdited, this, [this] { SetModified(); });
    return edit;
}

QLineEdit* CPreferencePage::sizeField(const QString& name, QWidget* parent, int& accepted,
                                      int minimum, int maximum)
{
    auto* edit = field(name, parent);
    edit->setMaxLength(8);
    edit->setText(QString::number(accepted));
    connect(edit, &QLineEdit::textEdited, this,
            [edit, &accepted, minimum, maximum](const QString& text) {
                if (text.isEmpty()) {
                    return;
                }
                if (const auto value =
                        AcceptedSize(core::ui::ToStdString(text), minimum, maximum)) {
                    accepted = *value;
                } else {
                    edit->setText(QString::number(accepted));
                }
            });
    return edit;
}

QPushButton* CPreferencePage::defaultButton(std::function<void()> reset)
{
    auto* button = new QPushButton(QStringLiteral("&Default"), this);
    button->setObjectName(QStringLiteral("default"));
    connect(button, &QPushButton::clicked, this, [this, reset = std::move(reset)] {
        reset();
        SetModified();
    });
    return button;
}

COptionsPropSheet::COptionsPropSheet(core::ui::Application& app, core::ui::CPeptideDoc* document,
                                     QWidget* parent)
    : QDialog(parent), m_app(app), m_document(document)
{
    setObjectName(QStringLiteral("COptionsPropSheet"));
    setWindowTitle(QStringLiteral("Preferences"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("pages"));
    // Every page's tab in sight: the sheet is as wide as its tab row.
    m_tabs->setUsesScrollButtons(false);

    m_directories = new CWorkDirPage(app);
    m_pages.push_back(m_directories);
    m_pages.push_back(new CWheelPropertiesPage(app.Settings()));
    if (document != nullptr) {
        const core::PropertyRecord& record = document->Record();
        m_pages.push_back(new CEditProteases(record));
        m_pages.push_back(new CEditpKaPage(record));
        m_pages.push_back(new CFontSizePage(app.Settings()));
        m_pages.push_back(new CEditModificationsPage(record));
        m_pages.push_back(new CEditPathyScalePage(record));
    } else {
        m_pages.push_back(new CFontSizePage(app.Settings()));
    }
    m_pages.push_back(new CDownloadPage(app.SettingsFile()));
    for (CPreferencePage* page : m_pages) {
        m_tabs->addTab(page, page->Title());
        connect(page, &CPreferencePage::modifiedChanged, this, &COptionsPropSheet::updateApply);
        connect(page, &CPreferencePage::showRequested, this,
                [this, page] { m_tabs->setCurrentWidget(page); });
    }

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply | QDialogButtonBox::Help,
                                     this);
    m_buttons->button(QDialogButtonBox::Apply)->setObjectName(QStringLiteral("apply"));
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
    m_buttons->button(QDialogButtonBox::Help)->setObjectName(QStringLiteral("help"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &COptionsPropSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &COptionsPropSheet::reject);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { Apply(); });
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, [this] {
        const auto* page = qobject_cast<CPreferencePage*>(m_tabs->currentWidget());
        core::ui::OpenHelpTopic(page ? page->HelpKeyword() : QStringLiteral("PREFERENCES"));
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    updateApply();
}

void COptionsPropSheet::updateApply()
{
    bool modified = false;
    for (const CPreferencePage* page : m_pages) {
        modified = modified || page->IsModified();
    }
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(modified);
}

bool COptionsPropSheet::Apply()
{
    std::vector<CPreferencePage*> modified;
    for (CPreferencePage* page : m_pages) {
        if (page->IsModified()) {
            modified.push_back(page);
        }
    }
    // Every check first: a page refused leaves every page unwritten, so that
    // the file never holds half of a confirmation.
    for (CPreferencePage* page : modified) {
        if (!page->CheckShown()) {
            return false;
        }
    }
    PreferenceChanges changes;
    for (CPreferencePage* page : modified) {
        page->Collect(changes);
    }
    core::PropertyRecord* record = m_document ? &m_document->Record() : nullptr;
    if (!changes.Empty()) {
        if (!WritePreferences(m_app.SettingsFile(), changes, record)) {
            core::ui::ShowMessage(
                ToQString(core::msg::CannotWriteSettings(m_app.SettingsFile().Path().string())),
                ToQString(core::msg::kError));
            return false;
        }
        ApplyPreferences(changes, m_app.Settings(), record);
    }
    const bool moveAsked = m_directories->IsModified() && m_directories->MovesSettings();
    for (CPreferencePage* page : modified) {
        if (page != m_directories || !moveAsked) {
            page->Confirmed();
        }
    }
    if (changes.wheel) {
        m_app.NotifyWheelOptionsChanged();
    }
    if (!changes.Empty()) {
        m_app.NotifySettingsChanged();
        if (m_document != nullptr) {
            m_document->UpdateAllViews();
        }
    }
    if (moveAsked) {
        switch (m_directories->MoveSettings()) {
        case CWorkDirPage::MoveOutcome::Failed:
            m_tabs->setCurrentWidget(m_directories);
            return false;
        case CWorkDirPage::MoveOutcome::Restart:
            m_restart = true;
            break;
        case CWorkDirPage::MoveOutcome::Nothing:
            break;
        }
        m_directories->Confirmed();
    }
    return true;
}

void COptionsPropSheet::accept()
{
    if (Apply()) {
        QDialog::accept();
    }
}

PreferenceChoosers& PrefChoosers()
{
    static PreferenceChoosers choosers = StandardPrefChoosers();
    return choosers;
}

PreferenceChoosers StandardPrefChoosers()
{
    PreferenceChoosers choosers;
    choosers.colour = [](QWidget* parent, core::COLORREF current) -> std::optional<core::COLORREF> {
        const QColor chosen = QColorDialog::getColor(core::ui::ColorFromColorref(current), parent);
        if (!chosen.isValid()) {
            return std::nullopt;
        }
        return core::ui::ColorrefFromColor(chosen);
    };
    choosers.font = [](QWidget* parent,
                       const core::LOGFONT& current) -> std::optional<core::LOGFONT> {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, core::ui::FontFromLogFont(current), parent);
        if (!ok) {
            return std::nullopt;
        }
        return core::ui::LogFontFromFont(chosen);
    };
    choosers.restart = [](const QStringList& arguments) {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
        QCoreApplication::exit(1);
    };
    return choosers;
}

namespace {

/// The file the restarted program opens: the sequence's own when it reads as
/// a sequence file (a text imported from another format does not).
QStringList reopenedFile(const core::ui::CPeptideDoc* document)
{
    if (document == nullptr || document->PathName().isEmpty()) {
        return {};
    }
    const QString path = document->PathName();
    const core::ReadResult bytes =
        core::ReadSequenceFile(std::filesystem::path(path.toStdString()));
    core::PropertyRecord scratch;
    if (!bytes || core::LoadSequenceBytes(*bytes, scratch).status != core::PepLoadStatus::Ok) {
        return {};
    }
    return {path};
}

/// Ends this run after the settings moved and starts the program again with
/// the open sequence; nothing when the user keeps the unsaved sequence.
void restartProgram(WindowHost& frame)
{
    core::ui::CPeptideDoc* document = core::ui::Application::Instance().CurrentDocument();
    // The question comes before the file is named: Yes may give the sequence
    // its first file.
    if (document != nullptr && !document->SaveModified()) {
        return;
    }
    const QStringList arguments = reopenedFile(document);
    // The exit code of the restart is 1; the window closing must not end the
    // program with 0 first.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!frame.Window().close()) {
        QApplication::setQuitOnLastWindowClosed(true);
        return;
    }
    PrefChoosers().restart(arguments);
}

} // namespace

void ShowPreferences(WindowHost& frame)
{
    core::ui::Application& app = core::ui::Application::Instance();
    core::ui::CPeptideDoc* document = app.CurrentDocument();
    COptionsPropSheet sheet(app, document, &frame.Window());
    sheet.exec();
    if (sheet.RestartRequested()) {
        core::ui::ShowMessage(ToQString(core::msg::kWillTerminate),
                              ToQString(core::msg::kProgramTitle),
                              core::ui::MessageIcon::Information);
        restartProgram(frame);
    }
}

} // namespace quorin::shell::ui
