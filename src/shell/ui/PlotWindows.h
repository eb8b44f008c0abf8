#pragma once

#include "shell/ui/Launchers.h"
#include "shell/ui/WindowFactories.h"

#include <QPointer>

namespace quorin::shell::ui {

class ChildFrame;

/// Registers the plot document of frame with the sequence in slot (one of
/// its Analyses()); the sequence's analyses change now and when it goes.
void RegisterPlot(ChildFrame& frame, core::ui::CPeptideDoc& document, QPointer<QObject>& slot);

/// The hydropathy plot's and the amphipathy plot's window kinds.
void RegisterHydropathyWindow();
void RegisterAmphipathyWindow();

/// The hydropathy launcher (Analyze > Hydropathy Plot): refuses without a
/// hydropathy scale, does nothing while the document has a hydropathy plot,
/// else shows CPathyDialog on a new request (threshold 1.6) and on OK opens
/// the plot window of the dialog's request and registers its document with
/// the sequence.
void LaunchHydropathy(LaunchContext& context);

/// The hydropathy window: CPathyDoc on the sequence's record (taking the
/// request, a plots::PendingPlotRequest, and the "Line Width" setting) and its
/// CPathyView, which redraws whenever the sequence document's views update.
WindowContent MakeHydropathyWindow(core::ui::CPeptideDoc& document, const std::any& request);

/// The amphipathy launcher (Analyze > Plot of Amphipathy Moment): as the
/// hydropathy one, with CAmphyDialog on an empty request.
void LaunchAmphipathy(LaunchContext& context);

/// The amphipathy window: CAmphyDoc on the sequence's record (taking the
/// request, a plots::PendingPlotRequest, and the "Line Width" setting) and its
/// CAmphyView.
WindowContent MakeAmphipathyWindow(core::ui::CPeptideDoc& document, const std::any& request);

} // namespace quorin::shell::ui
