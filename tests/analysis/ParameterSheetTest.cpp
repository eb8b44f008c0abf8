#include "analysis/ParameterSheet.h"

#include "analysis/Titration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>

namespace quorin::analysis {
namespace {

core::PropertyRecord recordFor(const std::string& sequence)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.SetName("P");
    record.SetSequence(sequence);
    return record;
}

ParameterSheet sheetOf(const std::string& sequence)
{
    return ComputeParameterSheet(recordFor(sequence));
}

/// The atoms a Hill formula names, read back from its text.
ElementCounts atomsOfFormula(const std::string& formula)
{
    ElementCounts atoms;
    const std::regex element("([CHNOS])([0-9]*)");
    for (auto it = std::sregex_iterator(formula.begin(), formula.end(), element);
         it != std::sregex_iterator(); ++it) {
        const std::int64_t count = (*it)[2].length() > 0 ? std::stoll((*it)[2].str()) : 1;
        switch ((*it)[1].str()[0]) {
        case 'C':
            atoms.carbon = count;
            break;
        case 'H':
            atoms.hydrogen = count;
            break;
        case 'N':
            atoms.nitrogen = count;
            break;
        case 'O':
            atoms.oxygen = count;
            break;
        default:
            atoms.sulfur = count;
            break;
        }
    }
    return atoms;
}

TEST(ParameterSheetTest, ShortPeptidesWorkedByHand)
{
    struct Row
    {
        std::string sequence;
        std::string formula;
        double averageMass;
        std::int64_t reduced;
        std::int64_t cystines;
        double aromaticity;
        double aliphatic;
        double gravy;
        std::string_view mammalian;
        std::string_view yeast;
        std::string_view eColi;
    };
    const Row rows[] = {
        // H2O + C3H5NO + C3H5NOS + C11H10N2O + C9H9NO2; one Cys is no cystine.
        // Masses: the free amino acids' to 4 decimals less 18.0153 a bond
        // (89.0932 + 121.1582 + 204.2252 + 181.1885 - 3 * 18.0153).
        {"ACWY", "C26H31N5O6S", 541.6192, 6990, 6990, 0.5, 25.0, 0.525, "4.4 hours", ">20 hours",
         ">10 hours"},
        // Two Cys make one cystine, a third stays free; (2.5 * 3 + 1.8 * 2 + 4.2) / 6.
        {"CCCVAA", "C20H36N6O7S3", 568.7308, 0, 125, 0.0, 100.0 * (2 + 2.9) / 6, 15.3 / 6,
         "1.2 hours", ">20 hours", ">10 hours"},
        // X and O are no residue of the twenty: "AXOA" weighs as "AA", and so
        // do B, J, U and Z, which the sequence reading drops.
        {"AXOA", "C6H12N2O3", 160.1711, 0, 0, 0.0, 100.0, 1.8, "4.4 hours", ">20 hours",
         ">10 hours"},
        {"ABJUZA", "C6H12N2O3", 160.1711, 0, 0, 0.0, 100.0, 1.8, "4.4 hours", ">20 hours",
         ">10 hours"},
        {"PKLI", "C23H43N5O5", 469.6180, 0, 0, 0.0, 100.0 * 7.8 / 4, (-1.6 - 3.9 + 3.8 + 4.5) / 4,
         ">20 hours", ">20 hours", "unknown"},
        {"RW", "C17H24N6O3", 360.4109, 5500, 5500, 0.5, 0.0, -2.7, "1 hour", "2 minutes",
         "2 minutes"},
        // An unknown first residue has no half-life; the empty chain is one water.
        {"XM", "C5H11NO2S", 149.2113, 0, 0, 0.0, 0.0, 1.9, "unknown", "unknown", "unknown"},
        {"", "H2O", 18.01528, 0, 0, 0.0, 0.0, 0.0, "unknown", "unknown", "unknown"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sequence);
        const ParameterSheet sheet = sheetOf(row.sequence);
        EXPECT_EQ(sheet.formula, row.formula);
        EXPECT_NEAR(sheet.averageMassDa, row.averageMass, 1e-9);
        EXPECT_EQ(sheet.extinctionReduced, row.reduced);
        EXPECT_EQ(sheet.extinctionCystines, row.cystines);
        EXPECT_DOUBLE_EQ(sheet.absorbanceCystines,
                         static_cast<double>(row.cystines) / sheet.averageMassDa);
        EXPECT_DOUBLE_EQ(sheet.aromaticity, row.aromaticity);
        EXPECT_NEAR(sheet.aliphaticIndex, row.aliphatic, 1e-12);
        EXPECT_NEAR(sheet.gravy, row.gravy, 1e-12);
        EXPECT_EQ(sheet.halfLife.mammalian, row.mammalian);
        EXPECT_EQ(sheet.halfLife.yeast, row.yeast);
        EXPECT_EQ(sheet.halfLife.eColi, row.eColi);
    }
}

TEST(ParameterSheetTest, InstabilityIndexSumsNeighbouringPairsOverTheLength)
{
    DipeptideWeights weights{};
    for (auto& row : weights) {
        row.fill(1.0);
    }
    weights[0][1] = 40.0; // AC
    weights[1][0] = -5.0; // CA
    struct Row
    {
        std::string_view residues;
        double index;
    };
    const Row rows[] = {
        {"", 0.0},
        {"A", 0.0},
        {"AAAA", 10.0 / 4 * 3},
        {"ACA", 10.0 / 3 * 35},
        // A pair with an unknown residue adds nothing, yet the pairs around
        // it are not joined: AC is no neighbour in "AXC".
        {"AXC", 0.0},
        {"AAXAA", 10.0 / 4 * 2},
        {"OACO", 10.0 / 2 * 40},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.residues);
        EXPECT_DOUBLE_EQ(InstabilityIndex(row.residues, weights), row.index);
    }
}

TEST(ParameterSheetTest, FormulaWeighsWhatTheMassesSay)
{
    std::mt19937 random(20261207);
    const std::string letters = "ACDEFGHIKLMNPQRSTVWYXO";
    for (int n = 0; n < 50; ++n) {
        std::string sequence(std::uniform_int_distribution<int>(0, 400)(random), 'A');
        for (char& c : sequence) {
            c = letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(random)];
        }
        SCOPED_TRACE(sequence);
        const ParameterSheet sheet = sheetOf(sequence);
        const ElementCounts atoms = atomsOfFormula(sheet.formula);
        EXPECT_EQ(HillFormula(atoms), sheet.formula);
        // The average mass sums amino-acid masses rounded to 4 decimals:
        // within 5e-5 Da a residue of the atoms' own sum.
        EXPECT_NEAR(MassOf(atoms, kAverageElementMass), sheet.averageMassDa,
                    1e-9 + 5e-5 * static_cast<double>(sheet.length));
        EXPECT_DOUBLE_EQ(MassOf(atoms, kMonoisotopicElementMass), sheet.monoisotopicMassDa);
        std::int64_t residues = 0;
        for (const std::int64_t count : sheet.composition) {
            residues += count;
        }
        EXPECT_EQ(residues, sheet.length);
    }
}

TEST(ParameterSheetTest, ReversingKeepsAllButTheOrderedFigures)
{
    std::mt19937 random(7);
    const std::string letters = "ACDEFGHIKLMNPQRSTVWY";
    for (int n = 0; n < 40; ++n) {
        // The same residue at both ends keeps terminal-dependent pK values.
        const char end = letters[static_cast<std::size_t>(n % 20)];
        std::string sequence(std::uniform_int_distribution<int>(1, 300)(random), 'A');
        for (char& c : sequence) {
            c = letters[std::uniform_int_distribution<std::size_t>(0, 19)(random)];
        }
        sequence = end + sequence + end;
        SCOPED_TRACE(sequence);
        const ParameterSheet forward = sheetOf(sequence);
        const ParameterSheet backward = sheetOf(std::string(sequence.rbegin(), sequence.rend()));
        EXPECT_EQ(forward.formula, backward.formula);
        EXPECT_EQ(forward.averageMassDa, backward.averageMassDa);
        EXPECT_EQ(forward.monoisotopicMassDa, backward.monoisotopicMassDa);
        EXPECT_EQ(forward.extinctionCystines, backward.extinctionCystines);
        EXPECT_EQ(forward.extinctionReduced, backward.extinctionReduced);
        EXPECT_EQ(forward.composition, backward.composition);
        EXPECT_DOUBLE_EQ(forward.aliphaticIndex, backward.aliphaticIndex);
        EXPECT_DOUBLE_EQ(forward.gravy, backward.gravy);
        EXPECT_DOUBLE_EQ(forward.aromaticity, backward.aromaticity);
        EXPECT_DOUBLE_EQ(forward.netChargePH7, backward.netChargePH7);
        ASSERT_EQ(forward.isoelectricPoints.size(), backward.isoelectricPoints.size());
        for (std::size_t i = 0; i < forward.isoelectricPoints.size(); ++i) {
            SCOPED_TRACE(forward.isoelectricPoints[i].set);
            EXPECT_EQ(forward.isoelectricPoints[i].pI, backward.isoelectricPoints[i].pI);
        }
    }
}

TEST(ParameterSheetTest, EverySetHasItsRoundedPIAndTheSpreadSpansThem)
{
    const core::PropertyRecord record = recordFor("MKWVTFISLLLLFSSAYSRGVFRRDTHKSEIAHRFKDLGE");
    const ParameterSheet sheet = ComputeParameterSheet(record);
    ASSERT_EQ(sheet.isoelectricPoints.size(), kPKaSets.size());
    double lowest = 14.0;
    double highest = 0.0;
    for (std::size_t i = 0; i < kPKaSets.size(); ++i) {
        SCOPED_TRACE(PKaSetName(kPKaSets[i]));
        const SetIsoelectricPoint& entry = sheet.isoelectricPoints[i];
        EXPECT_EQ(entry.set, PKaSetName(kPKaSets[i]));
        const double exact = IsoelectricPointByBisection(ChargeGroupsOf(record, kPKaSets[i]));
        EXPECT_NEAR(entry.pI, exact, 0.5e-4 + 1e-12);
        EXPECT_EQ(FixedText(entry.pI, 4), FixedText(exact, 4));
        lowest = std::min(lowest, entry.pI);
        highest = std::max(highest, entry.pI);
    }
    EXPECT_EQ(FixedText(sheet.isoelectricPointSpread, 4), FixedText(highest - lowest, 4));
    EXPECT_DOUBLE_EQ(sheet.netChargePH7, ChargeGroupsOf(record, PKaSet::Settings).NetCharge(7.0));
}

TEST(ParameterSheetTest, TextAndJsonNameEveryKeyInOrder)
{
    const ParameterSheet sheet = sheetOf("ACWY");
    const std::string text = ParameterSheetText(sheet);
    const std::string json = ParameterSheetJson(sheet);
    const std::string_view keys[] = {"length",
                                     "average_mass",
                                     "monoisotopic_mass",
                                     "formula",
                                     "isoelectric_point",
                                     "isoelectric_point_spread",
                                     "net_charge_ph7",
                                     "extinction_280_cystines",
                                     "extinction_280_reduced",
                                     "absorbance_0_1_percent_cystines",
                                     "absorbance_0_1_percent_reduced",
                                     "instability_index",
                                     "aliphatic_index",
                                     "gravy",
                                     "aromaticity",
                                     "half_life",
                                     "composition"};
    std::size_t textAt = 0;
    std::size_t jsonAt = 0;
    for (const std::string_view key : keys) {
        SCOPED_TRACE(key);
        const std::size_t inText = text.find("\n" + std::string(key) + ": ", textAt);
        const std::size_t inJson = json.find("\n  \"" + std::string(key) + "\": ", jsonAt);
        if (key != keys[0]) {
            ASSERT_NE(inText, std::string::npos);
            textAt = inText + 1;
        }
        ASSERT_NE(inJson, std::string::npos);
        jsonAt = inJson + 1;
    }
    EXPECT_EQ(text.rfind("length: 4\naverage_mass: ", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 17);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(json.find('\r'), std::string::npos);
    EXPECT_NE(text.find("\nformula: C26H31N5O6S\n"), std::string::npos);
    EXPECT_NE(text.find("\nextinction_280_reduced: 6990\n"), std::string::npos);
    EXPECT_NE(text.find("\naromaticity: 0.5\n"), std::string::npos);
    EXPECT_NE(text.find("\nhalf_life: mammalian 4.4 hours, yeast >20 hours, e_coli >10 hours\n"),
              std::string::npos);
    EXPECT_NE(text.find("\ncomposition: A 1, C 1, D 0, E 0, F 0, G 0, H 0, I 0, K 0, L 0, M 0, "
                        "N 0, P 0, Q 0, R 0, S 0, T 0, V 0, W 1, Y 1\n"),
              std::string::npos);
    EXPECT_NE(json.find("\n  \"half_life\": {\"mammalian\": \"4.4 hours\", \"yeast\": \">20 "
                        "hours\", \"e_coli\": \">10 hours\"},\n"),
              std::string::npos);
    EXPECT_NE(json.find("\n  \"composition\": {\"A\": 1, \"C\": 1, \"D\": 0, "), std::string::npos);
    EXPECT_EQ(json.substr(json.size() - 4), "}\n}\n");

    std::string pIs;
    for (const SetIsoelectricPoint& entry : sheet.isoelectricPoints) {
        pIs += (pIs.empty() ? "" : ", ") + std::string(entry.set) + " " + FixedText(entry.pI, 4);
    }
    EXPECT_NE(text.find("\nisoelectric_point: " + pIs + "\n"), std::string::npos) << text;
}

TEST(ParameterSheetTest, NumbersTakeTheirShortestRoundTripForm)
{
    struct Row
    {
        double value;
        std::string_view text;
    };
    const Row rows[] = {{0.0, "0"},
                        {5500.0, "5500"},
                        {0.1, "0.1"},
                        {-2.7, "-2.7"},
                        {1.0 / 3.0, "0.3333333333333333"},
                        {541.6192, "541.6192"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ShortestText(row.value), row.text);
    }
}

} // namespace
} // namespace quorin::analysis
