#include "shell/EnablingRules.h"

#include "core/CommandIds.h"

#include <cassert>

namespace quorin::shell {

namespace cmd = core::cmd;

bool IsAnalyzeCommand(int id)
{
    return KindOfAnalyzeCommand(id) != nullptr;
}

bool AnalyzeCommandEnabled(int id, WindowKind active, const AnalyzeState& state)
{
    const WindowKindInfo* kind = KindOfAnalyzeCommand(id);
    assert(kind != nullptr);
    return state.residueLength > 0 && kind->analyze.enabled != nullptr &&
           kind->analyze.enabled(state, active);
}

bool InPlot(WindowKind active)
{
    return InfoOf(active).family == DocumentFamily::Plot;
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
