#include "core/ProfileFile.h"

#include "core/FileIo.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace quorin::core {
namespace {

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

/// One physical line: its text without the line end, and the line end itself.
struct Line
{
    std::string text;
    std::string end;
};

std::vector<Line> splitLines(const std::string& content)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t brk = content.find_first_of("\r\n", pos);
        if (brk == std::string::npos) {
            lines.push_back({content.substr(pos), ""});
            break;
        }
        std::size_t endLen = 1;
        if (content[brk] == '\r' && brk + 1 < content.size() && content[brk + 1] == '\n') {
            endLen = 2;
        }
        lines.push_back({content.substr(pos, brk - pos), content.substr(brk, endLen)});
        pos = brk + endLen;
    }
    return lines;
}

/// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    const auto close = line.find(']');
    return trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
}

struct KeyLine
{
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line)
{
    const std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') {
        return std::nullopt;
    }
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) {
        return KeyLine{trimmed, {}};
    }
    return KeyLine{trim(trimmed.substr(0, eq)), trim(trimmed.substr(eq + 1))};
}

/// Index range [first, last) of the body of the first section with this name,
/// or nothing.
struct SectionSpan
{
    std::size_t header;
    std::size_t first;
    std::size_t last;
};

std::optional<SectionSpan> findSection(const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(lines[i].text);
        if (name && equalsNoCase(*name, section)) {
            std::size_t j = i + 1;
            while (j < lines.size() && !sectionName(lines[j].text)) {
                ++j;
            }
            return SectionSpan{i, i + 1, j};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, const SectionSpan& span,
                                   std::string_view key)
{
    for (std::size_t i = span.first; i < span.last; ++i) {
        const auto kv = keyLine(lines[i].text);
        if (kv && equalsNoCase(kv->key, key)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> ProfileFile::Lookup(std::string_view section, std::string_view key) const
{
    const auto content = ReadWholeFile(m_path);
    if (!content) {
        return std::nullopt;
    }
    const auto lines = splitLines(*content);
    const auto span = findSection(lines, section);
    if (!span) {
        return std::nullopt;
    }
    const auto index = findKey(lines, *span, key);
    if (!index) {
        return std::nullopt;
    }
    std::string_view value = keyLine(lines[*index].text)->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const
{
    auto value = Lookup(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int fallback) const
{
    const auto value = Lookup(section, key);
    if (!value) {
        return fallback;
    }
    // The profile reader takes an optional sign and decimal digits only.
    std::string_view text = trim(*value);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        number = number * 10 + (c - '0');
        if (number > 0xFFFFFFFFLL) {
            break;
        }
    }
    // Beyond 32 bits the value wraps like the 32-bit integer it is stored in.
    const auto wrapped = static_cast<std::uint32_t>(negative ? -number : number);
    return static_cast<int>(wrapped);
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::optional<std::string_view> value)
{
    const std::string content = ReadWholeFile(m_path).value_or(std::string());
    std::vector<Line> lines = splitLines(content);
    const auto span = findSection(lines, section);
    constexpr std::size_t kNone = std::string::npos;
    const std::size_t keyIndex = span ? findKey(lines, *span, key).value_or(kNone) : kNone;

    if (!value) {
        if (keyIndex == kNone) {
            return true;
        }
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(keyIndex));
    } else {
        std::string text = std::string(key) + '=' + std::string(*value);
        if (keyIndex != kNone) {
            // Keep the key as the file spells it.
            const auto kv = keyLine(lines[keyIndex].text);
            text = std::string(kv->key) + '=' + std::string(*value);
            lines[keyIndex].text = std::move(text);
        } else if (span) {
            // After the section's last non-empty line, so blank separators stay last.
            std::size_t at = span->last;
            while (at > span->first && trim(lines[at - 1].text).empty()) {
                --at;
            }
            if (at > 0 && lines[at - 1].end.empty()) {
                lines[at - 1].end = "\r\n";
            }
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), Line{text, "\r\n"});
        } else {
            if (!lines.empty() && lines.back().end.empty()) {
                lines.back().end = "\r\n";
            }
            lines.push_back({"[" + std::string(section) + "]", "\r\n"});
            lines.push_back({text, "\r\n"});
        }
    }

    std::string out;
    out.reserve(content.size() + 64);
    for (const Line& line : lines) {
        out += line.text;
        out += line.end;
    }
    return WriteFileAtomically(m_path, out);
}

bool ProfileFile::WriteInt(std::string_view section, std::string_view key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

} // namespace quorin::core
