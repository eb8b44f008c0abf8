#include "analysis/Digest.h"
#include "analysis/Prosite.h"
#include "batch/BatchJob.h"
#include "cli/Commands.h"
#include "core/MessageTexts.h"
#include "core/Residue.h"

#include <algorithm>
#include <map>
#include <new>
#include <thread>

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

/// Files named "-" go to standard output, and then every file is written at
/// its turn; others are written together.
core::SaveTogetherStatus writeFiles(const std::vector<core::FileToSave>& files)
{
    for (const core::FileToSave& file : files) {
        if (file.path == "-") {
            for (const core::FileToSave& each : files) {
                const std::string path = each.path.string();
                WriteOutput(path == "-" ? std::nullopt : std::optional<std::string>(path),
                            each.produce);
            }
            return {};
        }
    }
    return core::WriteFilesTogether(files);
}

/// The matches of one pattern in every record: "record<TAB>start<TAB>end<TAB>
/// match" lines, the record named by the first word of its title, records in
/// input order, each record's matches by start. Records are matched on jobs
/// threads, a block at a time, so that the output streams in input order.
int runPrositeBatch(const std::string& input, const std::string& patternText,
                    const std::optional<std::string>& results, unsigned jobs)
{
    const analysis::PrositeParse parse = analysis::ParsePrositePattern(patternText);
    if (parse.Refused()) {
        throw InputRefused(parse.message);
    }
    const batch::BatchInputFile inputFile(input, jobs);
    if (inputFile.Failure() != batch::BatchInputFile::Problem::None) {
        throw InputRefused(inputFile.Refusal());
    }
    const std::vector<batch::BatchRecord>& records = inputFile.Records();
    if (records.empty()) {
        throw InputRefused(std::string(core::msg::kFileNotFound));
    }
    const unsigned threads = std::max(1u, jobs ? jobs : std::thread::hardware_concurrency());
    const auto matchRecords = [&](std::size_t from, std::size_t to, std::string& out) {
        std::string residues;
        for (std::size_t r = from; r < to; ++r) {
            residues.clear();
            for (const char c : records[r].body) {
                if (core::IsResidueLetter(c)) {
                    residues.push_back(core::UpperCaseResidue(c));
                }
            }
            std::string_view name = records[r].name;
            name = name.substr(0, std::min(name.find(' '), name.find('\t')));
            for (const analysis::PrositeMatch& match :
                 analysis::FindPrositeMatches(parse.pattern, residues)) {
                out.append(name);
                out += '\t';
                out += std::to_string(match.start + 1);
                out += '\t';
                out += std::to_string(match.end);
                out += '\t';
                out.append(residues, match.start, match.end - match.start);
                out += '\n';
            }
        }
    };
    constexpr std::size_t kBlock = 4096;
    const std::optional<std::string> path =
        results && *results != "-" ? results : std::optional<std::string>();
    WriteOutput(path, [&](const core::ByteSink& sink) {
        sink("record\tstart\tend\tmatch\n");
        std::vector<std::string> parts(threads);
        for (std::size_t block = 0; block < records.size(); block += kBlock * threads) {
            std::vector<std::thread> workers;
            for (unsigned t = 0; t < threads; ++t) {
                const std::size_t from = std::min(records.size(), block + t * kBlock);
                const std::size_t to = std::min(records.size(), from + kBlock);
                parts[t].clear();
                workers.emplace_back(matchRecords, from, to, std::ref(parts[t]));
            }
            for (unsigned t = 0; t < threads; ++t) {
                workers[t].join();
                sink(parts[t]);
            }
        }
    });
    return 0;
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
    const auto prosite = args.TakeValue("--prosite");
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
    if (prosite) {
        if (digest || logOption || noLogOption || rowsOnly || !overrides.empty()) {
            throw UsageError("--prosite takes only --results and --jobs");
        }
        return runPrositeBatch(input, *prosite, resultsOption, jobs);
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

    const batch::BatchInputFile inputFile(input, jobs);
    if (inputFile.Failure() != batch::BatchInputFile::Problem::None) {
        throw InputRefused(inputFile.Refusal());
    }
    if (inputFile.Records().empty()) {
        throw InputRefused(std::string(core::msg::kFileNotFound));
    }
    batch::BatchControl control;
    control.jobs = jobs;

    batch::BatchJob job;
    job.inputPath = input;
    job.record = &record;
    job.options = options;
    job.digest = digest;
    job.specificity = specificity;
    job.maxFragments = maxFragments;
    job.rowsOnly = rowsOnly;
    const std::string standardOutput = "-";
    if (digest) {
        job.outputPath = resultsOption
                             ? *resultsOption
                             : (input == "-" ? standardOutput : batch::DefaultDigestPath(input));
    } else {
        job.outputPath = resultsOption
                             ? *resultsOption
                             : (input == "-" ? standardOutput : batch::DefaultResultsPath(input));
        // A log goes beside a results file; results on standard output get
        // one only where --log names it.
        if (!(rowsOnly || noLogOption || (options.noLog && !logOption) ||
              (job.outputPath == "-" && !logOption))) {
            job.logPath = logOption ? *logOption : batch::DefaultLogPath(job.outputPath);
        }
    }
    try {
        const batch::BatchJobResult result =
            batch::RunBatchJob(job, inputFile, control, writeFiles);
        if (result.failure) {
            throw InputRefused("Cannot write " + result.failure->first + ": " +
                               result.failure->second.Error());
        }
    } catch (const batch::BatchDigestRefused& refused) {
        throw InputRefused(refused.what());
    } catch (const std::bad_alloc&) {
        if (!digest) {
            throw;
        }
        throw InputRefused("Not enough memory for the fragments of this digest");
    }
    return 0;
}

} // namespace quorin::cli
