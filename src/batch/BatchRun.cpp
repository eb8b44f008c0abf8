#include "batch/BatchRun.h"

#include "analysis/Digest.h"
#include "batch/BatchStatistics.h"
#include "batch/BatchTexts.h"
#include "batch/BatchThreads.h"
#include "core/MessageTexts.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

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

/// One piece of a digest block: buffered records, or the index of a record
/// too large to buffer, which the writing thread digests and streams when its
/// turn comes (so that one such digest is held at a time, whatever the jobs).
struct DigestPiece
{
    std::string text;
    std::optional<std::size_t> streamed;
};

/// The forecasts of one block of records; refused: the first record of the
/// block whose digest is beyond the ceiling.
struct ForecastBlock
{
    std::vector<analysis::DigestFileForecast> records;
    std::optional<std::size_t> refused;
};

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

BatchDigestForecast ForecastBatchDigest(const std::vector<BatchRecord>& records,
                                        const core::PropertyRecord& record,
                                        std::string_view specificity, std::uint64_t maxFragments,
                                        const BatchControl& control)
{
    BatchDigestForecast forecast;
    forecast.maxFragments = maxFragments;
    forecast.recordBytes.reserve(records.size());
    // The cut positions cost a pass over the text, little beside the digest.
    constexpr std::size_t kForecastBlock = 1024;
    const std::size_t blocks = (records.size() + kForecastBlock - 1) / kForecastBlock;
    runOrdered<ForecastBlock>(
        blocks, EffectiveJobs(control.jobs), control,
        [&](std::size_t block) {
            core::PropertyRecord worker(record);
            ForecastBlock forecasts;
            const std::size_t first = block * kForecastBlock;
            const std::size_t last = std::min(records.size(), first + kForecastBlock);
            for (std::size_t i = first; i < last && !forecasts.refused; ++i) {
                checkTermination(control);
                worker.SetSequence(records[i].body);
                forecasts.records.push_back(analysis::ForecastDigestFile(
                    worker, specificity, records[i].name, maxFragments));
                if (forecasts.records.back().fragments > maxFragments) {
                    forecasts.refused = i;
                }
            }
            return forecasts;
        },
        [&](std::size_t, const ForecastBlock& forecasts) {
            if (forecasts.refused) {
                throw BatchDigestRefused(
                    std::string(records[*forecasts.refused].name) + ": " +
                    core::msg::TooManyFragments(forecasts.records.back().fragments, maxFragments));
            }
            for (const analysis::DigestFileForecast& one : forecasts.records) {
                forecast.fragments += one.fragments;
                forecast.bytes += one.bytes;
                forecast.recordBytes.push_back(one.bytes);
            }
        });
    return forecast;
}

std::size_t WriteBatchDigest(const std::vector<BatchRecord>& records, std::size_t inputSize,
                             const core::PropertyRecord& record, std::string_view specificity,
                             const BatchControl& control, const core::ByteSink& sink,
                             const BatchDigestForecast* forecast)
{
    std::optional<BatchDigestForecast> own;
    if (forecast == nullptr) {
        own =
            ForecastBatchDigest(records, record, specificity, analysis::FragmentCeiling(), control);
        forecast = &*own;
    }
    analysis::DigestOptions digestOptions;
    digestOptions.maxFragments = forecast->maxFragments;
    // The writing thread's own record for the large digests.
    core::PropertyRecord streaming(record);
    const std::size_t blocks = (records.size() + kDigestBlock - 1) / kDigestBlock;
    runOrdered<std::vector<DigestPiece>>(
        blocks, EffectiveJobs(control.jobs), control,
        [&](std::size_t block) {
            core::PropertyRecord worker(record);
            const std::size_t first = block * kDigestBlock;
            const std::size_t last = std::min(records.size(), first + kDigestBlock);
            std::vector<DigestPiece> pieces(1);
            for (std::size_t i = first; i < last; ++i) {
                checkTermination(control);
                if (forecast->recordBytes[i] > kStreamedDigestBytes) {
                    pieces.push_back({{}, i});
                    pieces.emplace_back();
                    continue;
                }
                worker.SetSequence(records[i].body);
                const analysis::DigestResult result =
                    analysis::Digest(worker, specificity, digestOptions);
                if (result.Refused()) {
                    throw BatchDigestRefused(std::string(records[i].name) + ": " + result.refusal);
                }
                analysis::WriteDigestFileRecords(
                    worker, records[i].name,
                    [&](std::string_view bytes) { pieces.back().text += bytes; });
            }
            return pieces;
        },
        [&](std::size_t block, const std::vector<DigestPiece>& pieces) {
            for (const DigestPiece& piece : pieces) {
                if (piece.streamed) {
                    const BatchRecord& large = records[*piece.streamed];
                    streaming.SetSequence(large.body);
                    const analysis::DigestResult result =
                        analysis::Digest(streaming, specificity, digestOptions);
                    if (result.Refused()) {
                        throw BatchDigestRefused(std::string(large.name) + ": " + result.refusal);
                    }
                    analysis::WriteDigestFileRecords(streaming, large.name,
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

std::optional<std::uint64_t> FreeBytesFor(const std::string& path)
{
    struct stat info
    {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::filesystem::path folder = core::SaveTarget(path).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    struct statvfs disk
    {};
    if (::statvfs(folder.c_str(), &disk) != 0) {
        return std::nullopt;
    }
    // What an unprivileged writer may use: the blocks kept back for root are
    // not always there to take (a file system with a quota or on a thin
    // volume counts them free all the same).
    return static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
}

std::optional<std::string> DigestRoomRefusal(const std::string& path, std::uint64_t bytes)
{
    const std::optional<std::uint64_t> free = FreeBytesFor(path);
    if (!free || bytes <= *free) {
        return std::nullopt;
    }
    return "Cannot write " + path + ": the digest file would take " +
           core::msg::GroupedDigits(bytes) + " bytes, more than the " +
           core::msg::GroupedDigits(*free) + " free on its disk";
}

} // namespace quorin::batch
