#include "plots/TitrationPage.h"

#include "FakeMeasure.h"
#include "core/SequenceText.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace quorin::plots {
namespace {

using analysis::PKaSet;
using test::All;

TEST(TitrationAxisTest, RoundsOutwardToStepsOfOneTwoOrFiveAndHoldsZero)
{
    struct Row
    {
        double lowest;
        double highest;
        double min;
        double max;
        double step;
        const char* firstLabel;
    };
    const Row rows[] = {
        {-32.78, 15.0, -40.0, 20.0, 10.0, "-40"},
        {-0.99, 0.3, -1.0, 0.5, 0.5, "-1.0"},
        // A charge that never turns negative still shows the zero line.
        {12.3, 39.2, 0.0, 40.0, 10.0, "0"},
        {-1210.4, 830.0, -1500.0, 1000.0, 500.0, "-1500"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.lowest);
        const VerticalAxis axis = TitrationAxis(row.lowest, row.highest);
        EXPECT_DOUBLE_EQ(axis.min, row.min);
        EXPECT_DOUBLE_EQ(axis.max, row.max);
        EXPECT_DOUBLE_EQ(axis.step, row.step);
        ASSERT_FALSE(axis.ticks.empty());
        EXPECT_EQ(ChargeTickLabel(axis.ticks.front(), axis.step), row.firstLabel);
        EXPECT_EQ(std::count(axis.ticks.begin(), axis.ticks.end(), 0.0), 1);
    }
}

TEST(TitrationPageTest, CurveStaysInTheFrameAndThePIIsMarkedWhereItCrossesZero)
{
    struct Row
    {
        const char* name;
        std::string sequence;
        PKaSet set;
        const char* pointText; ///< empty: the bisection's pI with 4 decimals
    };
    const std::string fasta = test::ReadFile(test::DataFile("proteins/P02945.fasta"));
    const std::string bacteriorhodopsin(core::FirstFastaRecord(fasta));
    const Row rows[] = {
        {"bacteriorhodopsin, EMBOSS", bacteriorhodopsin, PKaSet::Emboss, ""},
        {"bacteriorhodopsin, settings", bacteriorhodopsin, PKaSet::Settings, ""},
        // Forty arginines outweigh the C-terminus even at pH 14: no zero
        // crossing, so no mark, and the text says why the pI sits at the edge.
        {"poly-R", std::string(40, 'R'), PKaSet::Emboss,
         "Isoelectric Point = 14.0000 (positive up to pH 14)"},
    };
    const test::FakeMeasure measure;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        core::PropertyRecord record;
        record.ResetCurrentTables();
        if (row.sequence.starts_with(">")) {
            ASSERT_EQ(core::ParseSequenceText(record, row.sequence), 1);
        } else {
            record.SetName("poly-R");
            record.SetSequence(row.sequence);
        }
        const TitrationPage page(record, row.set, 1);
        const double pI =
            analysis::IsoelectricPointByBisection(analysis::ChargeGroupsOf(record, row.set));
        const bool crosses = std::string_view(row.pointText).empty();

        const PageLayout layout = TitrationScreenLayout();
        const PageDrawing drawing = page.Draw(layout, measure);
        const DeviceRect frame{kTitrationFrameLeft, kTitrationFrameTop,
                               kTitrationFrameLeft + kTitrationFrameWidth,
                               kTitrationFrameTop + kTitrationFrameHeight};

        const auto curves = All<PagePolyline>(drawing);
        ASSERT_EQ(curves.size(), 1u);
        ASSERT_EQ(curves[0].points.size(), 281u);
        for (const DevicePoint p : curves[0].points) {
            ASSERT_TRUE(frame.Contains(p)) << p.x << "," << p.y;
        }
        // The charge falls from pH 0 to 14 and the axis takes in both ends.
        EXPECT_LT(curves[0].points.front().y, curves[0].points.back().y);

        const TitrationCurve curve = page.Curve();
        const VerticalAxis axis =
            TitrationAxis(curve.points.back().charge, curve.points.front().charge);
        const int zeroY = layout.Device(ChartY(layout, axis, 0.0));
        const auto lines = All<PageLine>(drawing);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [&](const PageLine& line) {
                                    return line.from == DevicePoint{frame.left, zeroY} &&
                                           line.to == DevicePoint{frame.right, zeroY};
                                }))
            << "no zero line at " << zeroY;
        EXPECT_TRUE(zeroY > frame.top && zeroY <= frame.bottom);

        std::vector<PageFrame> dots;
        for (const PageFrame& f : All<PageFrame>(drawing)) {
            if (f.fill) {
                dots.push_back(f);
            }
        }
        EXPECT_EQ(curve.crossesZero, crosses);
        if (crosses) {
            ASSERT_EQ(dots.size(), 1u);
            const int x = static_cast<int>(kTitrationFrameLeft + pI * kTitrationFrameWidth / 14.0);
            EXPECT_EQ((dots[0].rect.left + dots[0].rect.right) / 2, x);
            EXPECT_EQ((dots[0].rect.top + dots[0].rect.bottom) / 2, zeroY);
        } else {
            EXPECT_TRUE(dots.empty());
        }

        char number[32];
        std::snprintf(number, sizeof number, "%.4f", pI);
        const std::string pointText =
            crosses ? "Isoelectric Point = " + std::string(number) : row.pointText;
        const auto texts = All<PageText>(drawing);
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const PageText& t) {
            return t.text == pointText;
        })) << pointText;
        // The table's last line is the same point, as the command line writes it.
        EXPECT_TRUE(page.Table().ends_with("Isoelectric Point = " + std::string(number) + "\r\n"));
    }
}

} // namespace
} // namespace quorin::plots
