#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace quorin::core {
namespace {

TEST(NumberTextTest, FormatSignificantKnownAnswers)
{
    const struct
    {
        double value;
        int n;
        const char* text;
    } rows[] = {
        {6.234, 3, "6.23"},
        {10.47, 3, "10.5"},
        {1234.5, 3, "1.23E+003"},
        {0.57, 1, "0.6"},
        {8.0, 1, "8"},
        {11.4503816793893, 3, "11.5"},
        {0.0, 3, "0"},
        {-2.5, 3, "-2.5"},
        {0.0123456, 3, "0.0123"},
        {0.000012345, 3, "0.0000123"},
        {0.0000012345, 3, "1.23E-006"},
        {28257.2, 5, "28257"},
        {999.6, 3, "1000"},
        {1.0, 3, "1"},
        {120.0, 3, "120"},
        {59.64, 3, "59.6"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(FormatSignificant(row.value, row.n), row.text);
    }
}

TEST(NumberTextTest, FormatGeneralIsTheStoredForm)
{
    EXPECT_EQ(FormatGeneral(7.4, 3), "7.4");
    EXPECT_EQ(FormatGeneral(7.0, 3), "7");
    EXPECT_EQ(FormatGeneral(-0.90, 4), "-0.9");
    EXPECT_EQ(FormatGeneral(0.125, 5), "0.125");
    EXPECT_EQ(FormatGeneral(123456.0, 5), "1.2346E+005");
    EXPECT_EQ(FormatGeneral(0.00001, 3), "1E-005");
    EXPECT_EQ(FormatGeneral(79.98, 3), "80");
    EXPECT_EQ(FormatGeneral(42.04, 0), "4E+001");
}

TEST(NumberTextTest, OneDecimalDropsTheLeadingZero)
{
    EXPECT_EQ(FormatOneDecimal(0.5), ".5");
    EXPECT_EQ(FormatOneDecimal(1234.56), "1234.6");
    EXPECT_EQ(FormatOneDecimal(18.02), "18.0");
}

TEST(NumberTextTest, OneDecimalRoundsTheExactValueHalfAwayFromZero)
{
    const struct
    {
        double value;
        const char* text;
    } rows[] = {
        {0.0, ".0"},
        {1.0, "1.0"},
        {0.04, ".0"},
        {-0.04, ".0"}, // rounds to zero: no sign
        {0.25, ".3"},  // exactly halfway: away from zero, not to even
        {0.75, ".8"},
        {1234.25, "1234.3"},
        {-1.25, "-1.3"},
        {0.15, ".1"}, // stored as 0.1499999...
        {0.45, ".5"}, // stored as 0.4500000...1
        {2.675, "2.7"},
        {99.95, "100.0"},
        {99.94999, "99.9"},
        {123456789.25, "123456789.3"},
        {1e20, "100000000000000000000.0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(FormatOneDecimal(row.value), row.text);
    }
}

/// Half away from zero on the exact decimal expansion that glibc prints.
std::string exactOneDecimal(double value)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.200f", std::fabs(value));
    std::string digits(buffer);
    const auto point = digits.find('.');
    const bool up = digits[point + 2] >= '5';
    digits.erase(point + 2);
    digits.erase(point, 1);
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i--)] = '0';
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
        } else {
            ++digits[static_cast<std::size_t>(i)];
        }
    }
    while (digits.size() > 2 && digits.front() == '0') {
        digits.erase(digits.begin());
    }
    digits.insert(digits.size() - 1, ".");
    if (digits.front() == '0') {
        digits.erase(digits.begin());
    }
    return (value < 0 && digits != ".0" ? "-" : "") + digits;
}

TEST(NumberTextTest, OneDecimalAgreesWithExactRoundingNearEveryHalf)
{
    std::mt19937_64 random(5);
    std::uniform_int_distribution<int> tenths(0, 2'000'000);
    for (int i = 0; i < 20000; ++i) {
        // Values around x.x5, where the fast path must hand over to exact rounding.
        double value = (tenths(random) + 0.5) / 10.0;
        for (int step = static_cast<int>(random() % 5); step > 0; --step) {
            value = std::nextafter(value, random() % 2 == 0 ? 0.0 : 1e300);
        }
        if (i % 7 == 0) {
            value = std::ldexp(static_cast<double>(random() % (1ULL << 40)), -12) * 5.0;
        }
        if (i % 11 == 0) {
            value = -value;
        }
        SCOPED_TRACE(value);
        ASSERT_EQ(FormatOneDecimal(value), exactOneDecimal(value));
    }
}

TEST(NumberTextTest, FixedAgreesWithTheCLibraryAcrossTheMantissaRange)
{
    const auto fixed = [](double value, int decimals) {
        char text[kFixedMaxChars];
        return std::string(text, WriteFixed(text, value, decimals));
    };
    const auto library = [](double value, int decimals) {
        char text[kFixedMaxChars + 8];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return std::string(text);
    };
    std::vector<double> values = {0.0,    -0.0,   0.005,        0.015,        0.125,       0.375,
                                  2.5,    3.5,    -2.5,         0.0049,       1e-320,      1e15,
                                  9.0e15, 1.8e16, 5e300,        1e308,        -1e308,      1e-7,
                                  99.995, 0.045,  4294967295.5, 4294967296.0, 42949672.955};
    std::mt19937_64 random(11);
    for (int i = 0; i < 30000; ++i) {
        // Binary fractions with few bits hit the halves; the rest spread over
        // every exponent the fast path takes and beyond.
        const double value = i % 3 == 0
                                 ? std::ldexp(static_cast<double>(random() % (1ULL << 20)), -3)
                                 : std::ldexp(static_cast<double>(random() >> 11), -60 + i % 80);
        values.push_back(i % 5 == 0 ? -value : value);
    }
    for (const double value : values) {
        for (int decimals = 0; decimals <= 4; ++decimals) {
            SCOPED_TRACE(value);
            SCOPED_TRACE(decimals);
            ASSERT_EQ(fixed(value, decimals), library(value, decimals));
        }
    }
    EXPECT_EQ(fixed(INFINITY, 2), "inf");
    EXPECT_EQ(fixed(-NAN, 0), "-nan");
}

TEST(NumberTextTest, LeadingNumbersAreReadLikeTheCLibrary)
{
    EXPECT_EQ(ParseLeadingDouble("  7.25abc"), 7.25);
    EXPECT_EQ(ParseLeadingDouble("abc"), 0.0);
    EXPECT_EQ(ParseLeadingDouble(""), 0.0);
    EXPECT_EQ(ParseLeadingDouble("-1e2;"), -100.0);
    EXPECT_EQ(ParseLeadingInt(" -13 px"), -13);
    EXPECT_EQ(ParseLeadingInt("x1"), 0);
    EXPECT_EQ(ParseLeadingInt("99999999999"), 2147483647);
}

} // namespace
} // namespace quorin::core
