#include "core/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace quorin::core {
namespace {

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

/// printf into a std::string in the C locale.
template <typename... Args>
std::string formatC(const char* format, Args... args)
{
    const locale_t previous = uselocale(cLocale());
    char buffer[512];
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
    uselocale(previous);
    if (length < 0) {
        return {};
    }
    if (static_cast<std::size_t>(length) < sizeof buffer) {
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    std::string big(static_cast<std::size_t>(length) + 1, '\0');
    uselocale(cLocale());
    std::snprintf(big.data(), big.size(), format, args...);
    uselocale(previous);
    big.resize(static_cast<std::size_t>(length));
    return big;
}

void trimFraction(std::string& digits)
{
    if (digits.find('.') == std::string::npos) {
        return;
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (!digits.empty() && digits.back() == '.') {
        digits.pop_back();
    }
}

/// Turns glibc's "1.5E+03" into "1.5E+003" and drops trailing mantissa zeros.
std::string widenExponent(const std::string& text)
{
    const auto ePos = text.find('E');
    if (ePos == std::string::npos) {
        std::string fixed = text;
        trimFraction(fixed);
        return fixed;
    }
    std::string mantissa = text.substr(0, ePos);
    trimFraction(mantissa);
    const char sign = text[ePos + 1];
    const std::string digits = text.substr(ePos + 2);
    std::string result = mantissa;
    result += 'E';
    result += sign;
    result.append(digits.size() < 3 ? 3 - digits.size() : 0, '0');
    result += digits;
    return result;
}

} // namespace

double ParseLeadingDouble(std::string_view text)
{
    // strtod needs a terminated string; numbers longer than this are not numbers a user types.
    char buffer[128];
    const std::size_t length = std::min(text.size(), sizeof buffer - 1);
    text.copy(buffer, length);
    buffer[length] = '\0';
    return strtod_l(buffer, nullptr, cLocale());
}

int ParseLeadingInt(std::string_view text)
{
    char buffer[128];
    const std::size_t length = std::min(text.size(), sizeof buffer - 1);
    text.copy(buffer, length);
    buffer[length] = '\0';
    const long long value = std::strtoll(buffer, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

bool IsAllDigits(std::string_view text)
{
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::string FormatSignificant(double value, int n)
{
    if (value == 0.0 || !std::isfinite(value)) {
        return value == 0.0 ? "0" : formatC("%G", value);
    }
    const double magnitude = std::fabs(value);
    const int e = static_cast<int>(std::trunc(std::log10(magnitude)));
    if (e < -4 || e >= n) {
        return widenExponent(formatC("%.*E", std::max(n - 1, 0), value));
    }
    const int decimals = magnitude >= 1.0 ? n - (e + 1) : n - e;
    std::string text = formatC("%.*f", std::max(decimals, 0), value);
    trimFraction(text);
    return text == "-0" ? std::string("0") : text;
}

std::string FormatGeneral(double value, int n)
{
    return widenExponent(formatC("%.*G", std::max(n, 1), value));
}

std::string FormatOneDecimal(double value)
{
    std::string text = formatC("%.1f", value);
    if (text.rfind("0.", 0) == 0) {
        text.erase(0, 1);
    } else if (text.rfind("-0.", 0) == 0) {
        text.erase(1, 1);
    }
    return text;
}

} // namespace quorin::core
