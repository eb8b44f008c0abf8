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

TEST(TitrationPageTest, SeveralSetsShareTheAxisWithTheirSpreadShadedAndAKeyEach)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.SetName("P");
    record.SetSequence("MKWVTFISLLLLFSSAYSRGVFRRDTHKSEIAHRFKDLGE");
    TitrationPage page(record, PKaSet::Emboss, 1);
    const test::FakeMeasure measure;
    const PageLayout layout = TitrationScreenLayout();
    const std::size_t singleElements = page.Draw(layout, measure).elements.size();
    EXPECT_EQ(page.PageHeight(), kTitrationPageHeight);

    // A set named twice is drawn once; the page's own set stays first.
    page.SetSets(
        {PKaSet::Emboss, PKaSet::FittedProtein, PKaSet::Solomon, PKaSet::Emboss, PKaSet::Grimsley});
    ASSERT_EQ(page.Sets().size(), 4u);
    EXPECT_EQ(page.Set(), PKaSet::Emboss);
    EXPECT_EQ(page.Title(), "Titration Curve (pK sets: EMBOSS, fitted-protein, Solomon, "
                            "Grimsley) of P");
    // Four keys take two rows below the pH axis.
    EXPECT_EQ(page.PageHeight(), kTitrationFrameTop + kTitrationLegendTop +
                                     2 * kTitrationLegendRowHeight + kTitrationLegendBottomMargin);

    const PageDrawing drawing = page.Draw(layout, measure);
    const auto curves = All<PagePolyline>(drawing);
    ASSERT_EQ(curves.size(), 4u);
    // The page's own curve is drawn last, in black, over the others.
    EXPECT_EQ(curves.back().pen.colour, kBlack);
    for (std::size_t k = 0; k + 1 < curves.size(); ++k) {
        EXPECT_EQ(curves[k].pen.colour, TitrationCurveColour(curves.size() - 1 - k));
        EXPECT_NE(curves[k].pen.colour, kBlack);
    }

    // One shaded column per page unit of the pH axis, from the highest curve
    // down to the lowest, and every curve inside the shading.
    std::vector<PageFrame> columns;
    for (const PageFrame& f : All<PageFrame>(drawing)) {
        if (f.fill == kTitrationSpreadColour) {
            columns.push_back(f);
        }
    }
    ASSERT_EQ(columns.size(), static_cast<std::size_t>(kTitrationFrameWidth));
    const DeviceRect frame{kTitrationFrameLeft, kTitrationFrameTop,
                           kTitrationFrameLeft + kTitrationFrameWidth,
                           kTitrationFrameTop + kTitrationFrameHeight};
    for (const PageFrame& column : columns) {
        ASSERT_TRUE(frame.Contains({column.rect.left, column.rect.top}));
        ASSERT_TRUE(frame.Contains({column.rect.left, column.rect.bottom}));
        ASSERT_LE(column.rect.top, column.rect.bottom);
    }
    for (const PagePolyline& curve : curves) {
        for (const DevicePoint p : curve.points) {
            const auto column = static_cast<std::size_t>(
                std::min(p.x - kTitrationFrameLeft, kTitrationFrameWidth - 1));
            // Neighbouring columns bound a point between their middles.
            const auto next = std::min(column + 1, columns.size() - 1);
            const auto before = column == 0 ? 0 : column - 1;
            const int top = std::min(
                {columns[before].rect.top, columns[column].rect.top, columns[next].rect.top});
            const int bottom = std::max({columns[before].rect.bottom, columns[column].rect.bottom,
                                         columns[next].rect.bottom});
            ASSERT_TRUE(p.y >= top - 1 && p.y <= bottom + 1) << p.x << "," << p.y;
        }
    }
    // The sets disagree most around pH 9, where the fitted protein set has
    // its lysines and tyrosines half charged: the spread is wide there.
    const PageFrame& at9 = columns[static_cast<std::size_t>(9 * kTitrationFrameWidth / 14)];
    EXPECT_GT(at9.rect.bottom - at9.rect.top, 20);

    // A key each: a stretch of the curve's colour and the set with its pI.
    const auto texts = All<PageText>(drawing);
    const std::vector<TitrationCurve> each = page.Curves();
    for (std::size_t k = 0; k < page.Sets().size(); ++k) {
        const std::string key = std::string(analysis::PKaSetName(page.Sets()[k])) + "  pI " +
                                analysis::FixedText(each[k].isoelectricPoint, 2);
        SCOPED_TRACE(key);
        const auto found = std::find_if(texts.begin(), texts.end(),
                                        [&](const PageText& t) { return t.text == key; });
        ASSERT_NE(found, texts.end());
        const int row = static_cast<int>(k) / kTitrationLegendColumns;
        EXPECT_EQ(found->at.y,
                  kTitrationFrameTop + kTitrationLegendTop + row * kTitrationLegendRowHeight);
        EXPECT_LT(found->at.y, page.PageHeight());
        const auto lines = All<PageLine>(drawing);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const PageLine& line) {
            return line.pen.colour == TitrationCurveColour(k) && line.from.y == line.to.y &&
                   line.to.x - line.from.x == kTitrationLegendKeyWidth && line.to.x < found->at.x &&
                   found->at.x - line.to.x < 10;
        }));
    }

    // Back to one set: the page as it was.
    page.SetSet(PKaSet::Emboss);
    EXPECT_EQ(page.Draw(layout, measure).elements.size(), singleElements);
    EXPECT_EQ(page.PageHeight(), kTitrationPageHeight);
}

} // namespace
} // namespace quorin::plots
