#include "plots/HydropathyPage.h"

#include "plots/AmphipathyPage.h"
#include "plots/DemoPlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace quorin::plots {
namespace {

/// Metrics that follow the font height: 16 gives characters 7 wide, a maximum
/// width of 10 and lines 18 apart.
class FakeMeasure : public TextMeasure
{
public:
    FontMetrics Metrics(const core::LOGFONT& font) const override
    {
        const int h = std::abs(font.lfHeight);
        return FontMetrics{h * 5 / 8, h, h + 2};
    }
    TextExtent Extent(const core::LOGFONT& font, std::string_view text) const override
    {
        const int h = std::abs(font.lfHeight);
        return TextExtent{static_cast<int>(text.size()) * h * 7 / 16, h};
    }
};

const std::string& kSequence = test::kDemoSequence;

class HydropathyPageTest : public ::testing::Test
{
protected:
    HydropathyPageTest() { test::FillDemoRecord(record); }

    /// The page as a view draws it after a change: refreshed, then drawn.
    PageDrawing draw(const PageLayout& layout = HydropathyScreenLayout())
    {
        page.Refresh(measure);
        return page.Draw(layout, measure);
    }

    template <typename T>
    static std::vector<T> all(const PageDrawing& drawing)
    {
        std::vector<T> found;
        for (const PageElement& element : drawing.elements) {
            if (const auto* item = std::get_if<T>(&element)) {
                found.push_back(*item);
            }
        }
        return found;
    }

    static std::optional<PageText> text(const PageDrawing& drawing, const std::string& content)
    {
        for (const PageText& t : all<PageText>(drawing)) {
            if (t.text == content) {
                return t;
            }
        }
        return std::nullopt;
    }

    static std::vector<PageLine> linesOf(const PageDrawing& drawing, core::COLORREF colour,
                                         int width)
    {
        std::vector<PageLine> found;
        for (const PageElement& element : drawing.elements) {
            const auto* line = std::get_if<PageLine>(&element);
            if (line != nullptr && line->pen.colour == colour && line->pen.width == width) {
                found.push_back(*line);
            }
        }
        return found;
    }

    static int x(int residue) { return static_cast<int>(40 + (residue - 1) * 590.0 / 49); }

    core::PropertyRecord record;
    HydropathyPage page{record};
    FakeMeasure measure;
};

TEST(VerticalAxisTest, StepsAndTicksFollowTheWidenedRange)
{
    struct Row
    {
        double min, max, step;
        std::vector<double> ticks;
    };
    // The span's own step (0.9, 2.5, 0.6, 0.6, 0.3) rounded to the nearest
    // of 1, 2, 2.5 and 5 times a power of ten.
    const Row rows[] = {
        {-1.0, 2.0, 1.0, {0.0, 1.0, 2.0, -1.0}},
        {-4.5, 4.5, 2.5, {0.0, 2.5, 5.0, -2.5, -5.0}},
        // above zero: from the first step above min
        {1.0, 3.0, 0.5, {1.0, 1.5, 2.0, 2.5, 3.0, 3.5}},
        {-3.0, -1.0, 0.5, {-0.5, -1.0, -1.5, -2.0, -2.5, -3.0}},
        // starts below the top
        {-10.0, -9.0, 0.25, {-8.75, -9.0, -9.25, -9.5, -9.75, -10.0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.min << ".." << row.max);
        const VerticalAxis axis = ComputeVerticalAxis({row.min, row.max, false});
        EXPECT_DOUBLE_EQ(axis.max, row.max + 0.32 * (row.max - row.min));
        EXPECT_DOUBLE_EQ(axis.min, row.min - 0.192 * (row.max - row.min));
        EXPECT_NEAR(axis.step, row.step, 1e-12);
        ASSERT_EQ(axis.ticks.size(), row.ticks.size());
        for (std::size_t i = 0; i < row.ticks.size(); ++i) {
            EXPECT_NEAR(axis.ticks[i], row.ticks[i], 1e-9);
        }
    }
}

TEST(RoundStepTest, StepsAreOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen)
{
    // Nearest by ratio for values, exact where the decimal is: 0.25 is 0.25.
    const std::pair<double, double> steps[] = {
        {0.012, 0.01}, {0.04, 0.05},     {0.3, 0.25},    {0.9, 1.0},
        {1.5, 2.0},    {3.0, 2.5},       {7.0, 5.0},     {7.5, 10.0},
        {11.5, 10.0},  {1500.0, 2000.0}, {3e-7, 2.5e-7}, {0.0036, 0.005},
    };
    for (const auto& [step, round] : steps) {
        SCOPED_TRACE(step);
        EXPECT_EQ(RoundStep(step), round);
    }
    // Residue intervals only grow, and stay whole.
    const std::pair<int, int> intervals[] = {
        {1, 1},   {2, 2},   {3, 5},    {6, 10},      {11, 20},
        {21, 25}, {26, 50}, {59, 100}, {2717, 5000}, {INT_MAX, INT_MAX},
    };
    for (const auto& [interval, round] : intervals) {
        SCOPED_TRACE(interval);
        EXPECT_EQ(RoundResidueInterval(interval), round);
    }
    // Both charts' ticks are whole multiples of their round step.
    const ValueSpan ranges[] = {{0.0, 0.16, false},
                                {0.05, 0.11, false},
                                {-1.3, 2.5, false},
                                {-4.2, 3.1, false},
                                {12.0, 410.0, false}};
    for (const ValueSpan& range : ranges) {
        SCOPED_TRACE(::testing::Message() << range.min << ".." << range.max);
        for (const VerticalAxis& axis :
             {ComputeVerticalAxis(range), ComputeAmphipathyAxis(range)}) {
            const double mantissa = axis.step / std::pow(10.0, std::floor(std::log10(axis.step)));
            EXPECT_TRUE(std::fabs(mantissa - 1.0) < 1e-9 || std::fabs(mantissa - 2.0) < 1e-9 ||
                        std::fabs(mantissa - 2.5) < 1e-9 || std::fabs(mantissa - 5.0) < 1e-9)
                << axis.step;
            for (const double tick : axis.ticks) {
                EXPECT_NEAR(tick / axis.step, std::round(tick / axis.step), 1e-9) << tick;
            }
        }
    }
}

TEST_F(HydropathyPageTest, WideValueLabelsShrinkRatherThanLeaveThePage)
{
    // Characters 7 units wide at height 16, ticks 6 long: 34 units of room
    // left of the frame at 40.
    const ChartFont font = ChartFontFor(HydropathyScreenLayout(), measure);
    struct Row
    {
        std::vector<std::string> labels;
        int height; // of the labels' font
    };
    const Row rows[] = {
        {{"0.0", "-1.5", "12.5"}, 16}, // fits as it is
        {{"0.100", "0.125", "0.0"}, 15},
        {{"-0.0025", "0.0025"}, 11},
        {{"-12345.678"}, 10}, // three fifths is the least; it starts at the edge
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.labels.front());
        ChartAxes axes;
        axes.from = 1;
        axes.to = 50;
        axes.vertical.min = 0.0;
        axes.vertical.max = 1.0;
        axes.vertical.step = 0.5;
        for (std::size_t k = 0; k < row.labels.size(); ++k) {
            axes.vertical.ticks.push_back(static_cast<double>(k) * 0.5);
        }
        axes.labels = row.labels;
        PageDrawing drawing;
        DrawChartAxes(drawing, HydropathyScreenLayout(), axes, font, measure);
        for (const std::string& label : row.labels) {
            const auto shown = text(drawing, label);
            ASSERT_TRUE(shown.has_value()) << label;
            EXPECT_EQ(std::abs(shown->font.lfHeight), row.height);
            const int width = measure.Extent(shown->font, label).width;
            const int leftEdge =
                shown->anchor == TextAnchor::TopRight ? shown->at.x - width : shown->at.x;
            EXPECT_GE(leftEdge, 0) << label;
        }
    }
}

TEST(VerticalAxisTest, EmptyOrFlatRangesStillGetASpanAndFewTicks)
{
    const ValueSpan ranges[] = {
        {0.0, 0.0, true},
        {1.8, 1.8, false},
        {2.0, 2.0 + 4e-16, false}, // summation noise, no real height
        {-1e6, -1e6, false},
    };
    for (const ValueSpan& range : ranges) {
        SCOPED_TRACE(::testing::Message() << range.min << " empty " << range.empty);
        const VerticalAxis axis = ComputeVerticalAxis(range);
        EXPECT_GT(axis.max - axis.min, 1.0);
        EXPECT_GT(axis.step, 0.0);
        EXPECT_FALSE(axis.ticks.empty());
        EXPECT_LT(axis.ticks.size(), 30u);
        const double middle = range.empty ? 0.0 : range.min;
        EXPECT_LT(axis.min, middle);
        EXPECT_GT(axis.max, middle);
    }
}

TEST(VerticalAxisTest, TickLabelsHaveAtLeastThreeCharacters)
{
    const std::pair<double, const char*> rows[] = {
        {2.0, "2.0"},
        {-1.5, "-1.5"},
        {0.0, "0.0"},
        {-1.0, "-1.0"},
        {10.0, "10.0"},
        {0.9, "0.9"},
        {1.8000000000000003, "1.8"},
        {12.5, "12.5"},
    };
    for (const auto& [value, label] : rows) {
        EXPECT_EQ(TickLabel(value), label) << value;
    }
}

TEST(HorizontalAxisTest, IntervalGrowsWithTheDisplayedCountInRoundSteps)
{
    // The count's own interval (1 + 0.05 n, ...: 3, 15, 23, 59, 2717) rounded
    // up to 1, 2, 2.5 or 5 times a power of ten.
    const std::pair<int, int> rows[] = {{10, 1},       {50, 5},      {99, 5},     {100, 20},
                                        {262, 25},     {999, 100},   {1000, 200}, {9999, 1000},
                                        {10000, 2000}, {34350, 5000}};
    for (const auto& [count, interval] : rows) {
        EXPECT_EQ(HorizontalTickInterval(count), interval) << count;
    }
}

TEST(HorizontalAxisTest, TicksAreMultiplesBeforeTheLastResidue)
{
    // 30 itself gets no tick.
    EXPECT_EQ(HorizontalTicks(10, 30), (std::vector<int>{10, 12, 14, 16, 18, 20, 22, 24, 26, 28}));
    EXPECT_EQ(HorizontalTicks(1, 262).front(), 25);
    EXPECT_EQ(HorizontalTicks(1, 262).back(), 250);
}

TEST_F(HydropathyPageTest, ScreenPageHasFrameAxesCurveAndHelixBar)
{
    const PageDrawing drawing = draw();
    const auto frames = all<PageFrame>(drawing);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, (DeviceRect{40, 90, 630, 290}));
    EXPECT_FALSE(text(drawing, page.Title()).has_value());

    const auto curves = all<PagePolyline>(drawing);
    ASSERT_EQ(curves.size(), 1u);
    ASSERT_EQ(curves[0].points.size(), 50u);
    const VerticalAxis axis = ComputeVerticalAxis({-3.9, 4.5, false});
    const auto y = [&axis](double v) {
        return static_cast<int>(90 + (axis.max - v) * 200 / (axis.max - axis.min));
    };
    EXPECT_EQ(curves[0].points.front(), (DevicePoint{40, y(-3.9)}));
    EXPECT_EQ(curves[0].points[20], (DevicePoint{x(21), y(4.5)}));
    EXPECT_EQ(curves[0].points.back(), (DevicePoint{630, y(-3.9)}));

    std::vector<Helix> helices;
    PredictHelices(record, 1.6, &helices);
    ASSERT_EQ(helices.size(), 1u);
    const auto bars = linesOf(drawing, 0x0000FF, 3);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].from,
              (DevicePoint{static_cast<int>(40 + (helices[0].start - 1) * 590.0 / 49 + 2), 95}));
    EXPECT_EQ(bars[0].to.x, static_cast<int>(40 + (helices[0].end - 1) * 590.0 / 49 - 2));

    // A zero line, and labelled ticks on both axes.
    const auto zero = text(drawing, "0.0");
    ASSERT_TRUE(zero.has_value());
    EXPECT_EQ(zero->anchor, TextAnchor::TopRight);
    EXPECT_EQ(zero->at, (DevicePoint{34, y(0.0) - 9}));
    bool zeroLine = false;
    for (const PageLine& line : linesOf(drawing, 0, 1)) {
        zeroLine |= line.from == DevicePoint{40, y(0.0)} && line.to == DevicePoint{630, y(0.0)};
    }
    EXPECT_TRUE(zeroLine);
    // Every fifth residue of 50, the last one itself not.
    EXPECT_EQ(text(drawing, "5")->at, (DevicePoint{x(5) - 5, 299}));
    EXPECT_EQ(text(drawing, "45")->at, (DevicePoint{x(45) - 10, 299}));
    EXPECT_FALSE(text(drawing, "3").has_value());
    EXPECT_FALSE(text(drawing, "50").has_value());
    const auto residueNumber = text(drawing, "Residue Number");
    EXPECT_EQ(residueNumber->at, (DevicePoint{335, 326}));
    EXPECT_EQ(residueNumber->anchor, TextAnchor::TopCentre);
}

TEST_F(HydropathyPageTest, HelixBarsOnlyForKyteAndDoolittleWithTheDisplayOn)
{
    EXPECT_EQ(linesOf(draw(), 0x0000FF, 3).size(), 1u);
    record.plots.pathy.helixDisplay = 0;
    EXPECT_TRUE(linesOf(draw(), 0x0000FF, 3).empty());
    record.plots.pathy.helixDisplay = 1;
    SelectScale(record, 1);
    EXPECT_TRUE(linesOf(draw(), 0x0000FF, 3).empty());
    // The name decides, not the position in the list.
    std::swap(record.scales[0], record.scales[1]);
    SelectScale(record, 1);
    EXPECT_EQ(linesOf(draw(), 0x0000FF, 3).size(), 1u);
}

TEST_F(HydropathyPageTest, HelixOutsideTheStretchIsClampedOrSkipped)
{
    // The helix runs from 5 to 38 (one past its end).
    core::HydropathyPlotSettings& s = record.plots.pathy;
    s.from = 40;
    s.to = 50;
    EXPECT_TRUE(linesOf(draw(), 0x0000FF, 3).empty());
    s.from = 1;
    s.to = 4;
    EXPECT_TRUE(linesOf(draw(), 0x0000FF, 3).empty());
    s.from = 20;
    s.to = 50;
    const auto bars = linesOf(draw(), 0x0000FF, 3);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].from.x, 40);
    EXPECT_EQ(bars[0].to.x, static_cast<int>(40 + 18 * 590.0 / 30 - 2));
}

TEST_F(HydropathyPageTest, HelicesNarrowerThanTheirBarEndsStillShowOnALongSequence)
{
    // 10,000 residues on 590 units: the helix is less than two units wide, so
    // its bar runs backwards from x(start) + 2 to x(end) - 2.
    record.SetSequence(std::string(5000, 'K') + std::string(21, 'I') + std::string(4979, 'K'));
    record.plots.pathy.to = 10000;
    std::vector<Helix> helices;
    ASSERT_EQ(PredictHelices(record, 1.6, &helices), 1);
    const auto xOf = [](int residue) { return 40 + (residue - 1) * 590.0 / 9999; };
    const auto bars = linesOf(draw(), 0x0000FF, 3);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0].from, (DevicePoint{static_cast<int>(xOf(helices[0].start) + 2), 95}));
    EXPECT_EQ(bars[0].to, (DevicePoint{static_cast<int>(xOf(helices[0].end) - 2), 95}));
    EXPECT_LT(bars[0].to.x, bars[0].from.x);
}

TEST_F(HydropathyPageTest, LegendFollowsStretchWindowScaleAndThreshold)
{
    const PageDrawing drawing = draw();
    const auto& items = record.plots.pathy.texts;
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Mean Hydropathy (GRAVY) = -0.372"); // (29 K + 21 I) / 50
    EXPECT_EQ(items[1].text, "Scale: Kyte and Doolittle (1982)");
    EXPECT_EQ(items[2].text, "W = 1");
    EXPECT_EQ(items[3].text, "Hydropathy threshold for helices =  1.6");
    for (const auto& item : items) {
        EXPECT_EQ(item.x, 40);
    }
    EXPECT_EQ(text(drawing, items[2].text)->at, (DevicePoint{40, 56}));

    SelectScale(record, 1);
    draw();
    EXPECT_EQ(items[1].text, "Scale: Eisenberg Consensus Scale (1983)");
    EXPECT_EQ(items[3].text, "");
    SelectScale(record, 0);
    record.plots.pathy.from = 11;
    record.plots.pathy.to = 31;
    draw();
    EXPECT_EQ(items[0].text, "Mean Hydropathy (GRAVY) = 4.5");
    EXPECT_EQ(items[3].text, "Hydropathy threshold for helices =  1.6");
    record.plots.pathy.threshold = 0.0;
    draw();
    EXPECT_EQ(items[3].text, "");

    // An item the user edited is no legend line any more.
    record.plots.pathy.texts[1].legend = 0;
    record.plots.pathy.texts[1].text = "Scale: mine";
    record.plots.pathy.texts[1].x = 300;
    draw();
    EXPECT_EQ(items[1].text, "Scale: mine");
    EXPECT_EQ(items[1].x, 300);
}

TEST_F(HydropathyPageTest, MarksInsideTheFrameCarryLabelsAndAnswerHitTests)
{
    core::MARK mark;
    mark.lineColour = 0x00FF00;
    mark.labelColour = 0xFF0000;
    mark.font = core::ReportFontA();
    for (const int position : {1, 27, 50}) {
        mark.position = static_cast<std::uint16_t>(position);
        record.plots.pathy.marks.push_back(mark);
    }
    const PageDrawing drawing = draw();
    const auto arrows = linesOf(drawing, 0x00FF00, 1);
    ASSERT_EQ(arrows.size(), 3u); // only the mark at 27: the others sit on the frame
    const int tip = x(27);
    EXPECT_EQ(arrows[0].from, (DevicePoint{tip, 94}));
    EXPECT_EQ(arrows[0].to, (DevicePoint{tip, 110}));
    EXPECT_EQ(arrows[1].to, (DevicePoint{tip - 2, 103}));
    EXPECT_EQ(arrows[2].to, (DevicePoint{tip + 2, 103}));
    const auto label = text(drawing, "I27");
    ASSERT_TRUE(label.has_value());
    EXPECT_EQ(label->at, (DevicePoint{tip + 5, 110}));
    EXPECT_EQ(label->colour, 0xFF0000u);

    EXPECT_EQ(page.MarkAt({tip, 100}), 1);
    EXPECT_EQ(page.MarkAt({tip + 10, 115}), 1); // on the label
    EXPECT_EQ(page.MarkAt({tip + 10, 100}), -1);
    EXPECT_EQ(page.MarkAt({x(1), 100}), -1);

    record.plots.pathy.labelMarks = 0;
    EXPECT_FALSE(text(draw(), "I27").has_value());
    EXPECT_EQ(page.MarkAt({tip + 10, 115}), -1);
}

TEST_F(HydropathyPageTest, TextItemsStackTheirLinesAndAreHitFromTheTop)
{
    core::TEXTITEM item;
    item.x = 100;
    item.y = 300;
    item.text = "ab\r\n\r\ncde";
    item.font = core::ReportFontA();
    record.plots.pathy.texts.push_back(item);
    item.x = 110;
    item.y = 310;
    item.text = "over";
    record.plots.pathy.texts.push_back(item);

    const PageDrawing drawing = draw();
    EXPECT_EQ(text(drawing, "ab")->at, (DevicePoint{100, 300}));
    EXPECT_EQ(text(drawing, "cde")->at, (DevicePoint{100, 332})); // the empty line takes 16
    const core::TEXTITEM& stored = record.plots.pathy.texts[4];
    EXPECT_EQ(stored.width, 21);
    EXPECT_EQ(stored.height, 48);

    EXPECT_EQ(page.TextItemAt({100, 300}), 4);
    EXPECT_EQ(page.TextItemAt({121, 348}), 4); // the edge counts
    EXPECT_EQ(page.TextItemAt({122, 300}), -1);
    EXPECT_EQ(page.TextItemAt({112, 312}), 5); // the later item lies on top
    EXPECT_EQ(page.TextItemAt({45, 60}), 2);   // "W = 1"
}

TEST_F(HydropathyPageTest, SelectionFramesOnlyOnScreen)
{
    record.plots.pathy.texts[0].selected = 1;
    const auto dotted = [](const PageDrawing& drawing) {
        int count = 0;
        for (const PageFrame& frame : all<PageFrame>(drawing)) {
            count += frame.pen.dotted ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(dotted(draw()), 1);
    EXPECT_EQ(dotted(draw(HydropathyMetafileLayout())), 0);
    EXPECT_EQ(dotted(draw(HydropathyPrinterLayout(6300))), 0);
}

TEST_F(HydropathyPageTest, PrinterPageIsScaledShiftedAndTitled)
{
    const PageLayout layout = HydropathyPrinterLayout(6300);
    EXPECT_DOUBLE_EQ(layout.scale, 8.0);
    record.plots.pathy.texts[0].selected = 0;
    const PageDrawing drawing = draw(layout);

    const auto frames = all<PageFrame>(drawing);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_NEAR(frames[0].rect.left, 800, 1);
    EXPECT_NEAR(frames[0].rect.top, 1800, 1);
    EXPECT_NEAR(frames[0].rect.right, 5520, 1);
    EXPECT_NEAR(frames[0].rect.bottom, 3400, 1);

    // Fonts are 8 times higher: 128, lines 130 apart.
    const auto title = text(drawing, "Hydropathy Plot of Residues 1-50 of demo");
    ASSERT_TRUE(title.has_value());
    EXPECT_EQ(title->font.lfHeight, 128);
    EXPECT_NEAR(title->at.x, 800, 1);
    EXPECT_EQ(title->at.y, 130);
    const auto stars = text(drawing, std::string(40, '*'));
    ASSERT_TRUE(stars.has_value());
    EXPECT_EQ(stars->at.y, 260);

    // Legend items move with the frame: (40, 14) on screen is (100, 149) here.
    const auto gravy = text(drawing, record.plots.pathy.texts[0].text);
    EXPECT_NEAR(gravy->at.x, 800, 1);
    EXPECT_NEAR(gravy->at.y, 1192, 1);

    // The curve and the bars are scaled too.
    const auto curves = all<PagePolyline>(drawing);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_EQ(curves[0].pen.width, 8);
    EXPECT_EQ(linesOf(drawing, 0x0000FF, 24).size(), 1u);

    // The hit-test extents stay those of the screen page.
    EXPECT_EQ(record.plots.pathy.texts[0].height, 16);
}

TEST_F(HydropathyPageTest, DrawingLeavesTheRecordAsItWas)
{
    // Not refreshed yet: the legend still lacks its values and nothing is measured.
    record.plots.pathy.texts[0].selected = 1;
    const core::HydropathyPlotSettings before = record.plots.pathy;
    for (const PageLayout& layout : {HydropathyScreenLayout(), HydropathyPrinterLayout(6300)}) {
        page.Draw(layout, measure);
        page.Draw(layout, measure);
    }
    EXPECT_TRUE(record.plots.pathy == before);
}

TEST(WrapTitleTest, LinesBreakAtBlanksAndStarsStayWithinTheWidestLine)
{
    struct Row
    {
        const char* title;
        int maxLines;
        std::vector<std::string> lines;
        std::size_t stars;
    };
    // 7 units a character, 70 wide: ten characters a line.
    const Row rows[] = {
        {"short", 6, {"short"}, 5},
        {"ab cd ef gh ij", 6, {"ab cd ef", "gh ij"}, 8},
        {"abcdefghijklmnop qr", 6, {"abcdefghij", "klmnop qr"}, 10}, // a word alone too wide
        {"aaaa  bbbb cccc dddd eeee", 2, {"aaaa  bbbb", "cccc dd..."}, 10},
    };
    core::LOGFONT font = core::ReportFontA();
    font.lfHeight = 16;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        const TitleBlock block = WrapTitle(row.title, font, 70, row.maxLines, FakeMeasure());
        EXPECT_EQ(block.lines, row.lines);
        EXPECT_EQ(block.stars, std::string(row.stars, '*'));
    }
}

TEST_F(HydropathyPageTest, WindowLongerThanTheSequenceDrawsAnEmptyChart)
{
    record.plots.pathy.window = 99;
    const PageDrawing drawing = draw();
    EXPECT_TRUE(all<PagePolyline>(drawing).empty());
    EXPECT_EQ(all<PageFrame>(drawing).size(), 1u);
    EXPECT_TRUE(text(drawing, "0.0").has_value());
}

TEST_F(HydropathyPageTest, OneRepeatedResidueGivesAFlatCurveInsideTheFrame)
{
    record.SetSequence(std::string(50, 'A'));
    record.plots.pathy.window = 3;
    const auto curves = all<PagePolyline>(draw());
    ASSERT_EQ(curves.size(), 1u);
    for (const DevicePoint& point : curves[0].points) {
        EXPECT_GT(point.y, 90);
        EXPECT_LT(point.y, 290);
        EXPECT_EQ(point.y, curves[0].points.front().y);
    }
}

TEST_F(HydropathyPageTest, OneResidueStretchDrawsWithoutDividingByZero)
{
    record.SetSequence("I");
    record.plots.pathy.from = 1;
    record.plots.pathy.to = 1;
    const auto curves = all<PagePolyline>(draw());
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_EQ(curves[0].points, (std::vector<DevicePoint>{{40, curves[0].points[0].y}}));
}

TEST_F(HydropathyPageTest, InfiniteScaleValuesDrawFarOffThePageNotPastTheIntRange)
{
    // "1e999" in a scale reads as infinity; the windows around it average to it.
    record.plots.hydropathy[core::IndexOfLetter('I')] = HUGE_VAL;
    record.plots.pathy.window = 3;
    const auto curves = all<PagePolyline>(draw());
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_EQ(std::count_if(curves[0].points.begin(), curves[0].points.end(),
                            [](const DevicePoint& point) { return point.y == -1000000; }),
              23);
    for (const DevicePoint& point : curves[0].points) {
        EXPECT_GE(point.y, -1000000);
        EXPECT_LE(point.y, 290);
    }
    const ValueSpan range = ValueRange(record, 3);
    EXPECT_DOUBLE_EQ(range.min, -3.9);
    EXPECT_TRUE(std::isfinite(range.max));
    const PageLayout screen = HydropathyScreenLayout();
    EXPECT_EQ(screen.Device(-HUGE_VAL), -1000000);
    EXPECT_EQ(screen.Device(std::nan("")), 0);
    EXPECT_EQ(screen.Device(-41.9), -41);
}

TEST_F(HydropathyPageTest, ProfileIsComputedOncePerChangeNotPerDrawing)
{
    draw();
    draw(HydropathyPrinterLayout(6300));
    draw();
    EXPECT_EQ(page.ProfileComputations(), 1);
    record.plots.pathy.marks.push_back(core::MARK{});
    record.plots.pathy.texts[0].x = 200;
    draw();
    EXPECT_EQ(page.ProfileComputations(), 1);

    record.plots.pathy.window = 3;
    draw();
    EXPECT_EQ(page.ProfileComputations(), 2);
    SelectScale(record, 1);
    draw();
    EXPECT_EQ(page.ProfileComputations(), 3);
    record.SetSequence(kSequence + "W");
    draw();
    EXPECT_EQ(page.ProfileComputations(), 4);
    record.plots.pathy.threshold = 2.0;
    draw();
    draw();
    EXPECT_EQ(page.ProfileComputations(), 5);
}

TEST_F(HydropathyPageTest, MouseXMapsToResidues)
{
    EXPECT_EQ(page.ResidueAtX(40), 1);
    EXPECT_EQ(page.ResidueAtX(0), 1);
    EXPECT_EQ(page.ResidueAtX(630), 50);
    EXPECT_EQ(page.ResidueAtX(700), 50);
    EXPECT_EQ(page.ResidueAtX(335), 26);
    EXPECT_EQ(page.Caption(), "Hydropathy Plot of residues 1-50 of demo");
}

TEST(TopologyBandTest, PiecesMeetHalfWayBetweenResiduesAndClipToTheStretch)
{
    struct Piece
    {
        char label;
        int first;
        int last;
        double x1;
        double x2;
    };
    struct Case
    {
        const char* what;
        int from;
        int to;
        double width;
        std::vector<Piece> pieces;
    };
    // Ten page units a residue over the whole of "SSSooHHHHii".
    const Case cases[] = {
        {"whole sequence",
         1,
         11,
         100,
         {{'S', 1, 3, 0, 25}, {'o', 4, 5, 25, 45}, {'H', 6, 9, 45, 85}, {'i', 10, 11, 85, 100}}},
        {"a stretch", 5, 8, 90, {{'o', 5, 5, 0, 15}, {'H', 6, 8, 15, 90}}},
        {"past the sequence", 12, 20, 100, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto band = TopologyBand("SSSooHHHHii", c.from, c.to, 0.0, c.width);
        ASSERT_EQ(band.size(), c.pieces.size());
        for (std::size_t k = 0; k < band.size(); ++k) {
            EXPECT_EQ(band[k].label, c.pieces[k].label);
            EXPECT_EQ(band[k].firstResidue, c.pieces[k].first);
            EXPECT_EQ(band[k].lastResidue, c.pieces[k].last);
            EXPECT_DOUBLE_EQ(band[k].x1, c.pieces[k].x1);
            EXPECT_DOUBLE_EQ(band[k].x2, c.pieces[k].x2);
        }
    }
    EXPECT_EQ(TopologyBand("oHi", 1, 3, 0, 10)[1].colour, kTopologyHelixColour);
}

TEST_F(HydropathyPageTest, TopologyBandIsAnOptionThatAddsOnlyTheBandAndItsKey)
{
    const PageDrawing plain = draw();
    EXPECT_FALSE(page.ShowsTopology());
    page.SetShowsTopology(true);
    const PageDrawing banded = draw();
    page.SetShowsTopology(false);
    // Off again, the page is the page it was, element for element.
    const PageDrawing again = draw();
    ASSERT_EQ(again.elements.size(), plain.elements.size());

    const std::string& labels = page.TopologyLabels();
    ASSERT_EQ(labels.size(), kSequence.size());
    const auto pieces = TopologyBand(labels, 1, static_cast<int>(kSequence.size()), kPathyFrameLeft,
                                     kPathyFrameWidth);
    std::vector<PageFrame> filled;
    for (const PageFrame& frame : all<PageFrame>(banded)) {
        if (frame.fill) {
            filled.push_back(frame);
        }
    }
    // One box a run of labels, one swatch a key entry.
    ASSERT_EQ(filled.size(), pieces.size() + 4);
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        EXPECT_EQ(*filled[k].fill, pieces[k].colour);
        EXPECT_EQ(filled[k].rect.top, kPathyFrameTop + 9);
    }
    EXPECT_EQ(banded.elements.size(), plain.elements.size() + pieces.size() + 8);
    const auto texts = all<PageText>(banded);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                            [](const PageText& t) { return t.text == "transmembrane helix"; }));
}

} // namespace
} // namespace quorin::plots
