#include "batch/BatchRun.h"

#include "analysis/Digest.h"
#include "batch/BatchThreads.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sys/resource.h>
#include <thread>

namespace quorin::batch {
namespace {

/// Records per block of a results run: big enough that a block costs more
/// than handing it over, small enough that the threads share the tail.
constexpr std::size_t kResultsBlock = 1024;
/// A digest writes about ten kilobytes per protein and residue pair, so its
/// blocks are small.
constexpr std::size_t kDigestBlock = 32;
/// A record whose digest file records would take more is not buffered: the
/// writing thread streams it when its turn comes.
constexpr std::uint64_t kStreamedDigestBytes = std::uint64_t{16} << 20;

bool terminationRequested(const BatchControl& control)
{
    return control.terminate != nullptr && control.terminate->load(std::memory_order_relaxed);
}

void checkTermination(const BatchControl& control)
{
    if (terminationRequested(control)) {
        throw BatchTerminated();
    }
}

/// Runs work(block) for blocks 0..count-1 on jobs threads and emit(block,
/// output) on the calling thread in block order, as soon as each block is done.
/// At most a few blocks per thread wait to be emitted, so memory stays bounded
/// whatever the input. Fewer threads run where the system starts fewer, and
/// the calling thread does the work itself where it starts none. The first
/// exception of a worker or of emit ends the run and is rethrown here.
template <typename Output, typename Work, typename Emit>
void runOrdered(std::size_t count, unsigned jobs, const BatchControl& control, Work work, Emit emit)
{
    if (count == 0) {
        return;
    }
    jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, count));
    const std::size_t window = 2 * std::size_t{jobs} + 2;
    std::vector<std::optional<Output>> outputs(count);
    std::mutex mutex;
    std::condition_variable done;
    std::condition_variable room;
    std::size_t next = 0;
    std::size_t emitted = 0;
    bool stop = false;
    std::exception_ptr failure;

    const auto fail = [&](std::exception_ptr error) {
        const std::lock_guard lock(mutex);
        if (!failure) {
            failure = std::move(error);
        }
        stop = true;
    };
    const auto worker = [&] {
        while (true) {
            std::size_t block = 0;
            {
                std::unique_lock lock(mutex);
                room.wait(lock, [&] { return stop || next >= count || next < emitted + window; });
                if (stop || next >= count) {
                    return;
                }
                block = next++;
            }
            try {
                Output output = work(block);
                const std::lock_guard lock(mutex);
                outputs[block] = std::move(output);
            } catch (...) {
                fail(std::current_exception());
            }
            done.notify_all();
        }
    };

    WorkerThreads threads;
    for (unsigned t = 0; t < jobs; ++t) {
        if (!threads.Start(worker)) {
            break;
        }
    }
    const bool alone = threads.Count() == 0;
    try {
        for (std::size_t block = 0; block < count; ++block) {
            Output output;
            if (alone) {
                checkTermination(control);
                output = work(block);
            } else {
                std::unique_lock lock(mutex);
                // Termination is a plain flag without a notification: poll it.
                while (!stop && !outputs[block]) {
                    done.wait_for(lock, std::chrono::milliseconds(50));
                    if (terminationRequested(control)) {
                        stop = true;
                    }
                }
                if (stop) {
                    break;
                }
                output = std::move(*outputs[block]);
                outputs[block].reset();
                ++emitted;
            }
            room.notify_all();
            checkTermination(control);
            emit(block, output);
        }
    } catch (...) {
        fail(std::current_exception());
    }
    {
        const std::lock_guard lock(mutex);
        stop = true;
    }
    room.notify_all();
    threads.JoinAll();
    if (failure) {
        std::rethrow_exception(failure);
    }
    checkTermination(control);
}

void reportProgress(const BatchControl& control, const std::vector<BatchRecord>& records,
                    std::size_t lastRecord, std::size_t inputSize)
{
    if (!control.progress || inputSize == 0) {
        return;
    }
    const std::size_t next = lastRecord + 1;
    const std::size_t position = next < records.size() ? records[next].offset : inputSize;
    control.progress(static_cast<int>(static_cast<std::uint64_t>(position) * 100 / inputSize));
}

/// One piece of a digest block: buffered records, or a record too large to
/// buffer, digested already and streamed when its turn comes.
struct DigestPiece
{
    std::string text;
    std::unique_ptr<core::PropertyRecord> streamed;
    std::string_view name;
};

std::uint64_t digestFileBytes(const core::PropertyRecord& record, std::string_view name)
{
    std::uint64_t bytes = 0;
    for (const core::FRAGM& fragment : record.digest.fragments) {
        if (fragment.end >= fragment.start) {
            bytes +=
                static_cast<std::uint64_t>(fragment.end - fragment.start) + 1 + name.size() + 26;
        }
    }
    return bytes;
}

} // namespace

unsigned EffectiveJobs(unsigned jobs)
{
    if (jobs == 0) {
        jobs = std::max(1U, std::thread::hardware_concurrency());
    }
    // Under an address-space limit the threads' stacks take what the work
    // needs long before the system refuses a thread: they get an eighth of it.
    rlimit limit{};
    pthread_attr_t defaults;
    std::size_t stackBytes = 0;
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        ::pthread_getattr_default_np(&defaults) == 0) {
        ::pthread_attr_getstacksize(&defaults, &stackBytes);
        ::pthread_attr_destroy(&defaults);
    }
    if (stackBytes > 0) {
        const auto room = static_cast<std::uint64_t>(limit.rlim_cur) / 8 / stackBytes;
        jobs = static_cast<unsigned>(std::clamp<std::uint64_t>(room, 1, jobs));
    }
    return jobs;
}

BatchOutcome WriteBatchResults(const std::vector<BatchRecord>& records, std::size_t inputSize,
                               const BatchAnalyzer& analyzer, const BatchOptions& options,
                               bool rowsOnly, const BatchControl& control,
                               const core::ByteSink& sink)
{
    const bool statistics =
        !rowsOnly && (options.mean || options.standardDeviation || options.standardError ||
                      options.minimum || options.maximum || options.median);
    // The values are kept only for the statistics; a rows-only run holds a
    // block at a time.
    ColumnTable table(options, statistics ? records.size() : 0, inputSize);
    if (!rowsOnly) {
        sink(ResultsHeader(options));
    }
    const std::size_t blocks = (records.size() + kResultsBlock - 1) / kResultsBlock;
    runOrdered<std::string>(
        blocks, EffectiveJobs(control.jobs), control,
        [&](std::size_t block) {
            thread_local AnalysisScratch scratch;
            const std::size_t first = block * kResultsBlock;
            const std::size_t last = std::min(records.size(), first + kResultsBlock);
            std::string text;
            text.reserve((last - first) * 256);
            PROPERTIES row;
            for (std::size_t i = first; i < last; ++i) {
                checkTermination(control);
                analyzer.Analyse(records[i].body, row, scratch);
                if (statistics) {
                    table.Set(i, row);
                }
                AppendResultLine(text, row, records[i].name, options);
            }
            return text;
        },
        [&](std::size_t block, const std::string& text) {
            sink(text);
            reportProgress(control, records,
                           std::min(records.size(), (block + 1) * kResultsBlock) - 1, inputSize);
        });
    if (statistics) {
        const StatisticsRows stats = table.Statistics(EffectiveJobs(control.jobs));
        std::string text;
        for (std::size_t i = 0; i < stats.rows.size(); ++i) {
            AppendResultLine(text, stats.rows[i], stats.names[i], options);
        }
        sink(text);
    }
    return {records.size()};
}

std::size_t WriteBatchDigest(const std::vector<BatchRecord>& records, std::size_t inputSize,
                             const core::PropertyRecord& record, std::string_view specificity,
                             const BatchControl& control, const core::ByteSink& sink)
{
    const std::size_t blocks = (records.size() + kDigestBlock - 1) / kDigestBlock;
    const unsigned jobs = EffectiveJobs(control.jobs);
    // Every thread may hold one digest at its largest, beside its copy for the
    // sort.
    analysis::DigestOptions digestOptions;
    digestOptions.maxFragments = std::max<std::uint64_t>(1, digestOptions.maxFragments / jobs);
    runOrdered<std::vector<DigestPiece>>(
        blocks, jobs, control,
        [&](std::size_t block) {
            thread_local std::unique_ptr<core::PropertyRecord> worker;
            const std::size_t first = block * kDigestBlock;
            const std::size_t last = std::min(records.size(), first + kDigestBlock);
            std::vector<DigestPiece> pieces(1);
            for (std::size_t i = first; i < last; ++i) {
                checkTermination(control);
                if (!worker) {
                    worker = std::make_unique<core::PropertyRecord>(record);
                }
                worker->SetSequence(records[i].body);
                const analysis::DigestResult result =
                    analysis::Digest(*worker, specificity, digestOptions);
                if (result.Refused()) {
                    throw BatchDigestRefused(std::string(records[i].name) + ": " + result.refusal);
                }
                if (digestFileBytes(*worker, records[i].name) > kStreamedDigestBytes) {
                    pieces.push_back({{}, std::move(worker), records[i].name});
                    pieces.emplace_back();
                    continue;
                }
                analysis::WriteDigestFileRecords(
                    *worker, records[i].name,
                    [&](std::string_view bytes) { pieces.back().text += bytes; });
            }
            return pieces;
        },
        [&](std::size_t block, const std::vector<DigestPiece>& pieces) {
            for (const DigestPiece& piece : pieces) {
                if (piece.streamed) {
                    analysis::WriteDigestFileRecords(*piece.streamed, piece.name,
                                                     [&](std::string_view bytes) {
                                                         checkTermination(control);
                                                         sink(bytes);
                                                     });
                } else if (!piece.text.empty()) {
                    sink(piece.text);
                }
            }
            reportProgress(control, records,
                           std::min(records.size(), (block + 1) * kDigestBlock) - 1, inputSize);
        });
    return records.size();
}

} // namespace quorin::batch
