#pragma once

#include "core/Residue.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorin::core {

/// Counts in residue-slot order: 1 for the N-terminus, residues 1..20, and for
/// slot 21 one C-terminus plus every X and O (as PropertyRecord counts them).
using ResidueCounts = std::array<std::int64_t, kResidueSlots>;

/// The water a chain's termini add to the residue masses, in dalton.
inline constexpr double kWaterMass = 18.02;

/// The residue slots of the nine charged groups, in the order every net charge
/// sums them: the positive ones (N-terminus, H, K, R), then the negative ones
/// (C, D, E, Y, C-terminus).
inline constexpr std::array<int, 9> kChargedGroupSlots = {kNTerminus, 7, 9,  15,        2,
                                                          3,          4, 20, kCTerminus};
inline constexpr std::size_t kPositiveGroups = 4;

/// One value per charged group, in kChargedGroupSlots order.
using GroupValues = std::array<double, kChargedGroupSlots.size()>;

/// The Henderson-Hasselbalch denominators at pH: 1 + 10^(pH - pK) for the
/// positive groups, 1 + 10^(pK - pH) for the negative ones.
GroupValues ChargeDenominators(const GroupValues& pK, double pH);

/// The net charge of count groups over their denominators, added in group
/// order: the positive groups' shares, less the negative ones'.
double NetCharge(const GroupValues& count, const GroupValues& denominators);

/// The charged groups of one sequence: how many of each and their pKs.
struct ChargeGroups
{
    static constexpr std::size_t kPositiveGroups = core::kPositiveGroups;

    GroupValues count{};
    GroupValues pK{};

    /// Net charge at pH by Henderson-Hasselbalch, summed in group order.
    double NetCharge(double pH) const;
};

/// The groups of counts under a pKa table in slot order, as the properties
/// report takes them (X and O count as C-termini).
ChargeGroups CountedChargeGroups(const ResidueCounts& counts, const ResidueTable& pKa);

/// The isoelectric point of the grid pH 1.00..12.99 in steps of 0.01: the grid
/// point of the smallest net charge in magnitude, the lowest pH of equals.
/// The net charge falls with the pH, so that point lies where the charge
/// changes sign, and a bisection over the grid indices finds it without
/// walking the whole grid.
class IsoelectricGrid
{
public:
    /// With tabulated, the denominators of every grid point are made once,
    /// for many sequences under one table (the batch); without, the few
    /// points the bisection visits are computed as it goes.
    explicit IsoelectricGrid(const ResidueTable& pKa, bool tabulated = true);

    double IsoelectricPoint(const ResidueCounts& counts) const;

private:
    static constexpr int kFirst = 100;
    static constexpr int kEnd = 1300;

    double netCharge(const GroupValues& count, int k) const;

    GroupValues m_pK{};
    /// ChargeDenominators per grid index k - kFirst, when tabulated.
    std::vector<GroupValues> m_denominators;
};

/// kWaterMass plus the masses of the twenty residues' counts, added in slot
/// order, in dalton.
double MolecularWeightOf(const ResidueCounts& counts, const ResidueTable& residueMass);

/// Molar absorptions at 280 nm in 1/(mM*cm).
struct Absorptions
{
    double denatured = 0.0;
    double native = 0.0;
};

/// The absorptions of the twenty residues' counts, each added in slot order.
Absorptions AbsorptionsOf(const ResidueCounts& counts, const ResidueTable& denatured,
                          const ResidueTable& native);

} // namespace quorin::core
