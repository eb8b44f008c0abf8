#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorin::core {

/// The C library's reading of a number: leading blanks skipped, the longest
/// leading number taken, the rest ignored, 0 when there is none. Always in the
/// C locale, whatever locale the process runs in.
double ParseLeadingDouble(std::string_view text);

/// As ParseLeadingDouble for a decimal integer with optional sign; values past
/// the int range are clamped.
int ParseLeadingInt(std::string_view text);

/// True when text is not empty and every character is a decimal digit.
bool IsAllDigits(std::string_view text);

/// The significant-digit formatter of the reports. With e the decimal exponent
/// of |value| truncated toward zero, fixed notation with n - (e + 1) decimals
/// (|value| >= 1) or n - e decimals (|value| < 1); scientific ("1.23E+003")
/// when e < -4 or e >= n. Trailing zeros and a trailing point are removed;
/// zero is "0".
std::string FormatSignificant(double value, int n);

/// The C library's general conversion with n significant digits ("%.nG"), as
/// the settings file stores numbers: at least three exponent digits, a leading
/// 0 before the point, trailing zeros removed. n below 1 counts as 1.
std::string FormatGeneral(double value, int n);

/// The weight columns of the digest and ModFinder tables: the value rounded to
/// one decimal, halves away from zero (rounding the exact binary value, so
/// 0.15, stored a little below, gives ".1" and 0.25 gives ".3"), without a
/// leading zero: 0.5 gives ".5", 1 gives "1.0", 1234.56 gives "1234.6". A
/// value that rounds to zero has no sign.
std::string FormatOneDecimal(double value);

/// Room WriteOneDecimal needs: the digits of the largest double, sign and point.
inline constexpr std::size_t kOneDecimalMaxChars = 320;

/// FormatOneDecimal into out, which has room for kOneDecimalMaxChars
/// characters; returns one past the last character written. No allocation, for
/// tables of millions of rows.
char* WriteOneDecimal(char* out, double value);

/// Room WriteFixed needs: a double in fixed form with two decimals (309
/// integer digits at most), sign and point, or a 64-bit integer.
inline constexpr std::size_t kFixedMaxChars = 320;

/// value in fixed form with decimals (0 to 4), the exact binary value rounded
/// half to even as std::to_chars gives it, in any locale ("-0.00" keeps its
/// sign), into out, which has room for kFixedMaxChars characters; returns one
/// past the last character written. No allocation: the batch writes some
/// forty numbers per protein.
char* WriteFixed(char* out, double value, int decimals);

} // namespace quorin::core
