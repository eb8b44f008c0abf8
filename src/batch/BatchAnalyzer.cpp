#include "batch/BatchAnalyzer.h"

#include "plots/Hydropathy.h"

#include <cmath>
#include <span>

namespace quorin::batch {

BatchAnalyzer::BatchAnalyzer(const core::PropertyRecord& record, const BatchOptions& options,
                             int scaleIndex)
    : m_options(options), m_mass(record.residueMass), m_epsDenatured(record.absorptionDenatured),
      m_epsNative(record.absorptionNative), m_grid(record.pKa)
{
    if (options.UsesScale()) {
        m_hydropathy = record.scales.at(static_cast<std::size_t>(scaleIndex)).values;
    }
    for (int c = 0; c < 256; ++c) {
        const auto letter = static_cast<char>(c);
        m_slots[static_cast<std::size_t>(c)] =
            core::IsResidueLetter(letter)
                ? static_cast<std::int8_t>(core::IndexOfLetter(core::UpperCaseResidue(letter)))
                : std::int8_t{-1};
    }
}

void BatchAnalyzer::Analyse(std::string_view body, PROPERTIES& row, AnalysisScratch& scratch) const
{
    row = PROPERTIES{};
    auto& counts = row.absoluteComposition;
    const bool needValues = m_options.UsesScale();
    // Grown to the longest body seen and never shrunk: the loop writes without
    // a capacity check per residue, and nothing is filled twice.
    if (needValues && scratch.prefixSums.size() < body.size() + 1) {
        scratch.values.resize(body.size());
        scratch.prefixSums.resize(body.size() + 1);
    }
    double* const values = scratch.values.data();
    double* const prefixSums = scratch.prefixSums.data();
    std::size_t valueCount = 0;
    // One running sum serves GRAVY (its last value) and the helix windows.
    double valueSum = 0.0;
    if (needValues) {
        prefixSums[0] = 0.0;
    }
    for (const char c : body) {
        const std::int8_t slot = m_slots[static_cast<unsigned char>(c)];
        if (slot < 0) {
            continue;
        }
        ++counts[static_cast<std::size_t>(slot)];
        if (needValues) {
            const double value = m_hydropathy[static_cast<std::size_t>(slot)];
            values[valueCount++] = value;
            valueSum += value;
            prefixSums[valueCount] = valueSum;
        }
    }
    std::int64_t length = 0;
    for (std::size_t i = 1; i <= 20; ++i) {
        length += counts[i];
    }
    row.length = length;
    if (m_options.molecularWeight) {
        row.molecularWeight = core::MolecularWeightOf(counts, m_mass);
    }
    if (m_options.epsUrea || m_options.epsNative) {
        const core::Absorptions eps = core::AbsorptionsOf(counts, m_epsDenatured, m_epsNative);
        row.epsDenatured = m_options.epsUrea ? eps.denatured : 0.0;
        row.epsNative = m_options.epsNative ? eps.native : 0.0;
    }
    if (m_options.isoelectricPoint) {
        row.isoelectricPoint = m_grid.IsoelectricPoint(counts);
    }
    // GRAVY and the helices run over every position of the cleaned sequence,
    // X and O included, as the hydropathy plot reads them.
    if (m_options.gravy && valueCount > 0) {
        row.gravy = valueSum / static_cast<double>(valueCount);
    }
    if (m_options.helices) {
        // Bounds the sum of the values' magnitudes from the counts (X and O
        // share the C-terminus slot, which counts one beyond them).
        double absoluteSum = static_cast<double>(counts[core::kCTerminus] - 1) *
                             std::fabs(m_hydropathy[core::kCTerminus]);
        for (std::size_t i = 1; i <= 20; ++i) {
            absoluteSum += static_cast<double>(counts[i]) * std::fabs(m_hydropathy[i]);
        }
        row.helixCount = plots::PredictHelices(std::span<const double>(values, valueCount),
                                               std::span<const double>(prefixSums, valueCount + 1),
                                               absoluteSum, m_options.threshold);
    }
    if (length > 0) {
        for (std::size_t i = 0; i < core::kResidueSlots; ++i) {
            row.relativeComposition[i] =
                static_cast<double>(counts[i]) / static_cast<double>(length);
        }
    }
}

} // namespace quorin::batch
