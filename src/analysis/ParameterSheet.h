#pragma once

#include "core/PropertyRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorin::analysis {

/// Atoms of a molecule, by element.
struct ElementCounts
{
    std::int64_t carbon = 0;
    std::int64_t hydrogen = 0;
    std::int64_t nitrogen = 0;
    std::int64_t oxygen = 0;
    std::int64_t sulfur = 0;
};

/// One mass per element, in dalton.
struct ElementMasses
{
    double carbon;
    double hydrogen;
    double nitrogen;
    double oxygen;
    double sulfur;
};
/// Standard atomic weights (IUPAC 2005/2007 values, as the command line's
/// contract gives them).
inline constexpr ElementMasses kAverageElementMass = {12.0107, 1.00794, 14.0067, 15.9994, 32.065};
/// Masses of the most abundant isotopes, 12C, 1H, 14N, 16O, 32S, in dalton
/// (the atomic mass evaluation AME2016 as NIST tabulates it).
inline constexpr ElementMasses kMonoisotopicElementMass = {12.0, 1.00782503223, 14.00307400443,
                                                           15.99491461957, 31.9720711744};

/// The mass of atoms with those element masses, in dalton.
double MassOf(const ElementCounts& atoms, const ElementMasses& masses);

/// The formula in Hill order: C, then H, then the others alphabetically
/// (without carbon, every element alphabetically); a count of 1 is not
/// written, an absent element is left out ("C2936H4624N786O889S41", "H2O").
std::string HillFormula(const ElementCounts& atoms);

/// Dipeptide instability weights, [first][second] in residue-slot order less
/// one (0 is A, 19 is Y).
using DipeptideWeights = std::array<std::array<double, 20>, 20>;

/// The instability index: 10 / L times the sum of the weights of the L - 1
/// neighbouring pairs, L the number of the twenty residues in residues (a
/// cleaned sequence). A pair with an X or O in it adds nothing; an empty
/// sequence gives 0.
double InstabilityIndex(std::string_view residues, const DipeptideWeights& weights);

/// The estimated half-lives of a protein by its N-terminal residue: texts
/// such as "30 hours", ">20 hours", "2 minutes", or "unknown".
struct HalfLife
{
    std::string_view mammalian; ///< reticulocytes, in vitro
    std::string_view yeast;     ///< in vivo
    std::string_view eColi;     ///< in vivo
};

/// The half-lives of a protein beginning with letter (upper case); "unknown"
/// three times for X, O and anything outside the twenty.
HalfLife HalfLifeOf(char firstResidue);

/// The isoelectric point under one named pKa set.
struct SetIsoelectricPoint
{
    std::string_view set; ///< PKaSetName
    double pI = 0.0;      ///< rounded to 4 decimals
};

/// The extended properties of one sequence, as `quorin-cli params` writes
/// them. Only the twenty residues count in the length, the masses, the
/// formula, the composition and the indices: X and O (unknown residues) and
/// the letters the sequence reading drops (B, J, U, Z) add nothing. The empty
/// sequence is one water; its indices and fractions are 0.
struct ParameterSheet
{
    std::int64_t length = 0; ///< residues of the twenty
    double averageMassDa = 0.0;
    double monoisotopicMassDa = 0.0;
    ElementCounts atoms; ///< water included
    std::string formula;
    /// One per named set, in kPKaSets order.
    std::vector<SetIsoelectricPoint> isoelectricPoints;
    double isoelectricPointSpread = 0.0; ///< max - min of the rounded pIs, 4 decimals
    double netChargePH7 = 0.0;           ///< under the settings' table
    std::int64_t extinctionCystines = 0; ///< 1/(M*cm) at 280 nm, every Cys pair a cystine
    std::int64_t extinctionReduced = 0;  ///< 1/(M*cm) at 280 nm, no cystine
    double absorbanceCystines = 0.0;     ///< of a 1 g/l solution, 1 cm: extinction / mass
    double absorbanceReduced = 0.0;
    double instabilityIndex = 0.0; ///< Guruprasad et al.; below 40 a protein counts as stable
    double aliphaticIndex = 0.0;
    double gravy = 0.0;       ///< Kyte and Doolittle, mean over the residues
    double aromaticity = 0.0; ///< (F + W + Y) / length
    HalfLife halfLife;
    std::array<std::int64_t, 20> composition{}; ///< counts in slot order (A C D ... Y)
};

/// The sheet of the record's sequence; the settings' pKa table gives the
/// "settings" pI and the net charge.
ParameterSheet ComputeParameterSheet(const core::PropertyRecord& record);

/// The sheet as one JSON object, keys in the order of the text form, numbers
/// in their shortest round-trip form; lines end with LF.
std::string ParameterSheetJson(const ParameterSheet& sheet);

/// The sheet as "key: value" lines in key order, lines ending with LF: the
/// pIs with 4 decimals ("settings 5.1234, EMBOSS 5.2000"), the half-lives
/// and the composition on one line each ("A 12, C 3, ...").
std::string ParameterSheetText(const ParameterSheet& sheet);

/// A number in its shortest round-trip form ("0.1", "5500", "-3.25e-05").
std::string ShortestText(double value);

} // namespace quorin::analysis
