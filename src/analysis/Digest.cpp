#include "analysis/Digest.h"

#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>

namespace quorin::analysis {
namespace {

using core::DigestState;
using core::FRAGM;

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kTableHeader = "   MW      |  start  |   end   |  # of AA";

/// Longest table row: the weight of the largest double and three 64-bit numbers.
constexpr std::size_t kMaxRowChars = core::kOneDecimalMaxChars + 100;
/// The m/z columns: the first starts two characters after the table's own
/// header, each is wide enough for the m/z of a fragment of a megadalton with
/// its 4 decimals.
constexpr std::ptrdiff_t kMzColumn = 43;
constexpr std::ptrdiff_t kMzWidth = 15;
/// The rule under the table's header without m/z columns.
constexpr std::size_t kTableRule = 46;
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

void reportProgress(const DigestProgress& progress, int percent)
{
    if (progress) {
        progress(percent);
    }
}

/// Fragments shown in the table, in table order.
std::size_t rowCount(const DigestState& state)
{
    return state.reportCompleteOnly ? state.reportRows.size() : state.fragments.size();
}

const FRAGM& rowFragment(const DigestState& state, std::size_t row)
{
    return state.fragments[state.reportCompleteOnly ? state.reportRows[row] : row];
}

void refreshRows(DigestState& state)
{
    state.reportRows.clear();
    if (!state.reportCompleteOnly) {
        return;
    }
    for (std::size_t i = 0; i < state.fragments.size(); ++i) {
        if (state.fragments[i].complete != 0) {
            state.reportRows.push_back(i);
        }
    }
}

char* padTo(const char* lineStart, char* out, std::ptrdiff_t column)
{
    while (out - lineStart < column) {
        *out++ = ' ';
    }
    return out;
}

char* writeNumber(char* out, std::int64_t value)
{
    return std::to_chars(out, out + 24, value).ptr;
}

/// Room for one table row of state's report.
std::size_t rowRoom(const DigestState& state)
{
    return kMaxRowChars * (1 + state.reportCharges.size());
}

char* writeFixed4(char* out, double value)
{
    return std::to_chars(out, out + kMaxRowChars, value, std::chars_format::fixed, 4).ptr;
}

/// The m/z of a fragment of mass mw carrying charge protons.
double massToCharge(double mw, int charge)
{
    return (mw + charge * kProtonMass) / charge;
}

/// One table row into out (room for rowRoom), without its line end.
char* writeRow(char* out, const FRAGM& fragment, const std::vector<int>& charges)
{
    const char* const lineStart = out;
    *out++ = ' ';
    out = core::WriteOneDecimal(out, fragment.mw);
    out = padTo(lineStart, out, 11);
    out = std::copy_n("|  ", 3, out);
    out = writeNumber(out, std::int64_t{fragment.start} + 1);
    out = padTo(lineStart, out, 21);
    out = std::copy_n("|  ", 3, out);
    out = writeNumber(out, std::int64_t{fragment.end} + 1);
    out = padTo(lineStart, out, 31);
    out = std::copy_n("|  ", 3, out);
    out = writeNumber(out, std::int64_t{fragment.end} - fragment.start + 1);
    for (std::size_t k = 0; k < charges.size(); ++k) {
        const std::ptrdiff_t column = kMzColumn + static_cast<std::ptrdiff_t>(k) * kMzWidth;
        // A value wider than its column pushes the next one on, a blank apart.
        if (out - lineStart >= column) {
            *out++ = ' ';
        }
        out = padTo(lineStart, out, column);
        out = std::copy_n("|  ", 3, out);
        out = writeFixed4(out, massToCharge(fragment.mw, charges[k]));
    }
    return out;
}

void buildHead(DigestState& state, const std::string& name, int width)
{
    std::string& head = state.reportHead;
    head.clear();
    state.reportHeadLines.clear();
    const auto line = [&](std::string_view text) {
        state.reportHeadLines.push_back(head.size());
        head += text;
        head += kEol;
    };

    const std::string title = "Pattern of proteolytic digest of " + core::OneLineText(name);
    line(title);
    line(std::string(title.size(), '*'));
    line("");
    if (!state.reportOptionLines.empty()) {
        for (const std::string& text : state.reportOptionLines) {
            line(text);
        }
        line("");
    }
    line("Selected proteases (specificity)");
    line(std::string(32, '-'));
    line("");
    for (const core::ENZYME& agent : state.selectedAgents) {
        std::string text = agent.name;
        if (text.size() < 20) {
            text.append(20 - text.size(), ' ');
        }
        line(text + "(" + agent.specificity + ")");
    }
    line("");
    line("List of cleavable sites");
    line(std::string(23, '-'));
    line("");

    // A cut position is the 1-based position of the residue before the cut.
    // An item that does not fit even on an empty line still gets a line of its
    // own; the line before it is written out, even when empty.
    const auto limit = static_cast<std::size_t>(std::max(width, 0));
    std::string current;
    const std::size_t n = state.cuts.size() >= 2 ? state.cuts.size() - 2 : 0;
    for (std::size_t i = 1; i <= n; ++i) {
        const std::string item = std::to_string(state.cuts[i]);
        if (i < n) {
            if (current.size() + item.size() + 1 <= limit) {
                current += item + ", ";
            } else {
                line(current);
                current = item + ", ";
            }
        } else if (current.size() + item.size() <= limit) {
            current += item;
        } else {
            line(current);
            current = item;
        }
    }
    line(current);
    line("");

    line("List of proteolytic fragments");
    line(std::string(29, '-'));
    line("");
    std::string header(kTableHeader);
    for (std::size_t k = 0; k < state.reportCharges.size(); ++k) {
        header.resize(static_cast<std::size_t>(kMzColumn) + k * kMzWidth, ' ');
        header += "|  m/z " + std::to_string(state.reportCharges[k]) + "+";
    }
    line(header);
    line(std::string(state.reportCharges.empty() ? kTableRule
                                                 : static_cast<std::size_t>(kMzColumn) +
                                                       state.reportCharges.size() * kMzWidth,
                     '-'));
    line("");
}

std::uint64_t weightKey(double mw)
{
    return FragmentWeightKey(mw);
}

/// Least-significant-digit radix sort: every pass is a stable counting sort,
/// so the whole sort is stable. Passes whose digit is the same for every
/// fragment are skipped. The work space lives only while the sort runs, so
/// that an open digest does not hold a second copy of its fragments.
void sortByWeight(std::vector<FRAGM>& data, const DigestProgress& progress)
{
    constexpr int kDigitBits = 11;
    constexpr int kPasses = (64 + kDigitBits - 1) / kDigitBits;
    constexpr std::size_t kBuckets = std::size_t{1} << kDigitBits;
    constexpr std::uint64_t kMask = kBuckets - 1;

    const std::size_t count = data.size();
    auto counts = std::make_unique<std::array<std::array<std::size_t, kBuckets>, kPasses>>();
    for (const FRAGM& fragment : data) {
        const std::uint64_t key = weightKey(fragment.mw);
        for (int pass = 0; pass < kPasses; ++pass) {
            ++(*counts)[static_cast<std::size_t>(pass)][(key >> (pass * kDigitBits)) & kMask];
        }
    }
    reportProgress(progress, 10);

    std::vector<FRAGM> scratch(count);
    FRAGM* source = data.data();
    FRAGM* target = scratch.data();
    for (int pass = 0; pass < kPasses; ++pass) {
        auto& bucket = (*counts)[static_cast<std::size_t>(pass)];
        if (std::find(bucket.begin(), bucket.end(), count) != bucket.end()) {
            continue;
        }
        std::size_t offset = 0;
        for (std::size_t& slot : bucket) {
            const std::size_t size = slot;
            slot = offset;
            offset += size;
        }
        const int shift = pass * kDigitBits;
        for (std::size_t i = 0; i < count; ++i) {
            const FRAGM& fragment = source[i];
            target[bucket[(weightKey(fragment.mw) >> shift) & kMask]++] = fragment;
        }
        std::swap(source, target);
        reportProgress(progress, 10 + 90 * (pass + 1) / kPasses);
    }
    if (source != data.data()) {
        data.swap(scratch);
    }
}

/// Stable counting sort by a small integer key (start or length).
template <typename Key>
void sortByInteger(std::vector<FRAGM>& data, Key key)
{
    const auto [low, high] = std::minmax_element(
        data.begin(), data.end(), [&](const FRAGM& a, const FRAGM& b) { return key(a) < key(b); });
    const std::int64_t minimum = key(*low);
    const auto range = static_cast<std::uint64_t>(key(*high) - minimum) + 1;
    if (range > data.size() + (std::uint64_t{1} << 20)) {
        // Not reached by a digest (keys lie in -1..L); a sparse key range sorts
        // by comparison instead.
        std::stable_sort(data.begin(), data.end(),
                         [&](const FRAGM& a, const FRAGM& b) { return key(a) < key(b); });
        return;
    }
    std::vector<std::size_t> offsets(static_cast<std::size_t>(range) + 1, 0);
    for (const FRAGM& fragment : data) {
        ++offsets[static_cast<std::size_t>(key(fragment) - minimum) + 1];
    }
    for (std::size_t i = 1; i < offsets.size(); ++i) {
        offsets[i] += offsets[i - 1];
    }
    std::vector<FRAGM> scratch(data.size());
    for (const FRAGM& fragment : data) {
        scratch[offsets[static_cast<std::size_t>(key(fragment) - minimum)]++] = fragment;
    }
    data.swap(scratch);
}

std::vector<std::string_view> splitPatterns(std::string_view specificity)
{
    std::vector<std::string_view> patterns;
    while (true) {
        const auto separator = specificity.find(';');
        const std::string_view pattern = specificity.substr(0, separator);
        if (!pattern.empty()) {
            patterns.push_back(pattern);
        }
        if (separator == std::string_view::npos) {
            return patterns;
        }
        specificity.remove_prefix(separator + 1);
    }
}

/// Calls found with the cut position of every match of pattern in sequence.
template <typename Found>
void forEachSite(std::string_view sequence, std::string_view rawPattern, Found found)
{
    std::string pattern(rawPattern);
    // A "!" in the first position is no cut mark: it stays and matches nothing.
    std::size_t cutOffset = pattern.find('!', 1);
    if (cutOffset == std::string::npos) {
        cutOffset = pattern.size();
    } else {
        pattern.erase(cutOffset, 1);
    }
    const std::size_t m = pattern.size();
    const std::size_t length = sequence.size();
    // The last residue is never a start, and a match may not reach past it.
    for (std::size_t d = 0; d + 1 < length && d + m <= length; ++d) {
        std::size_t j = 0;
        while (j < m && (pattern[j] == sequence[d + j] || pattern[j] == 'X')) {
            ++j;
        }
        if (j == m) {
            found(static_cast<int>(d + cutOffset));
        }
    }
}

std::uint64_t countSites(std::string_view sequence, std::string_view specificity)
{
    std::uint64_t count = 0;
    for (const std::string_view pattern : splitPatterns(specificity)) {
        forEachSite(sequence, pattern, [&](int) { ++count; });
    }
    return count;
}

constexpr std::uint64_t kMaxCount = std::numeric_limits<std::uint64_t>::max();

/// The fragments made from n sites: one per pair of cut positions, or one per
/// neighbouring pair. Saturates at kMaxCount.
std::uint64_t fragmentsOf(std::uint64_t sites, bool completeOnly)
{
    if (completeOnly) {
        return sites == kMaxCount ? kMaxCount : sites + 1;
    }
    if (sites > kMaxCount - 2) {
        return kMaxCount;
    }
    std::uint64_t odd = sites + 1;
    std::uint64_t even = sites + 2;
    if (odd % 2 == 0) {
        std::swap(odd, even);
    }
    even /= 2;
    return odd > kMaxCount / even ? kMaxCount : odd * even;
}

/// The site count and the cut positions are ints.
constexpr std::uint64_t kMaxSites = std::numeric_limits<int>::max() - 2;

/// The cut positions of every site of specificity in sequence, with 0 before
/// them and the length after them.
std::vector<int> findCuts(std::string_view sequence, std::string_view specificity,
                          std::uint64_t siteCount)
{
    std::vector<int> cuts;
    cuts.reserve(static_cast<std::size_t>(siteCount) + 2);
    cuts.push_back(0);
    for (const std::string_view pattern : splitPatterns(specificity)) {
        forEachSite(sequence, pattern, [&](int cut) { cuts.push_back(cut); });
    }
    std::sort(cuts.begin() + 1, cuts.end());
    cuts.push_back(static_cast<int>(sequence.size()));
    return cuts;
}

/// The end indices [first, last) into cuts of the fragments made from start
/// index g: every bound narrows one contiguous range, since length and missed
/// cleavages never fall as the end moves on.
std::pair<std::size_t, std::size_t> endRange(const std::vector<int>& cuts, std::size_t g,
                                             const DigestOptions& options)
{
    const auto indexOf = [&](auto it) { return static_cast<std::size_t>(it - cuts.begin()); };
    std::size_t first = g + 1;
    std::size_t last = options.completeOnly ? std::min(g + 2, cuts.size()) : cuts.size();
    if (options.maxMissed) {
        // The sites strictly inside begin at the first position past the start;
        // the end may lie at the (maxMissed + 1)-th of them, duplicates included.
        const std::size_t inside = indexOf(std::upper_bound(cuts.begin(), cuts.end(), cuts[g])) +
                                   static_cast<std::size_t>(std::max(*options.maxMissed, 0));
        if (inside < cuts.size()) {
            last =
                std::min(last, indexOf(std::upper_bound(cuts.begin(), cuts.end(), cuts[inside])));
        }
    }
    const std::int64_t start = cuts[g];
    const auto shortest = start + std::max(options.minLength, 0);
    const auto longest = start + std::int64_t{options.maxLength};
    first = std::max(first, indexOf(std::lower_bound(cuts.begin(), cuts.end(), shortest)));
    last = std::min(last, indexOf(std::upper_bound(cuts.begin(), cuts.end(), longest)));
    return {first, std::max(first, last)};
}

std::uint64_t boundedCount(const std::vector<int>& cuts, const DigestOptions& options)
{
    std::uint64_t count = 0;
    for (std::size_t g = 0; g + 1 < cuts.size(); ++g) {
        const auto [first, last] = endRange(cuts, g, options);
        count += last - first;
    }
    return count;
}

/// A whole number of 0..INT_MAX with blanks around it, or nothing.
std::optional<int> wholeNumber(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    int value = 0;
    const char* const end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || ptr != end || text.front() == '-') {
        return std::nullopt;
    }
    return value;
}

bool blank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

DigestOptionsCheck refused(DigestOptionsField field, std::string message)
{
    DigestOptionsCheck check;
    check.focus = field;
    check.message = std::move(message);
    return check;
}

std::string residues(int count)
{
    return std::to_string(count) + (count == 1 ? " residue" : " residues");
}

} // namespace

std::uint64_t FragmentWeightKey(double mw)
{
    constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
    const auto bits = std::bit_cast<std::uint64_t>(mw == 0.0 ? 0.0 : mw);
    return (bits & kSign) != 0 ? ~bits : (bits | kSign);
}

const core::ENZYME* FindAgent(const std::vector<core::ENZYME>& agents, std::string_view name)
{
    for (const core::ENZYME& agent : agents) {
        if (agent.name == name) {
            return &agent;
        }
    }
    return nullptr;
}

bool CleavingAgentsDefined(const std::vector<core::ENZYME>& agents)
{
    return !agents.empty() && !agents.front().name.empty();
}

std::string CombinedSpecificity(const std::vector<core::ENZYME>& agents)
{
    std::string combined;
    for (std::size_t i = 0; i < agents.size(); ++i) {
        if (i > 0) {
            combined += ';';
        }
        combined += agents[i].specificity;
    }
    return combined;
}

void ResetDigest(core::PropertyRecord& record)
{
    DigestState& state = record.digest;
    const auto length = static_cast<int>(record.CleanSequence().size());
    state.siteCount = 0;
    state.cuts = {0, length};
    // Swapping with empty vectors hands the memory of a large digest back at once.
    std::vector<FRAGM>().swap(state.fragments);
    if (length > 0) {
        state.fragments.push_back({0, length - 1, record.StretchWeight(0, length - 1), 1});
    } else {
        state.fragments.push_back({0, 0, 0.0, 1});
    }
    state.reportHead.clear();
    state.reportHeadLines.clear();
    state.reportCompleteOnly = false;
    state.reportRows.clear();
    state.reportOptionLines.clear();
    state.reportCharges.clear();
    // ModFinder's matches were found among the fragments of the digest replaced.
    record.modFinder.matches.clear();
}

std::uint64_t FragmentCeiling()
{
    // The fragments, and beside them the copy a sort works into.
    constexpr std::uint64_t kBytesPerFragment = 2 * sizeof(FRAGM);
    constexpr std::uint64_t kUnknownMemoryBytes = std::uint64_t{1} << 30;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageBytes = sysconf(_SC_PAGESIZE);
    std::uint64_t budget =
        pages > 0 && pageBytes > 0
            ? static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageBytes) / 4
            : kUnknownMemoryBytes;
    // Under an address-space limit the allocation would fail long before
    // physical memory runs out; half of it leaves room for the rest.
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        budget = std::min<std::uint64_t>(budget, limit.rlim_cur / 2);
    }
    return std::max<std::uint64_t>(budget / kBytesPerFragment, 1);
}

bool DigestOptions::Bounded() const
{
    return maxMissed.has_value() || minLength > 0 || maxLength < std::numeric_limits<int>::max();
}

std::uint64_t PredictFragmentCount(const core::PropertyRecord& record, std::string_view specificity,
                                   bool completeOnly)
{
    return fragmentsOf(countSites(record.CleanSequence(), specificity), completeOnly);
}

std::uint64_t PredictFragmentCount(const core::PropertyRecord& record, std::string_view specificity,
                                   const DigestOptions& options)
{
    const std::string& sequence = record.CleanSequence();
    const std::uint64_t siteCount = countSites(sequence, specificity);
    if (!options.Bounded() || siteCount > kMaxSites) {
        return fragmentsOf(siteCount, options.completeOnly);
    }
    return boundedCount(findCuts(sequence, specificity, siteCount), options);
}

int MissedCleavages(const std::vector<int>& cuts, int first, int last)
{
    const auto begin = std::upper_bound(cuts.begin(), cuts.end(), first);
    const auto end = std::lower_bound(cuts.begin(), cuts.end(), std::int64_t{last} + 1);
    return end > begin ? static_cast<int>(end - begin) : 0;
}

DigestOptionsCheck CheckDigestOptions(const DigestOptionsInput& input)
{
    DigestOptionsCheck check;
    DigestOptions& options = check.options;
    if (input.limitMissed) {
        options.maxMissed = wholeNumber(input.maxMissed);
        if (!options.maxMissed) {
            return refused(DigestOptionsField::MaxMissed,
                           std::string(core::msg::kInvalidMaxMissed));
        }
    }
    if (!blank(input.minLength)) {
        const auto value = wholeNumber(input.minLength);
        if (!value) {
            return refused(DigestOptionsField::MinLength,
                           std::string(core::msg::kInvalidMinLength));
        }
        options.minLength = *value;
    }
    if (!blank(input.maxLength)) {
        const auto value = wholeNumber(input.maxLength);
        if (!value) {
            return refused(DigestOptionsField::MaxLength,
                           std::string(core::msg::kInvalidMaxLength));
        }
        options.maxLength = *value;
    }
    if (options.minLength > options.maxLength) {
        return refused(DigestOptionsField::MinLength, std::string(core::msg::kMinLengthAboveMax));
    }
    options.monoisotopic = input.monoisotopic;
    if (!blank(input.charges)) {
        std::string_view rest = input.charges;
        while (true) {
            const std::size_t comma = rest.find(',');
            const auto charge = wholeNumber(rest.substr(0, comma));
            if (!charge || *charge < 1 || *charge > kMaxChargeState) {
                return refused(DigestOptionsField::Charges,
                               std::string(core::msg::kInvalidCharges));
            }
            if (std::find(options.charges.begin(), options.charges.end(), *charge) !=
                options.charges.end()) {
                return refused(DigestOptionsField::Charges, core::msg::ChargeListedTwice(*charge));
            }
            options.charges.push_back(*charge);
            if (comma == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(comma + 1);
        }
    }
    check.ok = true;
    return check;
}

std::vector<std::string> DigestOptionLines(const DigestOptions& options)
{
    std::vector<std::string> kept;
    if (options.maxMissed) {
        const int missed = std::max(*options.maxMissed, 0);
        kept.push_back(missed == 0 ? "no missed cleavage"
                                   : "at most " + std::to_string(missed) +
                                         (missed == 1 ? " missed cleavage" : " missed cleavages"));
    }
    const bool shortest = options.minLength > 0;
    const bool longest = options.maxLength < std::numeric_limits<int>::max();
    if (shortest && longest) {
        kept.push_back(std::to_string(options.minLength) + " to " + residues(options.maxLength));
    } else if (shortest) {
        kept.push_back("at least " + residues(options.minLength));
    } else if (longest) {
        kept.push_back("at most " + residues(options.maxLength));
    }
    std::vector<std::string> lines;
    if (!kept.empty()) {
        std::string line = "Fragments kept: " + kept.front();
        for (std::size_t i = 1; i < kept.size(); ++i) {
            line += ", " + kept[i];
        }
        lines.push_back(std::move(line));
    }
    if (options.monoisotopic) {
        lines.emplace_back("Masses: monoisotopic");
    }
    return lines;
}

void DescribeOptionsInReport(core::PropertyRecord& record, const DigestOptions& options)
{
    record.digest.reportOptionLines = DigestOptionLines(options);
    record.digest.reportCharges = options.charges;
}

DigestResult Digest(core::PropertyRecord& record, std::string_view specificity,
                    const DigestProgress& progress)
{
    return Digest(record, specificity, DigestOptions{}, progress);
}

DigestResult Digest(core::PropertyRecord& record, std::string_view specificity,
                    const DigestOptions& options, const DigestProgress& progress)
{
    ResetDigest(record);
    DigestState& state = record.digest;
    const std::string& sequence = record.CleanSequence();

    // The sites are counted before they are stored, so that a digest beyond
    // the ceiling allocates nothing at all; the search is cheap beside the
    // fragments. Bounds are counted from the cut positions, which cost a few
    // bytes a site beside the fragments they spare.
    const std::uint64_t siteCount = countSites(sequence, specificity);
    std::uint64_t count = fragmentsOf(siteCount, options.completeOnly);
    const std::uint64_t ceiling =
        std::min(options.maxFragments, fragmentsOf(kMaxSites, options.completeOnly));
    const bool bounded = options.Bounded() && siteCount <= kMaxSites;
    if (!bounded && count > ceiling) {
        return {count, core::msg::TooManyFragments(count, ceiling)};
    }
    std::vector<int> cuts = findCuts(sequence, specificity, siteCount);
    if (bounded) {
        count = boundedCount(cuts, options);
        if (count > ceiling) {
            return {count, core::msg::TooManyFragments(count, ceiling)};
        }
    }
    state.siteCount = static_cast<int>(siteCount);
    state.cuts = std::move(cuts);

    // Each start's fragments extend the previous one's sum residue by residue,
    // adding in the same order as StretchWeight, so every weight is bit for bit
    // StretchWeight(start, end) at a fraction of the cost.
    const core::ResidueTable& table =
        options.monoisotopic ? kMonoisotopicResidueMass : record.residueMass;
    std::vector<double> mass(sequence.size());
    for (std::size_t p = 0; p < sequence.size(); ++p) {
        mass[p] = table[static_cast<std::size_t>(core::IndexOfLetter(sequence[p]))];
    }
    const double water = options.monoisotopic ? kMonoisotopicWater : record.StretchWeight(0, -1);
    if (count > state.fragments.max_size()) {
        throw std::bad_alloc();
    }
    std::vector<FRAGM>().swap(state.fragments);
    state.fragments.reserve(static_cast<std::size_t>(count));
    const std::vector<int>& cutList = state.cuts;
    // The complete fragments are the first of each start: made alone, they
    // stand in the order the whole digest lists them; so do the fragments
    // within bounds.
    for (std::size_t g = 0; g + 1 < cutList.size(); ++g) {
        const auto [first, last] = endRange(cutList, g, options);
        double sum = water;
        auto p = static_cast<std::size_t>(cutList[g]);
        for (std::size_t h = first; h < last; ++h) {
            for (; p < static_cast<std::size_t>(cutList[h]); ++p) {
                sum += mass[p];
            }
            state.fragments.push_back(
                {cutList[g], cutList[h] - 1, sum, static_cast<std::uint8_t>(h == g + 1 ? 1 : 0)});
        }
    }
    BuildDigestReport(record, SortMode::ByWeight, options.completeOnly, state.lineWidth, progress);
    return {count, {}};
}

void SortFragments(core::PropertyRecord& record, SortMode sortMode, const DigestProgress& progress)
{
    DigestState& state = record.digest;
    std::vector<FRAGM>& data = state.fragments;
    reportProgress(progress, 0);
    const auto start = [](const FRAGM& f) { return std::int64_t{f.start}; };
    const auto length = [](const FRAGM& f) { return std::int64_t{f.end} - f.start; };
    const auto weightOrder = [](const FRAGM& a, const FRAGM& b) {
        return weightKey(a.mw) < weightKey(b.mw);
    };
    // A stable sort leaves a sorted list as it is; re-sorting by the key the
    // list already has (the window's default) costs one pass.
    if (sortMode == SortMode::ByStart) {
        if (!std::is_sorted(data.begin(), data.end(),
                            [&](const FRAGM& a, const FRAGM& b) { return start(a) < start(b); })) {
            reportProgress(progress, 5);
            sortByInteger(data, start);
        }
    } else if (sortMode == SortMode::ByLength) {
        if (!std::is_sorted(data.begin(), data.end(), [&](const FRAGM& a, const FRAGM& b) {
                return length(a) < length(b);
            })) {
            reportProgress(progress, 5);
            sortByInteger(data, length);
        }
    } else if (!std::is_sorted(data.begin(), data.end(), weightOrder)) {
        reportProgress(progress, 5);
        sortByWeight(data, progress);
    }
    refreshRows(state);
    reportProgress(progress, 100);
}

void BuildDigestReport(core::PropertyRecord& record, SortMode sortMode, bool completeOnly,
                       int width, const DigestProgress& progress)
{
    DigestState& state = record.digest;
    state.reportCompleteOnly = completeOnly;
    SortFragments(record, sortMode, progress);
    buildHead(state, record.Name(), width);
}

std::size_t DigestReportLineCount(const core::PropertyRecord& record)
{
    const DigestState& state = record.digest;
    if (state.reportHeadLines.empty()) {
        return 0;
    }
    return state.reportHeadLines.size() + rowCount(state);
}

std::string DigestReportLine(const core::PropertyRecord& record, std::size_t index)
{
    const DigestState& state = record.digest;
    const std::size_t headLines = state.reportHeadLines.size();
    if (index < headLines) {
        const std::size_t begin = state.reportHeadLines[index];
        const std::size_t end =
            index + 1 < headLines ? state.reportHeadLines[index + 1] : state.reportHead.size();
        return state.reportHead.substr(begin, end - begin - kEol.size());
    }
    std::string row(rowRoom(state), '\0');
    row.resize(static_cast<std::size_t>(
        writeRow(row.data(), rowFragment(state, index - headLines), state.reportCharges) -
        row.data()));
    return row;
}

void WriteDigestReport(const core::PropertyRecord& record, const core::ByteSink& sink)
{
    const DigestState& state = record.digest;
    if (state.reportHeadLines.empty()) {
        return;
    }
    sink(state.reportHead);
    const auto chunk = std::make_unique<char[]>(kChunkBytes);
    char* out = chunk.get();
    const std::size_t rows = rowCount(state);
    const std::size_t room = rowRoom(state);
    for (std::size_t row = 0; row < rows; ++row) {
        if (static_cast<std::size_t>(out - chunk.get()) + room + kEol.size() > kChunkBytes) {
            sink(std::string_view(chunk.get(), static_cast<std::size_t>(out - chunk.get())));
            out = chunk.get();
        }
        out = writeRow(out, rowFragment(state, row), state.reportCharges);
        out = std::copy(kEol.begin(), kEol.end(), out);
    }
    sink(std::string_view(chunk.get(), static_cast<std::size_t>(out - chunk.get())));
}

std::string DigestReportText(const core::PropertyRecord& record)
{
    std::string text;
    // About 45 characters per row; one reservation keeps growth linear.
    text.reserve(record.digest.reportHead.size() + 48 * rowCount(record.digest));
    WriteDigestReport(record, [&](std::string_view bytes) { text += bytes; });
    return text;
}

void WriteDigestCsv(const core::PropertyRecord& record, const std::vector<int>& charges,
                    const core::ByteSink& sink, const DigestProgress& progress)
{
    const DigestState& state = record.digest;
    std::string buffer = "start,end,length,missed,mass";
    for (const int charge : charges) {
        buffer += ",mz_" + std::to_string(charge);
    }
    buffer += kEol;
    const auto fixed4 = [&](double value) {
        char digits[kMaxRowChars];
        buffer.append(digits, writeFixed4(digits, value));
    };
    const auto integer = [&](std::int64_t value) {
        char digits[24];
        buffer.append(digits, writeNumber(digits, value));
    };
    const std::size_t rows = rowCount(state);
    for (std::size_t row = 0; row < rows; ++row) {
        const FRAGM& fragment = rowFragment(state, row);
        integer(std::int64_t{fragment.start} + 1);
        buffer += ',';
        integer(std::int64_t{fragment.end} + 1);
        buffer += ',';
        integer(std::int64_t{fragment.end} - fragment.start + 1);
        buffer += ',';
        integer(MissedCleavages(state.cuts, fragment.start, fragment.end));
        buffer += ',';
        fixed4(fragment.mw);
        for (const int charge : charges) {
            buffer += ',';
            fixed4(massToCharge(fragment.mw, charge));
        }
        buffer += kEol;
        if (buffer.size() >= kChunkBytes) {
            sink(buffer);
            buffer.clear();
            if (progress) {
                progress(
                    static_cast<int>(100.0 * static_cast<double>(row) / static_cast<double>(rows)));
            }
        }
    }
    sink(buffer);
}

std::string DigestFileRecord(std::string_view header, std::string_view text)
{
    std::string record;
    record.reserve(header.size() + text.size() + 5);
    record += '>';
    record += header;
    record += kEol;
    record += text;
    record += kEol;
    return record;
}

void WriteDigestFileRecords(const core::PropertyRecord& record, std::string_view name,
                            const core::ByteSink& sink)
{
    const std::string& sequence = record.CleanSequence();
    const std::vector<FRAGM>& fragments = record.digest.fragments;
    const std::string prefix = ">" + core::OneLineText(name) + "_";
    // A batch writes hundreds of millions of these records: they are made in
    // one buffer handed on by the megabyte, not one string each.
    constexpr std::size_t kFlushBytes = std::size_t{1} << 20;
    std::string buffer;
    for (std::size_t k = 0; k < fragments.size(); ++k) {
        const FRAGM& fragment = fragments[k];
        if (fragment.end < fragment.start || fragment.start < 0 ||
            static_cast<std::size_t>(fragment.end) >= sequence.size()) {
            continue;
        }
        buffer += prefix;
        char digits[24];
        buffer.append(digits, std::to_chars(digits, digits + sizeof digits, k).ptr);
        buffer += kEol;
        buffer.append(sequence, static_cast<std::size_t>(fragment.start),
                      static_cast<std::size_t>(fragment.end - fragment.start) + 1);
        buffer += kEol;
        if (buffer.size() >= kFlushBytes) {
            sink(buffer);
            buffer.clear();
        }
    }
    if (!buffer.empty()) {
        sink(buffer);
    }
}

DigestFileForecast ForecastDigestFile(const core::PropertyRecord& record,
                                      std::string_view specificity, std::string_view name,
                                      std::uint64_t maxFragments)
{
    const std::string& sequence = record.CleanSequence();
    const std::uint64_t siteCount = countSites(sequence, specificity);
    DigestFileForecast forecast;
    forecast.fragments = fragmentsOf(siteCount, false);
    if (forecast.fragments > maxFragments || siteCount > kMaxSites) {
        return forecast;
    }
    constexpr std::uint64_t kMost = std::numeric_limits<std::uint64_t>::max();
    const auto add = [](std::uint64_t a, std::uint64_t b) { return a > kMost - b ? kMost : a + b; };
    const auto times = [](std::uint64_t a, std::uint64_t b) {
        return b != 0 && a > kMost / b ? kMost : a * b;
    };
    // Fragment g..h (g < h, indices into the cuts) holds cuts[h] - cuts[g]
    // residues; summed from the back, each start adds the cuts after it less
    // its own position as often. A run of r equal cuts makes r(r - 1) / 2
    // empty fragments.
    const std::vector<int> cuts = findCuts(sequence, specificity, siteCount);
    std::uint64_t residues = 0;
    std::uint64_t later = 0;
    std::uint64_t empty = 0;
    std::uint64_t run = 0;
    for (std::size_t g = cuts.size(); g-- > 0;) {
        const auto position = static_cast<std::uint64_t>(cuts[g]);
        const std::uint64_t after = cuts.size() - 1 - g;
        residues = add(residues, later - after * position);
        later += position;
        run = g + 1 < cuts.size() && cuts[g + 1] == cuts[g] ? run + 1 : 0;
        empty += run;
    }
    // The numbers 0 .. fragments - 1 in decimal.
    std::uint64_t digits = 0;
    std::uint64_t low = 0;
    for (std::uint64_t width = 1, high = 10; low < forecast.fragments; ++width) {
        const std::uint64_t end = std::min(high, forecast.fragments);
        digits = add(digits, times(end - low, width));
        low = end;
        high = high > kMost / 10 ? kMost : high * 10;
    }
    // ">" name "_" k CR LF, the residues, CR LF. Where every fragment is
    // empty (a record without residues) no number is written either.
    const std::uint64_t written = forecast.fragments - empty;
    const std::uint64_t headers = times(written, name.size() + 6);
    forecast.bytes = written == 0 ? 0 : add(add(residues, headers), digits);
    return forecast;
}

} // namespace quorin::analysis
