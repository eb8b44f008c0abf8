#include "plots/Wheel.h"

#include "plots/Hydropathy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>

namespace quorin::plots {

void PrintTo(const DevicePoint& point, std::ostream* out)
{
    *out << "(" << point.x << ", " << point.y << ")";
}

namespace {

/// Characters 5 wide and 13 high in the wheel's default font (height -13).
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
        return TextExtent{static_cast<int>(text.size()) * (h * 7 / 16), h};
    }
};

/// The melittin precursor; 44..61 is the helix of the mature peptide.
const std::string kMelittin =
    "MKFLVNVALVFMVVYISYIYAAPEPEPAPEPEAEADAEADPEAGIGAVLKVLTTGLPALISWIKRKRQQG";

class WheelTest : public ::testing::Test
{
protected:
    WheelTest()
    {
        record.SetName("melittin");
        record.SetSequence(kMelittin);
        record.wheelFont.lfHeight = -13;
    }

    /// The distance from the centre to the nearest point of a label's box.
    static double nearDistance(const WheelGeometry& wheel, const WheelLabel& label)
    {
        const auto nearest = [](int low, int high) {
            return low <= 0 && high >= 0 ? 0 : std::min(std::abs(low), std::abs(high));
        };
        const int x0 = label.at.x - wheel.frame.centre.x;
        const int y0 = label.at.y - wheel.frame.centre.y;
        return std::hypot(nearest(x0, x0 + label.extent.width),
                          nearest(y0, y0 + label.extent.height));
    }

    core::PropertyRecord record;
    FakeMeasure measure;
};

TEST_F(WheelTest, PlacesPointsAndLabelsOfNineteenResidues)
{
    // Each residue lies 100 degrees further clockwise, the first at six
    // o'clock; the label's corner nearest the centre clears the circle, and
    // the 19th label goes outside the first turn.
    struct Row
    {
        DevicePoint point;
        std::string label;
        DevicePoint at;
    };
    const Row rows[] = {
        {{250, 330}, "G44", {250, 335}}, {{172, 237}, "I45", {153, 233}},
        {{277, 175}, "G46", {282, 161}}, {{319, 289}, "A47", {323, 292}},
        {{199, 311}, "V48", {191, 320}}, {{199, 189}, "L49", {185, 172}},
        {{319, 210}, "K50", {326, 206}}, {{277, 325}, "V51", {279, 329}},
        {{172, 263}, "L52", {154, 267}}, {{250, 171}, "T53", {250, 154}},
        {{328, 263}, "T54", {333, 264}}, {{223, 325}, "G55", {221, 331}},
        {{181, 211}, "L56", {161, 199}}, {{301, 189}, "P57", {309, 180}},
        {{301, 311}, "A58", {304, 315}}, {{181, 290}, "L59", {167, 298}},
        {{223, 175}, "I60", {216, 157}}, {{328, 237}, "S61", {333, 236}},
        {{250, 329}, "W62", {250, 355}},
    };
    const WheelGeometry wheel =
        ComputeWheel(record, core::WHEELPLOT{44, 62, 1.0}, WheelScreenLayout(), measure);
    ASSERT_EQ(wheel.points.size(), std::size(rows));
    ASSERT_EQ(wheel.labels.size(), std::size(rows));
    for (std::size_t j = 0; j < std::size(rows); ++j) {
        SCOPED_TRACE(rows[j].label);
        EXPECT_EQ(wheel.points[j], rows[j].point);
        EXPECT_EQ(wheel.labels[j].text, rows[j].label);
        EXPECT_EQ(wheel.labels[j].at, rows[j].at);
    }
}

TEST_F(WheelTest, LabelsClearTheLinesAndTheEarlierTurns)
{
    // A thick pen on paper, and a stretch of three turns: no label box comes
    // within the pen's reach of the circle, and every label of a turn lies
    // outside the labels of the turns before it.
    record.wheelLineWidth = 10;
    const PageLayout paper = WheelPrinterLayout(9921);
    const WheelGeometry wheel = ComputeWheel(record, core::WHEELPLOT{1, 54, 1.0}, paper, measure);
    EXPECT_EQ(wheel.frame.k, 13.0);
    EXPECT_EQ(wheel.frame.radius, 1040);
    EXPECT_EQ(wheel.frame.centre, (DevicePoint{4960, 4960}));
    EXPECT_EQ(wheel.penWidth, 130);
    EXPECT_EQ(wheel.font.lfHeight, -169);
    double outerOfTurn = wheel.frame.radius + wheel.penWidth / 2;
    double outer = 0.0;
    for (std::size_t j = 0; j < wheel.labels.size(); ++j) {
        SCOPED_TRACE(wheel.labels[j].text);
        EXPECT_GT(nearDistance(wheel, wheel.labels[j]), outerOfTurn);
        const WheelLabel& label = wheel.labels[j];
        const double dx =
            std::max(std::abs(label.at.x - 4960), std::abs(label.at.x + label.extent.width - 4960));
        const double dy = std::max(std::abs(label.at.y - 4960),
                                   std::abs(label.at.y + label.extent.height - 4960));
        outer = std::max(outer, std::hypot(dx, dy));
        if (j % kWheelSlots == kWheelSlots - 1) {
            outerOfTurn = outer;
        }
    }
}

TEST_F(WheelTest, ColoursNumbersAndThePrintedTitle)
{
    core::AppSettings settings;
    settings.wheelLineWidth = 2;
    settings.wheelColorCode = 1;
    settings.wheelNumbers = 0;
    settings.wheelFont = core::ReportFontA();
    for (int i = 0; i < core::kResidueSlots; ++i) {
        settings.colours[static_cast<std::size_t>(i)] = core::DefaultResidueColour(i);
    }
    record.colours[0] = 0x123456;
    TakeWheelOptions(record, settings);
    EXPECT_EQ(record.colours[0], 0x123456u);  // the termini keep theirs
    const core::WHEELPLOT wheel{62, 68, 1.0}; // WIKRKRQ
    PageDrawing page = DrawWheelPage(record, wheel, WheelPrinterLayout(1240), measure);
    std::string labels;
    std::vector<core::COLORREF> colours;
    std::vector<std::string> texts;
    for (const PageElement& element : page.elements) {
        if (const auto* text = std::get_if<PageText>(&element)) {
            texts.push_back(text->text);
            if (text->text.size() == 1) {
                labels += text->text;
                colours.push_back(text->colour);
            }
        }
    }
    EXPECT_EQ(labels, "WIKRKRQ");
    EXPECT_EQ(colours, (std::vector<core::COLORREF>{0x323232, 0x323232, 0x0000FA, 0x0000FA,
                                                    0x0000FA, 0x0000FA, 0x00FA00}));
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Helical Wheel Display of Residues 62-68 of melittin");
    EXPECT_EQ(texts[1], std::string(texts[0].size(), '*'));
    EXPECT_EQ(WheelCaption(record, wheel), "Helical Wheel Display of residues 62-68 of melittin");

    // Without colours every label is black; the screen has no title.
    record.wheelColorCode = 0;
    page = DrawWheelPage(record, wheel, WheelScreenLayout(), measure);
    for (const PageElement& element : page.elements) {
        if (const auto* text = std::get_if<PageText>(&element)) {
            EXPECT_EQ(text->colour, 0u);
            EXPECT_EQ(text->text.size(), 1u);
        }
    }
}

TEST_F(WheelTest, ZoomScalesTheShownPage)
{
    double zoom = 1.0;
    zoom *= kWheelZoomIn;
    EXPECT_EQ(WheelShownSize(zoom), 555);
    const WheelFrame frame = WheelFrameOf(WheelScreenLayout(zoom));
    EXPECT_EQ(frame.centre, (DevicePoint{277, 277}));
    EXPECT_EQ(frame.radius, 88);
    zoom *= kWheelZoomOut;
    EXPECT_NEAR(zoom, 1.0, 1e-15);
    EXPECT_EQ(WheelShownSize(0.9), 450);
}

} // namespace
} // namespace quorin::plots
