#pragma once

#include "core/PropertyRecord.h"
#include "plots/HydropathyPage.h"

#include <string>

namespace quorin::test {

/// K at 1..10, I at 11..31, K at 32..50: one Kyte and Doolittle helix from 5
/// to 38 at threshold 1.6.
inline const std::string kDemoSequence =
    std::string(10, 'K') + std::string(21, 'I') + std::string(19, 'K');

/// record holds the demo sequence ("demo"), the two built-in scales with the
/// first selected, and a hydropathy plot of 1..50 with window 1, threshold
/// 1.6, helices and labels on, line width 1 and the four legend items.
inline void FillDemoRecord(core::PropertyRecord& record)
{
    record.ResetCurrentTables();
    record.scales = record.builtinScales;
    record.SetName("demo");
    record.SetSequence(kDemoSequence);
    plots::SelectScale(record, 0);
    core::HydropathyPlotSettings& s = record.plots.pathy;
    s.from = 1;
    s.to = 50;
    s.window = 1;
    s.threshold = 1.6;
    s.helixDisplay = 1;
    s.labelMarks = 1;
    s.lineWidth = 1;
    s.texts = plots::LegendItems();
}

} // namespace quorin::test
