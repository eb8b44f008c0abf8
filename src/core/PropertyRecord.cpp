#include "core/PropertyRecord.h"

#include "core/Quantities.h"

#include <algorithm>

namespace quorin::core {
namespace {

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
    if (m_pIStale) {
        // One sequence: the few grid points the search visits are cheaper
        // than a table of them all.
        m_pI = IsoelectricGrid(pKa, false).IsoelectricPoint(m_counts);
        m_pIStale = false;
    }
    return m_pI;
}

double PropertyRecord::MolecularWeight()
{
    if (m_mw == 0.0) {
        m_mw = MolecularWeightOf(m_counts, residueMass);
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
    const Absorptions sums = AbsorptionsOf(m_counts, absorptionDenatured, absorptionNative);
    m_absorptionDenatured = sums.denatured;
    m_absorptionNative = sums.native;
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
