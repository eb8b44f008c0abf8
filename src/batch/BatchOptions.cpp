#include "batch/BatchOptions.h"

#include "core/NumberText.h"
#include "core/Settings.h"

#include <algorithm>
#include <cctype>

namespace quorin::batch {
namespace {

/// The flags in kBatchKeys order, the scale index and threshold left out.
struct FlagField
{
    std::string_view key;
    bool BatchOptions::*field;
};

constexpr std::array<FlagField, 18> kFlags = {{
    {"Length", &BatchOptions::length},
    {"Rel. Composition", &BatchOptions::relativeComposition},
    {"Abs. Composition", &BatchOptions::absoluteComposition},
    {"MW", &BatchOptions::molecularWeight},
    {"IEP", &BatchOptions::isoelectricPoint},
    {"GRAVY", &BatchOptions::gravy},
    {"Helices", &BatchOptions::helices},
    {"Eps (urea)", &BatchOptions::epsUrea},
    {"Eps (native)", &BatchOptions::epsNative},
    {"Mean", &BatchOptions::mean},
    {"Standard Deviation", &BatchOptions::standardDeviation},
    {"Standard Error", &BatchOptions::standardError},
    {"Minimum", &BatchOptions::minimum},
    {"Maximum", &BatchOptions::maximum},
    {"Median", &BatchOptions::median},
    {"Default Log Name", &BatchOptions::defaultLogName},
    {"NoLog", &BatchOptions::noLog},
    {"Default Results Name", &BatchOptions::defaultResultsName},
}};

constexpr std::string_view kScaleKey = "Hydropathy scale";
constexpr std::string_view kThresholdKey = "Threshold for Helices";

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view withoutSuffix(std::string_view text, std::string_view suffix)
{
    if (text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix) {
        text.remove_suffix(suffix.size());
    }
    return text;
}

} // namespace

BatchOptions ReadBatchOptions(const BatchKeyLookup& lookup)
{
    BatchOptions options;
    for (const FlagField& flag : kFlags) {
        if (const auto value = lookup(flag.key)) {
            options.*flag.field = core::ParseLeadingInt(*value) != 0;
        }
    }
    if (const auto value = lookup(kScaleKey)) {
        options.scaleIndex = std::max(core::ParseLeadingInt(*value), 0);
    }
    if (const auto value = lookup(kThresholdKey); value && *value != "?") {
        options.thresholdText = *value;
        options.threshold = core::ParseLeadingDouble(*value);
    }
    return options;
}

BatchOptions ReadBatchOptions(const core::ProfileFile& settings)
{
    return ReadBatchOptions(
        [&settings](std::string_view key) { return settings.Lookup(core::kBatchSection, key); });
}

void WriteBatchOptions(core::ProfileFile& settings, const BatchOptions& options)
{
    // One locked read-modify-write: twenty separate writes would rewrite the
    // file twenty times.
    settings.Update([&options](core::ProfileText& text) {
        for (const std::string_view key : kBatchKeys) {
            std::string value;
            if (key == kScaleKey) {
                value = std::to_string(options.scaleIndex);
            } else if (key == kThresholdKey) {
                value = options.thresholdText;
            } else {
                const auto flag = std::find_if(kFlags.begin(), kFlags.end(),
                                               [key](const FlagField& f) { return f.key == key; });
                value.assign(1, options.*flag->field ? '1' : '0');
            }
            text.Set(core::kBatchSection, key, value);
        }
    });
}

std::optional<std::string_view> CanonicalBatchKey(std::string_view name)
{
    for (const std::string_view key : kBatchKeys) {
        if (equalNoCase(key, name)) {
            return key;
        }
    }
    return std::nullopt;
}

bool ThresholdTextValid(std::string_view text)
{
    return text.find_first_not_of("0123456789.-") == std::string_view::npos;
}

int ResolvedScaleIndex(int index, int count)
{
    return index >= 0 && index < count ? index : 0;
}

std::string OutputStem(std::string_view path)
{
    path = withoutSuffix(path, ".gz");
    const auto slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const auto dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > nameStart) {
        path = path.substr(0, dot);
    }
    return std::string(path);
}

std::string DefaultResultsPath(std::string_view inputPath)
{
    return OutputStem(inputPath) + "_results.txt";
}

std::string DefaultDigestPath(std::string_view inputPath)
{
    return OutputStem(inputPath) + "_digest.txt";
}

std::string DefaultLogPath(std::string_view resultsPath)
{
    return OutputStem(resultsPath) + "_log.txt";
}

} // namespace quorin::batch
