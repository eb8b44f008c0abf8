#pragma once

#include "core/ui/CommandTarget.h"

#include <functional>

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::shell::ui {

class WindowHost;

/// What a launcher works with.
struct LaunchContext
{
    WindowHost& host;
    core::ui::CPeptideDoc& document;
};

/// Opens an analysis for an Analyze command: checks its preconditions, shows
/// its dialog, computes into the record and opens the window
/// (WindowHost::OpenWindow), registering it in the document's OpenAnalyses.
using Launcher = std::function<void(LaunchContext&)>;

/// The launcher of an Analyze command, or nullptr while it has none (the
/// command then stays disabled). Each window kind registers its launcher
/// (RegisterWindowKind).
const Launcher* FindLauncher(int id);
void SetLauncher(int id, Launcher launcher);

/// A command of the application itself (Batch analysis, Preferences, ...):
/// its state and what it does. Registered in Launchers.cpp.
struct ApplicationCommand
{
    std::function<core::ui::CommandState()> state;
    std::function<void(WindowHost&)> run;
};

const ApplicationCommand* FindApplicationCommand(int id);
void SetApplicationCommand(int id, ApplicationCommand command);

/// The report windows on the sequence document: physico-chemical
/// properties, the digest, ModFinder and the motif search.
void RegisterPhysChemWindow();
void RegisterDigestWindow();
void RegisterModFinderWindow();
void RegisterMotifWindow();

/// The launcher of the physico-chemical window: no dialog, just the window.
void LaunchPhysChem(LaunchContext& context);

/// The launcher of the digest: "No cleaving agents defined!" without agents,
/// else the agent dialog; on Analyse a digest of more fragments than
/// analysis::FragmentCeiling() allows is refused with a message naming the
/// count (nothing changes, no window opens); otherwise the digest starts, the
/// document counts it as computed, and the digest window opens (630 x 405).
void LaunchCleavage(LaunchContext& context);

/// Shows the motif dialog; on OK (the search has run on the document's
/// record) opens the motif window at the next cascade position, 640 x 300.
void LaunchMotifs(LaunchContext& context);
/// The launcher of ModFinder: nothing before a digest, or while a digest job
/// holds the fragments; "No modifications defined!" without modifications;
/// else the ModFinder dialog, and on Analyse the ModFinder window (640 x 300).
void LaunchModFinder(LaunchContext& context);

} // namespace quorin::shell::ui
