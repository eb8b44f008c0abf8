#pragma once

#include "shell/ui/Launchers.h"
#include "shell/ui/WindowFactories.h"

#include <string_view>

namespace quorin::shell::ui {

/// Where the settings file remembers the last PROSITE library scanned.
inline constexpr std::string_view kPrositeSection = "PROSITE";
inline constexpr std::string_view kPrositeLibraryKey = "Library File";

/// The PROSITE scan's window kind: the matches of a library's patterns.
void RegisterPrositeScanWindow();

/// Analyze > Scan with PROSITE File...: asks for the data file (starting at
/// the last one scanned), reads its pattern entries, remembers the file in
/// the settings and opens the scan window on them. A file that cannot be read
/// or holds no pattern is refused with a message, and nothing opens.
void LaunchPrositeScan(LaunchContext& context);

/// The scan window: a CScanView of the request's library (a
/// std::shared_ptr<const analysis::ui::PrositeLibrary>) whose chosen rows
/// select their stretch in the sequence editor.
WindowContent MakePrositeScanWindow(core::ui::CPeptideDoc& document, const std::any& request);

} // namespace quorin::shell::ui
