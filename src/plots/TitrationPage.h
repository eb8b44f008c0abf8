#pragma once

#include "analysis/Titration.h"
#include "core/PropertyRecord.h"
#include "plots/ChartPage.h"
#include "plots/Page.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::plots {

/// The titration page in screen page units: 635 x 360, the chart frame at
/// (50, 90) with 565 x 200. The frame sits further right than the
/// hydropathy plot's, as charges of long proteins take wider labels.
inline constexpr int kTitrationPageWidth = 635;
inline constexpr int kTitrationPageHeight = 360;
inline constexpr int kTitrationFrameLeft = 50;
inline constexpr int kTitrationFrameTop = 90;
inline constexpr int kTitrationFrameWidth = 565;
inline constexpr int kTitrationFrameHeight = 200;

/// A page of several sets' curves keys them below the pH axis: rows from
/// kTitrationLegendTop, kTitrationLegendColumns keys a row, each key a line
/// kTitrationLegendKeyWidth long before the set's name and pI. Positions are
/// page units below the frame's top, so that the printed page keeps them.
inline constexpr int kTitrationLegendTop = 255;
inline constexpr int kTitrationLegendRowHeight = 18;
inline constexpr int kTitrationLegendColumns = 3;
inline constexpr int kTitrationLegendKeyWidth = 24;
/// The margin below the last row of keys.
inline constexpr int kTitrationLegendBottomMargin = 12;

/// The height of the page of setCount curves: kTitrationPageHeight for one,
/// taller by the rows of keys for more.
int TitrationPageHeight(std::size_t setCount);

/// The page title of metafile descriptions and print jobs.
inline constexpr std::string_view kTitrationPageTitle = "Titration Curve";

/// The pH range of the curve and the distance of its points.
inline constexpr double kTitrationLowestPH = 0.0;
inline constexpr double kTitrationHighestPH = 14.0;
inline constexpr double kTitrationCurveStep = 0.05;
/// The pH step of the copied table, the command line's default.
inline constexpr double kTitrationTableStep = 0.5;

PageLayout TitrationScreenLayout();
PageLayout TitrationMetafileLayout();
/// The printed page: scale 0.8 x deviceWidth / 630, frame at (100, 225).
PageLayout TitrationPrinterLayout(int deviceWidth);

/// One point of the curve: the net charge at a pH.
struct ChargePoint
{
    double pH = 0.0;
    double charge = 0.0;
};

/// The net charge from pH 0 to 14 and where it crosses zero.
struct TitrationCurve
{
    std::vector<ChargePoint> points; ///< every kTitrationCurveStep, both ends included
    double isoelectricPoint = 0.0;   ///< IsoelectricPointByBisection
    /// Whether the charge reaches zero within pH 0..14; without a crossing the
    /// isoelectric point is only the end of the range the charge approaches.
    bool crossesZero = false;
};

TitrationCurve ComputeTitrationCurve(const analysis::ChargeGroups& groups);

/// The charge axis for the curve's lowest and highest charge: zero always
/// inside, about six ticks at a step of 1, 2 or 5 times a power of ten, both
/// ends on a tick. The ticks run from the bottom up.
VerticalAxis TitrationAxis(double lowestCharge, double highestCharge);

/// A charge tick's label with as many decimals as the step needs ("-10",
/// "2.5" with a step of 0.5).
std::string ChargeTickLabel(double value, double step);

/// "Isoelectric Point = 4.7691" as the command line writes it; a curve that
/// never crosses zero says so after the number.
std::string IsoelectricPointText(const TitrationCurve& curve);

/// The colour of the curve of the k-th set of a page (0-based): black for
/// the first, then colours that colour-blind readers tell apart.
core::COLORREF TitrationCurveColour(std::size_t k);
/// The fill between the lowest and the highest curve of several sets.
inline constexpr core::COLORREF kTitrationSpreadColour = 0xE8E8E8;

/// The titration curve of one sequence under one pK set, or the curves under
/// several sets on one page, for every target. The first set is the page's
/// own: its isoelectric point is marked and written above the plot, and its
/// table is the one copied; the others are drawn for comparison, the spread
/// between the lowest and the highest curve shaded. It reads the record at
/// each drawing, so that it follows the sequence.
class TitrationPage
{
public:
    /// lineWidth is the curve's pen in points (the "Line Width" setting).
    TitrationPage(const core::PropertyRecord& record, analysis::PKaSet set, int lineWidth);

    const core::PropertyRecord& Record() const { return m_record; }
    /// The page's own set, the first of Sets().
    analysis::PKaSet Set() const { return m_sets.front(); }
    /// Draws the curve of set alone.
    void SetSet(analysis::PKaSet set) { m_sets = {set}; }
    /// Every set drawn, the page's own first; never empty, no set twice.
    const std::vector<analysis::PKaSet>& Sets() const { return m_sets; }
    /// Draws the curves of sets, the first the page's own. An empty list
    /// keeps the current sets; a set named twice is drawn once.
    void SetSets(const std::vector<analysis::PKaSet>& sets);
    int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int lineWidth) { m_lineWidth = lineWidth; }

    /// The curve of the page's own set.
    TitrationCurve Curve() const;
    /// The curves of Sets(), in their order.
    std::vector<TitrationCurve> Curves() const;

    /// TitrationPageHeight of the sets drawn.
    int PageHeight() const { return TitrationPageHeight(m_sets.size()); }

    /// The table as `titration` writes it by default: "pH<TAB>Charge", pH 0
    /// to 14 in steps of 0.5, then the isoelectric point; lines end with CR LF.
    /// It is the page's own set's.
    std::string Table() const;

    /// "Titration Curve (pK set: EMBOSS) of name", or with several sets
    /// "Titration Curve (pK sets: EMBOSS, Grimsley) of name"; printed title
    /// and window caption alike.
    std::string Title() const;

    PageDrawing Draw(const PageLayout& layout, const TextMeasure& measure) const;

private:
    const core::PropertyRecord& m_record;
    std::vector<analysis::PKaSet> m_sets;
    int m_lineWidth;
};

} // namespace quorin::plots
