#pragma once

#include "shell/ui/Launchers.h"
#include "shell/ui/WindowFactories.h"

namespace quorin::shell::ui {

/// The helical wheel's window kind; at most plots::kMaxWheels on a sequence.
void RegisterWheelWindow();

/// The wheel launcher (Analyze > Helical Wheel): with five wheels open on the
/// sequence "Only 5 Helical Wheels may be displayed!" and nothing else;
/// otherwise CWheelDialog with empty fields, and on OK the wheel window.
void LaunchHelicalWheel(LaunchContext& context);

/// The wheel window for the from..to of request, a plots::PendingPlotRequest
/// (the dialog's, or a stretch dragged over a plot in wheel mode): appends the record's wheel
/// entry, registers the wheel with the sequence and lets every wheel of the sequence take the
/// settings' wheel options. Makes nothing when from is 0 (no stretch) or five wheels are open.
/// Closing the wheel removes its entry.
WindowContent MakeWheelWindow(core::ui::CPeptideDoc& document, const std::any& request);

} // namespace quorin::shell::ui
