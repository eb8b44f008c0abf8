#include "shell/ui/SequenceEditorPanes.h"

#include "core/CommandIds.h"
#include "shell/CommandTable.h"
#include "shell/ui/CPepDlg1View.h"
#include "shell/ui/CPepDlg2View.h"
#include "shell/ui/CPepEditView.h"
#include "shell/ui/WindowFactories.h"

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

void RegisterSequenceEditor()
{
    namespace cmd = core::cmd;
    static constexpr HelpPage help[] = {{"CONTENT", "sequence-editor.html"}};
    static constexpr CommandInfo commands[] = {
        {cmd::kUndo, "Undo the last change of the sequence"},
        {cmd::kRedo, "Redo the change of the sequence undone last"},
        {cmd::kCut, "Cut the selection to the clipboard"},
        {cmd::kSelectRange, "Select sequence range"},
        {cmd::kGoTo, "Postion cursor in sequence"},
    };
    static constexpr MenuItem edit[] = {
        {cmd::kUndo, "&Undo\tCtrl+Z"},
        {cmd::kRedo, "&Redo\tCtrl+Shift+Z"},
        {kSeparator, ""},
        {cmd::kCut, "Cu&t\tCtrl+X"},
        kCopyItem,
        {cmd::kPaste, "&Paste\tCtrl+V"},
        {kSeparator, ""},
        {cmd::kSelectAll, "Select &All\tCtrl+A"},
        {cmd::kCopyAll, "C&opy All"},
        {kSeparator, ""},
        {cmd::kSelectRange, "&Select from... to..."},
        {cmd::kGoTo, "&Go to..."},
    };
    WindowKindInfo info{WindowKind::SequenceEditor, "Peptide Properties", DocumentFamily::Sequence,
                        help};
    info.commands = commands;
    info.editMenu = edit;
    RegisterWindowKind(info, {}, ViewOn<SequenceEditorPanes>);
}

} // namespace quorin::shell::ui
