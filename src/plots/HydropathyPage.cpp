#include "plots/HydropathyPage.h"

#include "analysis/Topology.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorin::plots {
namespace {

constexpr core::COLORREF kRed = 0x0000FF;

constexpr std::string_view kGravyPrefix = "Mean Hydropathy (GRAVY) = ";
constexpr std::string_view kScalePrefix = "Scale: ";
constexpr std::string_view kWindowPrefix = "W = ";
constexpr std::string_view kThresholdPrefix = "Hydropathy threshold for helices =  ";

/// Printer frame origin; text items are stored relative to the screen one.
constexpr int kPrinterFrameLeft = 100;
constexpr int kPrinterFrameTop = 225;
/// The top of the first legend line on the screen page.
constexpr int kLegendTop = 14;

/// A range narrower than this share of its magnitude is rounding noise of the
/// window sums, not a height the axis could show.
constexpr double kFlatRange = 1e-9;

constexpr std::uint16_t clampExtent(int value)
{
    return static_cast<std::uint16_t>(
        std::clamp(value, 0, static_cast<int>(std::numeric_limits<std::uint16_t>::max())));
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

PageLayout HydropathyScreenLayout()
{
    return PageLayout{PageTarget::Screen, 1.0, kPathyFrameLeft, kPathyFrameTop, kPathyFrameWidth,
                      kPathyFrameHeight};
}

PageLayout HydropathyMetafileLayout()
{
    PageLayout layout = HydropathyScreenLayout();
    layout.target = PageTarget::Metafile;
    return layout;
}

PageLayout HydropathyPrinterLayout(int deviceWidth)
{
    return PageLayout{PageTarget::Printer, 0.8 * deviceWidth / 630.0, kPrinterFrameLeft,
                      kPrinterFrameTop,    kPathyFrameWidth,          kPathyFrameHeight};
}

VerticalAxis ComputeVerticalAxis(const ValueSpan& range)
{
    double low = 0.0;
    double high = 0.0;
    if (!range.empty && std::isfinite(range.min) && std::isfinite(range.max)) {
        low = range.min;
        high = range.max;
    }
    const double magnitude = std::max({1.0, std::fabs(low), std::fabs(high)});
    if (!(high - low > kFlatRange * magnitude)) {
        // Without height the step search below would never end; a band of one
        // unit either side keeps the curve in the middle of the frame.
        const double middle = (low + high) / 2.0;
        low = middle - 1.0;
        high = middle + 1.0;
    }
    const double d = (high - low) * 1.6;
    high += 0.2 * d;
    low -= 0.12 * d;
    const double step = RoundStep(TickStep(high - low));
    return VerticalAxis{low, high, step, AxisTicks(low, high, step)};
}

std::string TickLabel(double value)
{
    std::string text = core::FormatSignificant(value, 4);
    if (text.size() < 3) {
        text += ".0";
    }
    return text;
}

int HorizontalTickInterval(int count)
{
    double interval = 0.0;
    if (count < 100) {
        interval = 1.0 + 0.05 * count;
    } else if (count < 1000) {
        interval = (1.0 + 0.005 * count) * 10.0;
    } else if (count < 10000) {
        interval = (1.0 + 0.0005 * count) * 100.0;
    } else {
        interval = (1.0 + 0.00005 * count) * 1000.0;
    }
    return RoundResidueInterval(std::max(1, static_cast<int>(interval)));
}

std::vector<int> HorizontalTicks(int from, int to)
{
    return HorizontalTicks(from, to, HorizontalTickInterval(to - from + 1));
}

HydropathyProfile ComputeHydropathyProfile(const core::PropertyRecord& record, int from, int to,
                                           int window, double threshold)
{
    HydropathyProfile profile;
    profile.from = from;
    profile.to = to;
    profile.window = window;
    profile.threshold = threshold;
    if (window <= 0) {
        return profile;
    }
    const std::vector<double> values = PositionValues(record);
    const ProfileSpan all = ProfileRange(record, 1, PositionCount(record), window);
    profile.span = ProfileRange(record, from, to, window);
    for (int centre = all.first; centre <= all.last; ++centre) {
        const double average = WindowAverageOf(values, centre, window);
        if (centre >= profile.span.first && centre <= profile.span.last) {
            profile.averages.push_back(average);
        }
        // An infinite average (a scale value too large for a double) leaves
        // the axis to the values it can show.
        if (!std::isfinite(average)) {
            continue;
        }
        if (profile.range.empty) {
            profile.range = ValueSpan{average, average, false};
        } else {
            profile.range.min = std::min(profile.range.min, average);
            profile.range.max = std::max(profile.range.max, average);
        }
    }
    profile.gravy = MeanHydropathy(record, from, to);
    PredictHelices(record, threshold, &profile.helices);
    return profile;
}

std::vector<core::TEXTITEM> LegendItems()
{
    std::vector<core::TEXTITEM> items;
    const std::string_view prefixes[] = {kGravyPrefix, kScalePrefix, kWindowPrefix,
                                         kThresholdPrefix};
    const int tops[] = {kLegendTop, 35, 56, 72};
    for (std::size_t i = 0; i < 4; ++i) {
        core::TEXTITEM item;
        item.x = 0;
        item.y = tops[i];
        item.legend = 1;
        item.text = prefixes[i];
        item.font = core::ReportFontA();
        item.colour = kBlack;
        items.push_back(std::move(item));
    }
    return items;
}

void StartHydropathyPlot(core::PropertyRecord& record, const PendingPlotRequest& request,
                         int lineWidth)
{
    core::HydropathyPlotSettings& settings = record.plots.pathy;
    settings.from = request.from;
    settings.to = request.to;
    settings.window = request.window;
    settings.threshold = request.threshold;
    settings.lineWidth = lineWidth;
    settings.labelMarks = 1;
    settings.helixDisplay = 1;
    settings.texts = LegendItems();
    for (core::MARK& mark : settings.marks) {
        mark.selected = 0;
    }
}

void RefreshLegend(core::PropertyRecord& record, const HydropathyProfile& profile)
{
    const bool showThreshold = record.plots.currentScale == 0 && profile.threshold != 0.0;
    for (core::TEXTITEM& item : record.plots.pathy.texts) {
        if (item.legend != 1) {
            continue;
        }
        if (startsWith(item.text, kGravyPrefix)) {
            item.text = std::string(kGravyPrefix) + core::FormatSignificant(profile.gravy, 3);
        } else if (startsWith(item.text, kScalePrefix)) {
            item.text = std::string(kScalePrefix) + CurrentScaleName(record);
        } else if (startsWith(item.text, kWindowPrefix)) {
            item.text = std::string(kWindowPrefix) + std::to_string(profile.window);
        } else if (startsWith(item.text, kThresholdPrefix) || item.text.empty()) {
            // An empty legend line is the threshold line hidden for another
            // scale; it comes back when the first scale is current again.
            item.text = showThreshold ? std::string(kThresholdPrefix) +
                                            core::FormatSignificant(profile.threshold, 3)
                                      : std::string();
        }
        item.x = kPathyFrameLeft;
    }
}

namespace {

double residueX(const core::HydropathyPlotSettings& settings, const PageLayout& layout,
                double residue)
{
    return ChartX(layout, settings.from, settings.to, residue);
}

/// A mark as a layout places it: the arrow at x (page units) and, with labels
/// on, its label.
struct PlacedMark
{
    MarkPlace place;
    double x = 0.0;
    DevicePoint tip;
    std::string label; ///< empty without label
    core::LOGFONT labelFont;
    DevicePoint labelAt;
};

/// The marks inside the frame; labelOffset (half the widest character of the
/// page font) separates a label from its arrow.
std::vector<PlacedMark> placeMarks(const core::PropertyRecord& record, const PageLayout& layout,
                                   int labelOffset, const TextMeasure& measure)
{
    const core::HydropathyPlotSettings& settings = record.plots.pathy;
    const std::string& sequence = record.CleanSequence();
    const auto D = [&layout](double page) { return layout.Device(page); };
    const double L = layout.left;
    const double T = layout.top;
    std::vector<PlacedMark> placed;
    for (std::size_t k = 0; k < settings.marks.size(); ++k) {
        const core::MARK& mark = settings.marks[k];
        const double xm = residueX(settings, layout, mark.position);
        if (!(xm > L && xm < L + layout.width) || mark.position < 1 ||
            static_cast<std::size_t>(mark.position) > sequence.size()) {
            continue;
        }
        PlacedMark one;
        one.x = xm;
        one.tip = {D(xm), D(T + 20)};
        one.place = {static_cast<int>(k), {D(xm - 3), D(T + 4), D(xm + 3), D(T + 20)}, {}};
        if (settings.labelMarks != 0) {
            one.labelFont = ScaledFont(UsableFont(mark.font), layout.scale);
            one.label = sequence[mark.position - 1u] + std::to_string(mark.position);
            one.labelAt = {one.tip.x + labelOffset, one.tip.y};
            const TextExtent extent = measure.Extent(one.labelFont, one.label);
            one.place.label = {one.labelAt.x, one.labelAt.y, one.labelAt.x + extent.width,
                               one.labelAt.y + extent.height};
        }
        placed.push_back(std::move(one));
    }
    return placed;
}

std::string pageTitle(const core::PropertyRecord& record)
{
    const core::HydropathyPlotSettings& settings = record.plots.pathy;
    return "Hydropathy Plot of Residues " + std::to_string(settings.from) + "-" +
           std::to_string(settings.to) + " of " + record.Name();
}

// The topology band runs along the top of the frame, below the threshold
// helices' bars (at 5) and above the curve, whose axis leaves room there;
// its key stands below the axis title.
constexpr double kBandTop = 9;
constexpr double kBandHeight = 6;
constexpr double kKeyBelowFrame = 50;

void drawTopology(std::vector<PageElement>& out, const std::string& labels,
                  const core::HydropathyPlotSettings& settings, const PageLayout& layout,
                  const ChartFont& font, const TextMeasure& measure)
{
    const auto D = [&layout](double page) { return layout.Device(page); };
    const double T = layout.top;
    for (const TopologyBandPiece& piece :
         TopologyBand(labels, settings.from, settings.to, layout.left, layout.width)) {
        const int x1 = D(piece.x1);
        const int x2 = std::max(x1, D(piece.x2) - 1);
        out.push_back(PageFrame{{x1, D(T + kBandTop), x2, D(T + kBandTop + kBandHeight) - 1},
                                PagePen{piece.colour, 1, false},
                                piece.colour});
    }
    // The key: a swatch and a word per label.
    const std::pair<core::COLORREF, const char*> key[] = {
        {kTopologyInsideColour, "inside"},
        {kTopologyOutsideColour, "outside"},
        {kTopologyHelixColour, "transmembrane helix"},
        {kTopologySignalColour, "signal peptide"},
    };
    const int y = D(T + layout.height + kKeyBelowFrame);
    const int swatch = std::max(1, font.metrics.height / 2);
    int x = D(layout.left);
    for (const auto& [colour, word] : key) {
        out.push_back(PageFrame{{x, y + swatch / 2, x + swatch, y + swatch / 2 + swatch},
                                PagePen{colour, 1, false},
                                colour});
        x += swatch + swatch / 2;
        out.push_back(PageText{word, {x, y}, TextAnchor::TopLeft, font.font, kBlack});
        x += measure.Extent(font.font, word).width + 2 * swatch;
    }
}

/// The page of a record and its profile. Takes the record as const: drawing
/// for any target leaves the document as it was.
PageDrawing drawPage(const core::PropertyRecord& record, const HydropathyProfile& profile,
                     const PageLayout& layout, const TextMeasure& measure,
                     const std::string* topology)
{
    const core::HydropathyPlotSettings& settings = record.plots.pathy;
    const double L = layout.left;
    const double T = layout.top;
    const auto D = [&layout](double page) { return layout.Device(page); };
    const auto xOf = [&](double residue) { return residueX(settings, layout, residue); };
    const VerticalAxis axis = ComputeVerticalAxis(profile.range);
    const auto yOf = [&](double v) { return ChartY(layout, axis, v); };

    const ChartFont font = ChartFontFor(layout, measure);
    const FontMetrics& metrics = font.metrics;
    // A line width of 0 (the first start's setting) is the thinnest pen, one
    // page unit, so that a printed curve is not a hairline.
    const int lineWidth =
        std::max(1, TruncatedUnits(std::max(1, settings.lineWidth) * layout.scale));
    const bool onScreen = layout.target == PageTarget::Screen;

    PageDrawing page;
    auto& out = page.elements;
    const auto text = [&out](std::string content, DevicePoint at, TextAnchor anchor,
                             const core::LOGFONT& textFont, core::COLORREF colour) {
        out.push_back(PageText{std::move(content), at, anchor, textFont, colour});
    };

    if (layout.Printing()) {
        DrawPrintedTitle(page, layout, pageTitle(record), D(kLegendTop + T - kPathyFrameTop), font,
                         measure);
    }

    ChartAxes axes{
        settings.from, settings.to, axis, {}, HorizontalTicks(settings.from, settings.to)};
    for (const double v : axis.ticks) {
        axes.labels.push_back(TickLabel(v));
    }
    DrawChartAxes(page, layout, axes, font, measure);

    if (!profile.averages.empty()) {
        PagePolyline curve{{}, PagePen{kBlack, lineWidth, false}};
        curve.points.reserve(profile.averages.size());
        for (std::size_t k = 0; k < profile.averages.size(); ++k) {
            const DevicePoint point{D(xOf(profile.span.first + static_cast<int>(k))),
                                    D(yOf(profile.averages[k]))};
            // Runs of equal device points draw nothing more; a long sequence
            // on a narrow frame has many.
            if (curve.points.empty() || !(curve.points.back() == point)) {
                curve.points.push_back(point);
            }
        }
        out.push_back(std::move(curve));
    }

    if (settings.helixDisplay != 0 && CurrentScaleName(record) == core::kKyteDoolittleName) {
        const PagePen barPen{kRed, std::max(1, TruncatedUnits(3 * layout.scale)), false};
        const int lastColumn = layout.left + layout.width - 1;
        for (const Helix& helix : profile.helices) {
            const int x1 =
                std::clamp(TruncatedUnits(xOf(helix.start) + 2), layout.left, lastColumn);
            int x2 = TruncatedUnits(xOf(helix.end) - 2);
            if (x2 <= layout.left) {
                continue;
            }
            x2 = std::min(x2, lastColumn);
            // A helix narrower than the four units the bar gives up at its
            // ends (a long sequence shown whole) is still drawn, from x1 back
            // to x2; a helix past the right end clamps both ends to one column
            // and draws nothing.
            if (x2 == x1) {
                continue;
            }
            out.push_back(PageLine{{D(x1), D(T + 5)}, {D(x2), D(T + 5)}, barPen});
        }
    }

    if (topology != nullptr) {
        drawTopology(out, *topology, settings, layout, font, measure);
    }

    for (const PlacedMark& placed : placeMarks(record, layout, metrics.maxCharWidth / 2, measure)) {
        const core::MARK& mark = settings.marks[static_cast<std::size_t>(placed.place.index)];
        const PagePen pen{mark.lineColour, lineWidth, false};
        const DevicePoint tip = placed.tip;
        out.push_back(PageLine{{tip.x, D(T + 4)}, tip, pen});
        out.push_back(PageLine{tip, {D(placed.x - 2), D(T + 13)}, pen});
        out.push_back(PageLine{tip, {D(placed.x + 2), D(T + 13)}, pen});
        if (!placed.label.empty()) {
            text(placed.label, placed.labelAt, TextAnchor::TopLeft, placed.labelFont,
                 mark.labelColour);
        }
        if (onScreen && mark.selected != 0) {
            DeviceRect box = placed.place.arrow;
            if (!placed.place.label.Empty()) {
                box.right = std::max(box.right, placed.place.label.right);
                box.bottom = std::max(box.bottom, placed.place.label.bottom);
            }
            out.push_back(PageFrame{{box.left - 1, box.top - 1, box.right + 1, box.bottom + 1},
                                    PagePen{kBlack, 1, true}});
        }
    }

    DrawTextItems(out, settings.texts, layout, L - kPathyFrameLeft, T - kPathyFrameTop, measure);
    return page;
}

} // namespace

HydropathyPage::HydropathyPage(core::PropertyRecord& record) : m_record(record)
{}

HydropathyPage::ProfileKey HydropathyPage::currentKey() const
{
    const core::HydropathyPlotSettings& settings = Settings();
    return ProfileKey{settings.from,
                      settings.to,
                      settings.window,
                      settings.threshold,
                      m_record.plots.hydropathy,
                      m_record.CleanSequence()};
}

const HydropathyProfile& HydropathyPage::Profile() const
{
    const core::HydropathyPlotSettings& settings = Settings();
    const bool same = m_valid && m_key.from == settings.from && m_key.to == settings.to &&
                      m_key.window == settings.window && m_key.threshold == settings.threshold &&
                      m_key.table == m_record.plots.hydropathy &&
                      m_key.sequence == m_record.CleanSequence();
    if (!same) {
        m_key = currentKey();
        m_profile = ComputeHydropathyProfile(m_record, settings.from, settings.to, settings.window,
                                             settings.threshold);
        m_valid = true;
        ++m_computations;
    }
    return m_profile;
}

void HydropathyPage::Refresh(const TextMeasure& measure)
{
    RefreshLegend(m_record, Profile());
    // Hit tests and the stored extents are in screen page units, whatever
    // target draws next.
    const PageLayout screen = HydropathyScreenLayout();
    for (core::TEXTITEM& item : Settings().texts) {
        const TextItemBlock block =
            LayoutTextItem(item, ScaledFont(UsableFont(item.font), screen.scale), 0, measure);
        item.width = clampExtent(block.width);
        item.height = clampExtent(block.height);
    }
    const FontMetrics metrics = measure.Metrics(ScaledFont(core::ReportFontA(), screen.scale));
    m_markPlaces.clear();
    for (const PlacedMark& placed :
         placeMarks(m_record, screen, metrics.maxCharWidth / 2, measure)) {
        m_markPlaces.push_back(placed.place);
    }
}

PageDrawing HydropathyPage::Draw(const PageLayout& layout, const TextMeasure& measure) const
{
    return drawPage(Record(), Profile(), layout, measure,
                    m_showTopology ? &TopologyLabels() : nullptr);
}

const std::string& HydropathyPage::TopologyLabels() const
{
    const std::string& sequence = m_record.CleanSequence();
    if (!m_topologyValid || m_topologySequence != sequence) {
        m_topologySequence = sequence;
        m_topologyLabels = analysis::PredictTopology(sequence);
        m_topologyValid = true;
    }
    return m_topologyLabels;
}

std::vector<TopologyBandPiece> TopologyBand(std::string_view labels, int from, int to,
                                            double frameLeft, double frameWidth)
{
    std::vector<TopologyBandPiece> pieces;
    const int last = std::min(to, static_cast<int>(labels.size()));
    if (from < 1 || last < from) {
        return pieces;
    }
    // The curve's residue axis (ChartX): from at the frame's left edge, to at
    // its right edge.
    const double perResidue = frameWidth / std::max(to - from, 1);
    const auto xOf = [&](double residue) { return frameLeft + (residue - from) * perResidue; };
    for (const analysis::TopologySegment& segment : analysis::TopologySegments(labels)) {
        const int first = std::max(segment.start, from);
        const int end = std::min(segment.end, last);
        if (first > end) {
            continue;
        }
        core::COLORREF colour = kTopologyInsideColour;
        switch (segment.label) {
        case analysis::kTopologyOutside:
            colour = kTopologyOutsideColour;
            break;
        case analysis::kTopologyHelix:
            colour = kTopologyHelixColour;
            break;
        case analysis::kTopologySignal:
            colour = kTopologySignalColour;
            break;
        default:
            break;
        }
        const double x1 = std::max(frameLeft, xOf(first - 0.5));
        const double x2 = std::min(frameLeft + frameWidth, xOf(end + 0.5));
        pieces.push_back({segment.label, first, end, x1, x2, colour});
    }
    return pieces;
}

std::string HydropathyPage::Title() const
{
    return pageTitle(m_record);
}

std::string HydropathyPage::Caption() const
{
    return "Hydropathy Plot of residues " + std::to_string(Settings().from) + "-" +
           std::to_string(Settings().to) + " of " + m_record.Name();
}

int HydropathyPage::TextItemAt(DevicePoint point) const
{
    return plots::TextItemAt(Settings().texts, point);
}

int HydropathyPage::MarkAt(DevicePoint point) const
{
    for (const MarkPlace& place : m_markPlaces) {
        if (place.arrow.Contains(point) || place.label.Contains(point)) {
            return place.index;
        }
    }
    return -1;
}

int HydropathyPage::ResidueAtX(int x) const
{
    return ChartResidueAt(x, Settings().from, Settings().to, kPathyFrameLeft, kPathyFrameWidth);
}

} // namespace quorin::plots
