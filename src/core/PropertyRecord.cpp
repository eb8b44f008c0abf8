#include "core/PropertyRecord.h"

#include <cmath>

namespace quorin::core {
namespace {

constexpr double kWaterMass = 18.02;
PropertyRecord* g_activeRecord = nullptr;

} // namespace

PropertyRecord::PropertyRecord()
{
    SetDefaultTables();
}

void PropertyRecord::SetDefaultTables()
{
    plotLineWidth = 1;
    wheelLineWidth = 1;
    wheelColorCode = 1;
    wheelNumbers = 1;
    defaultPKa = kDefaultPKa;
    defaultAbsorptionDenatured = kDefaultAbsorptionDenatured;
    defaultAbsorptionNative = kDefaultAbsorptionNative;
    for (int i = 1; i <= 20; ++i) {
        colours[static_cast<std::size_t>(i)] = DefaultResidueColour(i);
    }
    defaultResidueMass = kDefaultResidueMass;
    builtinScales.push_back({std::string(kKyteDoolittleName), kKyteDoolittleValues});
    builtinScales.push_back({std::string(kEisenbergName), kEisenbergValues});
}

void PropertyRecord::ResetCurrentTables()
{
    pKa = defaultPKa;
    residueMass = defaultResidueMass;
    absorptionDenatured = defaultAbsorptionDenatured;
    absorptionNative = defaultAbsorptionNative;
}

void PropertyRecord::SetName(std::string_view name)
{
    while (!name.empty() && name.front() == '>') {
        name.remove_prefix(1);
    }
    m_name = name;
}

void PropertyRecord::SetSequence(std::string_view text)
{
    m_counts.fill(0);
    m_counts[kNTerminus] = 1;
    m_counts[kCTerminus] = 1;
    ForgetCachedResults();

    m_raw.assign(text);
    m_clean.clear();
    m_clean.reserve(text.size());
    m_residueLength = 0;
    for (char& c : m_raw) {
        // Only characters that were letters before the shift can be residues, so a
        // byte such as 0x84 of UTF-8 text never turns into one.
        const bool residue = IsResidueLetter(c);
        c = UpperCaseResidue(c);
        if (!residue) {
            continue;
        }
        m_clean.push_back(c);
        const int index = IndexOfLetter(c);
        ++m_counts[static_cast<std::size_t>(index)];
        if (index != kCTerminus) {
            ++m_residueLength;
        }
    }
}

void PropertyRecord::ForgetCachedResults()
{
    m_pIStale = true;
    m_pI = 0.0;
    m_mw = 0.0;
    m_absorptionDenatured = 0.0;
    m_absorptionNative = 0.0;
}

double PropertyRecord::IsoelectricPoint()
{
    if (!m_pIStale) {
        return m_pI;
    }
    static constexpr std::array<int, 4> kPositive = {kNTerminus, 7, 9, 15};    // <, H, K, R
    static constexpr std::array<int, 5> kNegative = {2, 3, 4, 20, kCTerminus}; // C, D, E, Y, >
    double best = 100.0;
    double bestPH = 1.0;
    double smallest = HUGE_VAL;
    double smallestPH = 1.0;
    for (int k = 100; k < 1300; ++k) {
        const double pH = k * 0.01;
        double z = 0.0;
        for (const int i : kPositive) {
            const auto s = static_cast<std::size_t>(i);
            z += static_cast<double>(m_counts[s]) / (1.0 + std::pow(10.0, pH - pKa[s]));
        }
        for (const int i : kNegative) {
            const auto s = static_cast<std::size_t>(i);
            z -= static_cast<double>(m_counts[s]) / (1.0 + std::pow(10.0, pKa[s] - pH));
        }
        const double magnitude = std::fabs(z);
        if (magnitude < best) {
            best = magnitude;
            bestPH = pH;
        }
        if (magnitude < smallest) {
            smallest = magnitude;
            smallestPH = pH;
        }
    }
    // With hundreds of unbalanced charges no grid point gets below the start
    // value; the grid pH of the smallest |Z| is the sound answer then.
    m_pI = best < 100.0 ? bestPH : smallestPH;
    m_pIStale = false;
    return m_pI;
}

double PropertyRecord::MolecularWeight()
{
    if (m_mw == 0.0) {
        double sum = kWaterMass;
        for (std::size_t i = 1; i <= 20; ++i) {
            sum += static_cast<double>(m_counts[i]) * residueMass[i];
        }
        m_mw = sum;
    }
    return m_mw;
}

double PropertyRecord::StretchWeight(int first, int last) const
{
    double sum = kWaterMass;
    for (int p = std::max(first, 0); p <= last && p < static_cast<int>(m_clean.size()); ++p) {
        sum += residueMass[static_cast<std::size_t>(
            IndexOfLetter(m_clean[static_cast<std::size_t>(p)]))];
    }
    return sum;
}

void PropertyRecord::computeAbsorption()
{
    double denatured = 0.0;
    double native = 0.0;
    for (std::size_t i = 1; i <= 20; ++i) {
        denatured += static_cast<double>(m_counts[i]) * absorptionDenatured[i];
        native += static_cast<double>(m_counts[i]) * absorptionNative[i];
    }
    m_absorptionDenatured = denatured;
    m_absorptionNative = native;
}

double PropertyRecord::AbsorptionDenatured()
{
    if (m_absorptionDenatured == 0.0) {
        computeAbsorption();
    }
    return m_absorptionDenatured;
}

double PropertyRecord::AbsorptionNative()
{
    if (m_absorptionNative == 0.0) {
        computeAbsorption();
    }
    return m_absorptionNative;
}

PropertyRecord* ActiveRecord()
{
    return g_activeRecord;
}

void SetActiveRecord(PropertyRecord* record)
{
    g_activeRecord = record;
}

} // namespace quorin::core
