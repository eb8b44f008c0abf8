#include "analysis/Digest.h"
#include "batch/BatchRun.h"
#include "cli/Commands.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <new>

namespace quorin::cli {
namespace {

/// The --set overrides by key of "Batch Execution Options".
std::map<std::string, std::string, std::less<>> parseOverrides(const std::vector<std::string>& sets)
{
    std::map<std::string, std::string, std::less<>> overrides;
    for (const std::string& set : sets) {
        const auto equals = set.find('=');
        const auto key =
            batch::CanonicalBatchKey(equals == std::string::npos ? set : set.substr(0, equals));
        if (equals == std::string::npos || !key) {
            throw UsageError("--set takes KEY=VALUE with a key of \"Batch Execution Options\", "
                             "not \"" +
                             set + "\"");
        }
        overrides[std::string(*key)] = set.substr(equals + 1);
    }
    return overrides;
}

std::optional<std::string> fileOrStandardOutput(const std::string& path)
{
    return path == "-" ? std::nullopt : std::optional<std::string>(path);
}

} // namespace

int RunBatch(Arguments& args)
{
    const auto settingsPath = args.TakeValue("--settings");
    const auto overrides = parseOverrides(args.TakeValues("--set"));
    const auto resultsOption = args.TakeValue("--results");
    const auto logOption = args.TakeValue("--log");
    const bool noLogOption = args.TakeFlag("--no-log");
    const bool digest = args.TakeFlag("--digest");
    const auto agentNames = args.TakeValues("--agent");
    const auto maxFragmentsOption = args.TakeValue("--max-fragments");
    const auto jobsOption = args.TakeValue("--jobs");
    const bool rowsOnly = args.TakeFlag("--rows-only");
    const std::string input = args.Positional(1)[0];
    if (logOption && noLogOption) {
        throw UsageError("--log and --no-log exclude each other");
    }
    if (digest != !agentNames.empty()) {
        throw UsageError(digest ? std::string(core::msg::kSelectAnAgent)
                                : "--agent belongs to --digest");
    }
    if (maxFragmentsOption && !digest) {
        throw UsageError("--max-fragments belongs to --digest");
    }
    const std::uint64_t maxFragments = ParseMaxFragments(maxFragmentsOption);
    unsigned jobs = 0;
    if (jobsOption) {
        const int value = ParseIntOption("--jobs", *jobsOption);
        if (value < 1) {
            throw UsageError("--jobs needs a positive number");
        }
        jobs = static_cast<unsigned>(value);
    }

    Session session(settingsPath);
    const core::PropertyRecord& record = session.record;
    batch::BatchOptions options =
        batch::ReadBatchOptions([&](std::string_view key) -> std::optional<std::string> {
            if (const auto found = overrides.find(key); found != overrides.end()) {
                return found->second;
            }
            return session.settings.Lookup(core::kBatchSection, key);
        });
    if (!batch::ThresholdTextValid(options.thresholdText)) {
        throw InputRefused(std::string(core::msg::kBatchInvalidThreshold));
    }
    if (record.scales.empty()) {
        throw InputRefused(std::string(core::msg::kNoHydropathyScale));
    }
    const int scaleCount = static_cast<int>(record.scales.size());
    if (options.UsesScale() && options.scaleIndex >= scaleCount) {
        throw InputRefused("No hydropathy scale " + std::to_string(options.scaleIndex) +
                           ": the settings hold " + std::to_string(scaleCount) + " (0 to " +
                           std::to_string(scaleCount - 1) + ")");
    }
    const std::string specificity =
        digest ? analysis::CombinedSpecificity(SelectAgents(record, agentNames)) : "";

    core::FileStatus status;
    batch::BatchReadOptions reading;
    reading.jobs = batch::EffectiveJobs(jobs);
    const batch::BatchText text = batch::BatchText::Read(input, status, reading);
    if (!status) {
        throw InputRefused(batch::BatchInputRefusal(input, status));
    }
    if (core::IsUtf16Text(text.View())) {
        throw InputRefused(std::string(core::msg::kUtf16Text));
    }
    const std::vector<batch::BatchRecord> records =
        batch::SplitBatchRecords(text.View(), reading.jobs);
    if (records.empty()) {
        throw InputRefused(std::string(core::msg::kFileNotFound));
    }
    batch::BatchControl control;
    control.jobs = jobs;

    const std::string standardOutput = "-";
    if (digest) {
        const std::string path =
            resultsOption ? *resultsOption
                          : (input == "-" ? standardOutput : batch::DefaultDigestPath(input));
        try {
            // Every record's fragments and the file's size are known before
            // the first fragment is made: a record beyond the ceiling, or a
            // file beyond the room on its disk, is refused before the run.
            const batch::BatchDigestForecast forecast =
                batch::ForecastBatchDigest(records, record, specificity, maxFragments, control);
            if (const auto free = path == "-" ? std::nullopt : batch::FreeBytesFor(path);
                free && forecast.bytes > *free) {
                throw InputRefused("Cannot write " + path + ": the digest file would take " +
                                   core::msg::GroupedDigits(forecast.bytes) +
                                   " bytes, more than the " + core::msg::GroupedDigits(*free) +
                                   " free on its disk");
            }
            WriteOutput(fileOrStandardOutput(path), [&](const core::ByteSink& sink) {
                batch::WriteBatchDigest(records, text.View().size(), record, specificity, control,
                                        sink, &forecast);
            });
        } catch (const batch::BatchDigestRefused& refused) {
            throw InputRefused(refused.what());
        } catch (const std::bad_alloc&) {
            throw InputRefused("Not enough memory for the fragments of this digest");
        }
        return 0;
    }

    const std::string resultsPath =
        resultsOption ? *resultsOption
                      : (input == "-" ? standardOutput : batch::DefaultResultsPath(input));
    const int scaleIndex = batch::ResolvedScaleIndex(options.scaleIndex, scaleCount);
    const batch::BatchAnalyzer analyzer(record, options, scaleIndex);
    batch::BatchOutcome outcome;
    const auto produceResults = [&](const core::ByteSink& sink) {
        outcome = batch::WriteBatchResults(records, text.View().size(), analyzer, options, rowsOnly,
                                           control, sink);
    };
    // A log goes beside a results file; results on standard output get one
    // only where --log names it.
    if (rowsOnly || noLogOption || (options.noLog && !logOption) ||
        (resultsPath == "-" && !logOption)) {
        WriteOutput(fileOrStandardOutput(resultsPath), produceResults);
        return 0;
    }
    const std::string logPath = logOption ? *logOption : batch::DefaultLogPath(resultsPath);
    // The log's date line is the time of writing, after the results.
    const auto produceLog = [&](const core::ByteSink& sink) {
        sink(batch::BatchLogText(input, resultsPath, outcome.sequenceCount, options,
                                 record.scales[static_cast<std::size_t>(scaleIndex)].name,
                                 std::time(nullptr)));
    };
    if (resultsPath == "-" || logPath == "-") {
        WriteOutput(fileOrStandardOutput(resultsPath), produceResults);
        WriteOutput(fileOrStandardOutput(logPath), produceLog);
        return 0;
    }
    // Both new or both as they were: a log never describes other results.
    const core::SaveTogetherStatus saved =
        core::WriteFilesTogether({{resultsPath, produceResults}, {logPath, produceLog}});
    if (!saved.status) {
        throw InputRefused("Cannot write " + (saved.failed == 0 ? resultsPath : logPath) + ": " +
                           saved.status.Error());
    }
    return 0;
}

} // namespace quorin::cli
