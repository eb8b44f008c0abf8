#include "core/Quantities.h"

#include "core/PropertyRecord.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace quorin::core {
namespace {

ResidueCounts countsOf(const PropertyRecord& record)
{
    ResidueCounts counts{};
    for (int i = 0; i < kResidueSlots; ++i) {
        counts[static_cast<std::size_t>(i)] = record.ResidueCount(i);
    }
    return counts;
}

/// The grid pI by its definition: every grid point in turn, the first of the
/// smallest |Z|, with the charge written out in the order the sums run.
double fullGridScan(const ResidueCounts& counts, const ResidueTable& pKa)
{
    static constexpr std::array<int, 4> kPositive = {kNTerminus, 7, 9, 15};    // <, H, K, R
    static constexpr std::array<int, 5> kNegative = {2, 3, 4, 20, kCTerminus}; // C, D, E, Y, >
    double smallest = HUGE_VAL;
    double smallestPH = 1.0;
    for (int k = 100; k < 1300; ++k) {
        const double pH = k * 0.01;
        double z = 0.0;
        for (const int i : kPositive) {
            const auto s = static_cast<std::size_t>(i);
            z += static_cast<double>(counts[s]) / (1.0 + std::pow(10.0, pH - pKa[s]));
        }
        for (const int i : kNegative) {
            const auto s = static_cast<std::size_t>(i);
            z -= static_cast<double>(counts[s]) / (1.0 + std::pow(10.0, pKa[s] - pH));
        }
        if (std::fabs(z) < smallest) {
            smallest = std::fabs(z);
            smallestPH = pH;
        }
    }
    return smallestPH;
}

TEST(QuantitiesTest, NetChargeKnownAnswers)
{
    struct Row
    {
        const char* what;
        GroupValues count;
        double pH;
        double charge;
    };
    GroupValues pK = {7.0, 6.0, 10.0, 12.0, 8.0, 4.0, 4.0, 10.0, 3.0};
    const Row rows[] = {
        {"one lysine at its pK", {0, 0, 1, 0, 0, 0, 0, 0, 0}, 10.0, 0.5},
        {"one aspartate at its pK", {0, 0, 0, 0, 0, 1, 0, 0, 0}, 4.0, -0.5},
        {"termini at the N-terminus' pK", {1, 0, 0, 0, 0, 0, 0, 0, 1}, 7.0, 0.5 - 1.0 / 1.0001},
        {"two arginines far below their pK", {0, 0, 0, 2, 0, 0, 0, 0, 0}, 2.0, 2.0 / (1 + 1e-10)},
        {"nothing charged", {}, 7.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ChargeGroups groups{row.count, pK};
        EXPECT_NEAR(groups.NetCharge(row.pH), row.charge, 1e-12);
    }
}

TEST(QuantitiesTest, CountedGroupsTakeTheChargedSlotsInSummingOrder)
{
    PropertyRecord record;
    record.ResetCurrentTables();
    record.SetSequence("KKHRCDDEYYYXO");
    const ChargeGroups groups = CountedChargeGroups(countsOf(record), record.pKa);
    // N-terminus, H, K, R, C, D, E, Y, and the C-terminus with X and O.
    EXPECT_EQ(groups.count, (GroupValues{1, 1, 2, 1, 1, 2, 1, 3, 3}));
    EXPECT_EQ(groups.pK, (GroupValues{7.4, 6.5, 10.8, 12.0, 9.25, 4.0, 4.4, 10.2, 3.9}));
}

// The bisection must land on the grid point of the full scan on real
// proteins, on sequences of every composition (one-sided charges that never
// cross zero included) and under other pKa tables, with the grid's
// denominators tabulated or not; the property record gives the same point.
TEST(QuantitiesTest, IsoelectricGridLandsOnThePointOfTheFullScan)
{
    std::vector<std::pair<std::string, std::string>> sequences;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::DataFile("proteins").string())) {
        if (entry.path().extension() != ".fasta") {
            continue;
        }
        std::istringstream lines(test::ReadFile(entry.path()));
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with('>')) {
                sequences.emplace_back(line, "");
            } else if (!sequences.empty()) {
                sequences.back().second += line;
            }
        }
    }
    ASSERT_EQ(sequences.size(), 7U);
    sequences.emplace_back("empty", "");
    sequences.emplace_back("lysines", std::string(900, 'K'));
    sequences.emplace_back("arginines", std::string(300, 'R'));
    sequences.emplace_back("aspartates", std::string(900, 'D'));
    sequences.emplace_back("cysteines", std::string(40, 'C'));
    std::mt19937 random(7);
    const std::string letters = "ACDEFGHIKLMNPQRSTVWYX";
    for (int n = 0; n < 3000; ++n) {
        std::string sequence;
        const int length = std::uniform_int_distribution<int>(0, n % 10 == 0 ? 3000 : 300)(random);
        // A bias towards D, F, I, K, R and Y makes charge-heavy sequences common.
        std::vector<double> weights(letters.size(), 1.0);
        for (const auto& [letter, period] :
             {std::pair(2, 7), {4, 5}, {7, 3}, {8, 11}, {14, 4}, {19, 2}}) {
            weights[static_cast<std::size_t>(letter)] += n % period;
        }
        std::discrete_distribution<int> pick(weights.begin(), weights.end());
        for (int i = 0; i < length; ++i) {
            sequence += letters[static_cast<std::size_t>(pick(random))];
        }
        sequences.emplace_back("random", sequence);
    }
    for (int table = 0; table < 5; ++table) {
        PropertyRecord record;
        record.ResetCurrentTables();
        if (table == 4) {
            // Every group fully charged at every grid point: a charge that stays
            // the same from pH 1 to 13, whose first point wins.
            record.pKa.fill(-40.0);
            for (const std::size_t positive : {0, 7, 9, 15}) {
                record.pKa[positive] = 40.0;
            }
        } else if (table > 0) {
            std::uniform_real_distribution<double> shift(-2.5, 2.5);
            for (double& pK : record.pKa) {
                pK += shift(random);
            }
        }
        const IsoelectricGrid tabulated(record.pKa);
        const IsoelectricGrid untabulated(record.pKa, false);
        for (const auto& [name, sequence] : sequences) {
            record.SetSequence(sequence);
            const ResidueCounts counts = countsOf(record);
            const double expected = fullGridScan(counts, record.pKa);
            ASSERT_EQ(tabulated.IsoelectricPoint(counts), expected)
                << name << " with table " << table << ": " << sequence.substr(0, 80);
            ASSERT_EQ(untabulated.IsoelectricPoint(counts), expected) << name;
            ASSERT_EQ(record.IsoelectricPoint(), expected) << name;
        }
    }
}

TEST(QuantitiesTest, WeightAndAbsorptionsOfCountsBeyondThirtyTwoBits)
{
    ResidueCounts counts{};
    counts[IndexOfLetter('W')] = 5'000'000'000;
    counts[IndexOfLetter('Y')] = 2;
    counts[IndexOfLetter('C')] = 3;
    // The termini and X or O carry no mass and no absorption.
    counts[kNTerminus] = 1;
    counts[kCTerminus] = 7;
    EXPECT_DOUBLE_EQ(MolecularWeightOf(counts, kDefaultResidueMass),
                     18.02 + 5e9 * 186.21 + 2 * 163.18 + 3 * 103.15);
    const Absorptions eps =
        AbsorptionsOf(counts, kDefaultAbsorptionDenatured, kDefaultAbsorptionNative);
    EXPECT_DOUBLE_EQ(eps.denatured, 5e9 * 5.69 + 2 * 1.28 + 3 * 0.12);
    EXPECT_DOUBLE_EQ(eps.native, 5e9 * 5.5 + 2 * 1.49 + 3 * 0.125);
    EXPECT_EQ(MolecularWeightOf(ResidueCounts{1}, kDefaultResidueMass), 18.02);
}

} // namespace
} // namespace quorin::core
