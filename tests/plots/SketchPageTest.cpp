#include "plots/SketchPage.h"

#include "FakeMeasure.h"
#include "analysis/Topology.h"
#include "plots/HydropathyPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace quorin::plots {
namespace {

using test::All;

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
        sketch.marks = {core::MARK{}};
        sketch.marks[0].position = 50;
        sketch.marks[0].font = core::ReportFontA();
        page.Refresh(measure);
    }

    core::PropertyRecord record;
    SketchPage page{record};
    test::FakeMeasure measure;
};

TEST(SketchDrawingOrder, PaintsLongerDomainsFirstAndKeepsListOrderForEqualLengths)
{
    const std::pair<std::vector<int>, std::vector<int>> rows[] = {
        {{10, 50, 30}, {1, 2, 0}},
        {{20, 20, 20}, {0, 1, 2}},
        {{5, 20, 10, 20, 1}, {1, 3, 2, 0, 4}},
        {{}, {}},
    };
    for (const auto& [lengths, order] : rows) {
        SCOPED_TRACE(lengths.size());
        std::vector<core::DOMAINE> domains;
        for (const int length : lengths) {
            domains.push_back(domain(1, 1 + length, "d"));
        }
        EXPECT_EQ(DrawingOrder(domains), order);
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
    const std::string scaleMessage = "Enter a valid scaling value!";
    const std::tuple<std::string, bool, double> scales[] = {
        {"1,5", false, 0.0},
        {"-2", false, 0.0},
        {"1.5", true, 1.5},
        {"", true, 0.0},
        {"1234567890", true, 123456789.0}, // 9 characters are read
    };
    for (const auto& [typed, ok, scale] : scales) {
        SCOPED_TRACE(typed);
        const ScaleCheck check = CheckScaleText(typed);
        EXPECT_EQ(check.ok, ok);
        EXPECT_EQ(check.message, ok ? "" : scaleMessage);
        if (ok) {
            EXPECT_EQ(check.scale, scale);
        }
    }
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
    const std::string order = "Start must be smaller than End!";
    const Row rows[] = {
        {"empty name: silent", "", "1", "5", -1, false, DomainField::Name, ""},
        {"another's name", "tail", "1", "5", 0, false, DomainField::Name, "Name already in use!"},
        {"its own name", "core", "1", "5", 0, true, DomainField::Name, ""},
        {"start equal to end", "new", "7", "7", -1, false, DomainField::Start, order},
        {"start after end", "new", "9", "7", -1, false, DomainField::Start, order},
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
    // Drawing order alpha (50), beta (50), tiny (5); each box filled.
    const auto boxes = All<PageFrame>(drawing);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].rect, (DeviceRect{60, 90, 160, 110}));
    EXPECT_EQ(boxes[1].rect, (DeviceRect{120, 90, 220, 110}));
    EXPECT_EQ(boxes[2].rect, (DeviceRect{100, 90, 110, 110}));
    EXPECT_EQ(boxes[0].fill, core::COLORREF{0x0000FF});
    EXPECT_EQ(boxes[0].pen.width, 1);

    // "beta" (28 wide) stays centred in its box, on x = 170 and y = 100.
    // "tiny" is wider than its box, and "alpha" centred on x = 110 would lie
    // on the boxes of tiny and beta, painted over its own: both go under the
    // boxes, tiny's first, as its box is on top. The mark's label letter and
    // number are centred above the shaft.
    const auto texts = All<PageText>(drawing);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "alpha");
    EXPECT_EQ(texts[0].at, (DevicePoint{93, 130}));
    EXPECT_EQ(texts[1].text, "beta");
    EXPECT_EQ(texts[1].at, (DevicePoint{156, 92}));
    EXPECT_EQ(texts[2].text, "tiny");
    EXPECT_EQ(texts[2].at, (DevicePoint{91, 112}));
    EXPECT_EQ(texts[3].text, "X50");
    EXPECT_EQ(texts[3].at, (DevicePoint{130, 52}));

    const auto lines = All<PageLine>(drawing);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].from, (DevicePoint{140, 70}));
    EXPECT_EQ(lines[0].to, (DevicePoint{140, 86}));
    EXPECT_EQ(lines[1].to, (DevicePoint{138, 79}));
    EXPECT_EQ(lines[2].to, (DevicePoint{142, 79}));
}

TEST_F(SketchPageTest, NamesNeverOverprintEachOtherOrTheBoxesOverTheirs)
{
    struct Row
    {
        const char* what;
        std::vector<core::DOMAINE> domains;
    };
    const Row rows[] = {
        {"two narrow overlapping",
         {domain(20, 26, "Signal peptide"), domain(24, 30, "Propeptide")}},
        {"one start, three lengths",
         {domain(10, 40, "first"), domain(10, 20, "second"), domain(10, 12, "third")}},
        {"a name a little too wide", {domain(1, 100, "whole"), domain(50, 56, "loop")}},
        {"nested, all named",
         {domain(1, 100, "protein"), domain(20, 80, "domain"), domain(40, 60, "motif"),
          domain(48, 52, "site")}},
    };
    for (const PageLayout& layout : {SketchScreenLayout(), SketchPrinterLayout(4960)}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (layout.Printing() ? " printed" : ""));
            record.sketch.domains = row.domains;
            record.sketch.marks.clear();
            const PageDrawing drawing = page.Draw(layout, measure);
            std::vector<DeviceRect> boxes;
            for (const core::DOMAINE& d : row.domains) {
                boxes.push_back({layout.Device(layout.left + d.start * 2.0),
                                 layout.Device(layout.top),
                                 layout.Device(layout.left + d.end * 2.0),
                                 layout.Device(layout.top + kDomainHeight)});
            }
            std::vector<DeviceRect> names;
            for (const PageText& t : All<PageText>(drawing)) {
                const auto d =
                    std::find_if(row.domains.begin(), row.domains.end(),
                                 [&t](const core::DOMAINE& x) { return x.name == t.text; });
                if (d == row.domains.end()) {
                    continue; // the printed title
                }
                const TextExtent extent = measure.Extent(t.font, t.text);
                const DeviceRect rect{t.at.x, t.at.y, t.at.x + extent.width,
                                      t.at.y + extent.height};
                EXPECT_GE(std::abs(t.font.lfHeight) * 4,
                          std::abs(d->font.lfHeight) * 3 * static_cast<int>(layout.scale));
                // Inside its own box, or under every box.
                const DeviceRect& own = boxes[static_cast<std::size_t>(d - row.domains.begin())];
                const bool inside = rect.left > own.left && rect.right < own.right &&
                                    rect.top >= own.top && rect.bottom <= own.bottom;
                EXPECT_TRUE(inside || rect.top > own.bottom) << t.text;
                for (const DeviceRect& other : names) {
                    EXPECT_FALSE(rect.left < other.right && other.left < rect.right &&
                                 rect.top < other.bottom && other.top < rect.bottom)
                        << t.text;
                }
                names.push_back(rect);
            }
            EXPECT_EQ(names.size(), row.domains.size());
        }
    }
}

TEST_F(SketchPageTest, PrinterAndMetafileMoveTheOriginAndScaleByAWholeFactor)
{
    const PageLayout printer = SketchPrinterLayout(4960); // A4 at 600 dpi: factor 6
    EXPECT_EQ(printer.scale, 6.0);
    EXPECT_EQ(SketchPrinterLayout(100).scale, 1.0); // never 0
    const PageDrawing printed = page.Draw(printer, measure);
    const auto boxes = All<PageFrame>(printed);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].rect, (DeviceRect{720, 1350, 1320, 1470}));
    EXPECT_EQ(boxes[0].pen.width, 6);
    // The title and its row of stars come first, on paper only.
    const auto texts = All<PageText>(printed);
    EXPECT_EQ(texts.at(0).text, "Sketch of domains of demo");
    EXPECT_EQ(texts.at(1).text, std::string(25, '*'));

    const PageDrawing metafile = page.Draw(SketchMetafileLayout(), measure);
    EXPECT_EQ(All<PageFrame>(metafile).at(0).rect, (DeviceRect{120, 225, 220, 245}));
    EXPECT_EQ(All<PageText>(metafile).at(0).text, "alpha");
}

TEST_F(SketchPageTest, HitTestsFindTheBoxOnTopBordersIncluded)
{
    const std::pair<DevicePoint, int> domainHits[] = {
        {{145, 100}, 1}, // alpha and beta: beta is drawn later
        {{110, 100}, 2}, // tiny's right border, over alpha
        {{160, 110}, 1}, {{59, 100}, -1}, {{100, 111}, -1},
    };
    for (const auto& [at, index] : domainHits) {
        SCOPED_TRACE(::testing::Message() << at.x << "," << at.y);
        EXPECT_EQ(page.DomainAt(at), index);
    }
    EXPECT_EQ(page.MarkAt({140, 80}), 0);
    EXPECT_EQ(page.MarkAt({140, 60}), 0); // its label
    EXPECT_EQ(page.MarkAt({150, 80}), -1);

    page.SetSelectedDomain(0);
    const auto frames = All<PageFrame>(page.Draw(SketchScreenLayout(), measure));
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_TRUE(frames[3].pen.dotted);
    EXPECT_EQ(frames[3].rect, (DeviceRect{58, 88, 162, 112}));
}

TEST_F(SketchPageTest, ScaleZeroOrMarksPastTheSequenceDrawNothingOfThem)
{
    record.sketch.marks[0].position = 101;
    page.Refresh(measure);
    EXPECT_TRUE(All<PageLine>(page.Draw(SketchScreenLayout(), measure)).empty());

    record.sketch.marks[0].position = 50;
    for (const double scale : {0.0, -1.0, std::nan("")}) {
        SCOPED_TRACE(scale);
        record.sketch.scale = scale;
        page.Refresh(measure);
        EXPECT_TRUE(page.Draw(SketchScreenLayout(), measure).elements.empty());
        EXPECT_EQ(page.DomainAt({40, 100}), -1);
        EXPECT_EQ(page.MarkAt({40, 80}), -1);
        EXPECT_EQ(page.PageWidth(), kSketchPageWidth);
    }
}

TEST(PredictedTopologyDomainsTest, HelicesAndSignalPeptideBecomeNamedDomainsOnce)
{
    // A signal peptide, then a stretch that can only be a helix.
    const std::string sequence = "MKKLLLALAVALLAFSSAQA" + std::string(40, 'S') + "KRKKGSKR" +
                                 std::string(22, 'L') + "DGSENGTDSGSEDSTNGSQESGDNST";
    const auto labels = analysis::PredictTopology(sequence);
    std::vector<core::DOMAINE> existing;
    const auto added = PredictedTopologyDomains(sequence, existing);
    std::vector<std::string> names;
    for (const auto& segment : analysis::TopologySegments(labels)) {
        if (segment.label == analysis::kTopologyHelix) {
            names.push_back("TM " + std::to_string(names.size() + 1));
        }
    }
    ASSERT_FALSE(added.empty()) << labels;
    std::size_t helix = 0;
    for (const core::DOMAINE& d : added) {
        SCOPED_TRACE(d.name);
        EXPECT_EQ(d.displayName, 1);
        EXPECT_LT(d.start, d.end);
        const char label = labels[static_cast<std::size_t>(d.start - 1)];
        EXPECT_EQ(labels[static_cast<std::size_t>(d.end - 1)], label);
        if (d.name == "Signal peptide") {
            EXPECT_EQ(label, analysis::kTopologySignal);
            EXPECT_EQ(d.colour, kTopologySignalColour);
        } else {
            ASSERT_LT(helix, names.size());
            EXPECT_EQ(d.name, names[helix++]);
            EXPECT_EQ(label, analysis::kTopologyHelix);
            EXPECT_EQ(d.colour, kTopologyHelixColour);
        }
    }
    EXPECT_EQ(helix, names.size());
    // Added to the sketch, they are not added again.
    existing = added;
    EXPECT_TRUE(PredictedTopologyDomains(sequence, existing).empty());
}

} // namespace
} // namespace quorin::plots
