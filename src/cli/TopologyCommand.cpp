#include "analysis/Topology.h"
#include "batch/BatchInput.h"
#include "cli/Commands.h"
#include "core/MessageTexts.h"
#include "core/Residue.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace quorin::cli {
namespace {

// The decoder keeps a back pointer per residue and state (about a hundred
// bytes a residue); a longer record would ask for gigabytes.
constexpr std::size_t kLongestRecord = 2'000'000;

// Records decoded between two writes: enough to keep every thread busy,
// few enough that the output starts at once and memory stays small.
constexpr std::size_t kBlock = 4096;

std::string CleanSequence(std::string_view body)
{
    std::string sequence;
    sequence.reserve(body.size());
    for (const char c : body) {
        if (core::IsResidueLetter(c)) {
            sequence += core::UpperCaseResidue(c);
        }
    }
    return sequence;
}

} // namespace

int RunTopology(Arguments& args)
{
    // The model is built in: the settings file changes nothing, but the
    // option is accepted as every command accepts it.
    (void)args.TakeValue("--settings");
    const auto output = args.TakeValue("-o");
    const bool gff = args.TakeFlag("--gff");
    const auto jobsText = args.TakeValue("--jobs");
    const auto files = args.Positional(1);

    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    if (jobsText) {
        const int value = ParseIntOption("--jobs", *jobsText);
        if (value < 1 || value > 1024) {
            throw UsageError("--jobs takes a number from 1 to 1024");
        }
        jobs = static_cast<unsigned>(value);
    }

    // The input is read as the batch reads its input: every record, standard
    // input and .gz files alike, with the batch's refusals.
    core::FileStatus status;
    batch::BatchReadOptions readOptions;
    readOptions.jobs = jobs;
    const batch::BatchText text = batch::BatchText::Read(files[0], status, readOptions);
    if (!status) {
        throw InputRefused(batch::BatchInputRefusal(files[0], status));
    }
    if (core::IsUtf16Text(text.View())) {
        throw InputRefused(std::string(core::msg::kUtf16Text));
    }
    const std::vector<batch::BatchRecord> records = batch::SplitBatchRecords(text.View(), jobs);
    if (records.empty()) {
        throw InputRefused(std::string(core::msg::kFileNotFound));
    }
    for (const batch::BatchRecord& record : records) {
        // Letters are at most the body's bytes: only a body this long can hold
        // a sequence too long.
        if (record.body.size() > kLongestRecord &&
            CleanSequence(record.body).size() > kLongestRecord) {
            throw InputRefused("Record \"" + std::string(record.name) +
                               "\" is too long for the topology model (more than " +
                               std::to_string(kLongestRecord) + " residues).");
        }
    }

    const analysis::TopologyModel& model = analysis::TopologyModel::BuiltIn();
    WriteOutput(output, [&](const core::ByteSink& sink) {
        if (gff) {
            sink("##gff-version 3\n");
        }
        std::vector<std::string> texts(std::min(kBlock, records.size()));
        for (std::size_t first = 0; first < records.size(); first += kBlock) {
            const std::size_t count = std::min(kBlock, records.size() - first);
            std::atomic<std::size_t> next{0};
            // Each thread takes the next record of the block; the texts are
            // written in record order whatever the thread that made them.
            auto work = [&] {
                for (std::size_t i = next++; i < count; i = next++) {
                    const batch::BatchRecord& record = records[first + i];
                    const std::string sequence = CleanSequence(record.body);
                    const std::string labels = model.Labels(sequence);
                    texts[i] = gff ? analysis::TopologyGffText(record.name, labels)
                                   : analysis::TopologyRecordText(record.name, sequence, labels);
                }
            };
            std::vector<std::thread> threads;
            const unsigned extra = std::min<unsigned>(jobs, static_cast<unsigned>(count)) - 1;
            for (unsigned k = 0; k < extra; ++k) {
                threads.emplace_back(work);
            }
            work();
            for (std::thread& thread : threads) {
                thread.join();
            }
            for (std::size_t i = 0; i < count; ++i) {
                sink(texts[i]);
            }
        }
    });
    return 0;
}

} // namespace quorin::cli
