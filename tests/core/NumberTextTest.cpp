#include "core/NumberText.h"

#include <gtest/gtest.h>

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
