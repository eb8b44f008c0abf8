#include "shell/ui/SequenceSummaryView.h"

#include "core/CommandIds.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/QtText.h"
#include "shell/SequenceEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace quorin::shell::ui {
namespace {

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

SequenceSummaryView::SequenceSummaryView(core::ui::CPeptideDoc& document, QWidget* parent)
    : QWidget(parent), m_document(&document)
{
    setObjectName(QStringLiteral("SequenceSummaryView"));
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_length = new QLineEdit(this);
    m_length->setObjectName(QStringLiteral("length"));
    m_length->setMaximumWidth(90);
    m_remarks = new QPlainTextEdit(this);
    m_remarks->setObjectName(QStringLiteral("remarks"));
    m_remarks->setMaximumHeight(56);
    m_sequence = new QPlainTextEdit(this);
    m_sequence->setObjectName(QStringLiteral("sequence"));
    m_sequence->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSizeF(8.5);
    m_sequence->setFont(fixed);
    for (QWidget* field :
         std::initializer_list<QWidget*>{m_name, m_length, m_remarks, m_sequence}) {
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            line->setReadOnly(true);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
            text->setReadOnly(true);
        }
    }

    auto* layout = new QGridLayout(this);
    layout->addWidget(boldLabel(QStringLiteral("Name:"), this), 0, 0);
    layout->addWidget(m_name, 0, 1);
    layout->addWidget(boldLabel(QStringLiteral("Length:"), this), 0, 2);
    layout->addWidget(m_length, 0, 3);
    layout->addWidget(boldLabel(QStringLiteral("Remarks:"), this), 1, 0, Qt::AlignTop);
    layout->addWidget(m_remarks, 1, 1, 1, 3);
    layout->addWidget(m_sequence, 2, 0, 1, 4);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);

    connect(&document, &core::ui::CPeptideDoc::viewsNeedUpdate, this,
            &SequenceSummaryView::Refresh);
    Refresh();
}

void SequenceSummaryView::Refresh()
{
    if (!m_document) {
        return;
    }
    core::PropertyRecord& record = m_document->Record();
    int charsPerLine = core::ui::Application::Instance().Settings().charsPerLine;
    if (charsPerLine < 10) {
        charsPerLine = 60;
    }
    m_name->setText(core::ui::ToQString(record.Name()));
    m_name->setCursorPosition(0);
    m_length->setText(QString::number(record.ResidueLength()));
    m_remarks->setPlainText(core::ui::ToQString(record.remarks));
    QString blocks = core::ui::ToQString(BuildDisplayText(
        record.CleanSequence(), 0, -1, SequenceEditor::kBlockSize, charsPerLine / 10));
    blocks.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_sequence->setPlainText(blocks);
}

std::optional<core::ui::CommandState> SequenceSummaryView::CommandStateOf(int id)
{
    switch (id) {
    case core::cmd::kCopy:
    case core::cmd::kSelectAll:
        return core::ui::CommandState{};
    default:
        return std::nullopt;
    }
}

bool SequenceSummaryView::OnCommand(int id)
{
    switch (id) {
    case core::cmd::kCopy:
        if (m_name->hasFocus() || m_length->hasFocus()) {
            auto* line = m_name->hasFocus() ? m_name : m_length;
            QApplication::clipboard()->setText(line->selectedText());
        } else if (m_remarks->hasFocus()) {
            m_remarks->copy();
        } else {
            m_sequence->copy();
        }
        return true;
    case core::cmd::kSelectAll:
        m_sequence->setFocus();
        m_sequence->selectAll();
        return true;
    default:
        return false;
    }
}

} // namespace quorin::shell::ui
