#include "plots/ChartPage.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace quorin::plots {
namespace {

/// No axis has more ticks than this; it only guards against steps that no
/// longer change the value.
constexpr int kMaxTicks = 1000;

} // namespace

double TickStep(double span)
{
    double t = span;
    int k = 0;
    while (t < 5.0) {
        t *= 5.0;
        ++k;
    }
    const double r = std::fmod(t, 5.0);
    double step = (t - r) * 0.2;
    if (!(r >= 0.0 && r < 2.0)) {
        step += 0.5;
    }
    return step / std::pow(5.0, k);
}

double RoundStep(double step)
{
    const int exponent = static_cast<int>(std::floor(std::log10(step)));
    // Dividing by a power of ten is exact where multiplying by its inverse is
    // not: 2.5 / 10 is 0.25, 2.5 * 0.1 is not quite.
    const auto scaled = [exponent](double mantissa) {
        return exponent >= 0 ? mantissa * std::pow(10.0, exponent)
                             : mantissa / std::pow(10.0, -exponent);
    };
    double best = scaled(1.0);
    double bestRatio = std::numeric_limits<double>::infinity();
    for (const double mantissa : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        const double candidate = scaled(mantissa);
        const double ratio = std::max(candidate, step) / std::min(candidate, step);
        if (ratio <= bestRatio) {
            best = candidate;
            bestRatio = ratio;
        }
    }
    return best;
}

int RoundResidueInterval(int interval)
{
    for (long long power = 1;; power *= 10) {
        for (const long long tenths : {10LL, 20LL, 25LL, 50LL}) {
            // 2.5 is no whole number of residues; 25, 250, ... are.
            if (tenths == 25 && power == 1) {
                continue;
            }
            const long long candidate = tenths * power / 10;
            if (candidate >= interval) {
                return static_cast<int>(std::min<long long>(candidate, INT_MAX));
            }
        }
    }
}

std::vector<double> AxisTicks(double min, double max, double step)
{
    // Multiples of the step rather than a running sum, so that a tick of a
    // round step is a round value and the last one is not lost to drift.
    std::vector<double> ticks;
    double k = min < 0.0 ? 0.0 : std::floor(min / step) + 1.0;
    for (int n = 0; k * step <= max && n < kMaxTicks; ++n, k += 1.0) {
        ticks.push_back(k * step);
    }
    k = -1.0;
    if (-step >= max) {
        k = -(std::floor(-max / step) + 1.0);
    }
    for (int n = 0; k * step >= min && n < kMaxTicks; ++n, k -= 1.0) {
        ticks.push_back(k * step);
    }
    return ticks;
}

std::vector<int> HorizontalTicks(int from, int to, int interval)
{
    interval = std::max(1, interval);
    std::vector<int> ticks;
    const int first = from <= 0 ? 0 : (from + interval - 1) / interval * interval;
    for (long long i = first; i < to; i += interval) {
        ticks.push_back(static_cast<int>(i));
    }
    return ticks;
}

double ChartX(const PageLayout& layout, int from, int to, double residue)
{
    const double intervals = std::max(to - from, 1);
    return layout.left + (residue - from) * layout.width / intervals;
}

int ChartResidueAt(int x, int from, int to, int left, int width)
{
    const int clamped = std::clamp(x, left, left + width);
    const double intervals = to - from;
    return TruncatedUnits((clamped - left) * intervals / width + from + 0.5);
}

std::vector<DevicePoint> ThinColumns(const std::vector<DevicePoint>& points)
{
    std::vector<DevicePoint> thin;
    const auto keep = [&thin](DevicePoint point) {
        if (thin.empty() || !(thin.back() == point)) {
            thin.push_back(point);
        }
    };
    std::size_t start = 0;
    while (start < points.size()) {
        const int x = points[start].x;
        std::size_t end = start;
        int low = points[start].y;
        int high = low;
        while (end + 1 < points.size() && points[end + 1].x == x) {
            ++end;
            low = std::min(low, points[end].y);
            high = std::max(high, points[end].y);
        }
        keep(points[start]);
        keep({x, low});
        keep({x, high});
        keep(points[end]);
        start = end + 1;
    }
    return thin;
}

double ChartY(const PageLayout& layout, const VerticalAxis& axis, double value)
{
    return layout.top + (axis.max - value) * layout.height / (axis.max - axis.min);
}

ChartFont ChartFontFor(const PageLayout& layout, const TextMeasure& measure)
{
    ChartFont chart;
    chart.font = ScaledFont(core::ReportFontA(), layout.scale);
    chart.metrics = measure.Metrics(chart.font);
    return chart;
}

ChartFont LabelFontWithin(const std::vector<std::string>& labels, const ChartFont& font, int room,
                          const TextMeasure& measure)
{
    const auto widest = [&labels, &measure](const core::LOGFONT& candidate) {
        int width = 0;
        for (const std::string& label : labels) {
            width = std::max(width, measure.Extent(candidate, label).width);
        }
        return width;
    };
    const int width = widest(font.font);
    if (width <= room || width <= 0) {
        return font;
    }
    const int height = std::abs(font.font.lfHeight);
    const int smallest = std::max(1, (3 * height + 4) / 5);
    // The width follows the height nearly in proportion: start there and
    // step down for what rounding left over.
    int shrunk = std::clamp(height * std::max(room, 0) / width, smallest, height);
    ChartFont fitted = font;
    for (;; --shrunk) {
        fitted.font.lfHeight = font.font.lfHeight < 0 ? -shrunk : shrunk;
        if (shrunk <= smallest || widest(fitted.font) <= room) {
            break;
        }
    }
    fitted.metrics = measure.Metrics(fitted.font);
    return fitted;
}

PageText ValueLabel(std::string label, int x, int y, const ChartFont& font,
                    const TextMeasure& measure)
{
    const int top = y - font.metrics.lineHeight / 2;
    if (measure.Extent(font.font, label).width > x) {
        return PageText{std::move(label), {0, top}, TextAnchor::TopLeft, font.font, kBlack};
    }
    return PageText{std::move(label), {x, top}, TextAnchor::TopRight, font.font, kBlack};
}

void DrawChartAxes(PageDrawing& page, const PageLayout& layout, const ChartAxes& axes,
                   const ChartFont& font, const TextMeasure& measure)
{
    const double L = layout.left;
    const double T = layout.top;
    const double W = layout.width;
    const auto D = [&layout](double pageCoordinate) { return layout.Device(pageCoordinate); };
    const FontMetrics& metrics = font.metrics;
    const int tickLength = TruncatedUnits(0.6 * metrics.maxCharWidth);
    const PagePen framePen{kBlack, std::max(1, TruncatedUnits(layout.scale)), false};
    auto& out = page.elements;
    const auto text = [&](std::string content, DevicePoint at, TextAnchor anchor) {
        out.push_back(PageText{std::move(content), at, anchor, font.font, kBlack});
    };

    const int left = D(L);
    const int right = D(L + W);
    const int top = D(T);
    const int bottom = D(T + layout.height);
    out.push_back(PageFrame{{left, top, right, bottom}, framePen});

    const VerticalAxis& axis = axes.vertical;
    const ChartFont labelFont = LabelFontWithin(axes.labels, font, left - tickLength, measure);
    for (std::size_t k = 0; k < axis.ticks.size(); ++k) {
        const int y = D(ChartY(layout, axis, axis.ticks[k]));
        out.push_back(PageLine{{left, y}, {left + tickLength, y}, framePen});
        out.push_back(ValueLabel(k < axes.labels.size() ? axes.labels[k] : std::string(),
                                 left - tickLength, y, labelFont, measure));
    }
    if (axis.max > 0.0 && axis.min < 0.0) {
        const int y = D(ChartY(layout, axis, 0.0));
        out.push_back(PageLine{{left, y}, {right, y}, framePen});
    }

    for (const int residue : axes.residueTicks) {
        const int x = D(ChartX(layout, axes.from, axes.to, residue));
        out.push_back(PageLine{{x, bottom}, {x, bottom - tickLength}, framePen});
        const std::string label = std::to_string(residue);
        const double halfWidth = static_cast<double>(label.size()) / 2.0 * metrics.maxCharWidth;
        text(label, {x - TruncatedUnits(halfWidth), bottom + metrics.lineHeight / 2},
             TextAnchor::TopLeft);
    }
    text("Residue Number", {D(L + W / 2.0), bottom + 2 * metrics.lineHeight},
         TextAnchor::TopCentre);
}

void DrawPrintedTitle(PageDrawing& page, const PageLayout& layout, std::string_view title,
                      int firstFreeY, const ChartFont& font, const TextMeasure& measure)
{
    const auto D = [&layout](double pageCoordinate) { return layout.Device(pageCoordinate); };
    const FontMetrics& metrics = font.metrics;
    // One line down from the top, the title's lines and stars leave a blank
    // line above firstFreeY.
    const int lineHeight = std::max(1, metrics.lineHeight);
    const TitleBlock block =
        WrapTitle(title, font.font, D(layout.left + layout.width) - D(layout.left),
                  firstFreeY / lineHeight - 3, measure);
    DrawTitleBlock(page.elements, block, {D(layout.left), metrics.lineHeight}, font.font,
                   metrics.lineHeight);
}

} // namespace quorin::plots
