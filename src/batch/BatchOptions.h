#pragma once

#include "core/ProfileFile.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::batch {

/// What a batch run computes and writes. The defaults are those of a settings
/// file without the keys.
struct BatchOptions
{
    bool length = true;
    bool relativeComposition = true;
    bool absoluteComposition = true;
    bool molecularWeight = true;
    bool isoelectricPoint = true;
    /// Index into the scale list; ResolvedScaleIndex maps it into the list.
    int scaleIndex = 0;
    /// The helix threshold as typed; threshold is its C-library reading.
    std::string thresholdText = "1.6";
    double threshold = 1.6;
    bool gravy = true;
    bool helices = true;
    bool epsUrea = false;
    bool epsNative = false;
    bool mean = true;
    bool standardDeviation = true;
    bool standardError = false;
    bool minimum = true;
    bool maximum = true;
    bool median = true;
    bool defaultLogName = true;
    bool noLog = false;
    bool defaultResultsName = true;

    bool batchDigest = false;

    /// True when the run needs the hydropathy scale.
    bool UsesScale() const { return gravy || helices; }
};

/// The keys of "Batch Execution Options", in the order the options dialog
/// writes them.
inline constexpr std::array<std::string_view, 20> kBatchKeys = {
    "Length",
    "Rel. Composition",
    "Abs. Composition",
    "MW",
    "IEP",
    "Hydropathy scale",
    "Threshold for Helices",
    "GRAVY",
    "Helices",
    "Eps (urea)",
    "Eps (native)",
    "Mean",
    "Standard Deviation",
    "Standard Error",
    "Minimum",
    "Maximum",
    "Median",
    "Default Log Name",
    "NoLog",
    "Default Results Name",
};

/// Looks up a key of "Batch Execution Options"; nothing when it is missing.
using BatchKeyLookup = std::function<std::optional<std::string>(std::string_view key)>;

/// The options as stored: flags and the scale index are leading integers (a
/// flag is set when non-zero, a negative index reads 0), the threshold is the
/// text of its key unless that is missing or "?". Missing keys keep the
/// defaults.
BatchOptions ReadBatchOptions(const BatchKeyLookup& lookup);
BatchOptions ReadBatchOptions(const core::ProfileFile& settings);

/// Writes every key of "Batch Execution Options": flags and the scale index as
/// integers, the threshold as its text.
void WriteBatchOptions(core::ProfileFile& settings, const BatchOptions& options);

/// The key of kBatchKeys that name spells (case ignored), or nothing.
std::optional<std::string_view> CanonicalBatchKey(std::string_view name);

/// The threshold check of the options dialog: only the characters
/// "0123456789.-" (an empty text passes and reads 0).
bool ThresholdTextValid(std::string_view text);

/// The scale a run uses: index when it names an entry of a list of count
/// scales, else the first.
int ResolvedScaleIndex(int index, int count);

/// The name outputs are made from: path without a ".gz" ending, then without
/// the extension of its file name (from its last "."; a name starting with
/// "." has none).
std::string OutputStem(std::string_view path);
/// stem + "_results.txt", "_digest.txt"; the log is named after the results
/// file as the results are after the input.
std::string DefaultResultsPath(std::string_view inputPath);
std::string DefaultDigestPath(std::string_view inputPath);
std::string DefaultLogPath(std::string_view resultsPath);

} // namespace quorin::batch
