#include "core/TextPages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorin::core {
namespace {

TEST(TextPagesTest, LongLinesWrapAfterTheirLastBreakCharacterThatFits)
{
    using Rows = std::vector<std::string>;
    struct Case
    {
        const char* text;
        int columns;
        std::string_view breakAfter;
        Rows rows;
    };
    const Case cases[] = {
        {"", 5, kBreakAfterBlank, {""}},
        {"short", 5, kBreakAfterBlank, {"short"}},
        {"one two,three", 8, kBreakAfterPunctuation, {"one two,", "three"}},
        {"one two,three", 8, kBreakAfterBlank, {"one ", "two,thre", "e"}},
        // A row of "*" has no break: it is cut at the width.
        {"**********", 4, kBreakAfterBlank, {"****", "****", "**"}},
        {"\xC3\xA9\xC3\xA9\xC3\xA9", 3, kBreakAfterBlank, {"\xC3\xA9", "\xC3\xA9", "\xC3\xA9"}},
        {"Pattern of a name",
         1,
         kBreakAfterBlank,
         {"P", "a", "t", "t", "e", "r", "n", " ", "o", "f", " ", "a", " ", "n", "a", "m", "e"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WrapText(c.text, c.columns, c.breakAfter), c.rows);
    }
    // A measured width narrows rows further (wide letters of a proportional font).
    const auto narrowW = [](std::string_view row) {
        int width = 0;
        for (const char c : row) {
            width += c == 'W' ? 3 : 1;
        }
        return width <= 6;
    };
    EXPECT_EQ(WrapText("AAAAA WWW", narrowW, kBreakAfterBlank), (Rows{"AAAAA ", "WW", "W"}));
}

TEST(TextPagesTest, SheetsHoldTheirRowsBelowTheHeaderAndAboveTheFoot)
{
    // 100 pixels at 10 a row: ten rows, three for the header, three kept free.
    const TextPageGeometry geometry{80, 100, 10, 7.9};
    EXPECT_EQ(geometry.Columns(), 10);
    EXPECT_EQ(geometry.RowsPerPage(), 4);
    EXPECT_EQ(geometry.RowTop(0), 30);
    EXPECT_EQ((TextPageGeometry{0, 10, 10, 7.0}.RowsPerPage()), 1);
    EXPECT_EQ((TextPageGeometry{0, 10, 10, 7.0}.Columns()), 1);
    EXPECT_EQ(PageHeader(12), "page 12");

    TextPaginator pages(geometry.RowsPerPage());
    std::vector<TextPaginator::Place> places;
    for (int i = 0; i < 10; ++i) {
        places.push_back(pages.Next());
    }
    EXPECT_EQ(pages.Pages(), 3);
    EXPECT_TRUE(places[0].startsPage);
    EXPECT_FALSE(places[3].startsPage);
    EXPECT_TRUE(places[4].startsPage);
    EXPECT_EQ(places[4].page, 2);
    EXPECT_EQ(places[4].row, 0);
    EXPECT_EQ(places[9].page, 3);
    EXPECT_EQ(places[9].row, 1);
}

} // namespace
} // namespace quorin::core
