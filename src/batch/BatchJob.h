#pragma once

#include "batch/BatchInput.h"
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "core/FileIo.h"
#include "core/PropertyRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorin::batch {

/// A batch input read and split into its records. The records point into the
/// text, so the object is neither copied nor moved.
class BatchInputFile
{
public:
    /// Why the input gives no records to run on.
    enum class Problem
    {
        None,
        /// It cannot be opened or read (refusal is "File not found!").
        CannotOpen,
        /// Beyond the input ceiling, changed while it was read, or compressed
        /// data cut short or corrupt (refusal says which).
        Refused,
        /// UTF-16 text, which no record of it would survive.
        Utf16Text,
    };

    /// Reads path ("-": standard input) on up to jobs threads (0: one per
    /// processor); progress, where set, hears the bytes read now and then.
    explicit BatchInputFile(const std::string& path, unsigned jobs = 0,
                            std::function<void(std::uint64_t bytes)> progress = {});
    BatchInputFile(const BatchInputFile&) = delete;
    BatchInputFile& operator=(const BatchInputFile&) = delete;

    std::string_view Text() const { return m_text.View(); }
    /// Empty where Failure() is not None, and for a text without a record.
    const std::vector<BatchRecord>& Records() const { return m_records; }
    Problem Failure() const { return m_problem; }
    /// The message of the problem, as quorin-cli prints it.
    const std::string& Refusal() const { return m_refusal; }

private:
    BatchText m_text;
    std::vector<BatchRecord> m_records;
    Problem m_problem = Problem::None;
    std::string m_refusal;
};

/// One batch run as both programs start it, once every question is answered.
struct BatchJob
{
    std::string inputPath;
    /// The tables, agents and scales of the run.
    const core::PropertyRecord* record = nullptr;
    BatchOptions options;
    /// A digest file of every record in place of the results and log.
    bool digest = false;
    /// The combined specificity of the digest's agents.
    std::string specificity;
    /// The most fragments one record's digest may make.
    std::uint64_t maxFragments = 0;
    /// The results file, or the digest file; "-" takes no check of its disk's
    /// room (standard output, for a writer that knows it).
    std::string outputPath;
    /// The log beside the results, none without.
    std::optional<std::string> logPath;
    /// The record lines alone: no header, no statistics.
    bool rowsOnly = false;
};

/// Writes files that belong together (results and their log): all new or all
/// as they were, as core::WriteFilesTogether does.
using BatchFilesWriter =
    std::function<core::SaveTogetherStatus(const std::vector<core::FileToSave>& files)>;

/// What a job did.
struct BatchJobResult
{
    /// The records analysed or digested.
    std::size_t sequenceCount = 0;
    /// The file that could not be written and why; the others then are as
    /// they were.
    std::optional<std::pair<std::string, core::FileStatus>> failure;
};

/// Runs job on the records of input under control and writes its files
/// through write: the digest file, or the results and, where named, the log
/// (its date line the time of writing, after the results). A digest is
/// forecast first: a record beyond job.maxFragments or a file beyond the room
/// on its disk throws BatchDigestRefused before any byte is written. Throws
/// BatchTerminated, and std::bad_alloc where memory runs out.
BatchJobResult RunBatchJob(const BatchJob& job, const BatchInputFile& input,
                           const BatchControl& control,
                           const BatchFilesWriter& write = core::WriteFilesTogether);

} // namespace quorin::batch
