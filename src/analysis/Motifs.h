#pragma once

#include "core/PropertyRecord.h"

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

/// Searches the record's cleaned sequence (X and O included) for the motifs of
/// searchString: blanks removed, upper-cased, motifs separated by ";", empty
/// motifs skipped (they take no number). "X" in a motif matches any residue,
/// every other letter only itself. Every start where the motif fits wholly
/// counts, the last residue and overlapping occurrences included. The hits are
/// left ordered by position, equal positions in motif order; the previous
/// search's results are replaced.
void SearchMotifs(core::PropertyRecord& record, std::string_view searchString);

/// The motif report, every line ending with CR LF: the sites by position
/// (byPosition) or motif by motif, each motif's sites by position.
std::string MotifReportText(const core::PropertyRecord& record, bool byPosition);

} // namespace quorin::analysis
