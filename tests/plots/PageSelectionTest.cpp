#include "plots/PageSelection.h"

#include "core/MessageTexts.h"
#include "plots/Page.h"

#include <gtest/gtest.h>

namespace quorin::plots {
namespace {

class PageSelectionTest : public ::testing::Test
{
protected:
    PageSelectionTest()
    {
        for (const std::uint16_t position : {std::uint16_t{5}, std::uint16_t{9}}) {
            core::MARK mark;
            mark.position = position;
            marks.push_back(mark);
        }
        for (const char* text : {"legend", "note"}) {
            core::TEXTITEM item;
            item.text = text;
            item.legend = item.text == "legend" ? 1 : 0;
            texts.push_back(item);
        }
    }

    int selectedBytes() const
    {
        int count = 0;
        for (const auto& mark : marks) {
            count += mark.selected;
        }
        for (const auto& item : texts) {
            count += item.selected;
        }
        return count;
    }

    std::vector<core::MARK> marks;
    std::vector<core::TEXTITEM> texts;
    PageSelection items{marks, texts};
};

TEST_F(PageSelectionTest, AtMostOneItemIsSelectedAndItsRecordSaysSo)
{
    items.SelectMark(1);
    EXPECT_EQ(marks[1].selected, 1);
    items.SelectText(0);
    EXPECT_EQ(items.SelectedMark(), -1);
    EXPECT_EQ(items.SelectedText(), 0);
    EXPECT_EQ(texts[0].selected, 1);
    EXPECT_EQ(selectedBytes(), 1);
    items.SelectText(7); // not in the list
    EXPECT_FALSE(items.HasSelection());
    EXPECT_EQ(selectedBytes(), 0);
}

TEST_F(PageSelectionTest, DeleteTakesTheSelectedItemAndClearsTheSelection)
{
    EXPECT_FALSE(items.DeleteSelected());
    items.SelectMark(0);
    EXPECT_TRUE(items.DeleteSelected());
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].position, 9);
    EXPECT_FALSE(items.HasSelection());

    items.SelectText(1);
    EXPECT_TRUE(items.DeleteSelected());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "legend");
    EXPECT_EQ(selectedBytes(), 0);

    items.SelectMark(0);
    items.DeleteAllMarks();
    EXPECT_TRUE(marks.empty());
    EXPECT_FALSE(items.HasSelection());
}

TEST_F(PageSelectionTest, ReplacingAMarkKeepsItsSelection)
{
    items.SelectMark(1);
    core::MARK edited;
    edited.position = 12;
    edited.lineColour = 0x00FF00;
    items.ReplaceMark(1, edited);
    EXPECT_EQ(marks[1].position, 12);
    EXPECT_EQ(marks[1].lineColour, 0x00FF00u);
    EXPECT_EQ(marks[1].selected, 1);
    items.ReplaceMark(2, edited); // no such mark
    EXPECT_EQ(marks.size(), 2u);
}

TEST_F(PageSelectionTest, MovedOrEditedLegendLinesStopBeingLegendLines)
{
    items.MoveText(0, 120, 30);
    EXPECT_EQ(texts[0].x, 120);
    EXPECT_EQ(texts[0].y, 30);
    EXPECT_EQ(texts[0].legend, 0);

    texts[0].legend = 1;
    core::LOGFONT font = core::ReportFontB();
    items.EditText(0, "mine\r\nsecond", font, 0x0000FF);
    EXPECT_EQ(texts[0].text, "mine\r\nsecond");
    EXPECT_EQ(texts[0].font, font);
    EXPECT_EQ(texts[0].colour, 0x0000FFu);
    EXPECT_EQ(texts[0].legend, 0);

    items.MoveText(5, 1, 1); // no such item: nothing happens
    EXPECT_EQ(items.AddText(core::TEXTITEM{}), 2);
}

TEST_F(PageSelectionTest, NewMarksTakeTheLastMarksLook)
{
    const core::MARK first = NewMarkDefaults({});
    EXPECT_EQ(first.font, core::ReportFontA());
    EXPECT_EQ(first.lineColour, 0u);
    EXPECT_EQ(first.labelColour, 0u);
    marks.back().font = core::ReportFontB();
    marks.back().lineColour = 0x00FF00;
    marks.back().labelColour = 0xFF0000;
    const core::MARK next = NewMarkDefaults(marks);
    EXPECT_EQ(next.font, core::ReportFontB());
    EXPECT_EQ(next.lineColour, 0x00FF00u);
    EXPECT_EQ(next.labelColour, 0xFF0000u);
    EXPECT_EQ(next.position, 0);
}

TEST(MarkPositionTest, DigitsUpToTheSequenceLength)
{
    const struct
    {
        const char* typed;
        bool ok;
        int position;
    } rows[] = {
        {"27", true, 27},        {"262", true, 262}, {"263", false, 0}, {"0", true, 0},
        {"", true, 0},           {"-5", false, 0},   {"2 7", false, 0}, {"K27", false, 0},
        {"0000000027", true, 2}, // only the first nine characters are read
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        const MarkPositionCheck check = CheckMarkPosition(row.typed, 262);
        EXPECT_EQ(check.ok, row.ok);
        EXPECT_EQ(check.position, row.position);
        EXPECT_EQ(check.message, row.ok ? "" : std::string(core::msg::kInvalidPosition));
    }
    EXPECT_FALSE(CheckMarkPosition("70000", 100000).ok);
    EXPECT_TRUE(CheckMarkPosition("65535", 100000).ok);
}

} // namespace
} // namespace quorin::plots
