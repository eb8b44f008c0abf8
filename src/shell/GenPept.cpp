#include "shell/GenPept.h"

#include "core/MessageTexts.h"

#include <algorithm>

namespace quorin::shell {
namespace {

constexpr std::string_view kDefinitionMarker = "DEFINITION  ";
constexpr std::string_view kAccessionMarker = "ACCESSION   ";
constexpr std::string_view kOriginMarker = "ORIGIN";
constexpr std::string_view kRecordEndMarker = "//";
/// The longest id a search reply may give.
constexpr std::size_t kIdLength = 14;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (isBlank(text.front()) || isLineEnd(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (isBlank(text.back()) || isLineEnd(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

/// The first place where marker opens a line, or npos. A marker inside a line
/// (an upper-case title that mentions an ORIGIN) does not count.
std::size_t lineStartOf(std::string_view text, std::string_view marker)
{
    for (std::size_t pos = text.find(marker); pos != std::string_view::npos;
         pos = text.find(marker, pos + 1)) {
        if (pos == 0 || isLineEnd(text[pos - 1])) {
            return pos;
        }
    }
    return std::string_view::npos;
}

/// Every line end with the blanks around it as one blank, whichever of LF,
/// CR LF or CR the text uses, so that a continued field reads as one line.
std::string joinLines(std::string_view text)
{
    std::string joined;
    joined.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isLineEnd(text[i])) {
            joined += text[i++];
            continue;
        }
        while (!joined.empty() && isBlank(joined.back())) {
            joined.pop_back();
        }
        while (i < text.size() && (isLineEnd(text[i]) || isBlank(text[i]))) {
            ++i;
        }
        joined += ' ';
    }
    return joined;
}

std::string definitionName(std::string_view record)
{
    const std::size_t start = lineStartOf(record, kDefinitionMarker);
    if (start == std::string_view::npos) {
        return {};
    }
    std::string_view field = record.substr(start + kDefinitionMarker.size());
    const std::size_t accession = field.find(kAccessionMarker);
    if (accession != std::string_view::npos) {
        field = field.substr(0, accession + kAccessionMarker.size());
    }
    // The markers stay outside the joining, so that a definition that starts
    // on the next line cannot swallow the marker's own blanks.
    const std::string joined = std::string(kDefinitionMarker) + joinLines(field);
    std::string name(trimmed(ExtractBetween(joined, kDefinitionMarker, kAccessionMarker)));
    if (name.size() > kNameLength) {
        name.resize(kNameLength);
    }
    return name;
}

/// The first word of the ACCESSION line (a record of merged entries lists
/// the others after it).
std::string firstAccession(std::string_view record)
{
    const std::size_t start = lineStartOf(record, kAccessionMarker);
    if (start == std::string_view::npos) {
        return {};
    }
    std::string_view rest = record.substr(start + kAccessionMarker.size());
    while (!rest.empty() && isBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    std::size_t end = 0;
    while (end < rest.size() && !isBlank(rest[end]) && !isLineEnd(rest[end])) {
        ++end;
    }
    return std::string(rest.substr(0, end));
}

} // namespace

std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end)
{
    using Index = std::ptrdiff_t;
    const auto n = static_cast<Index>(text.size());
    const auto s = static_cast<Index>(start.size());
    const auto e = static_cast<Index>(end.size());
    const Index bound = n - s - e - 1;
    Index i = 0;
    while (i < bound && text.substr(static_cast<std::size_t>(i), start.size()) != start) {
        ++i;
    }
    if (i >= bound) {
        return {};
    }
    std::string result;
    Index q = i + s;
    char c = text[static_cast<std::size_t>(q++)];
    while (q < n - e && text.substr(static_cast<std::size_t>(q), end.size()) != end) {
        if (c != '\n') {
            result += c;
        }
        c = text[static_cast<std::size_t>(q++)];
    }
    result += c;
    return result;
}

std::string DownloadServer(const core::ProfileFile& settings)
{
    const auto value = settings.Lookup(kDownloadSection, kServerKey);
    const std::string_view server = value ? trimmed(*value) : std::string_view();
    return std::string(server.empty() ? kDefaultServer : server);
}

namespace {

/// The stored "Timeout" as the settings reader reads a number (an optional
/// sign, then the digits up to the first other character), held without
/// wrapping; nothing when the key is missing or empty.
std::optional<long long> storedTimeout(const core::ProfileFile& settings)
{
    const auto value = settings.Lookup(kDownloadSection, kTimeoutKey);
    std::string_view text = value ? trimmed(*value) : std::string_view();
    if (text.empty()) {
        return std::nullopt;
    }
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    constexpr long long kLarge = 1'000'000'000'000LL;
    long long number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        number = std::min(number * 10 + (c - '0'), kLarge);
    }
    return negative ? -number : number;
}

bool usable(long long seconds)
{
    return seconds >= kMinTimeout.count() && seconds <= kMaxTimeout.count();
}

} // namespace

std::chrono::seconds DownloadTimeout(const core::ProfileFile& settings)
{
    const auto seconds = storedTimeout(settings);
    return seconds && usable(*seconds) ? std::chrono::seconds(*seconds) : kDefaultTimeout;
}

std::optional<std::string> RefusedDownloadTimeout(const core::ProfileFile& settings)
{
    const auto seconds = storedTimeout(settings);
    if (!seconds || usable(*seconds)) {
        return std::nullopt;
    }
    const std::string range = std::to_string(kMinTimeout.count()) + " to " +
                              std::to_string(kMaxTimeout.count()) + " seconds";
    return core::msg::RefusedSettingRange(
        kDownloadSection, kTimeoutKey, trimmed(*settings.Lookup(kDownloadSection, kTimeoutKey)),
        range, std::to_string(kDefaultTimeout.count()) + " seconds");
}

std::optional<std::chrono::seconds> ParseTimeout(std::string_view text)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    long long seconds = 0;
    for (const char c : text) {
        seconds = seconds * 10 + (c - '0');
    }
    if (!usable(seconds)) {
        return std::nullopt;
    }
    return std::chrono::seconds(seconds);
}

bool IsServerAddress(std::string_view text)
{
    const auto startsWith = [text](std::string_view scheme) {
        return text.size() > scheme.size() &&
               std::equal(scheme.begin(), scheme.end(), text.begin(), [](char a, char b) {
                   return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b + 32) : b);
               });
    };
    std::size_t hostStart = 0;
    if (startsWith("http://")) {
        hostStart = 7;
    } else if (startsWith("https://")) {
        hostStart = 8;
    } else {
        return false;
    }
    const char first = text[hostStart];
    return first != '/' && first != ':' && first != '?' && first != '#' && !isBlank(first);
}

void SetDownloadSettings(core::ProfileText& text, std::string_view server,
                         std::chrono::seconds timeout)
{
    server = trimmed(server);
    text.Set(kDownloadSection, kServerKey,
             server.empty() ? std::nullopt : std::optional<std::string_view>(server));
    text.Set(kDownloadSection, kTimeoutKey, std::to_string(timeout.count()));
}

std::string PercentEncode(std::string_view text)
{
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

namespace {

std::string withSlash(std::string_view server)
{
    std::string base(server);
    if (base.empty() || base.back() != '/') {
        base += '/';
    }
    return base;
}

} // namespace

std::string SearchUrl(std::string_view server, std::string_view accession)
{
    return withSlash(server) + "esearch.fcgi?db=protein&term=" + PercentEncode(accession);
}

std::string RecordUrl(std::string_view server, std::string_view id)
{
    return withSlash(server) + "efetch.fcgi?db=protein&id=" + PercentEncode(id) +
           "&rettype=gp&retmode=text";
}

bool IsBlankAccession(std::string_view accession)
{
    return std::all_of(accession.begin(), accession.end(),
                       [](char c) { return isBlank(c) || isLineEnd(c) || c == '\f' || c == '\v'; });
}

std::string WithoutXmlComments(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (;;) {
        const std::size_t open = text.find("<!--");
        kept.append(text.substr(0, open));
        if (open == std::string_view::npos) {
            return kept;
        }
        const std::size_t close = text.find("-->", open + 4);
        if (close == std::string_view::npos) {
            return kept;
        }
        text.remove_prefix(close + 3);
    }
}

std::optional<std::string> FirstSearchId(std::string_view reply)
{
    std::string id = ExtractBetween(WithoutXmlComments(reply), "<Id>", "</Id>");
    const bool digits =
        std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (id.empty() || id.size() > kIdLength || !digits) {
        return std::nullopt;
    }
    return id;
}

bool SearchFoundNothing(std::string_view reply)
{
    const std::string text = WithoutXmlComments(reply);
    constexpr std::string_view kCount = "<Count>";
    if (text.find("<eSearchResult") == std::string::npos ||
        text.find("<Id>") != std::string::npos) {
        return false;
    }
    const std::size_t start = text.find(kCount);
    const std::size_t end = start == std::string::npos ? start : text.find("</Count>", start);
    if (end == std::string::npos) {
        return false;
    }
    const std::size_t from = start + kCount.size();
    return trimmed(std::string_view(text).substr(from, end - from)) == "0";
}

std::optional<GenPeptEntry> ReadGenPept(std::string_view record)
{
    if (!trimmed(record).starts_with("LOCUS")) {
        return std::nullopt;
    }
    GenPeptEntry entry;
    entry.name = definitionName(record);
    if (entry.name.empty()) {
        return std::nullopt;
    }
    const std::size_t origin = lineStartOf(record, kOriginMarker);
    if (origin == std::string_view::npos) {
        return std::nullopt;
    }
    entry.residues = ExtractBetween(record.substr(origin), kOriginMarker, kRecordEndMarker);
    const bool anyLetter = std::any_of(entry.residues.begin(), entry.residues.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    if (!anyLetter) {
        return std::nullopt;
    }
    entry.accession = firstAccession(record);
    return entry;
}

} // namespace quorin::shell
