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

/// The titration curve of one sequence under one pK set, for every target.
/// It reads the record at each drawing, so that it follows the sequence.
class TitrationPage
{
public:
    /// lineWidth is the curve's pen in points (the "Line Width" setting).
    TitrationPage(const core::PropertyRecord& record, analysis::PKaSet set, int lineWidth);

    const core::PropertyRecord& Record() const { return m_record; }
    analysis::PKaSet Set() const { return m_set; }
    void SetSet(analysis::PKaSet set) { m_set = set; }
    int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int lineWidth) { m_lineWidth = lineWidth; }

    TitrationCurve Curve() const;

    /// The table as `titration` writes it by default: "pH<TAB>Charge", pH 0
    /// to 14 in steps of 0.5, then the isoelectric point; lines end with CR LF.
    std::string Table() const;

    /// "Titration Curve (pK set: EMBOSS) of name", printed title and window
    /// caption alike.
    std::string Title() const;

    PageDrawing Draw(const PageLayout& layout, const TextMeasure& measure) const;

private:
    const core::PropertyRecord& m_record;
    analysis::PKaSet m_set;
    int m_lineWidth;
};

} // namespace quorin::plots
