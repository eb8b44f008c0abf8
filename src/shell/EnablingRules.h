#pragma once

#include "shell/WindowKinds.h"

#include <map>

namespace quorin::shell {

/// What the enabling of the Analyze commands looks at: the sequence document's
/// registry of open analyses and the windows open in the main window.
struct AnalyzeState
{
    int residueLength = 0; ///< of the current sequence document
    /// How many windows of each kind are open on the document; a kind left
    /// out has none.
    std::map<WindowKind, int> windowsOpen;
    bool digestComputed = false; ///< cleared only when the sequence is reset or reloaded
    bool hydropathyOpen = false;
    bool amphipathyOpen = false;
    bool sketchOpen = false;
    bool digestViewExists = false; ///< a digest window is open, on any document
    bool digestBusy = false;       ///< a digest job holds the document's fragments
    bool hasFeatures = false;      ///< the sequence was read from a UniProt entry with features

    int OpenOf(WindowKind kind) const
    {
        const auto found = windowsOpen.find(kind);
        return found == windowsOpen.end() ? 0 : found->second;
    }
};

/// True for the Analyze commands of the registered window kinds.
bool IsAnalyzeCommand(int id);

/// Whether an Analyze command is enabled in a window of kind active: the
/// sequence has at least one residue and the rule its kind registered allows
/// it. The text-analysis windows and the editor follow the sequence
/// document's rules; the plot windows differ for the digest (a digest once
/// computed keeps it disabled there), and leave enabled what only the
/// sequence document checks (wheels in a wheel window, hydropathy in the
/// amphipathy window, amphipathy in the wheel, hydropathy and sketch
/// windows): their launchers refuse or do nothing instead.
/// Precondition: IsAnalyzeCommand(id).
bool AnalyzeCommandEnabled(int id, WindowKind active, const AnalyzeState& state);

/// Whether a window of kind active shows a plot: the rules that differ there.
bool InPlot(WindowKind active);

/// What the enabling of the sequence editor's text commands looks at.
struct EditorState
{
    bool clipboardHasText = false;
    bool canUndo = false; ///< the editor's own history of sequence changes
    bool canRedo = false;
};

/// True for the commands the editor's text handles: Undo, Redo, Cut, Copy,
/// Paste, Select All, Copy All, Select from... to..., Go to and Print.
bool IsEditorCommand(int id);

/// Whether an editor command is enabled: Paste needs text on the clipboard,
/// Undo and Redo a step to take; the others are always enabled (Cut and Copy
/// of an empty selection do nothing). Precondition: IsEditorCommand(id).
bool EditorCommandEnabled(int id, const EditorState& state);

} // namespace quorin::shell
