#pragma once

#include "core/PageItems.h"
#include "core/Residue.h"

#include <cstdint>
#include <vector>

namespace quorin::core {

/// What the hydropathy plot keeps with its sequence, so that closing and
/// reopening the plot window brings back the same stretch, marks and texts.
struct HydropathyPlotSettings
{
    int from = 0; ///< displayed stretch, 1-based residue numbers, both inclusive
    int to = 0;
    int window = 0;              ///< sliding-window size, odd
    double threshold = 0.0;      ///< mean hydropathy above which a stretch is a helix
    int helixDisplay = 0;        ///< 1: helix bars are drawn (Kyte and Doolittle only)
    std::uint8_t labelMarks = 0; ///< 1: marks carry a residue label
    int lineWidth = 0;           ///< curve and mark pens, points
    std::vector<MARK> marks;
    std::vector<TEXTITEM> texts;
    friend bool operator==(const HydropathyPlotSettings&, const HydropathyPlotSettings&) = default;
};

/// One open helical wheel: the stretch it shows and its display scale.
struct WHEELPLOT
{
    int from = 0; ///< first residue, 1-based
    int to = 0;   ///< last residue, inclusive
    double zoom = 1.0;
    friend bool operator==(const WHEELPLOT&, const WHEELPLOT&) = default;
};

/// The scale choice shared by every plot of one sequence, and the plots'
/// settings blocks.
struct PlotSettings
{
    int currentScale = 0;      ///< index into the record's scale list
    ResidueTable hydropathy{}; ///< copy of the current scale's values
    HydropathyPlotSettings pathy;
    /// One entry per open helical wheel, in the order the wheels were opened.
    std::vector<WHEELPLOT> wheels;
};

} // namespace quorin::core
