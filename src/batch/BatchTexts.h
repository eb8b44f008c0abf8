#pragma once

#include "batch/BatchAnalyzer.h"
#include "batch/BatchOptions.h"

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

namespace quorin::batch {

/// The header line of the results file, CR LF included.
std::string ResultsHeader(const BatchOptions& options);

/// Appends one data line (the selected values, each followed by a TAB, then
/// the name and CR LF) to out.
void AppendResultLine(std::string& out, const PROPERTIES& row, std::string_view name,
                      const BatchOptions& options);

/// The log of a run, lines ending with CR LF. scaleName is written when GRAVY
/// or the helices were selected; time is the time of writing.
std::string BatchLogText(std::string_view dataPath, std::string_view resultsPath,
                         std::size_t sequenceCount, const BatchOptions& options,
                         std::string_view scaleName, std::time_t time);

} // namespace quorin::batch
