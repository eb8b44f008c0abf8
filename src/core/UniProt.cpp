#include "core/UniProt.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quorin::core {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string_view column(std::string_view line, std::size_t from,
                        std::size_t count = std::string_view::npos)
{
    return from < line.size() ? line.substr(from, count) : std::string_view{};
}

bool isBlank(std::string_view text)
{
    return trimmed(text).empty();
}

void appendWithBlank(std::string& to, std::string_view text)
{
    if (text.empty()) {
        return;
    }
    if (!to.empty()) {
        to += ' ';
    }
    to += text;
}

/// The lines of a text, whatever its line ends (LF, CR LF, CR).
class Lines
{
public:
    explicit Lines(std::string_view text) : m_text(text) {}

    bool Next(std::string_view& line)
    {
        if (m_at >= m_text.size()) {
            return false;
        }
        const auto end = m_text.find_first_of("\r\n", m_at);
        if (end == std::string_view::npos) {
            line = m_text.substr(m_at);
            m_at = m_text.size();
        } else {
            line = m_text.substr(m_at, end - m_at);
            m_at = end + 1;
            if (m_text[end] == '\r' && m_at < m_text.size() && m_text[m_at] == '\n') {
                ++m_at;
            }
        }
        ++m_number;
        return true;
    }
    int Number() const { return m_number; }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
    int m_number = 0;
};

/// A feature end as an entry may write it: digits, optionally after one of
/// "<", ">" or "?", or a "?" alone.
bool isFeatureEnd(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    std::string_view digits = text;
    if (text.front() == '<' || text.front() == '>' || text.front() == '?') {
        digits.remove_prefix(1);
        if (digits.empty()) {
            return text.front() == '?';
        }
    }
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

/// The residue count an SQ line announces ("SQ   SEQUENCE   348 AA; ..."),
/// if it says one.
std::optional<std::size_t> announcedLength(std::string_view line)
{
    const auto word = line.find("SEQUENCE");
    if (word == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view rest = trimmed(line.substr(word + 8));
    std::size_t count = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), count);
    if (error != std::errc{} || end == rest.data()) {
        return std::nullopt;
    }
    return count;
}

std::string problemAt(int line, std::string_view what)
{
    return "Not a readable UniProt entry: line " + std::to_string(line) + ": " + std::string(what);
}

/// Reads the FT lines of one entry, feature by feature.
class FeatureReader
{
public:
    explicit FeatureReader(std::vector<SequenceFeature>& features) : m_features(features) {}

    /// An empty string when the line was taken, else what is wrong with it.
    std::string Take(std::string_view line)
    {
        const std::string_view key = trimmed(column(line, 5, 8));
        if (!key.empty()) {
            if (m_openQualifier) {
                return "a feature qualifier's quote never closes";
            }
            return startFeature(line, key);
        }
        if (m_features.empty()) {
            return "a feature line continues no feature";
        }
        return m_oldLayout ? continueOld(line) : continueNew(line);
    }

    /// What is wrong when the feature lines end here.
    std::string Finish() const
    {
        return m_openQualifier ? "a feature qualifier's quote never closes" : std::string();
    }

private:
    std::string startFeature(std::string_view line, std::string_view key)
    {
        SequenceFeature feature;
        feature.key = std::string(key);
        m_oldLayout = !isBlank(column(line, 13, 8));
        std::string_view from;
        std::string_view to;
        if (m_oldLayout) {
            from = trimmed(column(line, 14, 6));
            to = trimmed(column(line, 21, 6));
            const std::string_view text = trimmed(column(line, 34));
            if (!text.starts_with("/FTId=")) {
                feature.description = std::string(text);
            }
        } else {
            std::string_view location = trimmed(column(line, 21));
            // A feature on an isoform names it before its location.
            if (const auto colon = location.find(':'); colon != std::string_view::npos) {
                location.remove_prefix(colon + 1);
            }
            const auto dots = location.find("..");
            from = location.substr(0, dots);
            to = dots == std::string_view::npos ? std::string_view{} : location.substr(dots + 2);
        }
        if (to.empty()) {
            to = from;
        }
        if (!isFeatureEnd(from) || !isFeatureEnd(to)) {
            return "the positions of the " + feature.key + " feature are not residue numbers";
        }
        feature.start = std::string(from);
        feature.end = std::string(to);
        m_features.push_back(std::move(feature));
        return {};
    }

    std::string continueOld(std::string_view line)
    {
        const std::string_view text = trimmed(column(line, 34));
        // The feature's identifier, not its description.
        if (!text.starts_with("/FTId=")) {
            appendWithBlank(m_features.back().description, text);
        }
        return {};
    }

    std::string continueNew(std::string_view line)
    {
        std::string_view value = trimmed(column(line, 21));
        if (m_openQualifier) {
            closeIfQuoted(value);
            return {};
        }
        if (!value.starts_with('/')) {
            return "a feature line is neither a feature nor a qualifier";
        }
        const auto equals = value.find('=');
        if (equals == std::string_view::npos) {
            return {};
        }
        m_inNote = value.substr(1, equals - 1) == "note";
        value.remove_prefix(equals + 1);
        if (!value.starts_with('"')) {
            take(value);
            return {};
        }
        value.remove_prefix(1);
        m_openQualifier = true;
        closeIfQuoted(value);
        return {};
    }

    void closeIfQuoted(std::string_view value)
    {
        if (value.ends_with('"')) {
            value.remove_suffix(1);
            m_openQualifier = false;
        }
        take(value);
    }

    void take(std::string_view value)
    {
        if (m_inNote) {
            appendWithBlank(m_features.back().description, value);
        }
    }

    std::vector<SequenceFeature>& m_features;
    bool m_oldLayout = false;
    bool m_openQualifier = false;
    bool m_inNote = false;
};

} // namespace

bool IsUniProtText(std::string_view text)
{
    // A first-generation sequence file named "ID   ..." has the 0 byte that
    // ends its name on its first line; an ID line never holds one.
    return text.starts_with("ID   ") &&
           text.substr(0, text.find_first_of("\r\n")).find('\0') == std::string_view::npos;
}

UniProtReadResult ReadUniProtEntry(std::string_view text)
{
    UniProtReadResult result;
    if (!IsUniProtText(text)) {
        result.problem = problemAt(1, "it does not start with an ID line");
        return result;
    }
    UniProtEntry entry;
    FeatureReader features(entry.features);
    Lines lines(text);
    std::string_view line;
    bool inSequence = false;
    int sequenceLine = 0;
    std::optional<std::size_t> announced;
    bool ended = false;
    while (lines.Next(line)) {
        const int number = lines.Number();
        if (line.starts_with("//")) {
            ended = true;
            break;
        }
        const std::string_view code = line.substr(0, std::min<std::size_t>(2, line.size()));
        if (number == 1) {
            const std::string_view rest = trimmed(column(line, 5));
            entry.name = std::string(rest.substr(0, rest.find_first_of(" \t")));
            if (entry.name.empty()) {
                result.problem = problemAt(number, "the ID line names no entry");
                return result;
            }
            continue;
        }
        if (inSequence && code == "  ") {
            for (const char c : line) {
                if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
                    entry.residues += c;
                }
            }
            continue;
        }
        if (code == "FT") {
            if (std::string problem = features.Take(line); !problem.empty()) {
                result.problem = problemAt(number, problem);
                return result;
            }
            continue;
        }
        if (std::string problem = features.Finish(); !problem.empty()) {
            result.problem = problemAt(number, problem);
            return result;
        }
        if (code == "AC" && entry.accession.empty()) {
            const std::string_view accessions = trimmed(column(line, 5));
            entry.accession = std::string(trimmed(accessions.substr(0, accessions.find(';'))));
        } else if (code == "DE") {
            appendWithBlank(entry.description, trimmed(column(line, 5)));
        } else if (code == "SQ") {
            if (sequenceLine != 0) {
                result.problem = problemAt(number, "the entry has a second SQ line");
                return result;
            }
            inSequence = true;
            sequenceLine = number;
            announced = announcedLength(line);
        }
    }
    if (!ended) {
        result.problem =
            problemAt(lines.Number(), "the entry ends without its \"//\" line (it is cut short)");
        return result;
    }
    if (std::string problem = features.Finish(); !problem.empty()) {
        result.problem = problemAt(lines.Number(), problem);
        return result;
    }
    if (sequenceLine == 0) {
        result.problem = problemAt(lines.Number(), "the entry has no SQ line");
        return result;
    }
    if (announced && *announced != entry.residues.size()) {
        result.problem =
            problemAt(sequenceLine, "the SQ line announces " + std::to_string(*announced) +
                                        " residues, the entry holds " +
                                        std::to_string(entry.residues.size()));
        return result;
    }
    result.entry = std::move(entry);
    return result;
}

std::string UniProtRemarks(const UniProtEntry& entry)
{
    std::string remarks = "Accession " + entry.accession;
    appendWithBlank(remarks, entry.description);
    return remarks;
}

int FeatureBound(std::string_view text, int fallback, int length)
{
    if (!text.empty() && (text.front() == '<' || text.front() == '>' || text.front() == '?')) {
        text.remove_prefix(1);
    }
    int value = fallback;
    if (!text.empty()) {
        long long number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc{} && end == text.data() + text.size()) {
            value = static_cast<int>(std::min<long long>(number, 1LL << 30));
        } else if (error == std::errc::result_out_of_range) {
            value = 1 << 30;
        }
    }
    if (length > 0) {
        value = std::clamp(value, 1, length);
    }
    return value;
}

std::string FeatureTableText(const std::vector<SequenceFeature>& features)
{
    const auto field = [](std::string_view text) {
        std::string out(text);
        for (char& c : out) {
            if (c == '\t' || c == '\r' || c == '\n') {
                c = ' ';
            }
        }
        return out;
    };
    std::string table = "key\tstart\tend\tdescription\n";
    for (const SequenceFeature& feature : features) {
        table += field(feature.key) + '\t' + field(feature.start) + '\t' + field(feature.end) +
                 '\t' + field(feature.description) + '\n';
    }
    return table;
}

} // namespace quorin::core
