#include "analysis/PhysChem.h"

#include "analysis/Titration.h"
#include "core/SequenceText.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

namespace quorin::analysis {
namespace {

core::PropertyRecord recordFor(const std::string& name, const std::string& sequence)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.SetName(name);
    record.SetSequence(sequence);
    return record;
}

TEST(PhysChemTest, CompositionRowsPadCountsAndPercentages)
{
    // 250 residues with 20 A, 2 C, 15 D and 18 E, as in the report's own example.
    std::string sequence = std::string(20, 'A') + std::string(2, 'C') + std::string(15, 'D') +
                           std::string(18, 'E') + std::string(195, 'G');
    core::PropertyRecord record = recordFor("P", sequence);
    const std::string report = PhysChemReportText(record);
    EXPECT_NE(report.find("\r\nA: 20  (8%)     C: 2   (0.8%)   D: 15  (6%)     E: 18  (7.2%) \r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("F: 0   (0%)     G: 195 (78%)    H: 0   (0%)     I: 0   (0%)   \r\n"),
              std::string::npos)
        << report;
}

TEST(PhysChemTest, WholeReportOfAShortPeptide)
{
    core::PropertyRecord record = recordFor("P1", "MKWVTFISLLLLFSSAYS");
    EXPECT_EQ(PhysChemReportText(record),
              "Physico-chemical Properties of P1\r\n"
              "*********************************\r\n"
              "\r\n"
              "Isoelectric Point: 8.75\r\n"
              "\r\n"
              "Molecular Weight: 2107 Da\r\n"
              "\r\n"
              "Molar absorption coefficient (280 nm):\r\n"
              "denatured (6M GdnHCl): 6.97 /(mM*cm)             nativ: 6.99 /(mM*cm)\r\n"
              "\r\n"
              "AA Composition: \r\n"
              "A: 1   (5.6%)   C: 0   (0%)     D: 0   (0%)     E: 0   (0%)   \r\n"
              "F: 2   (11.1%)  G: 0   (0%)     H: 0   (0%)     I: 1   (5.6%) \r\n"
              "K: 1   (5.6%)   L: 4   (22.2%)  M: 1   (5.6%)   N: 0   (0%)   \r\n"
              "P: 0   (0%)     Q: 0   (0%)     R: 0   (0%)     S: 4   (22.2%)\r\n"
              "T: 1   (5.6%)   V: 1   (5.6%)   W: 1   (5.6%)   Y: 1   (5.6%) \r\n");
}

TEST(PhysChemTest, EmptySequenceShowsZeroPercentAndWater)
{
    core::PropertyRecord record = recordFor("", "");
    const std::string report = PhysChemReportText(record);
    EXPECT_NE(report.find("Molecular Weight: 18 Da\r\n"), std::string::npos);
    EXPECT_NE(report.find("denatured (6M GdnHCl): 0 /(mM*cm)"), std::string::npos);
    EXPECT_NE(report.find("Y: 0   (0%)   \r\n"), std::string::npos);
    EXPECT_EQ(CompositionPercentages(record)[0], 0.0);
}

TEST(PhysChemTest, LargeAbsorptionPrintsInScientificForm)
{
    core::PropertyRecord record = recordFor("W", std::string(250, 'W'));
    const std::string report = PhysChemReportText(record);
    EXPECT_NE(report.find("denatured (6M GdnHCl): 1.42E+003 /(mM*cm)             nativ: "
                          "1.38E+003 /(mM*cm)\r\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("W: 250 (100%) "), std::string::npos);
}

TEST(PhysChemTest, ReportsOfRealProteinsMatchTheirGoldenFiles)
{
    for (const char* id : {"P02945", "P01308", "P42212", "Q8WZ42"}) {
        SCOPED_TRACE(id);
        const std::string fasta =
            test::ReadFile(test::DataFile(std::string("proteins/") + id + ".fasta"));
        core::PropertyRecord record;
        record.ResetCurrentTables();
        ASSERT_EQ(core::ParseSequenceText(record, core::FirstFastaRecord(fasta)), 1);
        EXPECT_EQ(PhysChemReportText(record),
                  test::ReadFile(test::DataFile(std::string("golden/props-") + id + ".txt")));
    }
}

TEST(TitrationTest, SetsCountTheirGroupsAndThePIIsNotClamped)
{
    core::PropertyRecord record = recordFor("X", "MKXXD");
    // The settings' table counts X as a C-terminus, as the report's pI does; a
    // named set charges the one real C-terminus.
    EXPECT_EQ(ChargeGroupsOf(record, PKaSet::Settings).count[8], 3.0);
    EXPECT_EQ(ChargeGroupsOf(record, PKaSet::Emboss).count[8], 1.0);
    EXPECT_NEAR(IsoelectricPointByBisection(ChargeGroupsOf(record, PKaSet::Settings)),
                record.IsoelectricPoint(), 0.005);

    record.SetSequence(std::string(30, 'R'));
    EXPECT_NEAR(IsoelectricPointByBisection(ChargeGroupsOf(record, PKaSet::Emboss)), 13.9624, 1e-4);
    ASSERT_EQ(PKaSetByName("bjellqvist"), PKaSet::Bjellqvist);
    EXPECT_EQ(PKaSetByName("Bjellqvist2"), std::nullopt);
}

TEST(TitrationTest, TableKeepsTheLastStepAndWritesNoNegativeZero)
{
    // Glycine's pI under EMBOSS is 5.55: just above it the charge is -0.0005.
    core::PropertyRecord record = recordFor("G", "G");
    const ChargeGroups groups = ChargeGroupsOf(record, PKaSet::Emboss);
    EXPECT_EQ(TitrationText(groups, 5.551, 5.551, 0.5),
              "pH\tCharge\r\n5.55\t0.00\r\nIsoelectric Point = 5.5500\r\n");
    // 6.9 + 2 x 0.1 lands a rounding error beyond 7.1.
    EXPECT_EQ(TitrationText(groups, 6.9, 7.1, 0.1),
              "pH\tCharge\r\n6.90\t-0.20\r\n7.00\t-0.24\r\n7.10\t-0.28\r\n"
              "Isoelectric Point = 5.5500\r\n");
}

} // namespace
} // namespace quorin::analysis
