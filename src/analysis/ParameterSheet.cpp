#include "analysis/ParameterSheet.h"

#include "analysis/Titration.h"
#include "core/Residue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quorin::analysis {
namespace {

/// The residues' atoms (the amino acid less one water), slot order less one:
/// A C D E F G H I K L M N P Q R S T V W Y. A chain adds one water to them.
constexpr std::array<ElementCounts, 20> kResidueAtoms = {{
    {3, 5, 1, 1, 0},   // A  C3H5NO
    {3, 5, 1, 1, 1},   // C  C3H5NOS
    {4, 5, 1, 3, 0},   // D  C4H5NO3
    {5, 7, 1, 3, 0},   // E  C5H7NO3
    {9, 9, 1, 1, 0},   // F  C9H9NO
    {2, 3, 1, 1, 0},   // G  C2H3NO
    {6, 7, 3, 1, 0},   // H  C6H7N3O
    {6, 11, 1, 1, 0},  // I  C6H11NO
    {6, 12, 2, 1, 0},  // K  C6H12N2O
    {6, 11, 1, 1, 0},  // L  C6H11NO
    {5, 9, 1, 1, 1},   // M  C5H9NOS
    {4, 6, 2, 2, 0},   // N  C4H6N2O2
    {5, 7, 1, 1, 0},   // P  C5H7NO
    {5, 8, 2, 2, 0},   // Q  C5H8N2O2
    {6, 12, 4, 1, 0},  // R  C6H12N4O
    {3, 5, 1, 2, 0},   // S  C3H5NO2
    {4, 7, 1, 2, 0},   // T  C4H7NO2
    {5, 9, 1, 1, 0},   // V  C5H9NO
    {11, 10, 2, 1, 0}, // W  C11H10N2O
    {9, 9, 1, 2, 0},   // Y  C9H9NO2
}};

// Slots of the residues the quantities below single out.
constexpr int kAla = 1;
constexpr int kCys = 2;
constexpr int kPhe = 5;
constexpr int kIle = 8;
constexpr int kLeu = 10;
constexpr int kVal = 18;
constexpr int kTrp = 19;
constexpr int kTyr = 20;

// Molar extinction at 280 nm of Trp, Tyr and cystine in folded proteins, in
// 1/(M*cm): Pace, Vajdos, Fee, Grimsley and Gray (1995), Protein Sci.
// 4:2411-2423, after Gill and von Hippel (1989). Whole numbers, so that the
// coefficients are exact.
constexpr std::int64_t kTrpExtinction = 5500;
constexpr std::int64_t kTyrExtinction = 1490;
constexpr std::int64_t kCystineExtinction = 125;

// Ikai (1980), J. Biochem. 88:1895-1898: the relative volumes of the side
// chains of Val (a) and of Ile and Leu (b) against Ala's.
constexpr double kIkaiA = 2.9;
constexpr double kIkaiB = 3.9;

// The N-end rule, by the first residue (slot order less one): mammalian
// reticulocyte lysate in vitro (Gonda et al. 1989, J. Biol. Chem.
// 264:16700-16712), yeast in vivo (Bachmair, Finley and Varshavsky 1986,
// Science 234:179-186, with Gonda et al.'s eight stabilizing residues) and
// E. coli in vivo (Tobias et al. 1991, Science 254:1374-1377: Arg, Lys, Leu,
// Phe, Tyr, Trp 2 minutes, the others more than 10 hours; Pro was not
// measured there).
constexpr std::array<HalfLife, 20> kHalfLives = {{
    {"4.4 hours", ">20 hours", ">10 hours"},  // A
    {"1.2 hours", ">20 hours", ">10 hours"},  // C
    {"1.1 hours", "3 minutes", ">10 hours"},  // D
    {"1 hour", "30 minutes", ">10 hours"},    // E
    {"1.1 hours", "3 minutes", "2 minutes"},  // F
    {"30 hours", ">20 hours", ">10 hours"},   // G
    {"3.5 hours", "10 minutes", ">10 hours"}, // H
    {"20 hours", "30 minutes", ">10 hours"},  // I
    {"1.3 hours", "3 minutes", "2 minutes"},  // K
    {"5.5 hours", "3 minutes", "2 minutes"},  // L
    {"30 hours", ">20 hours", ">10 hours"},   // M
    {"1.4 hours", "3 minutes", ">10 hours"},  // N
    {">20 hours", ">20 hours", "unknown"},    // P
    {"0.8 hours", "10 minutes", ">10 hours"}, // Q
    {"1 hour", "2 minutes", "2 minutes"},     // R
    {"1.9 hours", ">20 hours", ">10 hours"},  // S
    {"7.2 hours", ">20 hours", ">10 hours"},  // T
    {"100 hours", ">20 hours", ">10 hours"},  // V
    {"2.8 hours", "3 minutes", "2 minutes"},  // W
    {"2.8 hours", "10 minutes", "2 minutes"}, // Y
}};

/// Guruprasad, Reddy and Pandit (1990), Protein Eng. 4:155-161, the table of
/// dipeptide instability weight values: row the first residue, column the
/// second, both in the order A C D E F G H I K L M N P Q R S T V W Y. The
/// paper is not at hand here: the values are its table as Biopython's
/// ProtParamData module transcribes it (Bio.SeqUtils.ProtParamData.DIWV),
/// which the instability index of the parameter sheet is compared with.
// clang-format off
constexpr DipeptideWeights kGuruprasadTable = {{
    {1.0, 44.94, -7.49, 1.0, 1.0, 1.0, -7.49, 1.0, 1.0, 1.0, 1.0, 1.0, 20.26, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0}, // A
    {1.0, 1.0, 20.26, 1.0, 1.0, 1.0, 33.6, 1.0, 1.0, 20.26, 33.6, 1.0, 20.26, -6.54, 1.0, 1.0, 33.6, -6.54, 24.68, 1.0}, // C
    {1.0, 1.0, 1.0, 1.0, -6.54, 1.0, 1.0, 1.0, -7.49, 1.0, 1.0, 1.0, 1.0, 1.0, -6.54, 20.26, -14.03, 1.0, 1.0, 1.0}, // D
    {1.0, 44.94, 20.26, 33.6, 1.0, 1.0, -6.54, 20.26, 1.0, 1.0, 1.0, 1.0, 20.26, 20.26, 1.0, 20.26, 1.0, 1.0, -14.03, 1.0}, // E
    {1.0, 1.0, 13.34, 1.0, 1.0, 1.0, 1.0, 1.0, -14.03, 1.0, 1.0, 1.0, 20.26, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 33.601}, // F
    {-7.49, 1.0, 1.0, -6.54, 1.0, 13.34, 1.0, -7.49, -7.49, 1.0, 1.0, -7.49, 1.0, 1.0, 1.0, 1.0, -7.49, 1.0, 13.34, -7.49}, // G
    {1.0, 1.0, 1.0, 1.0, -9.37, -9.37, 1.0, 44.94, 24.68, 1.0, 1.0, 24.68, -1.88, 1.0, 1.0, 1.0, -6.54, 1.0, -1.88, 44.94}, // H
    {1.0, 1.0, 1.0, 44.94, 1.0, 1.0, 13.34, 1.0, -7.49, 20.26, 1.0, 1.0, -1.88, 1.0, 1.0, 1.0, 1.0, -7.49, 1.0, 1.0}, // I
    {1.0, 1.0, 1.0, 1.0, 1.0, -7.49, 1.0, -7.49, 1.0, -7.49, 33.6, 1.0, -6.54, 24.64, 33.6, 1.0, 1.0, -7.49, 1.0, 1.0}, // K
    {1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, -7.49, 1.0, 1.0, 1.0, 20.26, 33.6, 20.26, 1.0, 1.0, 1.0, 24.68, 1.0}, // L
    {13.34, 1.0, 1.0, 1.0, 1.0, 1.0, 58.28, 1.0, 1.0, 1.0, -1.88, 1.0, 44.94, -6.54, -6.54, 44.94, -1.88, 1.0, 1.0, 24.68}, // M
    {1.0, -1.88, 1.0, 1.0, -14.03, -14.03, 1.0, 44.94, 24.68, 1.0, 1.0, 1.0, -1.88, -6.54, 1.0, 1.0, -7.49, 1.0, -9.37, 1.0}, // N
    {20.26, -6.54, -6.54, 18.38, 20.26, 1.0, 1.0, 1.0, 1.0, 1.0, -6.54, 1.0, 20.26, 20.26, -6.54, 20.26, 1.0, 20.26, -1.88, 1.0}, // P
    {1.0, -6.54, 20.26, 20.26, -6.54, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 20.26, 20.26, 1.0, 44.94, 1.0, -6.54, 1.0, -6.54}, // Q
    {1.0, 1.0, 1.0, 1.0, 1.0, -7.49, 20.26, 1.0, 1.0, 1.0, 1.0, 13.34, 20.26, 20.26, 58.28, 44.94, 1.0, 1.0, 58.28, -6.54}, // R
    {1.0, 33.6, 1.0, 20.26, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 1.0, 44.94, 20.26, 20.26, 20.26, 1.0, 1.0, 1.0, 1.0}, // S
    {1.0, 1.0, 1.0, 20.26, 13.34, -7.49, 1.0, 1.0, 1.0, 1.0, 1.0, -14.03, 1.0, -6.54, 1.0, 1.0, 1.0, 1.0, -14.03, 1.0}, // T
    {1.0, 1.0, -14.03, 1.0, 1.0, -7.49, 1.0, 1.0, -1.88, 1.0, 1.0, 1.0, 20.26, 1.0, 1.0, 1.0, -7.49, 1.0, 1.0, -6.54}, // V
    {-14.03, 1.0, 1.0, 1.0, 1.0, -9.37, 24.68, 1.0, 1.0, 13.34, 24.68, 13.34, 1.0, 1.0, 1.0, 1.0, -14.03, -7.49, 1.0, 1.0}, // W
    {24.68, 1.0, 24.68, -6.54, 1.0, -7.49, 13.34, 1.0, 1.0, 1.0, 44.94, 1.0, 13.34, 1.0, -15.91, 1.0, -7.49, 1.0, -9.37, 13.34}, // Y
}};
// clang-format on

std::size_t residueIndex(int slot)
{
    return static_cast<std::size_t>(slot - 1);
}

void addAtoms(ElementCounts& sum, const ElementCounts& atoms, std::int64_t times)
{
    sum.carbon += atoms.carbon * times;
    sum.hydrogen += atoms.hydrogen * times;
    sum.nitrogen += atoms.nitrogen * times;
    sum.oxygen += atoms.oxygen * times;
    sum.sulfur += atoms.sulfur * times;
}

void appendElement(std::string& out, std::string_view symbol, std::int64_t count)
{
    if (count == 0) {
        return;
    }
    out += symbol;
    if (count != 1) {
        out += std::to_string(count);
    }
}

/// value rounded to 4 decimals as the titration texts round it.
double roundedTo4(double value)
{
    const std::string text = FixedText(value, 4);
    double rounded = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), rounded);
    return rounded;
}

std::string halfLifeText(const HalfLife& halfLife)
{
    return "mammalian " + std::string(halfLife.mammalian) + ", yeast " +
           std::string(halfLife.yeast) + ", e_coli " + std::string(halfLife.eColi);
}

std::string jsonString(std::string_view text)
{
    // Every text of the sheet is printable ASCII; quotes and backslashes are
    // escaped all the same.
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return out;
}

} // namespace

double MassOf(const ElementCounts& atoms, const ElementMasses& masses)
{
    return static_cast<double>(atoms.carbon) * masses.carbon +
           static_cast<double>(atoms.hydrogen) * masses.hydrogen +
           static_cast<double>(atoms.nitrogen) * masses.nitrogen +
           static_cast<double>(atoms.oxygen) * masses.oxygen +
           static_cast<double>(atoms.sulfur) * masses.sulfur;
}

std::string HillFormula(const ElementCounts& atoms)
{
    std::string out;
    appendElement(out, "C", atoms.carbon);
    appendElement(out, "H", atoms.hydrogen);
    appendElement(out, "N", atoms.nitrogen);
    appendElement(out, "O", atoms.oxygen);
    appendElement(out, "S", atoms.sulfur);
    return out;
}

double InstabilityIndex(std::string_view residues, const DipeptideWeights& weights)
{
    std::int64_t length = 0;
    double sum = 0.0;
    int previous = core::kCTerminus;
    for (const char c : residues) {
        const int slot = core::IndexOfLetter(c);
        if (slot >= 1 && slot <= 20) {
            ++length;
            if (previous >= 1 && previous <= 20) {
                sum += weights[residueIndex(previous)][residueIndex(slot)];
            }
        }
        previous = slot;
    }
    return length == 0 ? 0.0 : 10.0 / static_cast<double>(length) * sum;
}

HalfLife HalfLifeOf(char firstResidue)
{
    const int slot = core::IndexOfLetter(firstResidue);
    if (slot < 1 || slot > 20) {
        return {"unknown", "unknown", "unknown"};
    }
    return kHalfLives[residueIndex(slot)];
}

/// The average mass as tables of amino-acid masses give it and as the common
/// parameter tools print it: each free amino acid's mass from the element
/// weights, to four decimals, less one water, to four decimals, per peptide
/// bond. The rounded terms drift from the exact sum of the atoms by about
/// 2e-5 Da a residue (0.7 Da on titin); a user compares with those tools.
double tabulatedAverageMass(const core::PropertyRecord& record, const ElementCounts& atoms)
{
    const auto fourDecimals = [](double value) { return std::round(value * 1e4) / 1e4; };
    const ElementCounts waterAtoms = {0, 2, 0, 1, 0};
    const double water = fourDecimals(MassOf(waterAtoms, kAverageElementMass));
    std::int64_t residues = 0;
    double mass = 0.0;
    for (int slot = 1; slot <= 20; ++slot) {
        const std::int64_t count = record.ResidueCount(slot);
        if (count == 0) {
            continue;
        }
        ElementCounts free = waterAtoms;
        addAtoms(free, kResidueAtoms[residueIndex(slot)], 1);
        mass += static_cast<double>(count) * fourDecimals(MassOf(free, kAverageElementMass));
        residues += count;
    }
    if (residues == 0) {
        return MassOf(atoms, kAverageElementMass);
    }
    // Every term has four decimals, and so has the sum; rounding drops the
    // binary remainder that the additions leave ("28255.910599999996").
    return fourDecimals(mass - static_cast<double>(residues - 1) * water);
}

ParameterSheet ComputeParameterSheet(const core::PropertyRecord& record)
{
    ParameterSheet sheet;
    sheet.length = record.ResidueLength();
    sheet.atoms = {0, 2, 0, 1, 0};
    for (int slot = 1; slot <= 20; ++slot) {
        const std::int64_t count = record.ResidueCount(slot);
        sheet.composition[residueIndex(slot)] = count;
        addAtoms(sheet.atoms, kResidueAtoms[residueIndex(slot)], count);
    }
    sheet.formula = HillFormula(sheet.atoms);
    sheet.averageMassDa = tabulatedAverageMass(record, sheet.atoms);
    sheet.monoisotopicMassDa = MassOf(sheet.atoms, kMonoisotopicElementMass);

    for (const PKaSet set : kPKaSets) {
        const double pI = IsoelectricPointByBisection(ChargeGroupsOf(record, set));
        sheet.isoelectricPoints.push_back({PKaSetName(set), roundedTo4(pI)});
    }
    const auto [lowest, highest] = std::minmax_element(
        sheet.isoelectricPoints.begin(), sheet.isoelectricPoints.end(),
        [](const SetIsoelectricPoint& a, const SetIsoelectricPoint& b) { return a.pI < b.pI; });
    sheet.isoelectricPointSpread = roundedTo4(highest->pI - lowest->pI);
    sheet.netChargePH7 = ChargeGroupsOf(record, PKaSet::Settings).NetCharge(7.0);

    const auto count = [&record](int slot) { return record.ResidueCount(slot); };
    sheet.extinctionReduced = kTrpExtinction * count(kTrp) + kTyrExtinction * count(kTyr);
    sheet.extinctionCystines = sheet.extinctionReduced + kCystineExtinction * (count(kCys) / 2);
    sheet.absorbanceReduced = static_cast<double>(sheet.extinctionReduced) / sheet.averageMassDa;
    sheet.absorbanceCystines = static_cast<double>(sheet.extinctionCystines) / sheet.averageMassDa;

    sheet.instabilityIndex = InstabilityIndex(record.CleanSequence(), kGuruprasadTable);
    if (sheet.length > 0) {
        const auto length = static_cast<double>(sheet.length);
        const auto fraction = [&](int slot) { return static_cast<double>(count(slot)) / length; };
        sheet.aliphaticIndex = 100.0 * (fraction(kAla) + kIkaiA * fraction(kVal) +
                                        kIkaiB * (fraction(kIle) + fraction(kLeu)));
        double hydropathy = 0.0;
        for (int slot = 1; slot <= 20; ++slot) {
            hydropathy += core::kKyteDoolittleValues[static_cast<std::size_t>(slot)] *
                          static_cast<double>(count(slot));
        }
        sheet.gravy = hydropathy / length;
        sheet.aromaticity = static_cast<double>(count(kPhe) + count(kTrp) + count(kTyr)) / length;
    }
    const std::string& residues = record.CleanSequence();
    sheet.halfLife = HalfLifeOf(residues.empty() ? '\0' : residues.front());
    return sheet;
}

std::string ShortestText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string ParameterSheetJson(const ParameterSheet& sheet)
{
    std::string out = "{\n";
    const auto key = [&out](std::string_view name) {
        out += "  \"";
        out += name;
        out += "\": ";
    };
    const auto line = [&](std::string_view name, const std::string& value) {
        key(name);
        out += value;
        out += ",\n";
    };
    line("length", std::to_string(sheet.length));
    line("average_mass", ShortestText(sheet.averageMassDa));
    line("monoisotopic_mass", ShortestText(sheet.monoisotopicMassDa));
    line("formula", jsonString(sheet.formula));
    std::string pIs = "{";
    for (const SetIsoelectricPoint& entry : sheet.isoelectricPoints) {
        pIs += (pIs.size() > 1 ? ", " : "") + jsonString(entry.set) + ": " + ShortestText(entry.pI);
    }
    line("isoelectric_point", pIs + "}");
    line("isoelectric_point_spread", ShortestText(sheet.isoelectricPointSpread));
    line("net_charge_ph7", ShortestText(sheet.netChargePH7));
    line("extinction_280_cystines", std::to_string(sheet.extinctionCystines));
    line("extinction_280_reduced", std::to_string(sheet.extinctionReduced));
    line("absorbance_0_1_percent_cystines", ShortestText(sheet.absorbanceCystines));
    line("absorbance_0_1_percent_reduced", ShortestText(sheet.absorbanceReduced));
    line("instability_index", ShortestText(sheet.instabilityIndex));
    line("aliphatic_index", ShortestText(sheet.aliphaticIndex));
    line("gravy", ShortestText(sheet.gravy));
    line("aromaticity", ShortestText(sheet.aromaticity));
    line("half_life", "{\"mammalian\": " + jsonString(sheet.halfLife.mammalian) +
                          ", \"yeast\": " + jsonString(sheet.halfLife.yeast) +
                          ", \"e_coli\": " + jsonString(sheet.halfLife.eColi) + "}");
    std::string composition = "{";
    for (std::size_t i = 0; i < sheet.composition.size(); ++i) {
        composition += (i > 0 ? ", \"" : "\"");
        composition += core::kResidueLetters[i];
        composition += "\": " + std::to_string(sheet.composition[i]);
    }
    key("composition");
    out += composition + "}\n}\n";
    return out;
}

std::string ParameterSheetText(const ParameterSheet& sheet)
{
    std::string out;
    const auto line = [&out](std::string_view name, const std::string& value) {
        out += name;
        out += ": ";
        out += value;
        out += '\n';
    };
    line("length", std::to_string(sheet.length));
    line("average_mass", ShortestText(sheet.averageMassDa));
    line("monoisotopic_mass", ShortestText(sheet.monoisotopicMassDa));
    line("formula", sheet.formula);
    std::string pIs;
    for (const SetIsoelectricPoint& entry : sheet.isoelectricPoints) {
        pIs += (pIs.empty() ? "" : ", ") + std::string(entry.set) + " " + FixedText(entry.pI, 4);
    }
    line("isoelectric_point", pIs);
    line("isoelectric_point_spread", FixedText(sheet.isoelectricPointSpread, 4));
    line("net_charge_ph7", ShortestText(sheet.netChargePH7));
    line("extinction_280_cystines", std::to_string(sheet.extinctionCystines));
    line("extinction_280_reduced", std::to_string(sheet.extinctionReduced));
    line("absorbance_0_1_percent_cystines", ShortestText(sheet.absorbanceCystines));
    line("absorbance_0_1_percent_reduced", ShortestText(sheet.absorbanceReduced));
    line("instability_index", ShortestText(sheet.instabilityIndex));
    line("aliphatic_index", ShortestText(sheet.aliphaticIndex));
    line("gravy", ShortestText(sheet.gravy));
    line("aromaticity", ShortestText(sheet.aromaticity));
    line("half_life", halfLifeText(sheet.halfLife));
    std::string composition;
    for (std::size_t i = 0; i < sheet.composition.size(); ++i) {
        composition += (i > 0 ? ", " : "");
        composition += core::kResidueLetters[i];
        composition += " " + std::to_string(sheet.composition[i]);
    }
    line("composition", composition);
    return out;
}

} // namespace quorin::analysis
