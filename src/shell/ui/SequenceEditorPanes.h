#pragma once

#include "core/ui/CommandTarget.h"

#include <QSplitter>

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

class CPepDlg1View;
class CPepDlg2View;
class CPepEditView;

/// The sequence editor's window kind.
void RegisterSequenceEditor();

/// The inside of the sequence editor's frame: the header form on top, below
/// it the column of residue numbers and the sequence text side by side. On
/// the command route it stands for the pane the user works in: Cut, Copy and
/// Paste go to the header while its name or remarks field has the focus,
/// everything else to the text (the frame forwards Copy All and Select
/// from... to... there from anywhere).
class SequenceEditorPanes : public QSplitter, public core::ui::CommandTarget
{
    Q_OBJECT

public:
    explicit SequenceEditorPanes(core::ui::CPeptideDoc& document, QWidget* parent = nullptr);

    CPepDlg1View& Header() const { return *m_header; }
    CPepDlg2View& Numbers() const { return *m_numbers; }
    CPepEditView& Editor() const { return *m_editor; }

    std::optional<core::ui::CommandState> CommandStateOf(int id) override;
    bool OnCommand(int id) override;

private:
    core::ui::CommandTarget& activePane() const;

    CPepEditView* m_editor = nullptr;
    CPepDlg1View* m_header = nullptr;
    CPepDlg2View* m_numbers = nullptr;
};

} // namespace quorin::shell::ui
