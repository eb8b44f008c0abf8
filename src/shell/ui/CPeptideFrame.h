#pragma once

#include "shell/ui/ChildFrame.h"

namespace quorin::shell::ui {

/// The frame of every analysis window (text results and plots).
class CPeptideFrame : public ChildFrame
{
    Q_OBJECT

public:
    using ChildFrame::ChildFrame;
};

} // namespace quorin::shell::ui
