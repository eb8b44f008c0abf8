#include "plots/SketchPage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace quorin::plots {
namespace {

/// Characters 7 wide and 16 high in a font of height 16, growing with it.
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

core::DOMAINE domain(int start, int end, const std::string& name)
{
    core::DOMAINE made;
    made.start = static_cast<std::uint16_t>(start);
    made.end = static_cast<std::uint16_t>(end);
    made.name = name;
    made.font = core::ReportFontA();
    made.displayName = 1;
    made.colour = 0x0000FF;
    return made;
}

template <typename T>
std::vector<T> all(const PageDrawing& drawing)
{
    std::vector<T> found;
    for (const PageElement& element : drawing.elements) {
        if (const auto* item = std::get_if<T>(&element)) {
            found.push_back(*item);
        }
    }
    return found;
}

/// 100 positions with an X at 50; domains alpha 10..60, beta 40..90 and tiny
/// 30..35 at scale 2, a mark on the X with labels on.
class SketchPageTest : public ::testing::Test
{
protected:
    SketchPageTest()
    {
        record.SetName("demo");
        record.SetSequence(std::string(49, 'A') + "X" + std::string(50, 'K'));
        core::SketchData& sketch = record.sketch;
        sketch.scale = 2.0;
        sketch.lineWidth = 1;
        sketch.labelMarks = 1;
        sketch.domains = {domain(10, 60, "alpha"), domain(40, 90, "beta"), domain(30, 35, "tiny")};
        core::MARK mark;
        mark.position = 50;
        mark.font = core::ReportFontA();
        sketch.marks = {mark};
        page.Refresh(measure);
    }

    core::PropertyRecord record;
    SketchPage page{record};
    FakeMeasure measure;
};

TEST(SketchDrawingOrder, PaintsLongerDomainsFirstAndKeepsListOrderForEqualLengths)
{
    struct Row
    {
        const char* what;
        std::vector<int> lengths;
        std::vector<int> order;
    };
    const Row rows[] = {
        {"lengths 10, 50, 30", {10, 50, 30}, {1, 2, 0}},
        {"equal lengths", {20, 20, 20}, {0, 1, 2}},
        {"one inserted between", {5, 20, 10, 20, 1}, {1, 3, 2, 0, 4}},
        {"none", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<core::DOMAINE> domains;
        for (const int length : row.lengths) {
            domains.push_back(domain(1, 1 + length, "d"));
        }
        EXPECT_EQ(DrawingOrder(domains), row.order);
    }
}

TEST(StartDomainSketch, CoversTheWholeCleanedSequenceInGreyWithoutDividingByZero)
{
    core::PropertyRecord record;
    record.SetName("p200");
    record.SetSequence(std::string(199, 'A') + "X");
    StartDomainSketch(record);
    ASSERT_EQ(record.sketch.domains.size(), 1u);
    const core::DOMAINE& whole = record.sketch.domains[0];
    EXPECT_EQ(whole.start, 1);
    EXPECT_EQ(whole.end, 200); // the X counts
    EXPECT_EQ(whole.name, "p200");
    EXPECT_EQ(whole.colour, kDefaultDomainColour);
    EXPECT_EQ(whole.displayName, 0);
    EXPECT_EQ(record.sketch.scale, 2.0);

    // Past the 16 bits of a file the domain stops at the last storable residue.
    record.SetSequence(std::string(70000, 'K'));
    StartDomainSketch(record);
    EXPECT_EQ(record.sketch.domains.at(0).end, 65535);
    EXPECT_DOUBLE_EQ(record.sketch.scale, 400.0 / 70000);

    record.SetSequence("");
    StartDomainSketch(record);
    EXPECT_TRUE(record.sketch.domains.empty());
    EXPECT_EQ(record.sketch.scale, 0.0);
}

TEST(SketchDialogChecks, ScaleFieldAndDomainFields)
{
    EXPECT_FALSE(CheckScaleText("1,5").ok);
    EXPECT_EQ(CheckScaleText("1,5").message, "Enter a valid scaling value!");
    EXPECT_FALSE(CheckScaleText("-2").ok);
    EXPECT_EQ(CheckScaleText("1.5").scale, 1.5);
    EXPECT_TRUE(CheckScaleText("").ok);
    EXPECT_EQ(CheckScaleText("").scale, 0.0);
    EXPECT_EQ(CheckScaleText("1234567890").scale, 123456789.0); // 9 characters are read
    EXPECT_EQ(ScaleText(400.0 / 262), "1.53");
    EXPECT_EQ(ScaleText(1234.0), "1234");
    EXPECT_EQ(ScaleText(0.0000456), "0.0000456");

    const std::vector<core::DOMAINE> domains = {domain(1, 10, "core"), domain(5, 20, "tail")};
    struct Row
    {
        const char* what;
        std::string name, start, end;
        int editing;
        bool ok;
        DomainField field;
        std::string message;
    };
    const std::string position = "Enter a valid sequence position!";
    const Row rows[] = {
        {"empty name: silent", "", "1", "5", -1, false, DomainField::Name, ""},
        {"another's name", "tail", "1", "5", 0, false, DomainField::Name, "Name already in use!"},
        {"its own name", "core", "1", "5", 0, true, DomainField::Name, ""},
        {"start equal to end", "new", "7", "7", -1, false, DomainField::Start,
         "Start must be smaller than End!"},
        {"start after end", "new", "9", "7", -1, false, DomainField::Start,
         "Start must be smaller than End!"},
        {"past 16 bits, never wrapped", "new", "1", "65536", -1, false, DomainField::End, position},
        {"past the sequence", "new", "1", "70001", -1, false, DomainField::End, position},
        {"the last storable residue", "new", "1", "65535", -1, true, DomainField::Name, ""},
        {"a sign", "new", "-5", "7", -1, false, DomainField::Start, position},
        {"letters after digits", "new", "2", "7a", -1, false, DomainField::End, position},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const DomainCheck check =
            CheckDomain(row.name, row.start, row.end, domains, row.editing, 70000);
        EXPECT_EQ(check.ok, row.ok);
        EXPECT_EQ(check.message, row.message);
        if (!row.ok) {
            EXPECT_EQ(check.field, row.field);
        }
    }
}

TEST_F(SketchPageTest, ScreenPageOfBoxesNamesAndMarks)
{
    const PageDrawing drawing = page.Draw(SketchScreenLayout(), measure);
    const auto boxes = all<PageFrame>(drawing);
    ASSERT_EQ(boxes.size(), 3u);
    // Drawing order alpha (50), beta (50), tiny (5); each box filled.
    EXPECT_EQ(boxes[0].rect, (DeviceRect{60, 90, 160, 110}));
    EXPECT_EQ(boxes[1].rect, (DeviceRect{120, 90, 220, 110}));
    EXPECT_EQ(boxes[2].rect, (DeviceRect{100, 90, 110, 110}));
    EXPECT_EQ(boxes[0].fill, core::COLORREF{0x0000FF});
    EXPECT_EQ(boxes[0].pen.width, 1);

    const auto texts = all<PageText>(drawing);
    ASSERT_EQ(texts.size(), 4u);
    // "alpha" is 35 wide, centred on x = 110 and on y = 100.
    EXPECT_EQ(texts[0].text, "alpha");
    EXPECT_EQ(texts[0].at, (DevicePoint{93, 92}));
    // The mark on the X at 50: label letter and number centred above the shaft.
    EXPECT_EQ(texts[3].text, "X50");
    EXPECT_EQ(texts[3].at, (DevicePoint{130, 52}));

    const auto lines = all<PageLine>(drawing);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].from, (DevicePoint{140, 70}));
    EXPECT_EQ(lines[0].to, (DevicePoint{140, 86}));
    EXPECT_EQ(lines[1].to, (DevicePoint{138, 79}));
    EXPECT_EQ(lines[2].to, (DevicePoint{142, 79}));
}

TEST_F(SketchPageTest, PrinterAndMetafileMoveTheOriginAndScaleByAWholeFactor)
{
    const PageLayout printer = SketchPrinterLayout(4960); // A4 at 600 dpi: factor 6
    EXPECT_EQ(printer.scale, 6.0);
    const PageDrawing printed = page.Draw(printer, measure);
    const auto boxes = all<PageFrame>(printed);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].rect, (DeviceRect{720, 1350, 1320, 1470}));
    EXPECT_EQ(boxes[0].pen.width, 6);
    // The title and its row of stars come first, on paper only.
    const auto texts = all<PageText>(printed);
    EXPECT_EQ(texts.at(0).text, "Sketch of domains of demo");
    EXPECT_EQ(texts.at(1).text, std::string(25, '*'));

    EXPECT_EQ(SketchPrinterLayout(100).scale, 1.0); // never 0
    const PageDrawing metafile = page.Draw(SketchMetafileLayout(), measure);
    EXPECT_EQ(all<PageFrame>(metafile).at(0).rect, (DeviceRect{120, 225, 220, 245}));
    EXPECT_EQ(all<PageText>(metafile).at(0).text, "alpha");
}

TEST_F(SketchPageTest, HitTestsFindTheBoxOnTopBordersIncluded)
{
    EXPECT_EQ(page.DomainAt({145, 100}), 1); // alpha and beta: beta is drawn later
    EXPECT_EQ(page.DomainAt({110, 100}), 2); // tiny's right border, over alpha
    EXPECT_EQ(page.DomainAt({160, 110}), 1);
    EXPECT_EQ(page.DomainAt({59, 100}), -1);
    EXPECT_EQ(page.DomainAt({100, 111}), -1);
    EXPECT_EQ(page.MarkAt({140, 80}), 0);
    EXPECT_EQ(page.MarkAt({140, 60}), 0); // its label
    EXPECT_EQ(page.MarkAt({150, 80}), -1);

    page.SetSelectedDomain(0);
    const auto frames = all<PageFrame>(page.Draw(SketchScreenLayout(), measure));
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_TRUE(frames[3].pen.dotted);
    EXPECT_EQ(frames[3].rect, (DeviceRect{58, 88, 162, 112}));
}

TEST_F(SketchPageTest, ScaleZeroOrMarksPastTheSequenceDrawNothingOfThem)
{
    record.sketch.marks[0].position = 101;
    page.Refresh(measure);
    EXPECT_TRUE(all<PageLine>(page.Draw(SketchScreenLayout(), measure)).empty());

    for (const double scale : {0.0, -1.0, std::nan("")}) {
        SCOPED_TRACE(scale);
        record.sketch.scale = scale;
        record.sketch.marks[0].position = 50;
        page.Refresh(measure);
        const PageDrawing drawing = page.Draw(SketchScreenLayout(), measure);
        EXPECT_TRUE(drawing.elements.empty());
        EXPECT_EQ(page.DomainAt({40, 100}), -1);
        EXPECT_EQ(page.MarkAt({40, 80}), -1);
        EXPECT_EQ(page.PageWidth(), kSketchPageWidth);
    }
}

} // namespace
} // namespace quorin::plots
