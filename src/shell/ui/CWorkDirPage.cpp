#include "core/MessageTexts.h"
#include "core/UserData.h"
#include "core/ui/Application.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"
#include "shell/ui/PreferencePages.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <system_error>

namespace quorin::shell::ui {

using core::ui::ToQString;
using core::ui::ToStdString;

namespace {

QString pathText(const std::filesystem::path& path)
{
    return ToQString(path.string());
}

} // namespace

CNewDirDialog::CNewDirDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CNewDirDialog"));
    setWindowTitle(QStringLiteral("Create new directory"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    auto* caption = new QLabel(QStringLiteral("Name"), this);
    caption->setBuddy(m_name);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_name);
    layout->addWidget(buttons);
}

QString CNewDirDialog::Name() const
{
    return m_name->text();
}

CWorkDirPage::CWorkDirPage(core::ui::Application& app, QWidget* parent)
    : CPreferencePage(QStringLiteral("Directories"), QStringLiteral("PREFERENCES DIRECTORIES"),
                      parent),
      m_app(app)
{
    setObjectName(QStringLiteral("CWorkDirPage"));
    const std::string& working = app.Settings().workingDirectory;
    m_browsed = {working.empty() ? app.StartDirectory() : std::filesystem::path(working),
                 app.UserDataDirectory()};

    m_current = new QLabel(this);
    m_current->setObjectName(QStringLiteral("currentDirectory"));
    m_current->setWordWrap(true);
    m_current->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("directories"));

    auto* up = new QToolButton(this);
    up->setObjectName(QStringLiteral("up"));
    up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    up->setToolTip(QStringLiteral("One directory up"));
    auto* create = new QToolButton(this);
    create->setObjectName(QStringLiteral("newDirectory"));
    create->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    create->setToolTip(QStringLiteral("Create a new directory"));

    auto* applyTo = new QGroupBox(QStringLiteral("Apply to:"), this);
    m_userData = new QRadioButton(QStringLiteral("Working folder"), applyTo);
    m_userData->setObjectName(QStringLiteral("userData"));
    m_userProfiles = new QRadioButton(QStringLiteral("Settings folder"), applyTo);
    m_userProfiles->setObjectName(QStringLiteral("userProfiles"));
    m_userData->setChecked(true);
    auto* radios = new QVBoxLayout(applyTo);
    radios->addWidget(m_userData);
    radios->addWidget(m_userProfiles);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_current, 0, 0, 1, 2);
    layout->addWidget(m_list, 1, 0, 3, 1);
    layout->addWidget(up, 1, 1);
    layout->addWidget(create, 2, 1);
    layout->addWidget(applyTo, 4, 0, 1, 2);
    layout->setRowStretch(3, 1);

    connect(m_list, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Enter(Browsed() / ToStdString(item->text())); });
    connect(up, &QToolButton::clicked, this, [this] { Enter(Browsed().parent_path()); });
    connect(create, &QToolButton::clicked, this, &CWorkDirPage::createDirectory);
    connect(m_userData, &QRadioButton::toggled, this, [this] { list(Browsed()); });
    list(Browsed());
}

int CWorkDirPage::mode() const
{
    return m_userProfiles->isChecked() ? 1 : 0;
}

std::filesystem::path CWorkDirPage::Browsed() const
{
    return m_browsed[static_cast<std::size_t>(mode())];
}

bool CWorkDirPage::MovesSettings() const
{
    return mode() == 1;
}

bool CWorkDirPage::list(const std::filesystem::path& directory)
{
    const auto names = ListSubdirectories(directory);
    if (!names) {
        core::ui::ShowMessage(ToQString(core::msg::kNoDirectoryInfo), ToQString(core::msg::kError));
        return false;
    }
    m_browsed[static_cast<std::size_t>(mode())] = directory;
    m_current->setText(pathText(directory));
    m_list->clear();
    for (const std::string& name : *names) {
        m_list->addItem(ToQString(name));
    }
    return true;
}

bool CWorkDirPage::Enter(const std::filesystem::path& directory)
{
    if (!list(directory.lexically_normal())) {
        return false;
    }
    SetModified();
    return true;
}

void CWorkDirPage::createDirectory()
{
    CNewDirDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted || dialog.Name().isEmpty()) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::create_directory(Browsed() / ToStdString(dialog.Name()), error)) {
        core::ui::ShowMessage(ToQString(core::msg::kCannotCreateDirectory),
                              ToQString(core::msg::kError));
    }
    list(Browsed());
    SetModified();
}

void CWorkDirPage::Collect(PreferenceChanges& changes)
{
    if (!MovesSettings()) {
        changes.workingDirectory = Browsed().string();
    }
}

CWorkDirPage::MoveOutcome CWorkDirPage::MoveSettings()
{
    const std::filesystem::path target = Browsed();
    const std::filesystem::path oldFile = m_app.SettingsFile().Path();
    if (SameDirectory(target, m_app.UserDataDirectory())) {
        return MoveOutcome::Nothing;
    }
    std::error_code error;
    const bool found = std::filesystem::exists(core::SettingsFilePath(target), error);
    core::ui::MessageRequest question;
    question.text =
        ToQString(found ? core::msg::kReplaceSettingsFile : core::msg::kCopySettingsFile);
    question.caption = ToQString(core::msg::kProgramTitle);
    question.icon = core::ui::MessageIcon::Question;
    question.buttons = core::ui::MessageButtons::YesNo;
    question.defaultAnswer = found ? core::ui::MessageAnswer::No : core::ui::MessageAnswer::Yes;
    const bool copy = core::ui::ShowMessage(question) == core::ui::MessageAnswer::Yes;

    if (copy) {
        if (const core::FileStatus copied = CopySettingsFile(oldFile, target); !copied) {
            core::ui::ShowMessage(ToQString(core::msg::SettingsNotMoved(
                                      target.string(), copied.Error(), oldFile.string())),
                                  ToQString(core::msg::kError));
            return MoveOutcome::Failed;
        }
    }
    core::ProfileFile registry(core::RegistryStorePath());
    if (!core::WriteUserDataDirectory(registry, target)) {
        core::ui::ShowMessage(
            ToQString(core::msg::UserDataNotRecorded(registry.Path().string(), oldFile.string())),
            ToQString(core::msg::kError));
        return MoveOutcome::Failed;
    }
    if (copy) {
        // Only now, with the copy read back and the new place recorded, may the
        // old file go.
        std::filesystem::remove(oldFile, error);
    }
    m_app.SetUserDataDirectory(target);
    m_browsed[1] = target;
    return MoveOutcome::Restart;
}

} // namespace quorin::shell::ui
