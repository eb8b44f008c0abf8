#pragma once

#include "shell/ui/ChildFrame.h"

namespace quorin::shell::ui {

/// The sequence editor's frame. Its title is always "Sequence Editor", and
/// closing it closes the sequence document with all its analyses (after the
/// save question).
class CPepFrame : public ChildFrame
{
    Q_OBJECT

public:
    CPepFrame(WindowHost& host, core::ui::CPeptideDoc& document, const WindowContent& content);
};

} // namespace quorin::shell::ui
