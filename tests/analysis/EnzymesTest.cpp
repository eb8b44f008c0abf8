#include "analysis/Enzymes.h"

#include "core/SequenceText.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace quorin::analysis {
namespace {

const Enzyme& enzyme(std::string_view name)
{
    const Enzyme* found = FindEnzyme(name);
    EXPECT_NE(found, nullptr) << name;
    return found != nullptr ? *found : EnzymeLibrary().front();
}

std::vector<std::tuple<int, int, int>> peptidesOf(const PeptidePlan& plan)
{
    std::vector<std::tuple<int, int, int>> peptides;
    plan.ForEach([&](const Peptide& p) { peptides.emplace_back(p.start, p.end, p.missed); });
    return peptides;
}

TEST(EnzymesTest, SitesFollowEachRuleAndItsExceptions)
{
    struct Case
    {
        std::string_view enzyme;
        std::string_view sequence;
        std::vector<int> sites;
    };
    const Case cases[] = {
        // Not before P; a final K or R leaves no bond to cut.
        {"Trypsin", "AKPARGKRK", {5, 7, 8}},
        {"trypsin/p", "AKPARGKRK", {2, 5, 7, 8}},
        {"Lys-C", "AKPARGKRK", {7}},
        {"Arg-C", "ARPRGRK", {4, 6}},
        // Before the residue: never at the protein's start.
        {"Asp-N", "DADDGD", {2, 3, 5}},
        {"Lys-N", "KAKPK", {2, 4}},
        {"Glu-C", "EEPDE", {1}},
        {"Glu-C+D", "EEPDE", {1, 4}},
        // High specificity leaves L and M alone; the low one takes them.
        {"Chymotrypsin", "FAYPWALAMA", {1, 5}},
        {"Chymotrypsin/P", "FAYPWALAMA", {1, 3, 5}},
        {"Chymotrypsin-low", "FAYPWALAMA", {1, 5, 7, 9}},
        {"CNBr", "MAMMP", {1, 3, 4}},
        // After D only, not before it.
        {"Formic acid", "ADPDA", {2, 4}},
        {"Pepsin A", "FPLAW", {1, 3}},
        {"Proteinase K", "AGEPTKY", {1, 3, 5}},
        // Before A, F, I, L, M or V; not after D or E; not when P2' is P.
        {"Thermolysin", "GAGDAEFGLPKMV", {1, 11, 12}},
        {"unspecific cleavage", "ACDE", {1, 2, 3}},
        // An unknown residue may be the one cut at, but is no exception.
        {"Trypsin", "AXKXPXA", {2, 3, 6}},
        {"Asp-N", "AXD", {1, 2}},
        {"Thermolysin", "XAXA", {1, 2, 3}},
        {"Trypsin", "", {}},
        {"Trypsin", "K", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.enzyme) + " " + std::string(c.sequence));
        EXPECT_EQ(EnzymeSites(enzyme(c.enzyme), c.sequence), c.sites);
    }
    EXPECT_EQ(FindEnzyme("Elastase"), nullptr);
    EXPECT_EQ(&enzyme("FORMIC ACID"), &enzyme("Formic acid"));
}

TEST(EnzymesTest, SpecificityAndBoundsChooseThePeptides)
{
    // Trypsin cuts MAKGRPAKS after K3 and K8 (R5 stands before P).
    const std::string sequence = "MAKGRPAKS";
    struct Case
    {
        std::string_view what;
        PeptideBounds bounds;
        std::vector<std::tuple<int, int, int>> peptides;
    };
    const Case cases[] = {
        {"full",
         {Specificity::Full},
         {{0, 2, 0}, {0, 7, 1}, {0, 8, 2}, {3, 7, 0}, {3, 8, 1}, {8, 8, 0}}},
        {"full, no missed", {Specificity::Full, 0}, {{0, 2, 0}, {3, 7, 0}, {8, 8, 0}}},
        {"full, 2 to 5", {Specificity::Full, std::nullopt, 2, 5}, {{0, 2, 0}, {3, 7, 0}}},
        // One end a cut site or a protein end; the missed limit counts too.
        {"semi, no missed, 4 to 5",
         {Specificity::Semi, 0, 4, 5},
         {{3, 6, 0}, {3, 7, 0}, {4, 7, 0}}},
        {"semi, 1 missed, exactly 6",
         {Specificity::Semi, 1, 6, 6},
         {{0, 5, 1}, {2, 7, 1}, {3, 8, 1}}},
        // Unspecific: every stretch of the lengths; missed cleavages are only
        // reported.
        {"none, exactly 8", {Specificity::None, 0, 8, 8}, {{0, 7, 1}, {1, 8, 2}}},
        {"lengths that cannot be", {Specificity::Semi, std::nullopt, 10, 12}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PeptidePlan plan(sequence, enzyme("Trypsin"), c.bounds);
        EXPECT_EQ(peptidesOf(plan), c.peptides);
        EXPECT_EQ(plan.Count(), c.peptides.size());
        std::uint64_t residues = 0;
        for (const auto& [start, end, missed] : c.peptides) {
            residues += static_cast<std::uint64_t>(end - start + 1);
        }
        EXPECT_EQ(plan.Residues(), residues);
    }
}

TEST(EnzymesTest, UnspecificDigestOfTitinIsCountedWithoutBeingMade)
{
    const std::string text = test::ReadFile(test::DataFile("proteins/Q8WZ42.fasta"));
    core::PropertyRecord record;
    record.ResetCurrentTables();
    ASSERT_EQ(core::ParseSequenceText(record, core::FirstFastaRecord(text)), 1);
    const std::string& sequence = record.CleanSequence();
    const auto length = static_cast<std::uint64_t>(sequence.size());
    std::uint64_t expected = 0;
    for (std::uint64_t k = 6; k <= 30; ++k) {
        expected += length - k + 1;
    }
    // A missed-cleavage limit does not narrow a digest with nothing to miss.
    for (const auto& [name, specificity] : {std::pair{"Trypsin", Specificity::None},
                                            std::pair{"unspecific cleavage", Specificity::Full}}) {
        SCOPED_TRACE(name);
        const PeptidePlan plan(sequence, enzyme(name), {specificity, 2, 6, 30});
        EXPECT_EQ(plan.Count(), expected);
    }
}

TEST(EnzymesTest, DigestStoresWeighedFragmentsOrRefuses)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.SetName("probe");
    record.SetSequence("MAKGRPAKSWLK");
    DigestOptions options;
    const PeptideBounds bounds{Specificity::Semi, 1, 2, 6};
    const DigestResult result = DigestWithEnzyme(record, enzyme("Trypsin"), bounds, options);
    ASSERT_FALSE(result.Refused());
    const PeptidePlan plan(record.CleanSequence(), enzyme("Trypsin"), bounds);
    ASSERT_EQ(result.fragmentCount, plan.Count());
    ASSERT_EQ(record.digest.fragments.size(), plan.Count());
    EXPECT_EQ(record.digest.cuts, (std::vector<int>{0, 3, 8, 12}));
    for (const core::FRAGM& fragment : record.digest.fragments) {
        SCOPED_TRACE(fragment.start);
        EXPECT_EQ(fragment.mw, record.StretchWeight(fragment.start, fragment.end));
        const bool complete = (fragment.start == 0 && fragment.end == 2) ||
                              (fragment.start == 3 && fragment.end == 7) ||
                              (fragment.start == 8 && fragment.end == 11);
        EXPECT_EQ(fragment.complete != 0, complete);
    }
    EXPECT_NE(DigestReportText(record).find("Trypsin             (after K or R, not before P; "
                                            "semi-specific)"),
              std::string::npos);

    options.maxFragments = plan.Count() - 1;
    const DigestResult refused = DigestWithEnzyme(record, enzyme("Trypsin"), bounds, options);
    EXPECT_TRUE(refused.Refused());
    EXPECT_EQ(refused.fragmentCount, plan.Count());
    EXPECT_EQ(record.digest.fragments.size(), 1U);
    EXPECT_EQ(record.digest.cuts, (std::vector<int>{0, 12}));
}

} // namespace
} // namespace quorin::analysis
