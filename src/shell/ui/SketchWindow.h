#pragma once

#include "shell/ui/Launchers.h"
#include "shell/ui/WindowFactories.h"

namespace quorin::shell::ui {

class ChildFrame;

/// The domain-sketch launcher (Analyze > Display Domain Structure): does
/// nothing while the document has a sketch; else starts a new sketch (one
/// grey domain over the whole sequence, the scale that makes it 400 page
/// units wide), shows the structure dialog and on OK opens the sketch window
/// with the scale chosen. Cancel leaves the new domain list in the record.
void LaunchDomainSketch(LaunchContext& context);

/// The sketch window: CSchemeDoc on the sequence's record as it is (a sketch
/// read from a file included) and its CSchemeView, which redraws whenever
/// the sequence document's views update.
WindowContent MakeSketchWindow(core::ui::CPeptideDoc& document);

/// Sizes a new sketch frame to its page, names it after the view's caption
/// and registers its document with the sequence, which forgets it when it
/// closes.
void AdoptSketchFrame(ChildFrame& frame, core::ui::CPeptideDoc& document);

} // namespace quorin::shell::ui
