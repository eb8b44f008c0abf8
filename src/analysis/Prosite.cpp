#include "analysis/Prosite.h"

#include "core/SequenceText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <limits>

namespace quorin::analysis {
namespace {

constexpr std::uint32_t kAllLetters = (std::uint32_t{1} << 26) - 1;

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::uint32_t letterBit(char c)
{
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    return std::uint32_t{1} << (upper - 'A');
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// The pattern's characters without blanks, each with its 1-based place in
/// the text the user wrote.
struct Cursor
{
    std::string chars;
    std::vector<std::size_t> places;
    std::size_t at = 0;

    bool AtEnd() const { return at >= chars.size(); }
    char Peek() const { return AtEnd() ? '\0' : chars[at]; }
    /// The place of the current character, or one past the text at its end.
    std::size_t Place() const
    {
        return AtEnd() ? (places.empty() ? 1 : places.back() + 1) : places[at];
    }
};

PrositeParse refuse(std::size_t place, std::string message)
{
    PrositeParse parse;
    parse.message = std::move(message) + " at character " + std::to_string(place);
    parse.position = place;
    return parse;
}

std::string quoted(char c)
{
    return c == '\0' ? std::string("the end") : "\"" + std::string(1, c) + "\"";
}

/// Reads the digits of a repeat count; -1 when there are none or too many.
int readCount(Cursor& cursor)
{
    const std::size_t from = cursor.at;
    while (!cursor.AtEnd() && cursor.Peek() >= '0' && cursor.Peek() <= '9') {
        ++cursor.at;
    }
    int value = 0;
    const char* first = cursor.chars.data() + from;
    const char* last = cursor.chars.data() + cursor.at;
    if (first == last || std::from_chars(first, last, value).ptr != last) {
        return -1;
    }
    return value;
}

} // namespace

PrositeParse ParsePrositePattern(std::string_view text)
{
    Cursor cursor;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isBlank(text[i])) {
            cursor.chars += text[i];
            cursor.places.push_back(i + 1);
        }
    }
    if (cursor.chars.empty()) {
        return refuse(1, "The pattern is empty");
    }
    PrositeParse parse;
    PrositePattern& pattern = parse.pattern;
    pattern.m_text = cursor.chars;
    if (cursor.chars.back() == '.') {
        cursor.chars.pop_back();
        cursor.places.pop_back();
    }
    if (cursor.Peek() == '<') {
        pattern.m_anchoredStart = true;
        ++cursor.at;
    }
    std::size_t positions = 0;
    std::vector<std::size_t> elementPlaces;
    while (true) {
        PrositePattern::Element element;
        const std::size_t place = cursor.Place();
        const char c = cursor.Peek();
        if (c == 'x' || c == 'X') {
            element.letters = kAllLetters;
            ++cursor.at;
        } else if (isLetter(c)) {
            element.letters = letterBit(c);
            ++cursor.at;
        } else if (c == '[' || c == '{') {
            const char close = c == '[' ? ']' : '}';
            ++cursor.at;
            std::uint32_t named = 0;
            while (isLetter(cursor.Peek())) {
                named |= letterBit(cursor.Peek());
                ++cursor.at;
            }
            if (c == '[' && cursor.Peek() == '>') {
                element.endAllowed = true;
                ++cursor.at;
            }
            if (cursor.Peek() != close) {
                return refuse(cursor.Place(), "Expected \"" + std::string(1, close) +
                                                  "\" but found " + quoted(cursor.Peek()));
            }
            ++cursor.at;
            if (named == 0 && !element.endAllowed) {
                return refuse(place, "The class names no residue");
            }
            element.letters = c == '[' ? named : kAllLetters & ~named;
            if (element.letters == 0 && !element.endAllowed) {
                return refuse(place, "The exclusion leaves no residue");
            }
        } else {
            return refuse(place,
                          "Expected a residue, \"x\", \"[\" or \"{\" but found " + quoted(c));
        }
        if (cursor.Peek() == '(') {
            const std::size_t open = cursor.Place();
            ++cursor.at;
            const int low = readCount(cursor);
            int high = low;
            if (low >= 0 && cursor.Peek() == ',') {
                ++cursor.at;
                high = readCount(cursor);
            }
            if (low < 0 || high < 0 || cursor.Peek() != ')') {
                return refuse(cursor.Place(), "Expected a repeat \"(n)\" or \"(n,m)\"");
            }
            ++cursor.at;
            if (low > high) {
                return refuse(open, "The repeat's lower bound exceeds its upper one");
            }
            if (high == 0) {
                return refuse(open, "The repeat takes the element no time");
            }
            element.minCount = low;
            element.maxCount = high;
        }
        positions += static_cast<std::size_t>(element.maxCount);
        if (positions > kPrositeMostPositions) {
            return refuse(place, "The pattern is longer than " +
                                     std::to_string(kPrositeMostPositions) + " residues");
        }
        pattern.m_elements.push_back(element);
        elementPlaces.push_back(place);
        if (cursor.Peek() == '-') {
            ++cursor.at;
            if (element.endAllowed) {
                return refuse(place, "Only the last element may take the C-terminus");
            }
            continue;
        }
        if (cursor.Peek() == '>') {
            pattern.m_anchoredEnd = true;
            ++cursor.at;
        }
        if (!cursor.AtEnd()) {
            return refuse(cursor.Place(),
                          "Expected \"-\" or the end but found " + quoted(cursor.Peek()));
        }
        break;
    }
    bool empty = true;
    for (const PrositePattern::Element& element : pattern.m_elements) {
        empty = empty && (element.minCount == 0 || element.letters == 0);
    }
    if (empty) {
        return refuse(elementPlaces.front(), "The pattern matches an empty stretch");
    }
    return parse;
}

namespace {

/// The states of a pattern: element i with c of its repeats taken is state
/// base[i] + c, and base.back() is the pattern's end.
std::vector<std::size_t> stateBases(const std::vector<PrositePattern::Element>& elements)
{
    std::vector<std::size_t> base(elements.size() + 1);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        base[i + 1] = base[i] + static_cast<std::size_t>(elements[i].maxCount) + 1;
    }
    return base;
}

std::uint32_t residueBit(char residue)
{
    return residue >= 'A' && residue <= 'Z' ? std::uint32_t{1} << (residue - 'A') : 0;
}

/// A pattern whose first residue must be one of a few letters is matched
/// forwards from the starts where one of them stands: the states reachable
/// after each further residue, breadth first, so that the first time the end
/// is reached gives the shortest match. Most starts are no candidate and most
/// candidates die within a few residues, which makes this far cheaper than
/// the backward pass over every position.
class ForwardMatcher
{
public:
    ForwardMatcher(const PrositePattern& pattern, std::vector<std::size_t> base)
        : m_pattern(pattern), m_base(std::move(base)), m_final(m_base.back()),
          m_element(m_final + 1), m_count(m_final + 1), m_stamp(m_final + 1, 0)
    {
        const auto& elements = pattern.Elements();
        for (std::size_t i = 0; i < elements.size(); ++i) {
            for (int c = 0; c <= elements[i].maxCount; ++c) {
                m_element[m_base[i] + static_cast<std::size_t>(c)] = i;
                m_count[m_base[i] + static_cast<std::size_t>(c)] = c;
            }
        }
        std::vector<std::size_t> start;
        addClosure(start, 0);
        for (const std::size_t state : start) {
            if (state != m_final && m_count[state] < elements[m_element[state]].maxCount) {
                m_firstLetters |= elements[m_element[state]].letters;
            }
        }
    }

    /// The letters a match's first residue may be.
    std::uint32_t FirstLetters() const { return m_firstLetters; }

    std::vector<PrositeMatch> Matches(std::string_view residues)
    {
        std::vector<PrositeMatch> matches;
        const std::size_t length = residues.size();
        const std::size_t lastStart = m_pattern.AnchoredAtStart() ? std::min<std::size_t>(length, 1)
                                                                    : length;
        for (std::size_t p = 0; p < lastStart; ++p) {
            if ((residueBit(residues[p]) & m_firstLetters) == 0) {
                continue;
            }
            if (const std::size_t end = shortestEnd(residues, p); end != 0) {
                matches.push_back({p, end});
            }
        }
        return matches;
    }

private:
    /// Adds state and the states it reaches without a residue (an element
    /// taken often enough passes on to the next).
    void addClosure(std::vector<std::size_t>& states, std::size_t state)
    {
        const auto& elements = m_pattern.Elements();
        while (m_stamp[state] != m_generation) {
            m_stamp[state] = m_generation;
            states.push_back(state);
            if (state == m_final) {
                return;
            }
            const std::size_t i = m_element[state];
            if (m_count[state] < elements[i].minCount) {
                return;
            }
            state = m_base[i + 1];
        }
    }

    /// One past the last residue of the shortest match from start, or 0.
    std::size_t shortestEnd(std::string_view residues, std::size_t start)
    {
        const auto& elements = m_pattern.Elements();
        ++m_generation;
        m_now.clear();
        addClosure(m_now, 0);
        for (std::size_t pos = start;; ++pos) {
            const bool atEnd = pos == residues.size();
            for (const std::size_t state : m_now) {
                if (state == m_final && (atEnd || !m_pattern.AnchoredAtEnd())) {
                    return pos;
                }
                if (atEnd && state != m_final && elements[m_element[state]].endAllowed) {
                    return pos;
                }
            }
            if (atEnd) {
                return 0;
            }
            const std::uint32_t bit = residueBit(residues[pos]);
            ++m_generation;
            m_next.clear();
            for (const std::size_t state : m_now) {
                if (state == m_final) {
                    continue;
                }
                const PrositePattern::Element& element = elements[m_element[state]];
                if ((element.letters & bit) != 0 && m_count[state] < element.maxCount) {
                    addClosure(m_next, state + 1);
                }
            }
            if (m_next.empty()) {
                return 0;
            }
            std::swap(m_now, m_next);
        }
    }

    const PrositePattern& m_pattern;
    std::vector<std::size_t> m_base;
    std::size_t m_final;
    std::vector<std::size_t> m_element;
    std::vector<int> m_count;
    std::vector<std::uint32_t> m_stamp;
    std::uint32_t m_generation = 1;
    std::uint32_t m_firstLetters = 0;
    std::vector<std::size_t> m_now;
    std::vector<std::size_t> m_next;
};

/// First residues of at most this many letters make the forward matcher the
/// cheaper one.
constexpr int kSelectiveLetters = 8;

} // namespace

std::vector<PrositeMatch> FindPrositeMatches(const PrositePattern& pattern,
                                             std::string_view residues)
{
    const std::vector<PrositePattern::Element>& elements = pattern.Elements();
    std::vector<std::size_t> base = stateBases(elements);
    ForwardMatcher forward(pattern, base);
    if (std::popcount(forward.FirstLetters()) <= kSelectiveLetters) {
        return forward.Matches(residues);
    }
    // The shortest way from each (position, state) to the pattern's end,
    // worked backwards from the sequence's end, two positions at a time.
    const std::size_t final = base.back();
    constexpr std::uint32_t kNever = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> next(final + 1, kNever);
    std::vector<std::uint32_t> here(final + 1, kNever);
    std::vector<PrositeMatch> matches;
    const std::size_t length = residues.size();
    for (std::size_t p = length + 1; p-- > 0;) {
        const bool atEnd = p == length;
        const std::uint32_t bit = atEnd ? 0 : residueBit(residues[p]);
        here[final] = pattern.AnchoredAtEnd() && !atEnd ? kNever : 0;
        for (std::size_t i = elements.size(); i-- > 0;) {
            const PrositePattern::Element& element = elements[i];
            const bool takes = (element.letters & bit) != 0;
            for (std::size_t c = static_cast<std::size_t>(element.maxCount) + 1; c-- > 0;) {
                std::uint32_t best = kNever;
                if (static_cast<int>(c) >= element.minCount) {
                    best = here[base[i + 1]];
                }
                if (atEnd && element.endAllowed) {
                    best = 0;
                }
                if (takes && static_cast<int>(c) < element.maxCount) {
                    const std::uint32_t further = next[base[i] + c + 1];
                    if (further != kNever) {
                        best = std::min(best, further + 1);
                    }
                }
                here[base[i] + c] = best;
            }
        }
        if (!atEnd && here[0] != kNever && here[0] > 0 && (!pattern.AnchoredAtStart() || p == 0)) {
            matches.push_back({p, p + here[0]});
        }
        std::swap(here, next);
    }
    std::reverse(matches.begin(), matches.end());
    return matches;
}

std::string PrositeMatchesTsv(const std::vector<PrositeMatch>& matches, std::string_view residues)
{
    std::string out = "start\tend\tmatch\n";
    for (const PrositeMatch& match : matches) {
        out += std::to_string(match.start + 1);
        out += '\t';
        out += std::to_string(match.end);
        out += '\t';
        out += residues.substr(match.start, match.end - match.start);
        out += '\n';
    }
    return out;
}

std::vector<PrositeEntry> ReadPrositeEntries(std::string_view text)
{
    std::vector<PrositeEntry> entries;
    PrositeEntry entry;
    const auto flush = [&] {
        if (!entry.pattern.empty()) {
            entries.push_back(std::move(entry));
        }
        entry = {};
    };
    const auto trimmed = [](std::string_view s) {
        while (!s.empty() && isBlank(s.front())) {
            s.remove_prefix(1);
        }
        while (!s.empty() && isBlank(s.back())) {
            s.remove_suffix(1);
        }
        return s;
    };
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.starts_with("//")) {
            flush();
            continue;
        }
        if (line.size() < 2) {
            continue;
        }
        const std::string_view code = line.substr(0, 2);
        const std::string_view value =
            trimmed(line.size() > 5 ? line.substr(5) : std::string_view());
        if (code == "ID") {
            entry.id = std::string(value.substr(0, value.find(';')));
        } else if (code == "AC" && entry.accession.empty()) {
            entry.accession = std::string(trimmed(value.substr(0, value.find(';'))));
        } else if (code == "DE") {
            if (!entry.description.empty()) {
                entry.description += ' ';
            }
            entry.description += value;
        } else if (code == "PA") {
            entry.pattern += value;
        }
    }
    flush();
    return entries;
}

void SearchPrositeMotif(core::PropertyRecord& record, const PrositePattern& pattern)
{
    core::MotifState& state = record.motifs;
    state = {};
    state.motifs.push_back(pattern.Text());
    for (const PrositeMatch& match : FindPrositeMatches(pattern, record.CleanSequence())) {
        state.hits.push_back({1, static_cast<std::int32_t>(match.start + 1)});
    }
    state.hitCount = static_cast<int>(state.hits.size());
}

PrositeScan ScanPrositeEntries(const std::vector<PrositeEntry>& entries, std::string_view residues)
{
    std::vector<const PrositeEntry*> order;
    for (const PrositeEntry& entry : entries) {
        order.push_back(&entry);
    }
    std::stable_sort(order.begin(), order.end(), [](const PrositeEntry* a, const PrositeEntry* b) {
        return a->accession < b->accession;
    });
    PrositeScan scan;
    for (const PrositeEntry* entry : order) {
        const PrositeParse parse = ParsePrositePattern(entry->pattern);
        if (parse.Refused()) {
            scan.refused.emplace_back(entry, parse.message);
            continue;
        }
        std::vector<PrositeMatch> matches = FindPrositeMatches(parse.pattern, residues);
        if (!matches.empty()) {
            scan.hits.push_back({entry, std::move(matches)});
        }
    }
    return scan;
}

std::string PrositeScanTsv(const PrositeScan& scan, std::string_view residues)
{
    std::string out = "accession\tid\tstart\tend\tmatch\n";
    for (const PrositeEntryHits& hits : scan.hits) {
        for (const PrositeMatch& match : hits.matches) {
            out += hits.entry->accession;
            out += '\t';
            out += hits.entry->id;
            out += '\t';
            out += std::to_string(match.start + 1);
            out += '\t';
            out += std::to_string(match.end);
            out += '\t';
            out += residues.substr(match.start, match.end - match.start);
            out += '\n';
        }
    }
    return out;
}

std::string PrositeScanReport(const PrositeScan& scan, std::string_view sequenceName,
                              std::string_view residues)
{
    std::string out;
    const auto line = [&out](std::string_view text) {
        out += text;
        out += "\r\n";
    };
    const std::string title = "PROSITE Patterns in " + core::OneLineText(sequenceName);
    line(title);
    line(std::string(title.size(), '*'));
    line("");
    if (scan.hits.empty()) {
        line("No pattern matches.");
    }
    for (const PrositeEntryHits& hits : scan.hits) {
        line(hits.entry->accession + "  " + hits.entry->id + "  " + hits.entry->description);
        for (const PrositeMatch& match : hits.matches) {
            line("    " + std::to_string(match.start + 1) + "-" + std::to_string(match.end) + "  " +
                 std::string(residues.substr(match.start, match.end - match.start)));
        }
    }
    return out;
}

} // namespace quorin::analysis
