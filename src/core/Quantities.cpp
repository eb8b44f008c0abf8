#include "core/Quantities.h"

#include <cmath>
#include <optional>

namespace quorin::core {

GroupValues ChargeDenominators(const GroupValues& pK, double pH)
{
    GroupValues denominators{};
    for (std::size_t g = 0; g < pK.size(); ++g) {
        denominators[g] = g < kPositiveGroups ? 1.0 + std::pow(10.0, pH - pK[g])
                                              : 1.0 + std::pow(10.0, pK[g] - pH);
    }
    return denominators;
}

double NetCharge(const GroupValues& count, const GroupValues& denominators)
{
    double z = 0.0;
    for (std::size_t g = 0; g < kPositiveGroups; ++g) {
        z += count[g] / denominators[g];
    }
    for (std::size_t g = kPositiveGroups; g < count.size(); ++g) {
        z -= count[g] / denominators[g];
    }
    return z;
}

double ChargeGroups::NetCharge(double pH) const
{
    return core::NetCharge(count, ChargeDenominators(pK, pH));
}

ChargeGroups CountedChargeGroups(const ResidueCounts& counts, const ResidueTable& pKa)
{
    ChargeGroups groups;
    for (std::size_t g = 0; g < kChargedGroupSlots.size(); ++g) {
        const auto slot = static_cast<std::size_t>(kChargedGroupSlots[g]);
        groups.count[g] = static_cast<double>(counts[slot]);
        groups.pK[g] = pKa[slot];
    }
    return groups;
}

IsoelectricGrid::IsoelectricGrid(const ResidueTable& pKa, bool tabulated)
{
    for (std::size_t g = 0; g < kChargedGroupSlots.size(); ++g) {
        m_pK[g] = pKa[static_cast<std::size_t>(kChargedGroupSlots[g])];
    }
    if (tabulated) {
        m_denominators.reserve(static_cast<std::size_t>(kEnd - kFirst));
        for (int k = kFirst; k < kEnd; ++k) {
            m_denominators.push_back(ChargeDenominators(m_pK, k * 0.01));
        }
    }
}

double IsoelectricGrid::netCharge(const GroupValues& count, int k) const
{
    if (m_denominators.empty()) {
        return NetCharge(count, ChargeDenominators(m_pK, k * 0.01));
    }
    return NetCharge(count, m_denominators[static_cast<std::size_t>(k - kFirst)]);
}

double IsoelectricGrid::IsoelectricPoint(const ResidueCounts& counts) const
{
    GroupValues n{};
    for (std::size_t g = 0; g < kChargedGroupSlots.size(); ++g) {
        n[g] = static_cast<double>(counts[static_cast<std::size_t>(kChargedGroupSlots[g])]);
    }
    // The bisection for the first grid index whose charge is at most zero (kEnd
    // when none): the charge never rises with the pH, as every share falls and
    // rounding keeps the order of sums. It keeps the charges it computed at the
    // ends it closes in on.
    int low = kFirst;
    int high = kEnd;
    std::optional<double> atHigh;
    std::optional<double> belowLow;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const double z = netCharge(n, middle);
        if (z <= 0.0) {
            high = middle;
            atHigh = z;
        } else {
            low = middle + 1;
            belowLow = z;
        }
    }
    const int crossing = low;
    if (crossing == kFirst) {
        return crossing * 0.01;
    }
    // The last positive charge may stand on a plateau; the lowest pH of equals
    // wins, so its first point is the answer.
    const double positive = belowLow ? *belowLow : netCharge(n, crossing - 1);
    int best = crossing - 1;
    if (best > kFirst && netCharge(n, best - 1) <= positive) {
        int first = kFirst;
        int last = best - 1;
        while (first < last) {
            const int middle = first + (last - first) / 2;
            if (netCharge(n, middle) <= positive) {
                last = middle;
            } else {
                first = middle + 1;
            }
        }
        best = first;
    }
    if (crossing < kEnd && std::fabs(atHigh ? *atHigh : netCharge(n, crossing)) < positive) {
        best = crossing;
    }
    return best * 0.01;
}

double MolecularWeightOf(const ResidueCounts& counts, const ResidueTable& residueMass)
{
    double sum = kWaterMass;
    for (std::size_t i = 1; i <= 20; ++i) {
        sum += static_cast<double>(counts[i]) * residueMass[i];
    }
    return sum;
}

Absorptions AbsorptionsOf(const ResidueCounts& counts, const ResidueTable& denatured,
                          const ResidueTable& native)
{
    Absorptions sums;
    for (std::size_t i = 1; i <= 20; ++i) {
        sums.denatured += static_cast<double>(counts[i]) * denatured[i];
        sums.native += static_cast<double>(counts[i]) * native[i];
    }
    return sums;
}

} // namespace quorin::core
