#pragma once

#include "core/FileIo.h"
#include "core/PropertyRecord.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorin::analysis {

/// The search string with every blank removed and ASCII letters upper-cased.
std::string CleanMotifSearch(std::string_view text);

/// What the motif dialog makes of its text: the cleaned search string, or the
/// message that refuses it.
struct MotifSearchCheck
{
    std::string search;
    std::string message; ///< empty when the search may run

    bool Refused() const { return !message.empty(); }
};

/// The dialog's checks in its order: an empty text (after the blanks are
/// removed) is refused with "Enter a sequence motif!"; otherwise every
/// character must be a residue letter or ";", and the last one that is not
/// is named in "c is not a valid amino acid !" (a character of several UTF-8
/// bytes is named whole).
MotifSearchCheck CheckMotifSearch(std::string_view text);

/// The most sites one motif search may store: as many as fit, with the copy a
/// sort needs and a report line each, in the memory the digest allows its
/// fragments.
std::uint64_t MotifSiteCeiling();

/// What SearchMotifs did: found siteCount sites, or stored none and holds the
/// refusal message naming the count it would have found.
struct MotifSearchResult
{
    std::uint64_t siteCount = 0;
    std::string refusal;

    bool Refused() const { return !refusal.empty(); }
};

/// Searches the record's cleaned sequence (X and O included) for the motifs of
/// searchString: blanks removed, upper-cased, motifs separated by ";", empty
/// motifs skipped (they take no number). "X" in a motif matches any residue,
/// every other letter only itself. Every start where the motif fits wholly
/// counts, the last residue and overlapping occurrences included. The hits are
/// left ordered by position, equal positions in motif order; the previous
/// search's results are replaced. A search that would find more than maxSites
/// sites is refused (no more than maxSites are ever held): the record then
/// holds no motif and no hit. The work grows with the sites found, not with
/// the sequence length times the motif length.
MotifSearchResult SearchMotifs(core::PropertyRecord& record, std::string_view searchString,
                               std::uint64_t maxSites = MotifSiteCeiling());

/// The motif report, every line ending with CR LF: the sites by position
/// (byPosition) or motif by motif, each motif's sites by position.
std::string MotifReportText(const core::PropertyRecord& record, bool byPosition);

/// MotifReportText handed to sink in pieces of about a megabyte.
void WriteMotifReport(const core::PropertyRecord& record, bool byPosition,
                      const core::ByteSink& sink);

} // namespace quorin::analysis
