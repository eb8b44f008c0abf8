#include "shell/ui/CPepFrame.h"

namespace quorin::shell::ui {

CPepFrame::CPepFrame(WindowHost& host, core::ui::CPeptideDoc& document,
                     const WindowContent& content)
    : ChildFrame(host, WindowKind::SequenceEditor, document, content)
{
    setWindowTitle(QStringLiteral("Sequence Editor"));
}

} // namespace quorin::shell::ui
