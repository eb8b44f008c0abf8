#include "analysis/ui/DigestJobs.h"

#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/CPeptideDoc.h"

#include <memory>
#include <new>

namespace quorin::analysis::ui {
namespace {

/// What a job works on and hands back.
struct Work
{
    std::unique_ptr<core::PropertyRecord> record;
    bool ok = true;
    bool carriesMatches = false;
};

} // namespace

DigestJobs::DigestJobs(core::ui::CPeptideDoc& document) : QObject(&document), m_document(document)
{
    setObjectName(QStringLiteral("DigestJobs"));
}

DigestJobs& DigestJobs::Of(core::ui::CPeptideDoc& document)
{
    auto* jobs = document.findChild<DigestJobs*>(QString(), Qt::FindDirectChildrenOnly);
    return jobs != nullptr ? *jobs : *new DigestJobs(document);
}

bool DigestJobs::BusyFor(const core::ui::CPeptideDoc& document)
{
    const auto* jobs = document.findChild<DigestJobs*>(QString(), Qt::FindDirectChildrenOnly);
    return jobs != nullptr && jobs->Busy();
}

void DigestJobs::StartDigest(const std::string& specificity)
{
    core::PropertyRecord& record = m_document.Record();
    // The old fragments go now; the job starts from a copy without them.
    ResetDigest(record);
    run(std::make_unique<core::PropertyRecord>(record),
        [specificity](core::PropertyRecord& work, const DigestProgress& progress) {
            progress(0);
            // The launcher refuses a digest beyond the ceiling before it
            // starts; one refused here all the same ends as one out of memory.
            if (Digest(work, specificity, progress).Refused()) {
                throw std::bad_alloc();
            }
        });
}

void DigestJobs::StartDigest(const std::string& specificity, const DigestOptions& options,
                             SortMode sortMode, bool completeOnly)
{
    core::PropertyRecord& record = m_document.Record();
    ResetDigest(record);
    run(
        std::make_unique<core::PropertyRecord>(record),
        [=](core::PropertyRecord& work, const DigestProgress& progress) {
            progress(0);
            if (Digest(work, specificity, options, progress).Refused()) {
                throw std::bad_alloc();
            }
            DescribeOptionsInReport(work, options);
            BuildDigestReport(work, sortMode, completeOnly, work.digest.lineWidth);
            // The sequence's last ModFinder search is made again among the
            // fragments now kept, so its window lists matches of this digest
            // rather than none.
            if (!work.modFinder.selected.empty()) {
                FindModifications(work, work.modFinder.weight, work.modFinder.uncertainty);
            }
        },
        true);
}

void DigestJobs::Rebuild(SortMode sortMode, bool completeOnly, bool onWorker)
{
    if (m_busy) {
        return;
    }
    core::PropertyRecord& record = m_document.Record();
    const int width = record.digest.lineWidth;
    if (!onWorker) {
        bool ok = true;
        try {
            BuildDigestReport(record, sortMode, completeOnly, width);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        end(ok);
        return;
    }
    // The job takes the digest away; the record's name goes along for the
    // report's title.
    auto work = std::make_unique<core::PropertyRecord>();
    work->SetName(record.Name());
    work->digest = std::move(record.digest);
    record.digest = core::DigestState{};
    run(std::move(work), [=](core::PropertyRecord& moved, const DigestProgress& progress) {
        BuildDigestReport(moved, sortMode, completeOnly, width, progress);
    });
}

void DigestJobs::run(std::unique_ptr<core::PropertyRecord> record, Compute compute,
                     bool carriesMatches)
{
    auto work = std::make_shared<Work>(Work{std::move(record), true, carriesMatches});
    const std::uint64_t generation = ++m_generation;
    m_busy = true;
    core::ui::RunInBackground(
        this,
        [work, compute = std::move(compute)] {
            core::ui::ProgressPoster progress;
            try {
                compute(*work->record, std::ref(progress));
            } catch (const std::bad_alloc&) {
                work->ok = false;
            }
        },
        [this, work, generation] {
            if (generation != m_generation) {
                return;
            }
            m_document.Record().digest = std::move(work->record->digest);
            if (work->carriesMatches && work->ok) {
                m_document.Record().modFinder.matches = std::move(work->record->modFinder.matches);
            }
            end(work->ok);
        });
}

void DigestJobs::end(bool ok)
{
    m_busy = false;
    if (!ok) {
        // A digest or sort that ran out of memory may leave its rows half
        // built: nothing of that digest is kept.
        ResetDigest(m_document.Record());
        m_document.Analyses().digestComputed = false;
        m_document.AnalysesChanged();
    }
    emit finished(ok);
    m_document.UpdateAllViews();
}

} // namespace quorin::analysis::ui
