#pragma once

#include "batch/BatchAnalyzer.h"
#include "batch/BatchInput.h"
#include "batch/BatchOptions.h"
#include "core/FileIo.h"
#include "core/PropertyRecord.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::batch {

/// How a run is carried out: on how many threads, whether it is to stop, and
/// where its progress goes.
struct BatchControl
{
    /// Threads that analyse; 0 means one per processor.
    unsigned jobs = 0;
    /// Set by another thread to end the run; checked before each record and
    /// each piece of output.
    const std::atomic<bool>* terminate = nullptr;
    /// The percentage of the input done, called on the thread that runs the
    /// batch, in rising order; may be empty.
    std::function<void(int percent)> progress;
};

/// Thrown out of a run whose termination was requested; a file being written
/// through core::WriteFileAtomically is then removed.
class BatchTerminated : public std::runtime_error
{
public:
    BatchTerminated() : std::runtime_error("The batch analysis was terminated") {}
};

/// Thrown when a record's digest would make more fragments than allowed; the
/// message names the record and the count.
class BatchDigestRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

/// The threads a run uses for jobs (0: one per processor), no more than leave
/// room in the process's address-space limit, where one is set.
unsigned EffectiveJobs(unsigned jobs);

/// What a results run leaves for the log.
struct BatchOutcome
{
    std::size_t sequenceCount = 0;
};

/// Analyses records (in blocks, on control.jobs threads) and hands the results
/// file to sink in input order: the header line, one line per record and the
/// statistics rows; with rowsOnly the record lines alone. inputSize is the
/// length of the text the records point into (for the progress). Throws
/// BatchTerminated.
BatchOutcome WriteBatchResults(const std::vector<BatchRecord>& records, std::size_t inputSize,
                               const BatchAnalyzer& analyzer, const BatchOptions& options,
                               bool rowsOnly, const BatchControl& control,
                               const core::ByteSink& sink);

/// What a batch digest makes and writes, known before any fragment is made.
struct BatchDigestForecast
{
    /// The most fragments one record's digest may make.
    std::uint64_t maxFragments = 0;
    /// The fragments of all records.
    std::uint64_t fragments = 0;
    /// The bytes of the digest file, at most (analysis::ForecastDigestFile).
    std::uint64_t bytes = 0;
    /// The bytes of each record's digest file records, in input order.
    std::vector<std::uint64_t> recordBytes;
};

/// Forecasts the digest of every record with specificity, on control.jobs
/// threads. Throws BatchDigestRefused, naming the first record in input order
/// whose digest would make more than maxFragments fragments and that count,
/// or BatchTerminated.
BatchDigestForecast ForecastBatchDigest(const std::vector<BatchRecord>& records,
                                        const core::PropertyRecord& record,
                                        std::string_view specificity, std::uint64_t maxFragments,
                                        const BatchControl& control);

/// Digests every record with specificity (the tables of record serve) and
/// hands the digest file records to sink in input order: fragment k of a
/// record gives ">" + name + "_" + k and its residues. forecast, where given,
/// is ForecastBatchDigest's for these records; without it the forecast with
/// the machine's ceiling (analysis::FragmentCeiling) is made first, so that a
/// refused record stops the run before any byte is written. Throws
/// BatchTerminated or BatchDigestRefused.
std::size_t WriteBatchDigest(const std::vector<BatchRecord>& records, std::size_t inputSize,
                             const core::PropertyRecord& record, std::string_view specificity,
                             const BatchControl& control, const core::ByteSink& sink,
                             const BatchDigestForecast* forecast = nullptr);

/// The bytes free for a new file at path (on the file system of its folder,
/// symlinks followed), or nothing where a save writes in place (a device, a
/// FIFO) or the folder cannot be asked.
std::optional<std::uint64_t> FreeBytesFor(const std::string& path);

/// Why a digest file of bytes cannot go to path: "Cannot write d.txt: the
/// digest file would take 1,744,609 bytes, more than the 65,536 free on its
/// disk"; nothing where it fits or the free space cannot be told.
std::optional<std::string> DigestRoomRefusal(const std::string& path, std::uint64_t bytes);

} // namespace quorin::batch
