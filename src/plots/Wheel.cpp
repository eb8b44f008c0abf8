#include "plots/Wheel.h"

#include "core/Residue.h"
#include "plots/Amphipathy.h"
#include "plots/Hydropathy.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace quorin::plots {
namespace {

/// The first radius a label tries lies this far beyond the circle, and no
/// label comes closer to a line than the gap (page units, times k).
constexpr int kLabelStart = 5;
constexpr int kLabelGap = 2;
/// Lines a printed title may take before it is cut.
constexpr int kTitleLines = 3;

/// The distance along one axis from the centre to the nearest point of the
/// span low..high: 0 when the span crosses the axis.
std::int64_t nearest(std::int64_t low, std::int64_t high)
{
    if (low <= 0 && high >= 0) {
        return 0;
    }
    return std::min(std::llabs(low), std::llabs(high));
}

std::int64_t farthest(std::int64_t low, std::int64_t high)
{
    return std::max(std::llabs(low), std::llabs(high));
}

/// A label box relative to the centre: [x, x + width] x [y, y + height].
struct Box
{
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;

    std::int64_t NearSquared() const
    {
        const std::int64_t dx = nearest(x, x + width);
        const std::int64_t dy = nearest(y, y + height);
        return dx * dx + dy * dy;
    }
    /// The outer corner one unit further out horizontally, as the turns'
    /// reach counts it.
    std::int64_t FarSquared() const
    {
        const std::int64_t dx = farthest(x, x + width) + 1;
        const std::int64_t dy = farthest(y, y + height);
        return dx * dx + dy * dy;
    }
};

/// The largest r whose square does not exceed value.
int floorSqrt(std::int64_t value)
{
    auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(value)));
    while (r * r > value) {
        --r;
    }
    while ((r + 1) * (r + 1) <= value) {
        ++r;
    }
    return static_cast<int>(r);
}

std::string stretchText(const core::WHEELPLOT& wheel)
{
    return std::to_string(wheel.from) + "-" + std::to_string(wheel.to);
}

} // namespace

PageLayout WheelScreenLayout(double zoom)
{
    return PageLayout{PageTarget::Screen, zoom, 0, 0, kWheelPageSize, kWheelPageSize};
}

PageLayout WheelMetafileLayout()
{
    PageLayout layout = WheelScreenLayout();
    layout.target = PageTarget::Metafile;
    return layout;
}

PageLayout WheelPrinterLayout(int deviceWidth)
{
    const int k = std::max(1, TruncatedUnits(0.8 * deviceWidth / 600.0));
    return PageLayout{PageTarget::Printer, static_cast<double>(k), 0, 0, deviceWidth, deviceWidth};
}

int WheelShownSize(double zoom)
{
    return WheelScreenLayout(zoom).Device(kWheelPageSize);
}

WheelFrame WheelFrameOf(const PageLayout& layout)
{
    if (layout.Printing()) {
        const int k = TruncatedUnits(layout.scale);
        return WheelFrame{{layout.width / 2, layout.width / 2}, kWheelRadius * k, layout.scale};
    }
    const int centre = layout.Device(kWheelCentre);
    return WheelFrame{{centre, centre}, layout.Device(kWheelRadius), layout.scale};
}

DevicePoint WheelPoint(const WheelFrame& frame, int offset)
{
    const double theta = offset * kHelixStep;
    return DevicePoint{frame.centre.x + TruncatedUnits(frame.radius * std::sin(theta)),
                       frame.centre.y + TruncatedUnits(frame.radius * std::cos(theta))};
}

std::string WheelLabelText(char letter, int number, bool numbers)
{
    std::string text(1, letter);
    if (numbers) {
        text += std::to_string(number);
    }
    return text;
}

WheelGeometry ComputeWheel(const core::PropertyRecord& record, const core::WHEELPLOT& wheel,
                           const PageLayout& layout, const TextMeasure& measure)
{
    WheelGeometry geometry;
    geometry.frame = WheelFrameOf(layout);
    const WheelFrame& frame = geometry.frame;
    geometry.penWidth = std::max(1, TruncatedUnits(std::max(1, record.wheelLineWidth) * frame.k));
    geometry.font = ScaledFont(UsableFont(record.wheelFont), frame.k);

    const std::string& sequence = record.CleanSequence();
    const int first = std::max(wheel.from, 1);
    const int last = std::min(wheel.to, PositionCount(record));
    const bool numbers = record.wheelNumbers != 0;
    const bool colours = record.wheelColorCode != 0;

    // The chords run from point to point inside the circle, and the pen
    // reaches half its width beyond each point: a label outside this radius
    // touches no line.
    const std::int64_t clear =
        frame.radius + geometry.penWidth / 2 + TruncatedUnits(kLabelGap * frame.k);
    std::array<std::int64_t, kWheelSlots> reach{};
    reach.fill(clear * clear);

    for (int position = first; position <= last; ++position) {
        const int j = position - wheel.from;
        geometry.points.push_back(WheelPoint(frame, j));

        const char letter = sequence[static_cast<std::size_t>(position - 1)];
        WheelLabel label;
        label.text = WheelLabelText(letter, position, numbers);
        label.extent = measure.Extent(geometry.font, label.text);
        label.colour = colours
                           ? record.colours[static_cast<std::size_t>(core::IndexOfLetter(letter))]
                           : kBlack;

        const int slot = j % kWheelSlots;
        const double theta = j * kHelixStep;
        const double sine = std::sin(theta);
        const double cosine = std::cos(theta);
        const auto boxAt = [&](int r) {
            return Box{TruncatedUnits(r * sine), TruncatedUnits(r * cosine), label.extent.width,
                       label.extent.height};
        };
        // Below the reach's radius even the label's corner at the ray is too
        // close, so the search may start there.
        int r = std::max(frame.radius + TruncatedUnits(kLabelStart * frame.k),
                         floorSqrt(reach[static_cast<std::size_t>(slot)]));
        Box box = boxAt(r);
        while (reach[static_cast<std::size_t>(slot)] >= box.NearSquared()) {
            box = boxAt(++r);
        }
        reach[static_cast<std::size_t>(slot)] = box.FarSquared();
        label.at = {frame.centre.x + static_cast<int>(box.x),
                    frame.centre.y + static_cast<int>(box.y)};
        geometry.labels.push_back(std::move(label));

        if (slot == kWheelSlots - 1) {
            const std::int64_t outside = *std::max_element(reach.begin(), reach.end());
            reach.fill(outside);
        }
    }
    return geometry;
}

PageDrawing DrawWheelPage(const core::PropertyRecord& record, const core::WHEELPLOT& wheel,
                          const PageLayout& layout, const TextMeasure& measure)
{
    const WheelGeometry geometry = ComputeWheel(record, wheel, layout, measure);
    PageDrawing page;
    auto& out = page.elements;
    if (layout.Printing()) {
        const int width = layout.width;
        const core::LOGFONT font = ScaledFont(core::ReportFontA(), geometry.frame.k);
        const FontMetrics metrics = measure.Metrics(font);
        const TitleBlock title = WrapTitle(WheelTitle(record, wheel), font,
                                           TruncatedUnits(0.8 * width), kTitleLines, measure);
        const int left = TruncatedUnits(0.1 * width);
        DrawTitleBlock(out, title, {left, left}, font, metrics.lineHeight);
    }
    if (!geometry.points.empty()) {
        out.push_back(PagePolyline{geometry.points, PagePen{kBlack, geometry.penWidth, false}});
    }
    for (const WheelLabel& label : geometry.labels) {
        out.push_back(
            PageText{label.text, label.at, TextAnchor::TopLeft, geometry.font, label.colour});
    }
    return page;
}

std::string WheelCaption(const core::PropertyRecord& record, const core::WHEELPLOT& wheel)
{
    return "Helical Wheel Display of residues " + stretchText(wheel) + " of " + record.Name();
}

std::string WheelTitle(const core::PropertyRecord& record, const core::WHEELPLOT& wheel)
{
    return "Helical Wheel Display of Residues " + stretchText(wheel) + " of " + record.Name();
}

double WheelMoment(const core::PropertyRecord& record, const core::WHEELPLOT& wheel)
{
    return AmphipathyMoment(record, wheel.from, wheel.to);
}

void TakeWheelOptions(core::PropertyRecord& record, const core::AppSettings& settings)
{
    record.wheelLineWidth = settings.wheelLineWidth;
    record.wheelColorCode = settings.wheelColorCode;
    record.wheelNumbers = settings.wheelNumbers;
    record.wheelFont = settings.wheelFont;
    for (std::size_t i = 1; i <= 20; ++i) {
        record.colours[i] = settings.colours[i];
    }
}

int AddWheel(core::PropertyRecord& record, int from, int to)
{
    record.plots.wheels.push_back(core::WHEELPLOT{from, to, 1.0});
    return static_cast<int>(record.plots.wheels.size()) - 1;
}

void RemoveWheel(core::PropertyRecord& record, int index)
{
    auto& wheels = record.plots.wheels;
    if (index >= 0 && static_cast<std::size_t>(index) < wheels.size()) {
        wheels.erase(wheels.begin() + index);
    }
}

} // namespace quorin::plots
