#include "plots/AmphipathyPage.h"

#include "DemoPlot.h"
#include "FakeMeasure.h"
#include "core/MessageTexts.h"
#include "core/NumberText.h"
#include "plots/Amphipathy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

namespace quorin::plots {
namespace {

using test::All;

// Melittin's precursor (P01501); the mature peptide starts at 44.
const std::string kMelittin =
    "MKFLVNVALVFMVVYISYIYAAPEPEPAPEPEAEADAEADPEAGIGAVLKVLTTGLPALISWIKRKRQQG";

class AmphipathyPageTest : public ::testing::Test
{
protected:
    void load(const std::string& sequence)
    {
        test::FillDemoRecord(record);
        record.SetName("melittin");
        record.SetSequence(sequence);
        page.Plot() = AmphipathyPlot{1, PositionCount(record), 19, 1};
    }

    static const PageText* textStarting(const std::vector<PageText>& texts, std::string_view prefix)
    {
        for (const PageText& t : texts) {
            if (t.text.starts_with(prefix)) {
                return &t;
            }
        }
        return nullptr;
    }

    /// Every line lies on the page, every curve point in the frame, and no
    /// text shows an undefined number.
    static void expectInsidePage(const PageDrawing& drawing)
    {
        for (const PageLine& line : All<PageLine>(drawing)) {
            for (const DevicePoint p : {line.from, line.to}) {
                EXPECT_TRUE(p.x >= 0 && p.x <= kAmphyPageWidth && p.y >= 0 &&
                            p.y <= kAmphyPageHeight);
            }
        }
        for (const PagePolyline& curve : All<PagePolyline>(drawing)) {
            for (const DevicePoint p : curve.points) {
                EXPECT_TRUE(p.x >= kPathyFrameLeft && p.x <= kPathyFrameLeft + kPathyFrameWidth &&
                            p.y >= kPathyFrameTop && p.y <= kPathyFrameTop + kPathyFrameHeight)
                    << p.x << "," << p.y;
            }
        }
        for (const PageText& t : All<PageText>(drawing)) {
            EXPECT_EQ(t.text.find("nan"), std::string::npos) << t.text;
            EXPECT_EQ(t.text.find("inf"), std::string::npos) << t.text;
        }
    }

    core::PropertyRecord record;
    AmphipathyPage page{record};
    test::FakeMeasure measure;
};

TEST(AmphipathyAxisTest, LabelsAndResidueIntervals)
{
    const std::pair<double, const char*> labels[] = {
        {1.0, "1.00"}, {0.5, "0.50"}, {0.0, "0.00"}, {0.25, "0.25"}, {10.0, "10"}, {-0.3, "-0.3"},
    };
    for (const auto& [value, text] : labels) {
        SCOPED_TRACE(value);
        EXPECT_EQ(AmphipathyTickLabel(value), text);
    }
    // Integer arithmetic on the displayed count.
    const std::pair<int, int> intervals[] = {
        {19, 1}, {20, 2}, {99, 5}, {100, 10}, {999, 50}, {1000, 100}, {9999, 500}, {34350, 2000},
    };
    for (const auto& [count, interval] : intervals) {
        SCOPED_TRACE(count);
        EXPECT_EQ(AmphipathyTickInterval(count), interval);
    }
    // The widening and the step come from 1.6 times the height: 0.1..0.5 is
    // drawn from 0.02 to 0.58, and the step of 0.64 (0.12) is rounded to 0.1.
    const VerticalAxis axis = ComputeAmphipathyAxis(ValueSpan{0.1, 0.5, false});
    EXPECT_DOUBLE_EQ(axis.max, 0.58);
    EXPECT_DOUBLE_EQ(axis.min, 0.02);
    EXPECT_EQ(axis.step, 0.1);
    ASSERT_EQ(axis.ticks.size(), 5u);
    EXPECT_EQ(AmphipathyTickLabel(axis.ticks.front()), "0.10");
    EXPECT_EQ(AmphipathyTickLabel(axis.ticks.back()), "0.50");
}

TEST(ThinColumnsTest, AColumnKeepsItsEndsAndItsExtremes)
{
    const std::vector<DevicePoint> points = {{0, 5}, {0, 1}, {0, 7}, {0, 9}, {0, 4},
                                             {1, 3}, {1, 3}, {2, 6}, {2, 8}};
    EXPECT_EQ(ThinColumns(points),
              (std::vector<DevicePoint>{{0, 5}, {0, 1}, {0, 9}, {0, 4}, {1, 3}, {2, 6}, {2, 8}}));
}

TEST_F(AmphipathyPageTest, CurveRangeAndMeanOfAThirtyResidueSequence)
{
    load(kMelittin.substr(43, 26) + "GGAA");
    const AmphipathyProfile& profile = page.Profile();
    const std::vector<double>& m = profile.moments;
    // Window 19 on 30 residues: centres 10..21.
    ASSERT_EQ(profile.firstCentre, 10);
    ASSERT_EQ(m.size(), 12u);
    EXPECT_EQ(profile.MomentAt(10), AmphipathyMoment(record, 1, 19));
    EXPECT_EQ(profile.MomentAt(21), AmphipathyMoment(record, 12, 30));
    EXPECT_EQ(profile.MomentAt(22), kInvalidMoment);

    // The range starts at the first window plus 0.01 and takes in every
    // window, as the curve draws every one.
    EXPECT_EQ(profile.range.min, *std::min_element(m.begin(), m.end()));
    EXPECT_EQ(profile.range.max, std::max(m[0] + 0.01, *std::max_element(m.begin(), m.end())));

    const PageDrawing drawing = page.Draw(HydropathyScreenLayout(), measure);
    const auto curves = All<PagePolyline>(drawing);
    ASSERT_EQ(curves.size(), 1u);
    ASSERT_EQ(curves[0].points.size(), 12u);
    EXPECT_EQ(curves[0].points.front().x, static_cast<int>(40 + 9 * 590.0 / 29));
    EXPECT_EQ(curves[0].points.back().x, static_cast<int>(40 + 20 * 590.0 / 29));
    expectInsidePage(drawing);

    // The mean is over the windows the curve draws: those centred in the
    // stretch, all twelve for 3..23, centres 10..20 for 3..20.
    EXPECT_DOUBLE_EQ(page.Mean(), std::accumulate(m.begin(), m.end(), 0.0) / 12);
    page.Plot().from = 3;
    page.Plot().to = 23;
    EXPECT_DOUBLE_EQ(page.Mean(), std::accumulate(m.begin(), m.end(), 0.0) / 12);
    page.Plot().to = 20;
    EXPECT_DOUBLE_EQ(page.Mean(), std::accumulate(m.begin(), m.end() - 1, 0.0) / 11);
}

TEST_F(AmphipathyPageTest, AStretchShorterThanTheWindowShowsAndAveragesItsWindows)
{
    // Mature melittin, window 19: moments for centres 10..17. Zoomed to 4..20
    // the curve still shows all eight, ending at the last, and the legend's
    // mean is theirs.
    load(kMelittin.substr(43, 26));
    const std::vector<double>& m = page.Profile().moments;
    ASSERT_EQ(m.size(), 8u);
    for (const auto& [from, to] : {std::pair(1, 26), std::pair(4, 20)}) {
        SCOPED_TRACE(std::to_string(from) + ".." + std::to_string(to));
        page.Plot().from = from;
        page.Plot().to = to;
        const auto curves = All<PagePolyline>(page.Draw(HydropathyScreenLayout(), measure));
        ASSERT_EQ(curves.size(), 1u);
        ASSERT_EQ(curves[0].points.size(), 8u);
        EXPECT_EQ(curves[0].points.back().x,
                  static_cast<int>(40 + (17 - from) * 590.0 / (to - from)));
        const VerticalAxis axis = ComputeAmphipathyAxis(page.Profile().range);
        EXPECT_EQ(curves[0].points.back().y,
                  static_cast<int>(ChartY(HydropathyScreenLayout(), axis, m.back())));
        EXPECT_DOUBLE_EQ(page.Mean(), std::accumulate(m.begin(), m.end(), 0.0) / 8);
        EXPECT_GT(page.Mean(), 0.1);
    }
}

TEST_F(AmphipathyPageTest, NothingUndefinedWhereNoWindowHasAMoment)
{
    struct Row
    {
        std::string sequence;
        int from, to, window;
    };
    const Row rows[] = {
        {"GIGAVLKVLT", 1, 10, 19},         // the window is longer than the sequence
        {"GIGAVLKVLT", 1, 10, 1},          // one residue has no moment
        {std::string(40, 'L'), 1, 40, 19}, // every moment is 0
        {"GIGAVLKVLT", 4, 4, 3},           // one displayed residue
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sequence + " window " + std::to_string(row.window));
        load(row.sequence);
        page.Plot() = AmphipathyPlot{row.from, row.to, row.window, 1};
        expectInsidePage(page.Draw(HydropathyScreenLayout(), measure));
        page.Draw(HydropathyPrinterLayout(630), measure);
        const VerticalAxis axis = ComputeAmphipathyAxis(page.Profile().range);
        EXPECT_TRUE(std::isfinite(axis.min) && std::isfinite(axis.max) && axis.step > 0.0);
        EXPECT_LT(axis.min, axis.max);
        EXPECT_FALSE(axis.ticks.empty());
        EXPECT_TRUE(std::isfinite(page.Mean()));
    }
    load(std::string(40, 'L'));
    EXPECT_EQ(page.Mean(), 0.0);
    EXPECT_EQ(page.Profile().range.min, 0.0);
}

TEST_F(AmphipathyPageTest, LegendAndTitleForScreenAndPrinter)
{
    load(kMelittin);
    page.Plot() = AmphipathyPlot{44, 69, 11, 1};
    const std::string mean = "Mean Amphipathy Moment = " + core::FormatSignificant(page.Mean(), 3);
    EXPECT_EQ(page.Caption(), "Plot of Amphipathy Moment of residues 44-69 of melittin");

    // Screen: line height 18, mean and window one and four lines from the
    // top at the frame's edge; no title, no scale.
    const auto screen = All<PageText>(page.Draw(HydropathyScreenLayout(), measure));
    const PageText* meanLine = textStarting(screen, "Mean Amphipathy Moment = ");
    const PageText* windowLine = textStarting(screen, "W = ");
    ASSERT_TRUE(meanLine && windowLine);
    EXPECT_EQ(meanLine->text, mean);
    EXPECT_EQ(meanLine->at, (DevicePoint{40, 18}));
    EXPECT_EQ(windowLine->text, "W = 11");
    EXPECT_EQ(windowLine->at, (DevicePoint{40, 72}));
    EXPECT_EQ(textStarting(screen, "Scale: "), nullptr);
    EXPECT_EQ(textStarting(screen, "Plot of Amphipathy"), nullptr);

    // A printer 1575 dots wide: scale 2, frame top 450, lines 34 apart.
    const auto printed = All<PageText>(page.Draw(HydropathyPrinterLayout(1575), measure));
    const PageText* title = textStarting(printed, "Plot of Amphipathy Moment of Residues 44-69");
    const PageText* printedMean = textStarting(printed, "Mean Amphipathy Moment = ");
    const PageText* scale = textStarting(printed, "Scale: ");
    const PageText* window = textStarting(printed, "W = ");
    ASSERT_TRUE(title && printedMean && scale && window);
    EXPECT_EQ(title->text, page.Title());
    EXPECT_NE(textStarting(printed, "*****"), nullptr);
    EXPECT_EQ(scale->text, "Scale: " + record.scales[0].name);
    EXPECT_EQ(printedMean->at, (DevicePoint{200, 450 - 6 * 34}));
    EXPECT_EQ(scale->at, (DevicePoint{200, 450 - 153}));
    EXPECT_EQ(window->at, (DevicePoint{200, 450 - 3 * 34}));
}

TEST_F(AmphipathyPageTest, ProfileIsComputedOncePerWindowScaleAndSequence)
{
    load(kMelittin);
    page.Draw(HydropathyScreenLayout(), measure);
    page.Draw(HydropathyPrinterLayout(4000), measure);
    page.Plot().from = 30; // a zoom reuses the moments
    page.Draw(HydropathyScreenLayout(), measure);
    EXPECT_EQ(page.ProfileComputations(), 1);
    page.Plot().window = 11;
    page.Draw(HydropathyScreenLayout(), measure);
    EXPECT_EQ(page.ProfileComputations(), 2);
    SelectScale(record, 1);
    page.Draw(HydropathyScreenLayout(), measure);
    EXPECT_EQ(page.ProfileComputations(), 3);
    record.SetSequence(kMelittin.substr(1));
    page.Draw(HydropathyScreenLayout(), measure);
    EXPECT_EQ(page.ProfileComputations(), 4);
}

TEST_F(AmphipathyPageTest, MomentsReadTheCurrentScaleEntryNotAnOlderCopy)
{
    load(kMelittin);
    const double kyteDoolittle = AmphipathyMoment(record, 44, 61);
    const double firstWindow = page.Profile().moments[0];
    EXPECT_GT(kyteDoolittle, 0.0);
    // A document that never chose a scale has no copy yet; one whose list was
    // edited has an older one.
    record.plots.hydropathy = {};
    EXPECT_EQ(AmphipathyMoment(record, 44, 61), kyteDoolittle);
    EXPECT_EQ(ComputeAmphipathyProfile(record, 19).moments[0], firstWindow);
    record.scales[0].values[static_cast<std::size_t>(core::IndexOfLetter('L'))] += 10.0;
    EXPECT_NE(AmphipathyMoment(record, 44, 61), kyteDoolittle);
    EXPECT_NE(page.Profile().moments[0], firstWindow);
}

TEST(AmphyDialogTest, ChecksStretchAndWindowAsTheHydropathyDialog)
{
    struct Row
    {
        const char *from, *to, *window;
        std::string_view message;
        PathyField focus;
    };
    const Row rows[] = {
        {"1a", "20", "19", core::msg::kInvalidStart, PathyField::From},
        {"1", "2x", "19", core::msg::kInvalidEnd, PathyField::To},
        {"0", "20", "19", core::msg::kOutsideLimits, PathyField::None},
        {"5", "5", "19", core::msg::kOutsideLimits, PathyField::None},
        {"1", "71", "19", core::msg::kOutsideLimits, PathyField::None},
        {"1", "20", "1 9", core::msg::kInvalidWindow, PathyField::Window},
        {"1", "20", "18", core::msg::kWindowOutsideLimits, PathyField::Window},
        {"1", "70", "19", "", PathyField::None},
        {"2", "3", "25", "", PathyField::None}, // a window longer than the stretch is allowed
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.from) + " " + row.to + " " + row.window);
        const PathyDialogCheck check = CheckAmphyDialog(row.from, row.to, row.window, 70);
        EXPECT_EQ(check.ok, row.message.empty());
        EXPECT_EQ(check.message, row.message);
        EXPECT_EQ(check.focus, row.focus);
    }
    const PathyDialogCheck check = CheckAmphyDialog("2", "60", "7", 70);
    EXPECT_EQ(std::tuple(check.from, check.to, check.window), std::tuple(2, 60, 7));
}

} // namespace
} // namespace quorin::plots
