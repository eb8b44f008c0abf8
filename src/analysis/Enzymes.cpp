#include "analysis/Enzymes.h"

#include "core/MessageTexts.h"
#include "core/Residue.h"

#include <algorithm>
#include <array>
#include <new>

namespace quorin::analysis {
namespace {

// The rules as proteomics defines them. Sources: the enzyme table of OpenMS
// (share/OpenMS/CHEMISTRY/Enzymes.xml, whose rules follow the PSI-MS
// controlled vocabulary's cleavage agents, MS:1001045 and below) and ExPASy
// PeptideCutter's documentation of cleavage rules
// (web.expasy.org/peptide_cutter/peptidecutter_enzymes.html). Where the two
// differ we follow the usual search-engine definition:
// - Chymotrypsin is the high-specificity form (PeptideCutter's: after F, Y or
//   W, not before P); the OpenMS table's Chymotrypsin also cuts after L, which
//   is our Chymotrypsin-low without its M.
// - Formic acid cuts after D only (PeptideCutter: D at P1), where the OpenMS
//   table cuts on both sides of D.
// - Glu-C is the V8 protease in ammonium bicarbonate (after E, OpenMS's
//   "V8-E"); Glu-C+D the one in phosphate buffer (after D or E, "V8-DE").
// - Pepsin A: after F or L (OpenMS "PepsinA", the search engines' rule for
//   pH 1.3); Proteinase K after the aliphatic, aromatic and hydrophobic
//   residues PeptideCutter lists (A, E, F, I, L, T, V, W, Y); Thermolysin
//   before A, F, I, L, M or V, not after D or E and not when P2' is P
//   (PeptideCutter).
constexpr std::array kLibrary = {
    Enzyme{"Trypsin", "after K or R, not before P", "KR", "P"},
    Enzyme{"Trypsin/P", "after K or R", "KR", ""},
    Enzyme{"Lys-C", "after K, not before P", "K", "P"},
    Enzyme{"Lys-C/P", "after K", "K", ""},
    Enzyme{"Lys-N", "before K", "", "", "K"},
    Enzyme{"Arg-C", "after R, not before P", "R", "P"},
    Enzyme{"Arg-C/P", "after R", "R", ""},
    Enzyme{"Asp-N", "before D", "", "", "D"},
    Enzyme{"Glu-C", "after E, not before P", "E", "P"},
    Enzyme{"Glu-C+D", "after D or E, not before P", "DE", "P"},
    Enzyme{"Chymotrypsin", "after F, Y or W, not before P", "FYW", "P"},
    Enzyme{"Chymotrypsin/P", "after F, Y or W", "FYW", ""},
    Enzyme{"Chymotrypsin-low", "after F, Y, W, L or M, not before P", "FYWLM", "P"},
    Enzyme{"CNBr", "after M", "M", ""},
    Enzyme{"Formic acid", "after D", "D", ""},
    Enzyme{"Pepsin A", "after F or L", "FL", ""},
    Enzyme{"Proteinase K", "after A, E, F, I, L, T, V, W or Y", "AEFILTVWY", ""},
    Enzyme{"Thermolysin", "before A, F, I, L, M or V, not after D or E, not before xP", "", "",
           "AFILMV", "DE", "P"},
    Enzyme{"unspecific cleavage", "every bond", "", "", "", "", "", true},
};

/// The unknown residue, which may be any.
constexpr char kAnyResidue = 'X';

bool oneOf(std::string_view set, char residue)
{
    return residue == kAnyResidue ? !set.empty() : set.find(residue) != std::string_view::npos;
}

/// Exceptions name known residues only: an unknown one is never excepted.
bool excepted(std::string_view set, char residue)
{
    return residue != kAnyResidue && set.find(residue) != std::string_view::npos;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

std::string_view specificityWord(Specificity specificity)
{
    switch (specificity) {
    case Specificity::Semi:
        return "semi-specific";
    case Specificity::None:
        return "unspecific";
    case Specificity::Full:
        break;
    }
    return "";
}

/// CutsBefore's tests, looked up by residue: a batch digest finds the sites
/// of every residue of a whole proteome.
enum : std::uint8_t
{
    kAfter = 1,
    kNotBefore = 2,
    kBefore = 4,
    kNotAfter = 8,
    kNotTwoAfter = 16,
};
using Roles = std::array<std::uint8_t, 256>;

Roles makeRoles(const Enzyme& enzyme)
{
    Roles roles{};
    for (int c = 0; c < 256; ++c) {
        const auto residue = static_cast<char>(c);
        roles[static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>((oneOf(enzyme.after, residue) ? kAfter : 0) |
                                      (excepted(enzyme.notBefore, residue) ? kNotBefore : 0) |
                                      (oneOf(enzyme.before, residue) ? kBefore : 0) |
                                      (excepted(enzyme.notAfter, residue) ? kNotAfter : 0) |
                                      (excepted(enzyme.notTwoAfter, residue) ? kNotTwoAfter : 0));
    }
    return roles;
}

/// The library's tables are made once; another enzyme's on each call.
const Roles& rolesOf(const Enzyme& enzyme)
{
    static const auto library = [] {
        std::array<Roles, kLibrary.size()> tables{};
        for (std::size_t i = 0; i < kLibrary.size(); ++i) {
            tables[i] = makeRoles(kLibrary[i]);
        }
        return tables;
    }();
    if (&enzyme >= kLibrary.data() && &enzyme < kLibrary.data() + kLibrary.size()) {
        return library[static_cast<std::size_t>(&enzyme - kLibrary.data())];
    }
    thread_local Roles other;
    other = makeRoles(enzyme);
    return other;
}

} // namespace

std::span<const Enzyme> EnzymeLibrary()
{
    return kLibrary;
}

const Enzyme* FindEnzyme(std::string_view name)
{
    for (const Enzyme& enzyme : kLibrary) {
        if (sameName(enzyme.name, name)) {
            return &enzyme;
        }
    }
    return nullptr;
}

std::string EnzymeNames()
{
    std::string names;
    for (const Enzyme& enzyme : kLibrary) {
        if (!names.empty()) {
            names += ", ";
        }
        names += enzyme.name;
    }
    return names;
}

bool CutsBefore(const Enzyme& enzyme, std::string_view sequence, std::size_t p)
{
    if (p == 0 || p >= sequence.size()) {
        return false;
    }
    if (enzyme.everyBond) {
        return true;
    }
    const char p1 = sequence[p - 1];
    const char p1Prime = sequence[p];
    if (oneOf(enzyme.after, p1) && !excepted(enzyme.notBefore, p1Prime)) {
        return true;
    }
    return oneOf(enzyme.before, p1Prime) && !excepted(enzyme.notAfter, p1) &&
           !(p + 1 < sequence.size() && excepted(enzyme.notTwoAfter, sequence[p + 1]));
}

std::vector<int> EnzymeSites(const Enzyme& enzyme, std::string_view sequence)
{
    const Roles& roles = rolesOf(enzyme);
    const auto role = [&](std::size_t p) { return roles[static_cast<unsigned char>(sequence[p])]; };
    std::vector<int> sites;
    for (std::size_t p = 1; p < sequence.size(); ++p) {
        const std::uint8_t p1 = role(p - 1);
        const std::uint8_t p1Prime = role(p);
        const bool cut = enzyme.everyBond || ((p1 & kAfter) != 0 && (p1Prime & kNotBefore) == 0) ||
                         ((p1Prime & kBefore) != 0 && (p1 & kNotAfter) == 0 &&
                          !(p + 1 < sequence.size() && (role(p + 1) & kNotTwoAfter) != 0));
        if (cut) {
            sites.push_back(static_cast<int>(p));
        }
    }
    return sites;
}

std::optional<Specificity> ParseSpecificity(std::string_view text)
{
    if (text == "full") {
        return Specificity::Full;
    }
    if (text == "semi") {
        return Specificity::Semi;
    }
    if (text == "none") {
        return Specificity::None;
    }
    return std::nullopt;
}

PeptidePlan::PeptidePlan(std::string_view sequence, const Enzyme& enzyme,
                         const PeptideBounds& bounds)
    : m_sequence(sequence), m_bounds(bounds),
      m_missedApplies(bounds.specificity != Specificity::None && !enzyme.everyBond &&
                      bounds.maxMissed.has_value()),
      m_sites(EnzymeSites(enzyme, sequence))
{
    const auto length = static_cast<int>(sequence.size());
    m_cuts.reserve(m_sites.size() + 2);
    m_cuts.push_back(0);
    m_cuts.insert(m_cuts.end(), m_sites.begin(), m_sites.end());
    m_cuts.push_back(length);
    m_isCut.assign(sequence.size() + 1, 0);
    for (const int cut : m_cuts) {
        m_isCut[static_cast<std::size_t>(cut)] = 1;
    }
    m_sitesUpTo.assign(sequence.size() + 1, 0);
    for (std::size_t i = 1; i <= sequence.size(); ++i) {
        m_sitesUpTo[i] = m_sitesUpTo[i - 1] + (i < sequence.size() && m_isCut[i] ? 1 : 0);
    }
}

bool PeptidePlan::endRange(int s, std::int64_t& lo, std::int64_t& hi, bool& everyEnd) const
{
    const bool startCut = m_isCut[static_cast<std::size_t>(s)] != 0;
    if (m_bounds.specificity == Specificity::Full && !startCut) {
        return false;
    }
    // Semi: a peptide from a cut may end anywhere; one from elsewhere must
    // end before a cut. Full: both ends at cuts.
    everyEnd = m_bounds.specificity == Specificity::None ||
               (m_bounds.specificity == Specificity::Semi && startCut);
    const auto length = static_cast<std::int64_t>(m_sequence.size());
    lo = s + std::max<std::int64_t>(m_bounds.minLength, 1) - 1;
    hi = std::min(length - 1, s + std::int64_t{m_bounds.maxLength} - 1);
    if (m_missedApplies) {
        // The end must lie before the (maxMissed + 1)-th site after the start.
        // Sites at 1..s come before the start: the next one is the next index.
        const auto next = m_sitesUpTo[static_cast<std::size_t>(s)];
        const auto limit = static_cast<std::size_t>(next) +
                           static_cast<std::size_t>(std::max(*m_bounds.maxMissed, 0));
        if (limit < m_sites.size()) {
            hi = std::min<std::int64_t>(hi, m_sites[limit] - 1);
        }
    }
    return lo <= hi;
}

std::uint64_t PeptidePlan::Count() const
{
    std::uint64_t count = 0;
    forEachStart([&](int s) {
        std::int64_t lo = 0;
        std::int64_t hi = 0;
        bool everyEnd = false;
        if (!endRange(s, lo, hi, everyEnd)) {
            return;
        }
        if (everyEnd) {
            count += static_cast<std::uint64_t>(hi - lo + 1);
        } else {
            // Ends e with a cut at e + 1.
            const auto first = std::lower_bound(m_cuts.begin(), m_cuts.end(), lo + 1);
            const auto last = std::upper_bound(m_cuts.begin(), m_cuts.end(), hi + 1);
            count += static_cast<std::uint64_t>(std::max<std::ptrdiff_t>(last - first, 0));
        }
    });
    return count;
}

std::uint64_t PeptidePlan::Residues() const
{
    std::uint64_t residues = 0;
    forEachStart([&](int s) {
        std::int64_t lo = 0;
        std::int64_t hi = 0;
        bool everyEnd = false;
        if (!endRange(s, lo, hi, everyEnd)) {
            return;
        }
        if (everyEnd) {
            // Lengths lo - s + 1 .. hi - s + 1.
            const auto shortest = static_cast<std::uint64_t>(lo - s + 1);
            const auto longest = static_cast<std::uint64_t>(hi - s + 1);
            residues += (shortest + longest) * (longest - shortest + 1) / 2;
        } else {
            for (auto it = std::lower_bound(m_cuts.begin(), m_cuts.end(), lo + 1);
                 it != m_cuts.end() && *it <= hi + 1; ++it) {
                residues += static_cast<std::uint64_t>(*it - s);
            }
        }
    });
    return residues;
}

void PeptidePlan::ForEach(const std::function<void(const Peptide&)>& visit) const
{
    forEachStart([&](int s) {
        std::int64_t lo = 0;
        std::int64_t hi = 0;
        bool everyEnd = false;
        if (!endRange(s, lo, hi, everyEnd)) {
            return;
        }
        const int before = m_sitesUpTo[static_cast<std::size_t>(s)];
        const auto emit = [&](std::int64_t e) {
            const int end = static_cast<int>(e);
            visit({s, end, m_sitesUpTo[static_cast<std::size_t>(end)] - before});
        };
        if (everyEnd) {
            for (std::int64_t e = lo; e <= hi; ++e) {
                emit(e);
            }
        } else {
            for (auto it = std::lower_bound(m_cuts.begin(), m_cuts.end(), lo + 1);
                 it != m_cuts.end() && *it <= hi + 1; ++it) {
                emit(*it - 1);
            }
        }
    });
}

DigestResult DigestWithEnzyme(core::PropertyRecord& record, const Enzyme& enzyme,
                              const PeptideBounds& bounds, const DigestOptions& options)
{
    ResetDigest(record);
    core::DigestState& state = record.digest;
    const std::string& sequence = record.CleanSequence();
    const PeptidePlan plan(sequence, enzyme, bounds);
    const std::uint64_t count = plan.Count();
    if (count > options.maxFragments) {
        return {count, core::msg::TooManyFragments(count, options.maxFragments)};
    }
    if (count > state.fragments.max_size()) {
        throw std::bad_alloc();
    }
    state.siteCount = static_cast<int>(plan.Sites().size());
    state.cuts = plan.Cuts();
    std::string rule(enzyme.rule);
    if (const std::string_view word = specificityWord(bounds.specificity); !word.empty()) {
        rule += "; " + std::string(word);
    }
    state.selectedAgents = {core::ENZYME{std::string(enzyme.name), rule}};

    const core::ResidueTable& table =
        options.monoisotopic ? kMonoisotopicResidueMass : record.residueMass;
    const double water = options.monoisotopic ? kMonoisotopicWater : record.StretchWeight(0, -1);
    std::vector<core::FRAGM>().swap(state.fragments);
    state.fragments.reserve(static_cast<std::size_t>(count));
    // Each start's peptides come in order of end: each extends the previous
    // sum residue by residue, adding in StretchWeight's order.
    int start = -1;
    int reached = -1;
    double sum = 0.0;
    plan.ForEach([&](const Peptide& peptide) {
        if (peptide.start != start) {
            start = peptide.start;
            reached = start - 1;
            sum = water;
        }
        for (; reached < peptide.end; ++reached) {
            sum += table[static_cast<std::size_t>(
                core::IndexOfLetter(sequence[static_cast<std::size_t>(reached + 1)]))];
        }
        const bool complete =
            peptide.missed == 0 &&
            std::binary_search(plan.Cuts().begin(), plan.Cuts().end(), peptide.start) &&
            std::binary_search(plan.Cuts().begin(), plan.Cuts().end(), peptide.end + 1);
        state.fragments.push_back(
            {peptide.start, peptide.end, sum, static_cast<std::uint8_t>(complete ? 1 : 0)});
    });
    BuildDigestReport(record, SortMode::ByWeight, false, state.lineWidth);
    return {count, {}};
}

} // namespace quorin::analysis
