#include "shell/EnablingRules.h"

#include "core/CommandIds.h"

#include <cassert>

namespace quorin::shell {

namespace cmd = core::cmd;

bool IsAnalyzeCommand(int id)
{
    switch (id) {
    case cmd::kPhysChem:
    case cmd::kCleavage:
    case cmd::kModFinder:
    case cmd::kMotifs:
    case cmd::kHelicalWheel:
    case cmd::kHydropathy:
    case cmd::kAmphipathy:
    case cmd::kDomainSketch:
    case cmd::kTitration:
        return true;
    default:
        return false;
    }
}

bool AnalyzeCommandEnabled(int id, WindowKind active, const AnalyzeState& state)
{
    assert(IsAnalyzeCommand(id));
    if (state.residueLength <= 0) {
        return false;
    }
    const bool inPlot = InfoOf(active).family == DocumentFamily::Plot;
    switch (id) {
    case cmd::kPhysChem:
        return !state.physChemViewOpen;
    case cmd::kCleavage:
        return inPlot ? !state.digestComputed : !state.digestViewExists;
    case cmd::kModFinder:
        return state.digestComputed && !state.digestBusy && !state.modFinderViewOpen;
    case cmd::kMotifs:
        return !state.motifViewOpen;
    case cmd::kHelicalWheel:
        return active == WindowKind::Wheel || state.wheelCount < 5;
    case cmd::kHydropathy:
        return active == WindowKind::Amphipathy || !state.hydropathyOpen;
    case cmd::kAmphipathy:
        return inPlot || !state.amphipathyOpen;
    case cmd::kDomainSketch:
        return !state.sketchOpen;
    case cmd::kTitration:
        // Its launcher shows the curve of a set that is open already.
        return true;
    default:
        return false;
    }
}

bool IsEditorCommand(int id)
{
    switch (id) {
    case cmd::kUndo:
    case cmd::kRedo:
    case cmd::kCut:
    case cmd::kCopy:
    case cmd::kPaste:
    case cmd::kSelectAll:
    case cmd::kCopyAll:
    case cmd::kSelectRange:
    case cmd::kGoTo:
    case cmd::kPrint:
        return true;
    default:
        return false;
    }
}

bool EditorCommandEnabled(int id, const EditorState& state)
{
    assert(IsEditorCommand(id));
    switch (id) {
    case cmd::kPaste:
        return state.clipboardHasText;
    case cmd::kUndo:
        return state.canUndo;
    case cmd::kRedo:
        return state.canRedo;
    default:
        return true;
    }
}

} // namespace quorin::shell
