#pragma once

#include "core/PropertyRecord.h"
#include "core/Settings.h"
#include "plots/Page.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::plots {

/// The wheel page in screen page units: 500 x 500, the wheel centred at
/// (250, 250) with a radius of 80.
inline constexpr int kWheelPageSize = 500;
inline constexpr int kWheelCentre = 250;
inline constexpr int kWheelRadius = 80;

/// The page title of metafile descriptions, and the name of the print job.
inline constexpr std::string_view kWheelPageTitle = "Helical Wheel";
inline constexpr std::string_view kWheelPrintJob = "Helical Wheel Display";

/// The zoom steps of "Zoom &In" and "Zoom &Out"; one undoes the other within
/// rounding.
inline constexpr double kWheelZoomIn = 1.1111111111111112;
inline constexpr double kWheelZoomOut = 0.9;

/// At most this many wheels are open per sequence.
inline constexpr int kMaxWheels = 5;

/// Directions around the wheel: 18 steps of 100 degrees make five full turns,
/// so residue j and j + 18 share a direction.
inline constexpr int kWheelSlots = 18;

/// The screen page at a zoom: the page coordinates times zoom, truncated.
PageLayout WheelScreenLayout(double zoom = 1.0);
PageLayout WheelMetafileLayout();
/// The printed page: the size factor k = trunc(0.8 x deviceWidth / 600) (at
/// least 1) as the scale; the layout's width holds deviceWidth, whose half
/// places the centre.
PageLayout WheelPrinterLayout(int deviceWidth);

/// The side of the shown page at a zoom: trunc(zoom x 500) device units.
int WheelShownSize(double zoom);

/// Where the wheel sits on a layout, in device units.
struct WheelFrame
{
    DevicePoint centre;
    int radius = 0;
    double k = 1.0; ///< size factor of fonts and pens
};
WheelFrame WheelFrameOf(const PageLayout& layout);

/// The point of the residue at offset j (0 for the first residue) on the
/// circle: 100 degrees further clockwise per residue, the first at six
/// o'clock.
DevicePoint WheelPoint(const WheelFrame& frame, int offset);

/// A residue's label: its letter, followed by its number when numbers is set.
std::string WheelLabelText(char letter, int number, bool numbers);

/// One placed label: its text, top-left corner and extent in device units.
struct WheelLabel
{
    std::string text;
    DevicePoint at;
    TextExtent extent;
    core::COLORREF colour = 0;
};

/// Everything the wheel draws for a stretch, in device units.
struct WheelGeometry
{
    WheelFrame frame;
    std::vector<DevicePoint> points; ///< one per residue, in sequence order
    int penWidth = 1;
    core::LOGFONT font; ///< the label font, height scaled by k
    std::vector<WheelLabel> labels;
};

/// The wheel of positions wheel.from..wheel.to (1-based, inclusive; positions
/// outside the sequence are left out) with the record's wheel options.
///
/// Labels go outside the circle: each starts 5 units beyond it in its
/// residue's direction and moves outwards until the whole label box clears
/// the circle, its pen included, and every label of the earlier turns. After
/// every 18th residue the next turn starts outside everything drawn so far.
WheelGeometry ComputeWheel(const core::PropertyRecord& record, const core::WHEELPLOT& wheel,
                           const PageLayout& layout, const TextMeasure& measure);

/// The wheel page for a target: chords, labels and, on paper, the title with
/// its row of "*".
PageDrawing DrawWheelPage(const core::PropertyRecord& record, const core::WHEELPLOT& wheel,
                          const PageLayout& layout, const TextMeasure& measure);

/// "Helical Wheel Display of residues 44-61 of name" (the window caption).
std::string WheelCaption(const core::PropertyRecord& record, const core::WHEELPLOT& wheel);
/// "Helical Wheel Display of Residues 44-61 of name" (the printed title).
std::string WheelTitle(const core::PropertyRecord& record, const core::WHEELPLOT& wheel);

/// "&Amphipathy Moment" of the wheel: AmphipathyMoment of from..to on the
/// values of the current scale list entry (the current table when the index
/// names none), so that a sequence whose scale no dialog has chosen yet gets
/// the moment of its first scale, not of an empty table.
double WheelMoment(const core::PropertyRecord& record, const core::WHEELPLOT& wheel);

/// The wheel options of the settings, as every wheel of the record draws them
/// from the moment one is opened: line width, colour and number flags, font,
/// and the colours of the twenty residues (the termini keep theirs).
void TakeWheelOptions(core::PropertyRecord& record, const core::AppSettings& settings);

/// Appends a wheel of from..to at zoom 1 and returns its index in the record's
/// wheel list.
int AddWheel(core::PropertyRecord& record, int from, int to);

/// Removes the wheel at index; the wheels after it move up by one.
void RemoveWheel(core::PropertyRecord& record, int index);

} // namespace quorin::plots
