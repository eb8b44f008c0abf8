#include "plots/Wheel.h"

#include "FakeMeasure.h"
#include "plots/Hydropathy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

namespace quorin::plots {

void PrintTo(const DevicePoint& point, std::ostream* out)
{
    *out << "(" << point.x << ", " << point.y << ")";
}

namespace {

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
    test::FakeMeasure measure;
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
        const WheelLabel& label = wheel.labels[j];
        SCOPED_TRACE(label.text);
        EXPECT_GT(nearDistance(wheel, label), outerOfTurn);
        const int x0 = label.at.x - 4960;
        const int y0 = label.at.y - 4960;
        outer =
            std::max(outer, std::hypot(std::max(std::abs(x0), std::abs(x0 + label.extent.width)),
                                       std::max(std::abs(y0), std::abs(y0 + label.extent.height))));
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
    std::vector<PageText> texts =
        test::All<PageText>(DrawWheelPage(record, wheel, WheelPrinterLayout(1240), measure));
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Helical Wheel Display of Residues 62-68 of melittin");
    EXPECT_EQ(texts[1].text, std::string(texts[0].text.size(), '*'));
    EXPECT_EQ(WheelCaption(record, wheel), "Helical Wheel Display of residues 62-68 of melittin");
    std::string labels;
    std::vector<core::COLORREF> colours;
    for (const PageText& text : texts) {
        if (text.text.size() == 1) {
            labels += text.text;
            colours.push_back(text.colour);
        }
    }
    EXPECT_EQ(labels, "WIKRKRQ");
    EXPECT_EQ(colours, (std::vector<core::COLORREF>{0x323232, 0x323232, 0x0000FA, 0x0000FA,
                                                    0x0000FA, 0x0000FA, 0x00FA00}));

    // Without colours every label is black; the screen has no title.
    record.wheelColorCode = 0;
    texts = test::All<PageText>(DrawWheelPage(record, wheel, WheelScreenLayout(), measure));
    for (const PageText& text : texts) {
        EXPECT_EQ(text.colour, 0u);
        EXPECT_EQ(text.text.size(), 1u);
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
