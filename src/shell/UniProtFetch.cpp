#include "shell/UniProtFetch.h"

#include "shell/GenPept.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

namespace quorin::shell {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

int monthNumber(const char* name)
{
    constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto found = std::find(kMonths.begin(), kMonths.end(), std::string_view(name));
    return found == kMonths.end() ? -1 : static_cast<int>(found - kMonths.begin());
}

/// The three date forms HTTP allows, in UTC.
std::optional<std::time_t> httpDate(const std::string& text)
{
    std::tm time{};
    char weekday[16] = {};
    char month[4] = {};
    char zone[4] = {};
    int consumed = 0;
    const char* c = text.c_str();
    const auto whole = [&] { return static_cast<std::size_t>(consumed) == text.size(); };
    if (std::sscanf(c, "%15[A-Za-z], %2d %3s %4d %2d:%2d:%2d %3s%n", weekday, &time.tm_mday, month,
                    &time.tm_year, &time.tm_hour, &time.tm_min, &time.tm_sec, zone,
                    &consumed) == 8 &&
        whole()) {
        time.tm_year -= 1900;
    } else if (std::sscanf(c, "%15[A-Za-z], %2d-%3s-%2d %2d:%2d:%2d %3s%n", weekday, &time.tm_mday,
                           month, &time.tm_year, &time.tm_hour, &time.tm_min, &time.tm_sec, zone,
                           &consumed) == 8 &&
               whole()) {
        // Two-digit years: RFC 9110 reads one more than 50 years ahead as past.
        time.tm_year += time.tm_year < 70 ? 100 : 0;
    } else if (std::sscanf(c, "%15s %3s %2d %2d:%2d:%2d %4d%n", weekday, month, &time.tm_mday,
                           &time.tm_hour, &time.tm_min, &time.tm_sec, &time.tm_year,
                           &consumed) == 7 &&
               whole()) {
        time.tm_year -= 1900;
        zone[0] = 'G', zone[1] = 'M', zone[2] = 'T';
    } else {
        return std::nullopt;
    }
    time.tm_mon = monthNumber(month);
    if (time.tm_mon < 0 || std::string_view(zone) != "GMT" || time.tm_mday < 1 ||
        time.tm_mday > 31 || time.tm_hour > 23 || time.tm_min > 59 || time.tm_sec > 60) {
        return std::nullopt;
    }
    return timegm(&time);
}

} // namespace

std::string UniProtServer(const core::ProfileFile& settings)
{
    const auto value = settings.Lookup(kDownloadSection, kUniProtServerKey);
    const std::string_view server = value ? trimmed(*value) : std::string_view();
    return std::string(server.empty() ? kDefaultUniProtServer : server);
}

void SetUniProtServer(core::ProfileText& text, std::string_view server)
{
    server = trimmed(server);
    text.Set(kDownloadSection, kUniProtServerKey,
             server.empty() ? std::nullopt : std::optional<std::string_view>(server));
}

std::string UniProtEntryUrl(std::string_view server, std::string_view accession)
{
    std::string url(server);
    while (url.ends_with('/')) {
        url.pop_back();
    }
    return url + "/uniprotkb/" + PercentEncode(accession) + ".txt";
}

std::optional<std::chrono::seconds> RetryAfter(std::string_view header,
                                               std::chrono::system_clock::time_point now)
{
    header = trimmed(header);
    if (header.empty()) {
        return std::nullopt;
    }
    if (std::all_of(header.begin(), header.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        // Anything past a day is as good as for ever; the digits never wrap.
        if (header.size() > 6) {
            return std::chrono::seconds(86400);
        }
        return std::chrono::seconds(std::stoi(std::string(header)));
    }
    const auto date = httpDate(std::string(header));
    if (!date) {
        return std::nullopt;
    }
    const auto left = std::chrono::system_clock::from_time_t(*date) - now;
    return std::max(std::chrono::seconds(0), std::chrono::ceil<std::chrono::seconds>(left));
}

std::chrono::seconds RetryDelay(int retry, std::optional<std::chrono::seconds> asked,
                                std::chrono::seconds waited)
{
    const std::chrono::seconds wanted =
        asked ? *asked : std::chrono::seconds(1LL << std::clamp(retry, 0, 10));
    const std::chrono::seconds left = std::max(std::chrono::seconds(0), kMaxRetryWait - waited);
    return std::clamp(wanted, std::chrono::seconds(0), left);
}

bool IsRetryStatus(int status)
{
    return status == 429 || status == 503;
}

} // namespace quorin::shell
