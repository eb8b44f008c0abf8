#pragma once

#include "analysis/Digest.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quorin::core::ui {
class CPeptideDoc;
}

namespace quorin::analysis::ui {

/// The work that changes the digest of one sequence document: the digest
/// itself and the re-sorts of its report. A digest of a long protein has
/// millions of fragments, so the work runs on a worker thread, posting
/// MSG_PROGRESS, while the window stays responsive.
///
/// While a job runs, the job owns the digest and the document's record holds
/// an empty one (no report lines); the job hands the digest back on the GUI
/// thread. At most one job counts at a time: starting a digest voids the
/// result of one still running.
class DigestJobs : public QObject
{
    Q_OBJECT

public:
    /// The jobs of document, made on first use; they go with the document.
    static DigestJobs& Of(core::ui::CPeptideDoc& document);

    /// A job has the digest.
    bool Busy() const { return m_busy; }
    /// A job of document has its digest (no jobs made yet: none has).
    static bool BusyFor(const core::ui::CPeptideDoc& document);

    /// Digests the record's sequence with specificity on a worker, with the
    /// record's masses, name, selected agents and line width as they are now.
    /// The record holds the state before any digest until the job ends.
    void StartDigest(const std::string& specificity);
    /// As above with options, which the report names (DescribeOptionsInReport),
    /// and the report in sortMode, with completeOnly.
    void StartDigest(const std::string& specificity, const DigestOptions& options,
                     SortMode sortMode, bool completeOnly);

    /// BuildDigestReport on the record, at once or on a worker. Ignored while
    /// Busy(). Ends with finished() either way.
    void Rebuild(SortMode sortMode, bool completeOnly, bool onWorker);

signals:
    /// The digest is back in the record. ok is false when it did not fit in
    /// memory: the record then holds the state before any digest and the
    /// document no longer counts a digest as computed.
    void finished(bool ok);

private:
    /// Computes into a record of the job's own; receives the progress to post.
    using Compute = std::function<void(core::PropertyRecord&, const DigestProgress&)>;

    explicit DigestJobs(core::ui::CPeptideDoc& document);
    /// Runs compute on record on a worker; its digest then goes to the
    /// document, and with carriesMatches its ModFinder matches too.
    void run(std::unique_ptr<core::PropertyRecord> record, Compute compute,
             bool carriesMatches = false);
    void end(bool ok);

    core::ui::CPeptideDoc& m_document;
    std::uint64_t m_generation = 0;
    bool m_busy = false;
};

} // namespace quorin::analysis::ui
