#include "shell/ui/CPepFrame.h"

namespace quorin::shell::ui {

CPepFrame::CPepFrame(CMainFrame& mainFrame, core::ui::CPeptideDoc& document,
                     const WindowContent& content)
    : ChildFrame(mainFrame, WindowKind::SequenceEditor, document, content)
{
    setWindowTitle(QStringLiteral("Sequence Editor"));
}

} // namespace quorin::shell::ui
