#include "core/PropertyRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quorin::core {
namespace {

PropertyRecord recordWith(const std::string& sequence)
{
    PropertyRecord record;
    record.ResetCurrentTables();
    record.SetSequence(sequence);
    return record;
}

TEST(PropertyRecordTest, OnlyResidueLettersEnterTheCleanedSequenceAndTheCounts)
{
    PropertyRecord record = recordWith("mk v\r\n12 X-o*BJUZ\tLl");
    EXPECT_EQ(record.CleanSequence(), "MKVXOLL");
    EXPECT_EQ(record.RawSequence(), "MK V\r\n12 X-O*BJUZ\tLL");
    EXPECT_EQ(record.ResidueLength(), 5);
    EXPECT_EQ(record.ResidueCount(0), 1);
    EXPECT_EQ(record.ResidueCount(IndexOfLetter('L')), 2);
    // One C-terminus plus X and O; blanks, line breaks, digits and B, J, U, Z add nothing.
    EXPECT_EQ(record.ResidueCount(21), 3);
}

TEST(PropertyRecordTest, HighBytesNeverBecomeResidues)
{
    // 0x84 loses 0x20 and turns into 'd', but it was no letter.
    const std::string text = std::string("A") + static_cast<char>(0x84) + "C";
    PropertyRecord record = recordWith(text);
    EXPECT_EQ(record.CleanSequence(), "AC");
    EXPECT_EQ(record.ResidueLength(), 2);
    EXPECT_EQ(record.RawSequence()[1], 'd');
}

TEST(PropertyRecordTest, LineLengthDoesNotChangeTheIsoelectricPoint)
{
    const std::string sequence = "MKWVTFISLLLLFSSAYSRGVFRRDTHKSEIAHRFKDLGEEHFKGLVLIAFSQYLQQCPFDEH";
    std::string wrapped;
    for (std::size_t i = 0; i < sequence.size(); i += 10) {
        wrapped += sequence.substr(i, 10) + "\r\n";
    }
    PropertyRecord flat = recordWith(sequence);
    PropertyRecord broken = recordWith(wrapped);
    EXPECT_EQ(flat.IsoelectricPoint(), broken.IsoelectricPoint());
    EXPECT_EQ(flat.MolecularWeight(), broken.MolecularWeight());
}

TEST(PropertyRecordTest, CountsHoldProteinsLongerThanSixteenBits)
{
    PropertyRecord record = recordWith(std::string(40000, 'A') + std::string(30000, 'X'));
    EXPECT_EQ(record.ResidueCount(1), 40000);
    EXPECT_EQ(record.ResidueCount(21), 30001);
    EXPECT_EQ(record.ResidueLength(), 40000);
    EXPECT_NEAR(record.MolecularWeight(), 18.02 + 40000 * 71.09, 1e-6);
}

TEST(PropertyRecordTest, IsoelectricPointKnownAnswers)
{
    struct Row
    {
        const char* sequence;
        double pI;
    };
    // Hand-checked on the 0.01 grid with the default pKa table.
    const Row rows[] = {{"", 5.65}, {"G", 5.65}, {"K", 9.1}, {"KD", 5.83}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sequence);
        PropertyRecord record = recordWith(row.sequence);
        EXPECT_NEAR(record.IsoelectricPoint(), row.pI, 1e-9);
    }
}

TEST(PropertyRecordTest, XAddsACTerminalCharge)
{
    PropertyRecord plain = recordWith("GGG");
    PropertyRecord withX = recordWith("GXG");
    EXPECT_LT(withX.IsoelectricPoint(), plain.IsoelectricPoint());
    // ... but no mass: X is no residue of the whole-sequence weight.
    EXPECT_NEAR(withX.MolecularWeight(), 18.02 + 2 * 57.05, 1e-9);
}

TEST(PropertyRecordTest, UnbalancedChargesFallBackToTheSmallestCharge)
{
    // 300 arginines keep |Z| above 100 up to pH 12.99; the grid pH of the
    // smallest |Z| is the last one.
    PropertyRecord record = recordWith(std::string(300, 'R'));
    EXPECT_NEAR(record.IsoelectricPoint(), 12.99, 1e-9);
}

TEST(PropertyRecordTest, PICacheIsClearedBySetSequenceOnly)
{
    PropertyRecord record = recordWith("DDDD");
    const double acidic = record.IsoelectricPoint();
    record.pKa[3] = 9.0;
    EXPECT_EQ(record.IsoelectricPoint(), acidic);
    record.SetSequence("DDDD");
    EXPECT_GT(record.IsoelectricPoint(), acidic);
}

TEST(PropertyRecordTest, WeightsAndAbsorption)
{
    PropertyRecord record = recordWith("ACWYX");
    EXPECT_NEAR(record.MolecularWeight(), 18.02 + 71.09 + 103.15 + 186.21 + 163.18, 1e-9);
    EXPECT_NEAR(record.StretchWeight(1, 2), 18.02 + 103.15 + 186.21, 1e-9);
    EXPECT_NEAR(record.StretchWeight(4, 4), 18.02, 1e-9);
    EXPECT_EQ(record.StretchWeight(3, 2), 18.02);
    EXPECT_NEAR(record.AbsorptionDenatured(), 0.12 + 5.69 + 1.28, 1e-12);
    EXPECT_NEAR(record.AbsorptionNative(), 0.125 + 5.5 + 1.49, 1e-12);

    PropertyRecord none = recordWith("GASP");
    EXPECT_EQ(none.AbsorptionDenatured(), 0.0);
    EXPECT_EQ(none.AbsorptionNative(), 0.0);
}

TEST(PropertyRecordTest, SetNameStripsEveryLeadingMark)
{
    PropertyRecord record;
    record.SetName(">>P1 > kinase");
    EXPECT_EQ(record.Name(), "P1 > kinase");
}

TEST(PropertyRecordTest, ActiveRecordIsTheOneLastMadeActive)
{
    PropertyRecord first;
    PropertyRecord second;
    SetActiveRecord(&first);
    SetActiveRecord(&second);
    EXPECT_EQ(ActiveRecord(), &second);
    SetActiveRecord(nullptr);
}

} // namespace
} // namespace quorin::core
