#pragma once

#include "core/FileIo.h"
#include "core/PropertyRecord.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::analysis {

/// The orders of the digest report: by start, by length (end - start) or by
/// weight.
enum class SortMode
{
    ByStart,
    ByLength,
    ByWeight,
};

/// The key of the weight order: its unsigned order is the order of the
/// weights, +0 and -0 map to the same key, negative weights below positive
/// ones.
std::uint64_t FragmentWeightKey(double mw);

/// Receives the percentage done (0..100) of long work; may be empty.
using DigestProgress = std::function<void(int percent)>;

/// The first agent of that name (exact comparison), or null.
const core::ENZYME* FindAgent(const std::vector<core::ENZYME>& agents, std::string_view name);

/// False when the list is empty or its first agent has no name; the digest
/// command then refuses with "No cleaving agents defined!".
bool CleavingAgentsDefined(const std::vector<core::ENZYME>& agents);

/// The specificities of agents joined with ";", in list order.
std::string CombinedSpecificity(const std::vector<core::ENZYME>& agents);

/// The state before any digest: no site, cut positions 0 and L, one complete
/// fragment over the whole cleaned sequence ({0, 0, 0.0} when it is empty),
/// and no report.
void ResetDigest(core::PropertyRecord& record);

/// The most fragments one digest may make: as many as fit, with the copy a
/// sort needs beside them, in a quarter of the machine's physical memory (and
/// in half of the process's address-space limit, where one is set).
std::uint64_t FragmentCeiling();

/// The monoisotopic mass of one water, which every fragment counts once.
inline constexpr double kMonoisotopicWater = 18.010565;
/// Monoisotopic residue masses in dalton, slot order: the amino acids' masses
/// to six decimals minus the water above. Amino-acid tables of this precision
/// are the common currency of mass lists; taking the residues from them (not
/// from the exact elements, 3e-7 Da apart per residue) keeps even the 34,350
/// residues of titin within 0.001 Da of those lists. The termini and the other
/// characters (X, O) weigh nothing, as in the average table.
inline constexpr core::ResidueTable kMonoisotopicResidueMass = {
    0,
    89.047678 - kMonoisotopicWater,  // A
    121.019749 - kMonoisotopicWater, // C
    133.037508 - kMonoisotopicWater, // D
    147.053158 - kMonoisotopicWater, // E
    165.078979 - kMonoisotopicWater, // F
    75.032028 - kMonoisotopicWater,  // G
    155.069477 - kMonoisotopicWater, // H
    131.094629 - kMonoisotopicWater, // I
    146.105528 - kMonoisotopicWater, // K
    131.094629 - kMonoisotopicWater, // L
    149.051049 - kMonoisotopicWater, // M
    132.053492 - kMonoisotopicWater, // N
    115.063329 - kMonoisotopicWater, // P
    146.069142 - kMonoisotopicWater, // Q
    174.111676 - kMonoisotopicWater, // R
    105.042593 - kMonoisotopicWater, // S
    119.058243 - kMonoisotopicWater, // T
    117.078979 - kMonoisotopicWater, // V
    204.089878 - kMonoisotopicWater, // W
    181.073893 - kMonoisotopicWater, // Y
    0};
/// The mass of a proton, which each charge of an ion adds.
inline constexpr double kProtonMass = 1.007276;

/// How a digest is made.
struct DigestOptions
{
    /// Make only the n + 1 fragments of the complete digest, in the order the
    /// whole digest lists them; sorted, they stand as the complete fragments of
    /// the sorted whole do.
    bool completeOnly = false;
    /// A digest that would make more fragments is refused before any is made.
    std::uint64_t maxFragments = FragmentCeiling();
    /// Only fragments with at most this many cut positions strictly inside
    /// them are made; none: every fragment.
    std::optional<int> maxMissed = std::nullopt;
    /// Only fragments of minLength..maxLength residues are made.
    int minLength = 0;
    int maxLength = std::numeric_limits<int>::max();
    /// Monoisotopic masses (kMonoisotopicResidueMass) instead of the record's
    /// average table.
    bool monoisotopic = false;
    /// Charge states of the m/z columns of the CSV table.
    std::vector<int> charges = {};

    /// True when a missed-cleavage or length bound is set: the fragments made
    /// are then counted from the cut positions, not from the site count alone.
    bool Bounded() const;
};

/// The highest charge state the digest window offers an m/z column for.
inline constexpr int kMaxChargeState = 100;

/// The fields of the digest options as a dialog shows them.
enum class DigestOptionsField
{
    None,
    MaxMissed,
    MinLength,
    MaxLength,
    Charges,
};

/// The digest options as typed: whole numbers with blanks around them allowed;
/// an empty length means no bound; charges separated by commas, empty: none.
struct DigestOptionsInput
{
    bool limitMissed = false;
    std::string_view maxMissed;
    std::string_view minLength;
    std::string_view maxLength;
    bool monoisotopic = false;
    std::string_view charges;
};

/// The options read from a DigestOptionsInput (maxMissed, minLength, maxLength,
/// monoisotopic and charges set; the rest as DigestOptions has them), or the
/// message of the first field refused and that field.
struct DigestOptionsCheck
{
    bool ok = false;
    DigestOptionsField focus = DigestOptionsField::None;
    std::string message;
    DigestOptions options;
};

/// Checks the fields in their order (missed cleavages when limited, minimum
/// and maximum length, then charges of 1..kMaxChargeState, each once); the
/// first failure wins. A minimum above the maximum is the minimum's fault.
DigestOptionsCheck CheckDigestOptions(const DigestOptionsInput& input);

/// The lines that tell a reader of the report how options narrowed the digest
/// ("Fragments kept: at most 1 missed cleavage, 5 to 30 residues") and which
/// masses it shows ("Masses: monoisotopic"); none for the whole digest with
/// average masses.
std::vector<std::string> DigestOptionLines(const DigestOptions& options);

/// From the next BuildDigestReport on, the report names the options under its
/// title (DigestOptionLines, then an empty line) and its table gains one m/z
/// column per charge of options, with 4 decimals as WriteDigestCsv writes them:
/// the digest window's report of a digest made with options. A new digest
/// starts without them.
void DescribeOptionsInReport(core::PropertyRecord& record, const DigestOptions& options);

/// What Digest did: made fragmentCount fragments, or made none and holds the
/// refusal message naming the count it would have made.
struct DigestResult
{
    std::uint64_t fragmentCount = 0;
    std::string refusal;

    bool Refused() const { return !refusal.empty(); }
};

/// The fragments Digest makes of the record with specificity, known from its
/// n sites alone: (n + 1)(n + 2) / 2, or n + 1 with completeOnly. Nothing is
/// allocated for the sites; a count beyond 2^64 - 1 gives that value.
std::uint64_t PredictFragmentCount(const core::PropertyRecord& record, std::string_view specificity,
                                   bool completeOnly = false);

/// The fragments Digest makes with options (missed-cleavage and length bounds
/// counted, the sites found but no fragment made).
std::uint64_t PredictFragmentCount(const core::PropertyRecord& record, std::string_view specificity,
                                   const DigestOptions& options);

/// Cut positions strictly inside the fragment first..last (0-based, inclusive),
/// duplicates counted, with cuts as DigestState holds them.
int MissedCleavages(const std::vector<int>& cuts, int first, int last);

/// Digests the record's cleaned sequence (L characters, X and O included) with
/// a specificity list: patterns separated by ";", empty entries skipped. In a
/// pattern "X" matches any residue and every other character only itself; a
/// "!" from the second character on marks the cut (it is removed), otherwise
/// the cut follows the last character. Every match at start positions 0..L-2
/// that lies wholly inside the sequence counts, overlapping ones and repeated
/// cut positions included. Forms the (n + 1)(n + 2) / 2 fragments between
/// every pair of cut positions (only the n + 1 between neighbours with
/// options.completeOnly), each weighing exactly what
/// PropertyRecord::StretchWeight gives (or the monoisotopic sum), and ends with
/// BuildDigestReport(SortMode::ByWeight, options.completeOnly, digest.lineWidth).
/// A digest of more than options.maxFragments fragments is refused before the
/// sites are stored: the record then holds the state before any digest.
/// Throws std::bad_alloc when the fragments do not fit in memory all the same.
DigestResult Digest(core::PropertyRecord& record, std::string_view specificity,
                    const DigestOptions& options, const DigestProgress& progress = {});

/// Digest with the default options: every fragment, the machine's ceiling.
DigestResult Digest(core::PropertyRecord& record, std::string_view specificity,
                    const DigestProgress& progress = {});

/// Stable ascending sort of the fragments by start (SortMode::ByStart), end - start
/// (SortMode::ByLength) or weight (SortMode::ByWeight): fragments with equal keys keep
/// their order. +0 and -0 weigh the same; NaN weights go to one end.
void SortFragments(core::PropertyRecord& record, SortMode sortMode,
                   const DigestProgress& progress = {});

/// Sorts the fragments and rebuilds the report: the site list wraps at width
/// characters; with completeOnly the table lists only the fragments of the
/// complete digest.
void BuildDigestReport(core::PropertyRecord& record, SortMode sortMode, bool completeOnly,
                       int width, const DigestProgress& progress = {});

/// Lines of the report last built (0 before the first); a window draws the
/// lines in view with DigestReportLine.
std::size_t DigestReportLineCount(const core::PropertyRecord& record);

/// Line index (0-based, below DigestReportLineCount) without its line end.
std::string DigestReportLine(const core::PropertyRecord& record, std::size_t index);

/// The whole report, every line ending with CR LF, handed to sink in pieces of
/// about a megabyte.
void WriteDigestReport(const core::PropertyRecord& record, const core::ByteSink& sink);

/// The whole report as one text.
std::string DigestReportText(const core::PropertyRecord& record);

/// The fragments in their current order as comma-separated lines ending with
/// CR LF after the header "start,end,length,missed,mass" (and ",mz_Z" per
/// charge): 1-based positions, the mass with 4 decimals and one m/z per charge,
/// (mass + Z * kProtonMass) / Z, with 4 decimals. Only the report's rows when it
/// lists the complete fragments alone. progress, if given, receives the
/// share of rows written so far, in percent.
void WriteDigestCsv(const core::PropertyRecord& record, const std::vector<int>& charges,
                    const core::ByteSink& sink, const DigestProgress& progress = {});

/// One record of the batch digest file: ">" + header, CR LF, text, CR LF.
std::string DigestFileRecord(std::string_view header, std::string_view text);

/// The digest file records of the record's fragments in their current order:
/// fragment k gives the header name + "_" + k and its residues as the text.
/// Empty fragments (between two equal cut positions) write nothing but keep
/// their number.
void WriteDigestFileRecords(const core::PropertyRecord& record, std::string_view name,
                            const core::ByteSink& sink);

/// What WriteDigestFileRecords writes for a digest, known from the cut
/// positions before any fragment is made.
struct DigestFileForecast
{
    /// The fragments Digest makes: (n + 1)(n + 2) / 2 for n sites.
    std::uint64_t fragments = 0;
    /// The bytes of the records, at most: exact unless two cut positions
    /// coincide (the empty fragment between them writes nothing but keeps its
    /// number). Left 0 beyond maxFragments, where nothing is made.
    std::uint64_t bytes = 0;
};

/// The forecast of the digest of the record's cleaned sequence with
/// specificity, whose records are named after name. Nothing is allocated for
/// a digest of more than maxFragments fragments, as Digest refuses it.
DigestFileForecast ForecastDigestFile(const core::PropertyRecord& record,
                                      std::string_view specificity, std::string_view name,
                                      std::uint64_t maxFragments);

} // namespace quorin::analysis
