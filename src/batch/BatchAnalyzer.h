#pragma once

#include "batch/BatchOptions.h"
#include "core/PropertyRecord.h"
#include "core/Quantities.h"
#include "core/Residue.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quorin::batch {

/// One result row of a batch: a sequence or a statistics row. Values not
/// computed keep these defaults (isoelectric point 7.0, absolute composition 1
/// for the two termini).
struct PROPERTIES
{
    std::int64_t length = 0;
    double molecularWeight = 0.0;
    double epsDenatured = 0.0; ///< 1/(mM*cm)
    double epsNative = 0.0;    ///< 1/(mM*cm)
    double isoelectricPoint = 7.0;
    double gravy = 0.0;
    std::int64_t helixCount = 0;
    /// counts[i] / length, slot order; 0 for an empty sequence.
    std::array<double, core::kResidueSlots> relativeComposition{};
    core::ResidueCounts absoluteComposition{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                            0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
};

/// The working memory of BatchAnalyzer::Analyse, one per thread, kept
/// between calls.
struct AnalysisScratch
{
    std::vector<double> values;
    std::vector<double> prefixSums;
};

/// Computes result rows from the current tables and scale of a record, for
/// many sequences at once: const, so one analyzer serves every thread.
class BatchAnalyzer
{
public:
    /// scaleIndex must name an entry of record.scales when the options use a
    /// scale.
    BatchAnalyzer(const core::PropertyRecord& record, const BatchOptions& options, int scaleIndex);

    /// The row of one record body: its residue letters (IsResidueLetter) as
    /// SetSequence counts them.
    void Analyse(std::string_view body, PROPERTIES& row, AnalysisScratch& scratch) const;

private:
    BatchOptions m_options;
    core::ResidueTable m_mass{};
    core::ResidueTable m_epsDenatured{};
    core::ResidueTable m_epsNative{};
    core::ResidueTable m_hydropathy{};
    core::IsoelectricGrid m_grid;
    /// Slot of each byte that SetSequence keeps (0..21), -1 for the rest.
    std::array<std::int8_t, 256> m_slots{};
};

} // namespace quorin::batch
