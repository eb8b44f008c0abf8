#pragma once

#include "shell/ui/Launchers.h"
#include "shell/ui/WindowFactories.h"

namespace quorin::shell::ui {

class ChildFrame;

/// The domain sketch's window kind.
void RegisterSketchWindow();

/// The domain-sketch launcher (Analyze > Display Domain Structure): does
/// nothing while the sketch window is open; shows the document's sketch
/// again when it has one (a closed window keeps it); else starts a new
/// sketch (one grey domain over the whole sequence, the scale that makes it
/// 400 page units wide), shows the structure dialog and on OK opens the
/// sketch window with the scale chosen and marks the document modified.
/// Cancel leaves the new domain list in the record, not in the document.
void LaunchDomainSketch(LaunchContext& context);

/// The sketch window: CSchemeDoc on the sequence's record as it is (a sketch
/// read from a file included) and its CSchemeView, which redraws whenever
/// the sequence document's views update. A change of the sketch's content
/// marks the sequence document modified.
WindowContent MakeSketchWindow(core::ui::CPeptideDoc& document, const std::any& request);

/// Registers a new sketch frame's document with the sequence, which forgets
/// the window when it closes and keeps the sketch.
void AdoptSketchFrame(ChildFrame& frame, core::ui::CPeptideDoc& document);

} // namespace quorin::shell::ui
