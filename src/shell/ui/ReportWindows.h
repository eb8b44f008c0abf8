#pragma once

#include "shell/ui/Launchers.h"

namespace quorin::shell::ui {

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
