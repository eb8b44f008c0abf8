#include "analysis/ModFinder.h"

#include "analysis/Digest.h"
#include "core/Residue.h"
#include "core/SequenceText.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <tuple>

namespace quorin::analysis {
namespace {

using core::MODFRAG;

/// "MKSAK" with M 100, K 100.25, S 50, A 25: Trypsin cuts after residue 2 only
/// (never after the last), giving MK 218.27, SAK 193.27 and MKSAK 393.27.
core::PropertyRecord smallDigest()
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.residueMass[static_cast<std::size_t>(core::IndexOfLetter('M'))] = 100.0;
    record.residueMass[static_cast<std::size_t>(core::IndexOfLetter('K'))] = 100.25;
    record.residueMass[static_cast<std::size_t>(core::IndexOfLetter('S'))] = 50.0;
    record.residueMass[static_cast<std::size_t>(core::IndexOfLetter('A'))] = 25.0;
    record.SetName("pep");
    record.SetSequence("MKSAK");
    record.modifications = {{"Phospho", "S,T", 79.97}, {"Acetyl", "K", 42.01}};
    Digest(record, "K!;R!");
    return record;
}

TEST(ModFinderTest, ReportListsMatchesHeaviestFirstPerModification)
{
    core::PropertyRecord record = smallDigest();
    SelectModifications(record, {"Phospho", "Acetyl", "Unknown"});
    FindModifications(record, 273.27, 30.0);
    // Acetyl stops at SAK (too light); the K ending MK counts as its site.
    EXPECT_EQ(ModReportText(record, false),
              "Search for modifications of pep\r\n"
              "*******************************\r\n"
              "\r\n"
              "\r\n"
              "Selected modifications (specificity; MW)\r\n"
              "----------------------------------------\r\n"
              "Phospho             (S,T; 80)\r\n"
              "Acetyl              (K; 42)\r\n"
              "\r\n"
              "MW of unknown fragment (Uncertainty)\r\n"
              "------------------------------------\r\n"
              "273.3 (30.0)\r\n"
              "\r\n"
              "\r\n"
              "List of potentially modified fragments\r\n"
              "--------------------------------------\r\n"
              "(+/-: Fragment does/ does not contain potential attachment sequences)\r\n"
              "\r\n"
              " Start  |  End   | MW (theoret.)| +/- | Modification\r\n"
              "----------------------------------------------------\r\n"
              " 1      |  2     |  298.2       |  -  |  Phospho\r\n"
              " 3      |  5     |  273.2       |  +  |  Phospho\r\n"
              " 1      |  2     |  260.3       |  +  |  Acetyl\r\n");

    FindModifications(record, 435.28, 0.5);
    ASSERT_EQ(record.modFinder.matches.size(), 1u);
    EXPECT_EQ(record.modFinder.matches[0].end, 4);
    EXPECT_EQ(ModReportText(record, true).find(" 1      |  5"), std::string::npos);
}

TEST(ModFinderTest, BothBoundsAreInclusive)
{
    core::PropertyRecord record = smallDigest();
    SelectModifications(record, {"Acetyl"});
    const double theoretical = record.digest.fragments[1].mw + 42.01; // MK
    for (const auto& [weight, uncertainty, hits] : {std::tuple{theoretical, 0.0, 1},
                                                    {theoretical - 0.25, 0.25, 1},
                                                    {theoretical + 0.25, 0.25, 1},
                                                    {theoretical + 0.5, 0.25, 0}}) {
        SCOPED_TRACE(testing::Message() << weight << " +/- " << uncertainty);
        FindModifications(record, weight, uncertainty);
        EXPECT_EQ(record.modFinder.matches.size(), static_cast<std::size_t>(hits));
    }
}

TEST(ModFinderTest, MatchesStayBoundToTheirFragmentsWhateverTheDigestOrder)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    const std::string text = test::ReadFile(test::DataFile("proteins/P02945.fasta"));
    ASSERT_EQ(core::ParseSequenceText(record, core::FirstFastaRecord(text)), 1);
    record.modifications = {{"Ox", "M", 16.0}, {"Me", "K,R", 14.02}};
    Digest(record, "K!;R!");
    SelectModifications(record, {"Ox", "Me"});
    FindModifications(record, 3560.0, 40.0);
    const std::vector<MODFRAG> byWeight = record.modFinder.matches;
    ASSERT_GT(byWeight.size(), 3u);
    for (const MODFRAG& match : byWeight) {
        EXPECT_EQ(record.digest.fragments[static_cast<std::size_t>(match.fragment)].start,
                  match.start);
    }
    const std::string report = ModReportText(record, false);

    SortFragments(record, SortMode::ByStart);
    EXPECT_EQ(ModReportText(record, false), report);
    FindModifications(record, 3560.0, 40.0);
    ASSERT_EQ(record.modFinder.matches.size(), byWeight.size());
    for (std::size_t i = 0; i < byWeight.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(record.modFinder.matches[i].fragment, byWeight[i].fragment);
        EXPECT_EQ(record.modFinder.matches[i].start, byWeight[i].start);
        EXPECT_EQ(record.modFinder.matches[i].end, byWeight[i].end);
    }
}

TEST(ModFinderTest, AttachmentSiteOverlappingTheFragment)
{
    // MKSAGTN: positions 0..6.
    for (const auto& [start, end, specificity, expected] :
         {std::tuple{0, 1, "K", true}, // in the last residue of the fragment
          {1, 1, "K", true},
          {2, 3, "MK", false},
          {2, 3, "KS", true}, // begins before the fragment
          {5, 6, "TN", true},
          {6, 6, "NX", false}, // would reach past the end
          {2, 5, ",,G", true}, // empty entries skipped
          {2, 5, ",", false},
          {3, 2, "S", false}, // an empty fragment holds nothing
          {0, 6, "XXXXXXXX", false}}) {
        SCOPED_TRACE(testing::Message() << start << ".." << end << " " << specificity);
        EXPECT_EQ(ContainsAttachmentSite("MKSAGTN", start, end, specificity), expected);
    }
}

TEST(ModFinderTest, DialogChecksInOrder)
{
    using F = ModFinderFault;
    for (const auto& [names, weight, uncertainty, fault] :
         {std::tuple{std::vector<std::string>{}, "", "", F::NoSelection},
          {std::vector<std::string>{"A"}, "", "1.0", F::InvalidWeight},
          {std::vector<std::string>{"A"}, "-5", "1.0", F::InvalidWeight},
          {std::vector<std::string>{"A"}, "1e3", "1.0", F::InvalidWeight},
          {std::vector<std::string>{"A"}, "1.2.3", "", F::InvalidUncertainty},
          {std::vector<std::string>{"A"}, "1.2.3", "0", F::None}}) {
        SCOPED_TRACE(testing::Message() << weight << " / " << uncertainty);
        EXPECT_EQ(CheckModFinderInput(names, weight, uncertainty), fault);
    }
    EXPECT_DOUBLE_EQ(WeightFromText("1.2.3"), 1.2);
    EXPECT_EQ(ModFinderFaultMessage(F::NoSelection), "Select an modification!");
    EXPECT_EQ(ModFinderFaultMessage(F::InvalidUncertainty), "Enter a valid number as weight !");
    EXPECT_EQ(ModificationMassText(79.97), "80");
    EXPECT_EQ(ModificationMassText(42.01), "42");
    EXPECT_EQ(ModificationMassText(0.0), "0");
}

} // namespace
} // namespace quorin::analysis
