#pragma once

#include "plots/Page.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::plots {

/// The vertical axis of a frame chart: the value range as drawn, the tick step
/// and the tick values in drawing order (upwards from the first tick at or
/// above the bottom, then downwards from below zero).
struct VerticalAxis
{
    double min = 0.0;
    double max = 0.0;
    double step = 0.0;
    std::vector<double> ticks;
};

/// About a fifth of a span, the density the charts' ticks are made for: the
/// span is multiplied by 5 until it reaches 5, rounded down to a multiple of
/// 5 (plus 0.5 when the remainder is 2 or more), divided by 5 and by the
/// fives it took. span must be finite and greater than zero.
double TickStep(double span);

/// The round step nearest to step by ratio: 1, 2, 2.5 or 5 times a power of
/// ten (a tie goes to the larger), so that tick labels read 0.05, 0.10, 0.15
/// rather than 0.048, 0.096. step must be finite and greater than zero.
double RoundStep(double step);

/// The smallest whole round interval at least interval (>= 1): 1, 2, 5, 10,
/// 20, 25, 50, 100, ...; rounding up keeps residue numbers from crowding.
int RoundResidueInterval(int interval);

/// The ticks of an axis from min to max with step (> 0): from 0 (when min is
/// below zero) or the first multiple of step above min upwards while at most
/// max, then from -step downwards while at least min. Every tick is a whole
/// multiple of step.
std::vector<double> AxisTicks(double min, double max, double step);

/// The ticked residues of the residue axis: multiples of interval (>= 1) from
/// from on, before to.
std::vector<int> HorizontalTicks(int from, int to, int interval);

/// The x of a residue in page units for the stretch from..to on a layout; a
/// one-residue stretch is drawn as if it had two.
double ChartX(const PageLayout& layout, int from, int to, double residue);

/// The residue under a screen x of a chart with the frame at left, width wide:
/// x clamped to the frame, then trunc((x - left) x (n - 1) / width + from +
/// 0.5).
int ChartResidueAt(int x, int from, int to, int left, int width);

/// What the axes of a chart show: the stretch, the vertical axis with its tick
/// labels (one per tick) and the ticked residues.
struct ChartAxes
{
    int from = 0;
    int to = 0;
    VerticalAxis vertical;
    std::vector<std::string> labels;
    std::vector<int> residueTicks;
};

/// The page font of the charts (report font A) scaled for the layout, and its
/// metrics on the target.
struct ChartFont
{
    core::LOGFONT font;
    FontMetrics metrics;
};
ChartFont ChartFontFor(const PageLayout& layout, const TextMeasure& measure);

/// The font for value labels right-aligned at x = room (device units) so that
/// none reaches past the page's left edge: the chart font when the widest
/// label fits, else the same face shrunk until it does, to three fifths of
/// its height at the least. One font for all the labels of an axis.
ChartFont LabelFontWithin(const std::vector<std::string>& labels, const ChartFont& font, int room,
                          const TextMeasure& measure);

/// A value label right-aligned at x, vertically centred on y; one still too
/// wide for the room left of x starts at the page's left edge instead.
PageText ValueLabel(std::string label, int x, int y, const ChartFont& font,
                    const TextMeasure& measure);

/// The frame, the value ticks with their labels, the zero line when the range
/// holds zero, the residue ticks with their numbers and "Residue Number"
/// under the frame. Value labels are never cut at the page's left edge
/// (LabelFontWithin).
void DrawChartAxes(PageDrawing& page, const PageLayout& layout, const ChartAxes& axes,
                   const ChartFont& font, const TextMeasure& measure);

/// The printed title from one line below the top, kept to the frame's width
/// and broken into lines that end above firstFreeY (device units), with its
/// row of "*" under the last line.
void DrawPrintedTitle(PageDrawing& page, const PageLayout& layout, std::string_view title,
                      int firstFreeY, const ChartFont& font, const TextMeasure& measure);

/// points with every run of points in one device column cut to its first,
/// lowest, highest and last point, and repeated points dropped: a path
/// through them covers the same pixels with a one-unit pen (and nearly so
/// with a wider one), with far fewer points when a long sequence is shown on
/// the narrow frame.
std::vector<DevicePoint> ThinColumns(const std::vector<DevicePoint>& points);

/// The y of a value in page units on the axis of a layout.
double ChartY(const PageLayout& layout, const VerticalAxis& axis, double value);

} // namespace quorin::plots
