#include "analysis/Motifs.h"

#include "analysis/Digest.h"
#include "core/MessageTexts.h"
#include "core/Residue.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace quorin::analysis {
namespace {

constexpr std::string_view kCrLf = "\r\n";

/// What one stored site costs: the hit, its copy in the report's motif order,
/// and its line of the report text.
constexpr std::uint64_t kBytesPerSite = 2 * sizeof(core::MotifHit) + 32;

/// The report goes to its sink in pieces of about this size.
constexpr std::size_t kReportPiece = std::size_t{1} << 20;

/// A refused search is counted to its end up to this many sites; beyond, the
/// message says "at least", and the count costs no more than a few seconds.
constexpr std::uint64_t kExactCountLimit = std::uint64_t{1} << 30;

/// The cleaned sequence holds upper-case letters only.
constexpr std::size_t kLetters = 26;
constexpr std::size_t kPairs = kLetters * kLetters;
constexpr std::size_t kNoLetter = kLetters;

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::size_t letterCode(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<std::size_t>(c - 'A') : kNoLetter;
}

/// How often each letter, and each pair of neighbouring letters, occurs.
struct SequenceCounts
{
    std::array<std::uint64_t, kLetters> letters{};
    std::array<std::uint64_t, kPairs> pairs{};

    explicit SequenceCounts(std::string_view sequence)
    {
        for (std::size_t i = 0; i < sequence.size(); ++i) {
            const std::size_t a = letterCode(sequence[i]);
            if (a == kNoLetter) {
                continue;
            }
            ++letters[a];
            if (i + 1 < sequence.size()) {
                if (const std::size_t b = letterCode(sequence[i + 1]); b != kNoLetter) {
                    ++pairs[a * kLetters + b];
                }
            }
        }
    }
};

/// The positions of one stretch of the sequence grouped by the letter there
/// and by the pair of letters that starts there: every motif anchored on a
/// letter or pair finds its candidates here without a scan of its own.
class BlockIndex
{
public:
    /// Positions from..to - 1; a pair needs its second letter before the end.
    void Build(std::string_view sequence, std::size_t from, std::size_t to)
    {
        m_from = from;
        group(m_letterStart, m_letters, from, to,
              [&](std::size_t i) { return letterCode(sequence[i]); });
        group(m_pairStart, m_pairs, from, to, [&](std::size_t i) {
            const std::size_t a = letterCode(sequence[i]);
            const std::size_t b = i + 1 < sequence.size() ? letterCode(sequence[i + 1]) : kNoLetter;
            return a == kNoLetter || b == kNoLetter ? kPairs : a * kLetters + b;
        });
    }

    /// Positions relative to From(), ascending.
    std::span<const std::uint32_t> Positions(bool pair, std::size_t key) const
    {
        const std::vector<std::uint32_t>& start = pair ? m_pairStart : m_letterStart;
        const std::vector<std::uint32_t>& positions = pair ? m_pairs : m_letters;
        return std::span<const std::uint32_t>(positions).subspan(start[key],
                                                                 start[key + 1] - start[key]);
    }
    std::size_t From() const { return m_from; }

private:
    /// A counting sort of the positions by key; keys = the size of start - 2
    /// stands for none.
    template <typename Key>
    static void group(std::vector<std::uint32_t>& start, std::vector<std::uint32_t>& positions,
                      std::size_t from, std::size_t to, const Key& key)
    {
        const std::size_t keys = start.size() - 1;
        std::fill(start.begin(), start.end(), 0);
        for (std::size_t i = from; i < to; ++i) {
            ++start[key(i) + 1];
        }
        for (std::size_t k = 1; k <= keys; ++k) {
            start[k] += start[k - 1];
        }
        positions.resize(to - from);
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        for (std::size_t i = from; i < to; ++i) {
            positions[next[key(i)]++] = static_cast<std::uint32_t>(i - from);
        }
    }

    std::size_t m_from = 0;
    std::vector<std::uint32_t> m_letterStart = std::vector<std::uint32_t>(kLetters + 2);
    std::vector<std::uint32_t> m_letters;
    std::vector<std::uint32_t> m_pairStart = std::vector<std::uint32_t>(kPairs + 2);
    std::vector<std::uint32_t> m_pairs;
};

/// How one motif is searched, decided before the search from the letter
/// counts alone, so that it costs about as much as the sites it finds. Only
/// the motif's fixed letters are compared: an all-"X" motif matches at every
/// start without a comparison. The others are anchored on their rarest letter
/// or pair of neighbouring letters; where even those candidates would cost
/// more comparisons than a bit-parallel pass over the sequence, that pass is
/// taken.
struct MotifPlan
{
    enum class Way
    {
        Nowhere,
        Everywhere,
        Anchored,
        BitParallel,
    };

    Way way = Way::Nowhere;
    std::size_t length = 0;
    std::size_t starts = 0; ///< starts where the motif fits wholly
    std::size_t anchorOffset = 0;
    bool pairAnchor = false;
    std::size_t anchorKey = 0;
    std::uint64_t candidates = 0;
    /// Fixed letters (offset, letter) besides the anchor, rarest first; with
    /// BitParallel every fixed letter.
    std::vector<std::pair<std::size_t, char>> rest;

    MotifPlan(std::string_view motif, std::size_t sequenceLength, const SequenceCounts& counts)
        : length(motif.size())
    {
        if (length > sequenceLength) {
            return;
        }
        starts = sequenceLength - length + 1;
        std::vector<std::pair<std::size_t, char>> fixed;
        for (std::size_t j = 0; j < length; ++j) {
            if (motif[j] == 'X') {
                continue;
            }
            if (letterCode(motif[j]) == kNoLetter) {
                return; // no residue of the sequence is this character
            }
            fixed.emplace_back(j, motif[j]);
        }
        if (fixed.empty()) {
            way = Way::Everywhere;
            return;
        }
        const auto letterCount = [&](char c) { return counts.letters[letterCode(c)]; };
        // The rarest anchor: a single letter, or two fixed letters side by side.
        candidates = UINT64_MAX;
        for (std::size_t f = 0; f < fixed.size(); ++f) {
            const auto [offset, letter] = fixed[f];
            if (letterCount(letter) < candidates) {
                candidates = letterCount(letter);
                anchorOffset = offset;
                pairAnchor = false;
                anchorKey = letterCode(letter);
            }
            if (f + 1 < fixed.size() && fixed[f + 1].first == offset + 1) {
                const std::size_t key =
                    letterCode(letter) * kLetters + letterCode(fixed[f + 1].second);
                if (counts.pairs[key] < candidates) {
                    candidates = counts.pairs[key];
                    anchorOffset = offset;
                    pairAnchor = true;
                    anchorKey = key;
                }
            }
        }
        candidates = std::min<std::uint64_t>(candidates, starts);
        if (candidates == 0) {
            way = Way::Nowhere;
            return;
        }
        const std::uint64_t words = (length + 63) / 64;
        for (const auto& letter : fixed) {
            const bool anchor =
                letter.first == anchorOffset || (pairAnchor && letter.first == anchorOffset + 1);
            if (!anchor) {
                rest.push_back(letter);
            }
        }
        if (candidates * rest.size() / sequenceLength > words) {
            way = Way::BitParallel;
            rest = std::move(fixed);
            return;
        }
        way = Way::Anchored;
        std::stable_sort(rest.begin(), rest.end(), [&](const auto& a, const auto& b) {
            return letterCount(a.second) < letterCount(b.second);
        });
    }
};

/// Calls found(motif index, start) for every site of every motif (of all-"X"
/// motifs only withEverywhere), start 0-based; stops and returns false when
/// found returns false. Sites come motif by motif, anchored motifs block by
/// block, each motif's sites in ascending order.
template <typename Found>
bool forEachSite(const std::vector<MotifPlan>& plans, std::string_view sequence,
                 bool withEverywhere, const Found& found)
{
    bool anyAnchored = false;
    for (std::size_t k = 0; k < plans.size(); ++k) {
        const MotifPlan& plan = plans[k];
        if (plan.way == MotifPlan::Way::Everywhere && withEverywhere) {
            for (std::size_t d = 0; d < plan.starts; ++d) {
                if (!found(k, d)) {
                    return false;
                }
            }
        } else if (plan.way == MotifPlan::Way::BitParallel) {
            // Shift-And: bit j of the state says that the motif's first j + 1
            // letters end at the current residue; "X" sets its bit for every
            // letter.
            const std::size_t words = (plan.length + 63) / 64;
            std::vector<std::uint64_t> masks((kLetters + 1) * words, 0);
            std::vector<bool> fixedAt(plan.length, false);
            for (const auto& [offset, letter] : plan.rest) {
                fixedAt[offset] = true;
                masks[letterCode(letter) * words + offset / 64] |= std::uint64_t{1}
                                                                   << (offset % 64);
            }
            for (std::size_t j = 0; j < plan.length; ++j) {
                if (!fixedAt[j]) {
                    for (std::size_t c = 0; c <= kLetters; ++c) {
                        masks[c * words + j / 64] |= std::uint64_t{1} << (j % 64);
                    }
                }
            }
            const std::uint64_t last = std::uint64_t{1} << ((plan.length - 1) % 64);
            std::vector<std::uint64_t> state(words, 0);
            for (std::size_t i = 0; i < sequence.size(); ++i) {
                const std::uint64_t* mask = masks.data() + letterCode(sequence[i]) * words;
                std::uint64_t carry = 1;
                for (std::size_t w = 0; w < words; ++w) {
                    const std::uint64_t out = state[w] >> 63;
                    state[w] = ((state[w] << 1) | carry) & mask[w];
                    carry = out;
                }
                if ((state[words - 1] & last) != 0 && !found(k, i + 1 - plan.length)) {
                    return false;
                }
            }
        } else if (plan.way == MotifPlan::Way::Anchored) {
            anyAnchored = true;
        }
    }
    if (!anyAnchored) {
        return true;
    }
    // Blocks large enough that a motif's visit to a block is cheap beside the
    // block's candidates, small enough to stay in cache.
    const std::size_t block =
        std::clamp<std::size_t>(sequence.size() / 256, std::size_t{1} << 16, std::size_t{1} << 22);
    const char* const text = sequence.data();
    BlockIndex index;
    for (std::size_t from = 0; from < sequence.size(); from += block) {
        const std::size_t to = std::min(sequence.size(), from + block);
        index.Build(sequence, from, to);
        for (std::size_t k = 0; k < plans.size(); ++k) {
            const MotifPlan& plan = plans[k];
            if (plan.way != MotifPlan::Way::Anchored) {
                continue;
            }
            for (const std::uint32_t relative : index.Positions(plan.pairAnchor, plan.anchorKey)) {
                const std::size_t position = from + relative;
                if (position < plan.anchorOffset) {
                    continue;
                }
                const std::size_t start = position - plan.anchorOffset;
                if (start >= plan.starts) {
                    break;
                }
                if (std::all_of(plan.rest.begin(), plan.rest.end(),
                                [&](const auto& letter) {
                                    return text[start + letter.first] == letter.second;
                                }) &&
                    !found(k, start)) {
                    return false;
                }
            }
        }
    }
    return true;
}

/// The motifs of a cleaned search string, empty ones left out.
std::vector<std::string_view> splitMotifs(std::string_view search)
{
    std::vector<std::string_view> motifs;
    std::size_t from = 0;
    while (from <= search.size()) {
        std::size_t end = search.find(';', from);
        if (end == std::string_view::npos) {
            end = search.size();
        }
        if (end > from) {
            motifs.push_back(search.substr(from, end - from));
        }
        from = end + 1;
    }
    return motifs;
}

/// The whole UTF-8 character that contains the byte at index, so that a
/// message never names half a character.
std::string_view characterAt(std::string_view text, std::size_t index)
{
    auto continuation = [&](std::size_t i) {
        return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    std::size_t first = index;
    while (first > 0 && continuation(first) && index - first < 3) {
        --first;
    }
    std::size_t last = index + 1;
    while (last < text.size() && continuation(last) && last - first < 4) {
        ++last;
    }
    return text.substr(first, last - first);
}

/// A stable counting sort of hits by a key below keyCount.
template <typename Key>
void sortHitsBy(std::vector<core::MotifHit>& hits, std::vector<core::MotifHit>& buffer,
                std::size_t keyCount, const Key& key)
{
    std::vector<std::size_t> next(keyCount + 1, 0);
    for (const core::MotifHit& hit : hits) {
        ++next[key(hit) + 1];
    }
    for (std::size_t k = 1; k <= keyCount; ++k) {
        next[k] += next[k - 1];
    }
    buffer.resize(hits.size());
    for (const core::MotifHit& hit : hits) {
        buffer[next[key(hit)]++] = hit;
    }
    hits.swap(buffer);
}

/// Hits in position order, equal positions in motif order: a radix sort,
/// motif number first, then position, 11 bits a pass, so that millions of
/// sites sort in a few passes over them.
void sortHitsByPosition(std::vector<core::MotifHit>& hits, std::size_t motifCount,
                        std::size_t sequenceLength)
{
    constexpr unsigned kBits = 11;
    constexpr std::size_t kDigits = std::size_t{1} << kBits;
    std::vector<core::MotifHit> buffer;
    const auto passes = [&](std::size_t largest, auto field) {
        for (unsigned shift = 0; shift < 32 && (largest >> shift) != 0; shift += kBits) {
            sortHitsBy(hits, buffer, kDigits, [&](const core::MotifHit& hit) {
                return (static_cast<std::size_t>(field(hit)) >> shift) & (kDigits - 1);
            });
        }
    };
    passes(motifCount, [](const core::MotifHit& hit) { return hit.motif; });
    passes(sequenceLength, [](const core::MotifHit& hit) { return hit.position; });
}

void appendNumber(std::string& text, std::uint64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}

} // namespace

std::uint64_t MotifSiteCeiling()
{
    // The digest's budget, counted in sites instead of fragments; a count
    // of sites must also fit the int the window keeps it in.
    const std::uint64_t budget = FragmentCeiling() * (2 * sizeof(core::FRAGM));
    return std::clamp<std::uint64_t>(budget / kBytesPerSite, 1, INT_MAX);
}

std::string CleanMotifSearch(std::string_view text)
{
    std::string cleaned;
    cleaned.reserve(text.size());
    for (const char c : text) {
        if (c != ' ') {
            cleaned.push_back(upper(c));
        }
    }
    return cleaned;
}

MotifSearchCheck CheckMotifSearch(std::string_view text)
{
    MotifSearchCheck check;
    check.search = CleanMotifSearch(text);
    if (check.search.empty()) {
        check.message = core::msg::kEnterMotif;
        return check;
    }
    for (std::size_t i = check.search.size(); i-- > 0;) {
        const char c = check.search[i];
        if (c != ';' && !core::IsResidueLetter(c)) {
            check.message = core::msg::NotAnAminoAcid(characterAt(check.search, i));
            break;
        }
    }
    return check;
}

MotifSearchResult SearchMotifs(core::PropertyRecord& record, std::string_view searchString,
                               std::uint64_t maxSites)
{
    core::MotifState& state = record.motifs;
    state = {};
    const std::string search = CleanMotifSearch(searchString);
    const std::string_view sequence = record.CleanSequence();
    const std::vector<std::string_view> motifs = splitMotifs(search);

    const SequenceCounts counts(sequence);
    std::vector<MotifPlan> plans;
    plans.reserve(motifs.size());
    std::uint64_t everywhere = 0;
    for (const std::string_view motif : motifs) {
        plans.emplace_back(motif, sequence.size(), counts);
        if (plans.back().way == MotifPlan::Way::Everywhere) {
            everywhere += plans.back().starts;
        }
    }
    // Sites are stored while they stay within the ceiling; past it they are
    // only counted, for the message (all-"X" motifs by their number of
    // starts), and once the count is far past, no longer than a few seconds.
    bool storing = everywhere <= maxSites;
    std::uint64_t siteCount = storing ? 0 : everywhere;
    const std::uint64_t countLimit = std::max(maxSites, kExactCountLimit);
    const bool whole = forEachSite(plans, sequence, storing, [&](std::size_t k, std::size_t start) {
        if (storing && ++siteCount <= maxSites) {
            state.hits.push_back(
                {static_cast<std::int32_t>(k + 1), static_cast<std::int32_t>(start + 1)});
            return true;
        }
        if (storing) {
            storing = false;
            state.hits = {};
        } else {
            ++siteCount;
        }
        return siteCount <= countLimit;
    });
    if (siteCount > maxSites) {
        return {siteCount, core::msg::TooManyMotifSites(siteCount, maxSites, !whole)};
    }
    for (const std::string_view motif : motifs) {
        state.motifs.emplace_back(motif);
    }
    sortHitsByPosition(state.hits, motifs.size(), sequence.size());
    state.hitCount = static_cast<int>(state.hits.size());
    return {state.hits.size(), {}};
}

void WriteMotifReport(const core::PropertyRecord& record, bool byPosition,
                      const core::ByteSink& sink)
{
    const core::MotifState& state = record.motifs;
    std::string text;
    auto line = [&](std::string_view content) {
        text.append(content);
        text.append(kCrLf);
    };
    const std::string title = "Search for Sequence Motifs in " + core::OneLineText(record.Name());
    line(title);
    line(std::string(title.size(), '*'));
    line("");
    line("Selected Motifs:");
    line(std::string(16, '-'));
    line("");
    for (std::size_t k = 0; k < state.motifs.size(); ++k) {
        appendNumber(text, k + 1);
        text.append("   ");
        line(state.motifs[k]);
        if (text.size() >= kReportPiece) {
            sink(text);
            text.clear();
        }
    }
    line("");
    line("List of occuring sites");
    line(std::string(22, '-'));
    line("");
    line(" # of Motif | Position");
    line(std::string(22, '-'));

    auto siteLine = [&](const core::MotifHit& hit) {
        text.append(6, ' ');
        const std::size_t numberStart = text.size();
        appendNumber(text, static_cast<std::uint64_t>(hit.motif));
        const std::size_t width = text.size() - numberStart;
        if (width < 6) {
            text.append(6 - width, ' ');
        }
        text.append("|  ");
        appendNumber(text, static_cast<std::uint64_t>(hit.position));
        text.append(kCrLf);
        if (text.size() >= kReportPiece) {
            sink(text);
            text.clear();
        }
    };
    if (byPosition) {
        std::for_each(state.hits.begin(), state.hits.end(), siteLine);
    } else {
        // Motif by motif, each motif's sites in the stored position order.
        std::vector<core::MotifHit> hits = state.hits;
        std::vector<core::MotifHit> buffer;
        sortHitsBy(hits, buffer, state.motifs.size() + 1,
                   [](const core::MotifHit& hit) { return static_cast<std::size_t>(hit.motif); });
        buffer = {};
        std::for_each(hits.begin(), hits.end(), siteLine);
    }
    if (!text.empty()) {
        sink(text);
    }
}

std::string MotifReportText(const core::PropertyRecord& record, bool byPosition)
{
    std::string text;
    WriteMotifReport(record, byPosition, [&text](std::string_view piece) { text.append(piece); });
    return text;
}

} // namespace quorin::analysis
