#include "plots/TitrationPage.h"

#include "core/SequenceText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace quorin::plots {
namespace {

constexpr core::COLORREF kMarkColour = 0x0000C0; // dark red

/// Printer frame origin, as on the other charts' printed pages.
constexpr int kPrinterFrameLeft = 100;
constexpr int kPrinterFrameTop = 225;

/// The isoelectric point's dot and the dashes under it, page units.
constexpr double kMarkRadius = 3.0;
constexpr double kMarkDash = 2.0;

/// The charge axis aims at this many intervals.
constexpr double kTargetIntervals = 6.0;

/// The curve's points from pH 0 to 14: 280 steps of 0.05.
constexpr int kCurveSteps = 280;

double niceStep(double span)
{
    const double raw = span / kTargetIntervals;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / power;
    if (fraction <= 1.0) {
        return power;
    }
    if (fraction <= 2.0) {
        return 2.0 * power;
    }
    if (fraction <= 5.0) {
        return 5.0 * power;
    }
    return 10.0 * power;
}

double pHX(const PageLayout& layout, double pH)
{
    return layout.left +
           (pH - kTitrationLowestPH) * layout.width / (kTitrationHighestPH - kTitrationLowestPH);
}

constexpr core::COLORREF rgb(unsigned red, unsigned green, unsigned blue)
{
    return red | green << 8 | blue << 16;
}

/// The colours after black: Okabe and Ito's palette for colour-blind
/// readers (yellow left out, too pale on white), then greys.
constexpr std::array<core::COLORREF, 10> kCurveColours = {
    rgb(0, 114, 178),  rgb(213, 94, 0), rgb(0, 158, 115), rgb(204, 121, 167), rgb(230, 159, 0),
    rgb(86, 180, 233), rgb(96, 96, 96), rgb(0, 64, 128),  rgb(128, 64, 0),    rgb(160, 160, 160)};

} // namespace

int TitrationPageHeight(std::size_t setCount)
{
    if (setCount <= 1) {
        return kTitrationPageHeight;
    }
    const auto rows = static_cast<int>((setCount + kTitrationLegendColumns - 1) /
                                       static_cast<std::size_t>(kTitrationLegendColumns));
    return kTitrationFrameTop + kTitrationLegendTop + rows * kTitrationLegendRowHeight +
           kTitrationLegendBottomMargin;
}

core::COLORREF TitrationCurveColour(std::size_t k)
{
    return k == 0 ? kBlack : kCurveColours[(k - 1) % kCurveColours.size()];
}

PageLayout TitrationScreenLayout()
{
    return PageLayout{PageTarget::Screen,   1.0,
                      kTitrationFrameLeft,  kTitrationFrameTop,
                      kTitrationFrameWidth, kTitrationFrameHeight};
}

PageLayout TitrationMetafileLayout()
{
    PageLayout layout = TitrationScreenLayout();
    layout.target = PageTarget::Metafile;
    return layout;
}

PageLayout TitrationPrinterLayout(int deviceWidth)
{
    return PageLayout{PageTarget::Printer, 0.8 * deviceWidth / 630.0, kPrinterFrameLeft,
                      kPrinterFrameTop,    kTitrationFrameWidth,      kTitrationFrameHeight};
}

TitrationCurve ComputeTitrationCurve(const analysis::ChargeGroups& groups)
{
    TitrationCurve curve;
    curve.points.reserve(kCurveSteps + 1);
    for (int i = 0; i <= kCurveSteps; ++i) {
        const double pH = kTitrationLowestPH + i * kTitrationCurveStep;
        curve.points.push_back({pH, groups.NetCharge(pH)});
    }
    curve.isoelectricPoint = analysis::IsoelectricPointByBisection(groups);
    // The charge falls with the pH: it crosses zero unless it stays above
    // zero up to the highest pH or below zero from the lowest.
    curve.crossesZero =
        groups.NetCharge(kTitrationHighestPH) <= 0.0 && groups.NetCharge(kTitrationLowestPH) >= 0.0;
    return curve;
}

VerticalAxis TitrationAxis(double lowestCharge, double highestCharge)
{
    double low = std::min(lowestCharge, 0.0);
    double high = std::max(highestCharge, 0.0);
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = -1.0;
        high = 1.0;
    }
    if (high - low < 1e-6) {
        high = low + 1.0;
    }
    const double step = niceStep(high - low);
    // Whole multiples of the step, so that zero is a tick exactly.
    auto bottom = static_cast<long long>(std::floor(low / step));
    auto top = static_cast<long long>(std::ceil(high / step));
    if (static_cast<double>(bottom) * step > low) {
        --bottom;
    }
    if (static_cast<double>(top) * step < high) {
        ++top;
    }
    VerticalAxis axis;
    axis.min = static_cast<double>(bottom) * step;
    axis.max = static_cast<double>(top) * step;
    axis.step = step;
    for (long long k = bottom; k <= top; ++k) {
        axis.ticks.push_back(static_cast<double>(k) * step);
    }
    return axis;
}

std::string ChargeTickLabel(double value, double step)
{
    const int decimals = step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    return analysis::FixedText(value, decimals);
}

std::string IsoelectricPointText(const TitrationCurve& curve)
{
    std::string text = analysis::IsoelectricPointLine(curve.isoelectricPoint);
    if (!curve.crossesZero) {
        text += curve.isoelectricPoint > 7.0 ? " (positive up to pH 14)" : " (negative from pH 0)";
    }
    return text;
}

TitrationPage::TitrationPage(const core::PropertyRecord& record, analysis::PKaSet set,
                             int lineWidth)
    : m_record(record), m_sets{set}, m_lineWidth(lineWidth)
{}

void TitrationPage::SetSets(const std::vector<analysis::PKaSet>& sets)
{
    if (sets.empty()) {
        return;
    }
    m_sets.clear();
    for (const analysis::PKaSet set : sets) {
        if (std::find(m_sets.begin(), m_sets.end(), set) == m_sets.end()) {
            m_sets.push_back(set);
        }
    }
}

TitrationCurve TitrationPage::Curve() const
{
    return ComputeTitrationCurve(analysis::ChargeGroupsOf(m_record, Set()));
}

std::vector<TitrationCurve> TitrationPage::Curves() const
{
    std::vector<TitrationCurve> curves;
    curves.reserve(m_sets.size());
    for (const analysis::PKaSet set : m_sets) {
        curves.push_back(ComputeTitrationCurve(analysis::ChargeGroupsOf(m_record, set)));
    }
    return curves;
}

std::string TitrationPage::Table() const
{
    return analysis::TitrationText(analysis::ChargeGroupsOf(m_record, Set()), kTitrationLowestPH,
                                   kTitrationHighestPH, kTitrationTableStep);
}

std::string TitrationPage::Title() const
{
    // The sets go first: a long name is cut at the end of the line.
    std::string names;
    for (const analysis::PKaSet set : m_sets) {
        names += (names.empty() ? "" : ", ") + std::string(analysis::PKaSetName(set));
    }
    return (m_sets.size() == 1 ? "Titration Curve (pK set: " : "Titration Curve (pK sets: ") +
           names + ") of " + core::OneLineText(m_record.Name());
}

PageDrawing TitrationPage::Draw(const PageLayout& layout, const TextMeasure& measure) const
{
    const std::vector<TitrationCurve> curves = Curves();
    const TitrationCurve& curve = curves.front();
    double lowestCharge = curve.points.front().charge;
    double highestCharge = lowestCharge;
    for (const TitrationCurve& each : curves) {
        for (const ChargePoint& point : each.points) {
            lowestCharge = std::min(lowestCharge, point.charge);
            highestCharge = std::max(highestCharge, point.charge);
        }
    }
    const VerticalAxis axis = TitrationAxis(lowestCharge, highestCharge);
    const bool compared = curves.size() > 1;

    const auto D = [&layout](double page) { return layout.Device(page); };
    const ChartFont font = ChartFontFor(layout, measure);
    const FontMetrics& metrics = font.metrics;
    const int lineHeight = metrics.lineHeight;
    const int left = D(layout.left);
    const int right = D(layout.left + layout.width);
    const int top = D(layout.top);
    const int bottom = D(layout.top + layout.height);
    const int tickLength = TruncatedUnits(0.6 * metrics.maxCharWidth);
    const PagePen framePen{kBlack, std::max(1, TruncatedUnits(layout.scale)), false};

    PageDrawing page;
    auto& out = page.elements;
    const auto text = [&](std::string content, DevicePoint at, TextAnchor anchor) {
        out.push_back(PageText{std::move(content), at, anchor, font.font, kBlack});
    };

    // The title (printed with its row of stars), the isoelectric point and
    // the name of the charge axis above the frame.
    int pointY = 0;
    if (layout.Printing()) {
        pointY = top - 4 * lineHeight;
        DrawPrintedTitle(page, layout, Title(), pointY, font, measure);
    } else {
        pointY = top - 3 * lineHeight;
        const TitleBlock title = WrapTitle(Title(), font.font, right - left, 1, measure);
        text(title.lines.empty() ? std::string() : title.lines.front(), {left, lineHeight},
             TextAnchor::TopLeft);
    }
    text(IsoelectricPointText(curve), {left, pointY}, TextAnchor::TopLeft);
    text("Net Charge", {left, top - TruncatedUnits(1.5 * lineHeight)}, TextAnchor::TopLeft);

    if (compared) {
        // The spread: a column a page unit wide at each unit of the pH axis,
        // from the lowest charge to the highest at its middle, filled.
        std::vector<analysis::ChargeGroups> groups;
        for (const analysis::PKaSet set : m_sets) {
            groups.push_back(analysis::ChargeGroupsOf(m_record, set));
        }
        const PagePen bandPen{kTitrationSpreadColour, 1, false};
        for (int unit = 0; unit < layout.width; ++unit) {
            const double pH = kTitrationLowestPH + (unit + 0.5) *
                                                       (kTitrationHighestPH - kTitrationLowestPH) /
                                                       layout.width;
            double low = groups.front().NetCharge(pH);
            double high = low;
            for (const analysis::ChargeGroups& each : groups) {
                low = std::min(low, each.NetCharge(pH));
                high = std::max(high, each.NetCharge(pH));
            }
            const DeviceRect column{D(layout.left + unit), D(ChartY(layout, axis, high)),
                                    D(layout.left + unit + 1), D(ChartY(layout, axis, low))};
            out.push_back(PageFrame{column, bandPen, kTitrationSpreadColour});
        }
    }
    out.push_back(PageFrame{{left, top, right, bottom}, framePen});
    std::vector<std::string> labels;
    for (const double tick : axis.ticks) {
        labels.push_back(ChargeTickLabel(tick, axis.step));
    }
    const ChartFont labelFont = LabelFontWithin(labels, font, left - tickLength, measure);
    for (std::size_t k = 0; k < axis.ticks.size(); ++k) {
        const int y = D(ChartY(layout, axis, axis.ticks[k]));
        out.push_back(PageLine{{left, y}, {left + tickLength, y}, framePen});
        out.push_back(ValueLabel(labels[k], left - tickLength, y, labelFont, measure));
    }
    const int zeroY = D(ChartY(layout, axis, 0.0));
    out.push_back(PageLine{{left, zeroY}, {right, zeroY}, framePen});
    for (int pH = static_cast<int>(kTitrationLowestPH); pH <= static_cast<int>(kTitrationHighestPH);
         ++pH) {
        const int x = D(pHX(layout, pH));
        out.push_back(PageLine{{x, bottom}, {x, bottom - tickLength}, framePen});
        text(std::to_string(pH), {x, bottom + lineHeight / 2}, TextAnchor::TopCentre);
    }
    text("pH", {D(layout.left + layout.width / 2.0), bottom + 2 * lineHeight},
         TextAnchor::TopCentre);

    const int lineWidth = std::max(1, TruncatedUnits(std::max(1, m_lineWidth) * layout.scale));
    // The page's own curve last, on top of the others.
    for (std::size_t k = curves.size(); k-- > 0;) {
        PagePolyline line{{}, PagePen{TitrationCurveColour(k), lineWidth, false}};
        line.points.reserve(curves[k].points.size());
        for (const ChargePoint& point : curves[k].points) {
            line.points.push_back(
                {D(pHX(layout, point.pH)), D(ChartY(layout, axis, point.charge))});
        }
        out.push_back(std::move(line));
    }
    if (compared) {
        // A key per curve: a stretch of its line, the set's name and its pI.
        const double columnWidth = layout.width / kTitrationLegendColumns;
        for (std::size_t k = 0; k < curves.size(); ++k) {
            const auto row = static_cast<int>(k) / kTitrationLegendColumns;
            const auto column = static_cast<int>(k) % kTitrationLegendColumns;
            const double x = layout.left + column * columnWidth;
            const int y = D(layout.top + kTitrationLegendTop + row * kTitrationLegendRowHeight);
            const int keyY = y + lineHeight / 2;
            out.push_back(PageLine{{D(x), keyY},
                                   {D(x + kTitrationLegendKeyWidth), keyY},
                                   PagePen{TitrationCurveColour(k), lineWidth, false}});
            text(std::string(analysis::PKaSetName(m_sets[k])) + "  pI " +
                     analysis::FixedText(curves[k].isoelectricPoint, 2),
                 {D(x + kTitrationLegendKeyWidth + 6), y}, TextAnchor::TopLeft);
        }
    }

    // The isoelectric point: a dot on the zero line and a dashed drop to the
    // pH axis. The dashes are drawn one by one: a dotted pen's dots are device
    // pixels, which a printer runs together into a solid line.
    if (curve.crossesZero) {
        const int x = D(pHX(layout, curve.isoelectricPoint));
        const int dash = std::max(1, TruncatedUnits(kMarkDash * layout.scale));
        const PagePen markPen{kMarkColour, std::max(1, TruncatedUnits(layout.scale)), false};
        for (int y = zeroY; y < bottom; y += 2 * dash) {
            out.push_back(PageLine{{x, y}, {x, std::min(y + dash, bottom)}, markPen});
        }
        const int radius = std::max(TruncatedUnits(kMarkRadius * layout.scale), 2 * lineWidth);
        out.push_back(PageFrame{
            {x - radius, zeroY - radius, x + radius, zeroY + radius}, markPen, kMarkColour});
    }
    return page;
}

} // namespace quorin::plots
