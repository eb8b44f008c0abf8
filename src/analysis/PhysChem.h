#pragma once

#include "core/PropertyRecord.h"

#include <array>
#include <string>

namespace quorin::analysis {

/// Percent of each residue 1..20 (array index 0 is A) in the residue length,
/// computed from the integer product count x 100; 0 for an empty sequence.
std::array<double, 20> CompositionPercentages(const core::PropertyRecord& record);

/// The physico-chemical report as the properties window copies it, lines
/// ending with CR LF.
std::string PhysChemReportText(core::PropertyRecord& record);

} // namespace quorin::analysis
