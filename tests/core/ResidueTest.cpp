#include "core/Residue.h"

#include "core/PropertyRecord.h"

#include <gtest/gtest.h>

#include <string>

namespace quorin::core {
namespace {

TEST(ResidueTest, LowerCaseLettersUpperCaseToTheTwentySlotsInOrder)
{
    const std::string lower = "acdefghiklmnpqrstvwy";
    for (std::size_t i = 0; i < lower.size(); ++i) {
        SCOPED_TRACE(lower[i]);
        const char upper = UpperCaseResidue(lower[i]);
        EXPECT_EQ(upper, kResidueLetters[i]);
        EXPECT_EQ(IndexOfLetter(upper), static_cast<int>(i) + 1);
        EXPECT_EQ(LetterOfIndex(static_cast<int>(i) + 1), upper);
        // Not yet upper-cased, a lower-case letter is no residue slot.
        EXPECT_EQ(IndexOfLetter(lower[i]), kCTerminus);
    }
}

TEST(ResidueTest, NonStandardCharactersGoToSlot21AndOnlyXAndOPassTheResidueTest)
{
    const struct
    {
        char c;
        bool residue;
    } rows[] = {{'X', true},  {'O', true},  {'x', true},  {'o', true},   {'B', false},
                {'J', false}, {'U', false}, {'Z', false}, {'b', false},  {'*', false},
                {'-', false}, {'1', false}, {' ', false}, {'\r', false}, {'\n', false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("character ") + row.c);
        EXPECT_EQ(IndexOfLetter(row.c), kCTerminus);
        EXPECT_EQ(LetterOfIndex(IndexOfLetter(row.c)), '>');
        EXPECT_EQ(IsResidueLetter(row.c), row.residue);
    }
}

TEST(ResidueTest, LetterOfIndexShowsTheTermini)
{
    EXPECT_EQ(LetterOfIndex(0), '<');
    EXPECT_EQ(LetterOfIndex(21), '>');
    EXPECT_EQ(LetterOfIndex(22), '>');
}

TEST(ResidueTest, UpperCasingShiftsEveryCodeAbove0x60)
{
    EXPECT_EQ(UpperCaseResidue('{'), '[');
    EXPECT_EQ(static_cast<unsigned char>(UpperCaseResidue(static_cast<char>(0xE1))), 0xC1);
    EXPECT_EQ(UpperCaseResidue('`'), '`');
    EXPECT_EQ(UpperCaseResidue('A'), 'A');
}

TEST(ResidueTest, DefaultColoursFollowTheResidueClasses)
{
    const struct
    {
        char letter;
        COLORREF colour;
    } rows[] = {{'D', 0xFA0000}, {'E', 0xFA0000}, {'K', 0x0000FA}, {'R', 0x0000FA},
                {'H', 0x00FA00}, {'N', 0x00FA00}, {'Q', 0x00FA00}, {'S', 0x00FA00},
                {'T', 0x00FA00}, {'A', 0x323232}, {'W', 0x323232}, {'Y', 0x323232}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.letter);
        EXPECT_EQ(DefaultResidueColour(IndexOfLetter(row.letter)), row.colour);
    }
    EXPECT_EQ(DefaultResidueColour(0), 0x323232u);
    EXPECT_EQ(DefaultResidueColour(21), 0x323232u);
}

TEST(ResidueTest, NewRecordHasDefaultTablesButNoCurrentTables)
{
    PropertyRecord record;
    EXPECT_EQ(record.defaultPKa[0], 7.4);
    EXPECT_EQ(record.defaultPKa[21], 3.9);
    EXPECT_EQ(record.defaultPKa[1], 7.0);
    EXPECT_EQ(record.defaultResidueMass[19], 186.21);
    EXPECT_EQ(record.defaultAbsorptionNative[2], 0.125);
    EXPECT_EQ(record.colours[4], 0xFA0000u);
    ASSERT_EQ(record.builtinScales.size(), 2u);
    EXPECT_EQ(record.builtinScales[0].name, "Kyte and Doolittle (1982)");
    EXPECT_EQ(record.builtinScales[1].values[3], -0.90);
    EXPECT_EQ(record.plotLineWidth, 1);
    EXPECT_EQ(record.pKa, ResidueTable{});

    record.ResetCurrentTables();
    EXPECT_EQ(record.pKa, record.defaultPKa);
    EXPECT_EQ(record.residueMass, record.defaultResidueMass);
    EXPECT_EQ(record.absorptionDenatured, record.defaultAbsorptionDenatured);
    EXPECT_EQ(record.absorptionNative, record.defaultAbsorptionNative);
}

} // namespace
} // namespace quorin::core
