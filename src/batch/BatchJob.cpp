#include "batch/BatchJob.h"

#include "batch/BatchAnalyzer.h"
#include "batch/BatchTexts.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"

#include <ctime>
#include <utility>

namespace quorin::batch {

BatchInputFile::BatchInputFile(const std::string& path, unsigned jobs,
                               std::function<void(std::uint64_t bytes)> progress)
{
    core::FileStatus status;
    BatchReadOptions reading;
    reading.jobs = EffectiveJobs(jobs);
    reading.progress = std::move(progress);
    m_text = BatchText::Read(path, status, reading);
    if (!status) {
        m_refusal = BatchInputRefusal(path, status);
        m_problem = m_refusal == core::msg::kFileNotFound ? Problem::CannotOpen : Problem::Refused;
        return;
    }
    if (core::IsUtf16Text(m_text.View())) {
        m_refusal = core::msg::kUtf16Text;
        m_problem = Problem::Utf16Text;
        return;
    }
    m_records = SplitBatchRecords(m_text.View(), reading.jobs);
}

namespace {

BatchJobResult failedAt(const std::vector<core::FileToSave>& files,
                        const core::SaveTogetherStatus& saved, std::size_t count)
{
    BatchJobResult result{count, std::nullopt};
    if (!saved.status) {
        result.failure.emplace(files[saved.failed].path.string(), saved.status);
    }
    return result;
}

} // namespace

BatchJobResult RunBatchJob(const BatchJob& job, const BatchInputFile& input,
                           const BatchControl& control, const BatchFilesWriter& write)
{
    const std::vector<BatchRecord>& records = input.Records();
    const std::size_t inputSize = input.Text().size();
    const core::PropertyRecord& record = *job.record;
    if (job.digest) {
        // Every record's fragments and the file's size are known before the
        // first fragment is made: a record beyond the ceiling, or a file
        // beyond the room on its disk, is refused before the run.
        const BatchDigestForecast forecast =
            ForecastBatchDigest(records, record, job.specificity, job.maxFragments, control);
        if (job.outputPath != "-") {
            if (std::optional<std::string> refusal =
                    DigestRoomRefusal(job.outputPath, forecast.bytes)) {
                throw BatchDigestRefused(*refusal);
            }
        }
        const std::vector<core::FileToSave> files = {
            {job.outputPath, [&](const core::ByteSink& sink) {
                 WriteBatchDigest(records, inputSize, record, job.specificity, control, sink,
                                  &forecast);
             }}};
        return failedAt(files, write(files), records.size());
    }

    const int scaleIndex =
        ResolvedScaleIndex(job.options.scaleIndex, static_cast<int>(record.scales.size()));
    const BatchAnalyzer analyzer(record, job.options, scaleIndex);
    BatchOutcome outcome;
    std::vector<core::FileToSave> files = {{job.outputPath, [&](const core::ByteSink& sink) {
                                                outcome = WriteBatchResults(
                                                    records, inputSize, analyzer, job.options,
                                                    job.rowsOnly, control, sink);
                                            }}};
    if (job.logPath) {
        files.push_back({*job.logPath, [&](const core::ByteSink& sink) {
                             sink(BatchLogText(
                                 job.inputPath, job.outputPath, outcome.sequenceCount, job.options,
                                 record.scales[static_cast<std::size_t>(scaleIndex)].name,
                                 std::time(nullptr)));
                         }});
    }
    return failedAt(files, write(files), records.size());
}

} // namespace quorin::batch
