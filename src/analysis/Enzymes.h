#pragma once

#include "analysis/Digest.h"
#include "core/PropertyRecord.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::analysis {

/// A named enzyme of the built-in library: where it cuts, written as the
/// residues on either side of the bond (P1 before it, P1' after it, P2' the
/// residue after that).
struct Enzyme
{
    std::string_view name;
    /// The rule in words, as the digest report names it.
    std::string_view rule;
    /// Cut after (C-terminal to) one of these residues ...
    std::string_view after;
    /// ... unless the next residue is one of these.
    std::string_view notBefore;
    /// Cut before (N-terminal to) one of these residues ...
    std::string_view before;
    /// ... unless the residue before is one of these ...
    std::string_view notAfter;
    /// ... or the residue after the next is one of these.
    std::string_view notTwoAfter;
    /// Every bond is a cut site: there is no cleavage to miss.
    bool everyBond = false;
};

/// The enzymes of the library in the order a list shows them.
std::span<const Enzyme> EnzymeLibrary();

/// The enzyme of that name, compared without regard to case, or null.
const Enzyme* FindEnzyme(std::string_view name);

/// The names of the library joined with ", ", for a message.
std::string EnzymeNames();

/// True when the enzyme cuts the bond before position p (1..L-1) of sequence.
/// An unknown residue (X) may be any residue: it is taken as one the enzyme
/// cuts at, but never as one of the exceptions.
bool CutsBefore(const Enzyme& enzyme, std::string_view sequence, std::size_t p);

/// The cut positions of the enzyme in sequence, ascending: p means a cut
/// between residues p - 1 and p (0-based), 1 <= p <= L - 1.
std::vector<int> EnzymeSites(const Enzyme& enzyme, std::string_view sequence);

/// Which ends of a peptide must be cut sites (the protein's ends count as
/// such): both, at least one, or neither.
enum class Specificity
{
    Full,
    Semi,
    None,
};

/// "full", "semi" or "none", or nothing for any other text.
std::optional<Specificity> ParseSpecificity(std::string_view text);

/// The peptides an enzyme digest makes.
struct PeptideBounds
{
    Specificity specificity = Specificity::Full;
    /// At most this many cut sites strictly inside a peptide; none: no limit.
    /// An unspecific digest (Specificity::None, or an enzyme cutting every
    /// bond) has no cleavage to miss and is bounded by length alone.
    std::optional<int> maxMissed = std::nullopt;
    int minLength = 0;
    int maxLength = std::numeric_limits<int>::max();
};

/// One peptide: 0-based inclusive positions and the cut sites strictly inside.
struct Peptide
{
    int start = 0;
    int end = 0;
    int missed = 0;
};

/// The peptides of one sequence under an enzyme and bounds, counted or made
/// one at a time (in order of start, then end) without being held: an
/// unspecific digest of a long protein makes millions of them. The sequence
/// must outlive the plan.
class PeptidePlan
{
public:
    PeptidePlan(std::string_view sequence, const Enzyme& enzyme, const PeptideBounds& bounds);

    /// The peptides ForEach makes, without making them.
    std::uint64_t Count() const;

    /// The residues of all the peptides ForEach makes, summed without making
    /// them.
    std::uint64_t Residues() const;

    /// Calls visit with every peptide, in order of start, then end.
    void ForEach(const std::function<void(const Peptide&)>& visit) const;

    /// 0, the cut positions, L.
    const std::vector<int>& Cuts() const { return m_cuts; }
    const std::vector<int>& Sites() const { return m_sites; }

private:
    /// Calls visit with every position a peptide may start at: the cut
    /// positions alone with full specificity.
    template <typename Visit>
    void forEachStart(Visit visit) const
    {
        if (m_bounds.specificity == Specificity::Full) {
            for (std::size_t i = 0; i + 1 < m_cuts.size(); ++i) {
                visit(m_cuts[i]);
            }
            return;
        }
        for (int s = 0; s < static_cast<int>(m_sequence.size()); ++s) {
            visit(s);
        }
    }

    /// The end range [lo, hi] allowed for start s by length and missed
    /// cleavages, and whether every end in it counts (else only those followed
    /// by a cut). False when s starts no peptide.
    bool endRange(int s, std::int64_t& lo, std::int64_t& hi, bool& everyEnd) const;

    std::string_view m_sequence;
    PeptideBounds m_bounds;
    bool m_missedApplies = true;
    std::vector<int> m_sites;
    std::vector<int> m_cuts;
    /// m_sitesUpTo[i]: the sites at positions 1..i.
    std::vector<int> m_sitesUpTo;
    std::vector<std::uint8_t> m_isCut;
};

/// The digest of the record's cleaned sequence by a library enzyme, stored as
/// Digest stores one (cut positions, fragments with weights, the enzyme as the
/// selected agent with its rule and specificity) and ending with
/// BuildDigestReport(SortMode::ByWeight, false, digest.lineWidth), so that the
/// report and the CSV table are written as for any digest. options gives the
/// masses (monoisotopic or not) and the ceiling; its bounds are not used.
/// Refused, with the record in the state before any digest, beyond
/// options.maxFragments.
DigestResult DigestWithEnzyme(core::PropertyRecord& record, const Enzyme& enzyme,
                              const PeptideBounds& bounds, const DigestOptions& options);

} // namespace quorin::analysis
