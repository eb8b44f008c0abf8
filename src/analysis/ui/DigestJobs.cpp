#include "analysis/ui/DigestJobs.h"

#include "analysis/Digest.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/CPeptideDoc.h"

#include <memory>
#include <new>

namespace quorin::analysis::ui {
namespace {

/// What a job works on and hands back.
struct Work
{
    core::PropertyRecord record;
    bool ok = true;
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

void DigestJobs::StartDigest(const std::string& specificity)
{
    core::PropertyRecord& record = m_document.Record();
    // The old fragments go now; the job starts from a copy without them.
    ResetDigest(record);
    auto work = std::make_shared<Work>(Work{record, true});
    const std::uint64_t generation = ++m_generation;
    m_busy = true;
    core::ui::RunInBackground(
        this,
        [work, specificity] {
            core::ui::ProgressPoster progress;
            progress(0);
            try {
                Digest(work->record, specificity, std::ref(progress));
            } catch (const std::bad_alloc&) {
                ResetDigest(work->record);
                work->ok = false;
            }
        },
        [this, work, generation] {
            if (generation != m_generation) {
                return;
            }
            m_document.Record().digest = std::move(work->record.digest);
            end(work->ok);
        });
}

void DigestJobs::Rebuild(int sortMode, bool completeOnly, bool onWorker)
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
    auto work = std::make_shared<Work>();
    work->record.SetName(record.Name());
    work->record.digest = std::move(record.digest);
    record.digest = core::DigestState{};
    const std::uint64_t generation = ++m_generation;
    m_busy = true;
    core::ui::RunInBackground(
        this,
        [work, sortMode, completeOnly, width] {
            core::ui::ProgressPoster progress;
            try {
                BuildDigestReport(work->record, sortMode, completeOnly, width, std::ref(progress));
            } catch (const std::bad_alloc&) {
                work->ok = false;
            }
        },
        [this, work, generation] {
            if (generation != m_generation) {
                return;
            }
            m_document.Record().digest = std::move(work->record.digest);
            end(work->ok);
        });
}

void DigestJobs::end(bool ok)
{
    m_busy = false;
    if (!ok) {
        // A sort that ran out of memory may leave its rows half built: nothing
        // of that digest is kept.
        ResetDigest(m_document.Record());
        m_document.Analyses().digestComputed = false;
        m_document.AnalysesChanged();
    }
    emit finished(ok);
    m_document.UpdateAllViews();
}

} // namespace quorin::analysis::ui
