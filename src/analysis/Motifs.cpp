#include "analysis/Motifs.h"

#include "core/MessageTexts.h"
#include "core/Residue.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <cstddef>

namespace quorin::analysis {
namespace {

constexpr std::string_view kCrLf = "\r\n";

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool matchesAt(std::string_view sequence, std::size_t start, std::string_view motif)
{
    for (std::size_t j = 0; j < motif.size(); ++j) {
        if (motif[j] != 'X' && motif[j] != sequence[start + j]) {
            return false;
        }
    }
    return true;
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

} // namespace

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

void SearchMotifs(core::PropertyRecord& record, std::string_view searchString)
{
    core::MotifState& state = record.motifs;
    state = {};
    const std::string search = CleanMotifSearch(searchString);
    const std::string_view sequence = record.CleanSequence();
    std::size_t from = 0;
    while (from <= search.size()) {
        std::size_t end = search.find(';', from);
        if (end == std::string::npos) {
            end = search.size();
        }
        const std::string_view motif = std::string_view(search).substr(from, end - from);
        from = end + 1;
        if (motif.empty()) {
            continue;
        }
        state.motifs.emplace_back(motif);
        const auto number = static_cast<std::int32_t>(state.motifs.size());
        if (motif.size() > sequence.size()) {
            continue;
        }
        for (std::size_t d = 0; d + motif.size() <= sequence.size(); ++d) {
            if (matchesAt(sequence, d, motif)) {
                state.hits.push_back({number, static_cast<std::int32_t>(d + 1)});
            }
        }
    }
    // Found motif by motif; a stable sort by position keeps equal positions
    // in motif order.
    std::stable_sort(
        state.hits.begin(), state.hits.end(),
        [](const core::MotifHit& a, const core::MotifHit& b) { return a.position < b.position; });
    state.hitCount = static_cast<int>(state.hits.size());
}

std::string MotifReportText(const core::PropertyRecord& record, bool byPosition)
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
        line(std::to_string(k + 1) + "   " + state.motifs[k]);
    }
    line("");
    line("List of occuring sites");
    line(std::string(22, '-'));
    line("");
    line(" # of Motif | Position");
    line(std::string(22, '-'));
    std::vector<core::MotifHit> hits = state.hits;
    if (!byPosition) {
        std::stable_sort(
            hits.begin(), hits.end(),
            [](const core::MotifHit& a, const core::MotifHit& b) { return a.motif < b.motif; });
    }
    for (const core::MotifHit& hit : hits) {
        std::string number = std::to_string(hit.motif);
        if (number.size() < 6) {
            number.append(6 - number.size(), ' ');
        }
        line("      " + number + "|  " + std::to_string(hit.position));
    }
    return text;
}

} // namespace quorin::analysis
