#include "shell/ui/SequenceEditorPanes.h"

#include "core/CommandIds.h"
#include "shell/ui/CPepDlg1View.h"
#include "shell/ui/CPepDlg2View.h"
#include "shell/ui/CPepEditView.h"

namespace quorin::shell::ui {

SequenceEditorPanes::SequenceEditorPanes(core::ui::CPeptideDoc& document, QWidget* parent)
    : QSplitter(Qt::Vertical, parent)
{
    setObjectName(QStringLiteral("SequenceEditorPanes"));
    auto* lower = new QSplitter(Qt::Horizontal);
    lower->setObjectName(QStringLiteral("lowerPanes"));
    m_editor = new CPepEditView(document);
    m_header = new CPepDlg1View(document, *m_editor);
    m_numbers = new CPepDlg2View(*m_editor);
    lower->addWidget(m_numbers);
    lower->addWidget(m_editor);
    lower->setStretchFactor(1, 1);
    lower->setSizes({m_numbers->sizeHint().width(), 400});
    addWidget(m_header);
    addWidget(lower);
    setStretchFactor(1, 1);
    setSizes({100, 300});
    setChildrenCollapsible(false);
    lower->setChildrenCollapsible(false);
    setFocusProxy(m_editor);
}

core::ui::CommandTarget& SequenceEditorPanes::activePane() const
{
    if (m_header->FocusedField() != nullptr) {
        return *m_header;
    }
    return *m_editor;
}

std::optional<core::ui::CommandState> SequenceEditorPanes::CommandStateOf(int id)
{
    if (auto state = activePane().CommandStateOf(id)) {
        return state;
    }
    return m_editor->CommandStateOf(id);
}

bool SequenceEditorPanes::OnCommand(int id)
{
    core::ui::CommandTarget& pane = activePane();
    if (pane.CommandStateOf(id)) {
        return pane.OnCommand(id);
    }
    return m_editor->OnCommand(id);
}

} // namespace quorin::shell::ui
