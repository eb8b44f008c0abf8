#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorin::core {

/// A colour in the stored form 0x00BBGGRR (red in the low byte).
using COLORREF = std::uint32_t;

/// Every per-residue table and count has this many slots: 0 is the N-terminus,
/// 1..20 are A C D E F G H I K L M N P Q R S T V W Y, 21 is the C-terminus and
/// every character that is no standard residue.
inline constexpr int kResidueSlots = 22;
inline constexpr int kNTerminus = 0;
inline constexpr int kCTerminus = 21;

/// One value per residue slot.
using ResidueTable = std::array<double, kResidueSlots>;

/// The twenty residue letters in slot order 1..20.
inline constexpr std::string_view kResidueLetters = "ACDEFGHIKLMNPQRSTVWY";

/// Slot 1..20 of an upper-case residue letter; 21 for every other character
/// (lower case included: sequence text is upper-cased before it is indexed).
int IndexOfLetter(char c);

/// The letter of slot 1..20; "<" for 0 and ">" for 21 and above.
char LetterOfIndex(int index);

/// True for ASCII letters other than B, J, U and Z in either case. X and O pass
/// although their slot is 21; they stay in the cleaned sequence.
bool IsResidueLetter(char c);

/// The sequence-text upper-casing: every code above 0x60 loses 0x20, so a..z
/// become A..Z and 0x7B..0xFF shift the same way.
char UpperCaseResidue(char c);

/// Class colour of a residue slot: acidic blue, basic red, polar green, the
/// rest (and slots 0 and 21) dark grey.
COLORREF DefaultResidueColour(int index);

/// Built-in tables, slot order.
inline constexpr ResidueTable kDefaultPKa = {7.4, 7.0,  9.25, 4.0, 4.4,  7.0, 7.0, 6.5,
                                             7.0, 10.8, 7.0,  7.0, 7.0,  7.0, 7.0, 12.0,
                                             7.0, 7.0,  7.0,  7.0, 10.2, 3.9};
/// Average residue masses in dalton (amino acid minus water); termini 0.
inline constexpr ResidueTable kDefaultResidueMass = {
    0,      71.09,  103.15, 115.09, 129.12, 147.18, 57.05,  137.14, 113.16, 128.17, 113.16,
    131.19, 114.11, 97.12,  128.14, 156.19, 87.08,  101.11, 99.14,  186.21, 163.18, 0};
/// Molar absorption at 280 nm in 1/(mM*cm), denatured in 6 M GdnHCl; C counts
/// per cysteine residue.
inline constexpr ResidueTable kDefaultAbsorptionDenatured = {
    0, 0, 0.12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5.69, 1.28, 0};
inline constexpr ResidueTable kDefaultAbsorptionNative = {0, 0, 0.125, 0, 0, 0, 0, 0, 0,   0,    0,
                                                          0, 0, 0,     0, 0, 0, 0, 0, 5.5, 1.49, 0};

/// Dark grey, the colour of non-polar residues and of the termini.
inline constexpr COLORREF kDarkGrey = 0x323232;

/// One named hydropathy scale; values in slot order (0 and 21 the termini).
struct HYDROPATHYSCALE
{
    std::string name;
    ResidueTable values{};
};

/// The name that switches on the helix display of the hydropathy plot.
inline constexpr std::string_view kKyteDoolittleName = "Kyte and Doolittle (1982)";
inline constexpr std::string_view kEisenbergName = "Eisenberg Consensus Scale (1983)";

inline constexpr ResidueTable kKyteDoolittleValues = {-4.5, 1.8,  2.5, -3.5, -3.5, 2.8,  -0.4, -3.2,
                                                      4.5,  -3.9, 3.8, 1.9,  -3.5, -1.6, -3.5, -4.5,
                                                      -0.8, -0.7, 4.2, -0.9, -1.3, -4.5};
inline constexpr ResidueTable kEisenbergValues = {
    -2.53, 0.62,  0.29, -0.90, -0.74, 1.19,  0.48,  -0.40, 1.38, -1.50, 1.06,
    0.64,  -0.78, 0.12, -0.85, -2.53, -0.18, -0.05, 1.08,  0.81, 0.26,  -2.53};

} // namespace quorin::core
