#pragma once

#include "core/PropertyRecord.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorin::analysis {

struct PrositeParse;

/// A PROSITE pattern, compiled once for matching many sequences.
///
/// The syntax: elements joined by "-"; an element is "x" (any residue), a
/// residue letter, a class "[ABC]" or an exclusion "{ABC}", optionally
/// repeated "(n)" or "(n,m)"; "<" before the first element anchors the match
/// at the N-terminus, ">" after the last at the C-terminus, and ">" as the
/// last character inside a final class lets the C-terminus stand for that
/// element ("L-[G>]": L then G, or L ending the sequence). A final "." is
/// allowed. Residues are the letters A to Z; "X" alone means any residue, as
/// "x" does, while "X" and "O" in a sequence are residues that only "x", a
/// class naming them or an exclusion not naming them match.
class PrositePattern
{
public:
    /// One element of the pattern: the residues it takes and how often.
    struct Element
    {
        std::uint32_t letters = 0; ///< bit k: the letter 'A' + k
        int minCount = 1;
        int maxCount = 1;
        bool endAllowed = false; ///< the C-terminus may stand for it
    };

    PrositePattern() = default;

    const std::vector<Element>& Elements() const { return m_elements; }
    bool AnchoredAtStart() const { return m_anchoredStart; }
    bool AnchoredAtEnd() const { return m_anchoredEnd; }
    /// The pattern as it was written, blanks removed.
    const std::string& Text() const { return m_text; }

private:
    friend PrositeParse ParsePrositePattern(std::string_view text);

    std::vector<Element> m_elements;
    bool m_anchoredStart = false;
    bool m_anchoredEnd = false;
    std::string m_text;
};

/// What ParsePrositePattern made of a text: the pattern, or the message that
/// refuses it and the 1-based character of the text at fault.
struct PrositeParse
{
    PrositePattern pattern;
    std::string message; ///< empty when the pattern parsed
    std::size_t position = 0;

    bool Refused() const { return !message.empty(); }
};

/// The most expanded element positions (each repeat counted to its upper
/// bound) a pattern may have; the matching time grows with it.
inline constexpr std::size_t kPrositeMostPositions = 4096;

/// Parses text, blanks ignored. Refuses, naming the first character at
/// fault: an unknown character, an empty or unclosed class, a repeat that is
/// not "(n)" or "(n,m)" with n <= m, an anchor anywhere but at an end, an
/// element that no residue matches, a pattern that matches the empty
/// stretch, and one longer than kPrositeMostPositions.
PrositeParse ParsePrositePattern(std::string_view text);

/// One match: 0-based start and one past its last residue.
struct PrositeMatch
{
    std::size_t start = 0;
    std::size_t end = 0;
};

/// Every start at which pattern matches residues (overlapping matches
/// included), each with its shortest match, in order of start. The time is
/// the residues' length times the pattern's expanded positions, whatever the
/// pattern: no backtracking.
std::vector<PrositeMatch> FindPrositeMatches(const PrositePattern& pattern,
                                             std::string_view residues);

/// The tab-separated matches: "start<TAB>end<TAB>match" and one line per
/// match (1-based, inclusive), lines ending with LF.
std::string PrositeMatchesTsv(const std::vector<PrositeMatch>& matches, std::string_view residues);

/// Puts the matches of pattern over the record's cleaned sequence into its
/// motif state, the pattern standing as its one motif, so that the motif
/// report lists them; the previous search's results are replaced.
void SearchPrositeMotif(core::PropertyRecord& record, const PrositePattern& pattern);

/// One pattern entry of a PROSITE data file.
struct PrositeEntry
{
    std::string id;          ///< the ID line's name, without its type
    std::string accession;   ///< the first AC
    std::string description; ///< the DE lines joined by blanks
    std::string pattern;     ///< the PA lines joined; empty for a profile or rule
};

/// The entries of a PROSITE data file (records ended by "//"); entries
/// without a PA line are left out. Lines may end with LF or CR LF.
std::vector<PrositeEntry> ReadPrositeEntries(std::string_view text);

/// The hits of one entry of a library over one sequence.
struct PrositeEntryHits
{
    const PrositeEntry* entry = nullptr;
    std::vector<PrositeMatch> matches;
};

/// What a library scan found: the entries with hits, in order of accession,
/// and the entries whose pattern did not parse, with the parser's message.
struct PrositeScan
{
    std::vector<PrositeEntryHits> hits;
    std::vector<std::pair<const PrositeEntry*, std::string>> refused;
};

/// Matches every entry's pattern over residues. The result points into
/// entries, which must outlive it.
PrositeScan ScanPrositeEntries(const std::vector<PrositeEntry>& entries, std::string_view residues);

/// "accession<TAB>id<TAB>start<TAB>end<TAB>match", then one line per match
/// (1-based, inclusive), in order of accession, then start; LF line ends.
std::string PrositeScanTsv(const PrositeScan& scan, std::string_view residues);

/// The scan as the report window shows it, lines ending with CR LF: a
/// title naming the sequence, then each entry with hits (accession, id and
/// description) and its matches ("start-end  match").
std::string PrositeScanReport(const PrositeScan& scan, std::string_view sequenceName,
                              std::string_view residues);

} // namespace quorin::analysis
