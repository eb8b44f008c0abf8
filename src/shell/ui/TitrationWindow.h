#pragma once

#include "shell/ui/Launchers.h"
#include "shell/ui/WindowFactories.h"

namespace quorin::shell::ui {

/// The titration curve's window kind: one curve per pK set and sequence.
void RegisterTitrationWindow();

/// The titration launcher (Analyze > Titration Curve): CTitrationDialog for
/// the pK set, then the sequence's curve of that set: its window when one is
/// open, else a new one.
void LaunchTitration(LaunchContext& context);

/// The titration window: CTitrationDoc on the sequence's record with the
/// request's analysis::PKaSet (the settings' table without one) and the "Line
/// Width" setting, and its CTitrationView, which redraws whenever
/// the sequence document's views update.
WindowContent MakeTitrationWindow(core::ui::CPeptideDoc& document, const std::any& request);

} // namespace quorin::shell::ui
