#include "core/NumberText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string_view>

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

/// "00" to "99", two characters each.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

/// Writes value with Decimals (0 to 2) at out exactly as std::to_chars in
/// fixed form would (the binary value rounded half to even), by integer
/// arithmetic on its mantissa; the general formatter is several times slower
/// and the batch writes some forty numbers per protein. Returns the end of the
/// text, or nullptr for a value it does not take (not finite, too large).
template <int Decimals>
char* writeFixedFast(char* out, double value)
{
    static_assert(Decimals >= 0 && Decimals <= 2);
    constexpr std::uint64_t kPower = Decimals == 0 ? 1 : Decimals == 1 ? 10 : 100;
    if (!std::isfinite(value)) {
        return nullptr;
    }
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponentBits = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = 0;
    if (exponentBits == 0) {
        exponent = -1074;
    } else {
        mantissa |= std::uint64_t{1} << 52;
        exponent = exponentBits - 1075;
    }
    // value = mantissa * 2^exponent, and mantissa * 100 < 2^60.
    const std::uint64_t scaled = mantissa * kPower;
    std::uint64_t rounded = 0;
    if (exponent >= 0) {
        if (exponent > 3) {
            return nullptr;
        }
        rounded = scaled << exponent;
    } else if (-exponent <= 60) {
        const int shift = -exponent;
        rounded = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (rounded & 1) != 0)) {
            ++rounded;
        }
    }
    // else below half of the last place: zero.
    if (negative) {
        *out++ = '-';
    }
    // Nearly every value fits 32 bits, whose division by a constant is a
    // short multiplication.
    std::uint64_t integral =
        rounded <= UINT32_MAX
            ? std::uint64_t{static_cast<std::uint32_t>(rounded) / std::uint32_t{kPower}}
            : rounded / kPower;
    const std::uint64_t fraction = rounded - integral * kPower;
    int digits = 1;
    for (std::uint64_t rest = integral; rest >= 10; rest /= 10) {
        ++digits;
    }
    // The integer part from its back, two digits at a time.
    char* p = out + digits;
    while (integral >= 10) {
        p -= 2;
        std::memcpy(p, &kDigitPairs[2 * (integral % 100)], 2);
        integral /= 100;
    }
    if (p != out) {
        *--p = static_cast<char>('0' + integral);
    }
    out += digits;
    if constexpr (Decimals > 0) {
        *out++ = '.';
        if constexpr (Decimals == 1) {
            *out++ = static_cast<char>('0' + fraction);
        } else {
            std::memcpy(out, &kDigitPairs[2 * fraction], 2);
            out += 2;
        }
    }
    return out;
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

char* WriteOneDecimal(char* out, double value)
{
    char* const limit = out + kOneDecimalMaxChars;
    if (!std::isfinite(value)) {
        return std::to_chars(out, limit, value).ptr;
    }
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    // Fast path: below 1e8 the product magnitude x 10 is within 1.2e-7 of the
    // exact one, so a fraction clearly away from one half rounds the same way
    // as the exact value would.
    if (magnitude < 1e8) {
        const double scaled = magnitude * 10.0;
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) > 1e-6) {
            const auto tenths = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1U : 0U);
            if (negative && tenths != 0) {
                *out++ = '-';
            }
            char digits[24];
            const char* const digitsEnd = std::to_chars(digits, digits + sizeof digits, tenths).ptr;
            out = std::copy(static_cast<const char*>(digits), digitsEnd - 1, out);
            *out++ = '.';
            *out++ = digitsEnd[-1];
            return out;
        }
    }

    // Exact path: to_chars rounds the exact binary value correctly but sends
    // halves to even. A value exactly halfway between two tenths ends in .25 or
    // .75 (no other x.x5 is a binary fraction); .75 already goes up to .8.
    char text[kOneDecimalMaxChars];
    char* end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::fixed, 1).ptr;
    const double fraction = magnitude - std::floor(magnitude);
    if (fraction == 0.25 && end[-1] == '2') {
        end[-1] = '3';
    }
    const char* begin = text;
    if (begin[0] == '0' && begin[1] == '.') {
        ++begin;
    }
    const bool zero = std::string_view(begin, end) == ".0";
    if (negative && !zero) {
        *out++ = '-';
    }
    return std::copy(static_cast<const char*>(begin), static_cast<const char*>(end), out);
}

std::string FormatOneDecimal(double value)
{
    char text[kOneDecimalMaxChars];
    return std::string(text, WriteOneDecimal(text, value));
}

char* WriteFixed(char* out, double value, int decimals)
{
    char* end = nullptr;
    switch (decimals) {
    case 0:
        end = writeFixedFast<0>(out, value);
        break;
    case 1:
        end = writeFixedFast<1>(out, value);
        break;
    case 2:
        end = writeFixedFast<2>(out, value);
        break;
    default:
        break;
    }
    if (end != nullptr) {
        return end;
    }
    return std::to_chars(out, out + kFixedMaxChars, value, std::chars_format::fixed, decimals).ptr;
}

} // namespace quorin::core
