#include "plots/Page.h"

#include "FakeMeasure.h"
#include "core/PepFile.h"
#include "core/TestSketches.h"
#include "plots/SketchPage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace quorin::plots {
namespace {

constexpr std::int32_t kMax = core::kMaxFontHeight;

TEST(ScaledFontTest, HeightsStayWithinTheLargestFontForAnyScale)
{
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        std::int32_t height;
        double scale;
        std::int32_t scaled;
    } rows[] = {
        {-13, 1.0, -13},   {-13, 6.25, -81}, // truncated toward zero
        {16, 0.5, 8},      {INT32_MIN, 1.0, -kMax}, {INT32_MAX, 6.25, kMax},
        {16, 1e300, kMax}, {-16, 1e300, -kMax},     {-16, -kInf, kMax},
        {0, kInf, 0}, // no number: the default height
        {16, kNaN, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.height) + " x " + std::to_string(row.scale));
        core::LOGFONT font = core::ReportFontA();
        font.lfHeight = row.height;
        EXPECT_EQ(ScaledFont(font, row.scale).lfHeight, row.scaled);
    }
}

TEST(ScaledFontTest, ASketchFileWithExtremeFontsDrawsEveryTextWithinTheLargestFont)
{
    // The file keeps the heights it holds (a resave writes the same bytes);
    // they are held where a page scales them.
    const core::PropertyRecord stored = test::SketchWithFontHeights({INT32_MIN, INT32_MAX});
    core::PropertyRecord record;
    ASSERT_EQ(core::LoadSequenceBytes(core::StoreSequenceBytes(stored, true), record).status,
              core::PepLoadStatus::Ok);
    EXPECT_EQ(record.sketch.texts.front().font.lfHeight, INT32_MIN);
    SketchPage page(record);
    const test::FakeMeasure measure;
    page.Refresh(measure);
    for (const PageLayout& layout :
         {SketchScreenLayout(), SketchPrinterLayout(4960), SketchMetafileLayout()}) {
        SCOPED_TRACE(layout.scale);
        const auto texts = test::All<PageText>(page.Draw(layout, measure));
        ASSERT_FALSE(texts.empty());
        for (const PageText& text : texts) {
            SCOPED_TRACE(text.text);
            EXPECT_LE(text.font.lfHeight, kMax);
            EXPECT_GE(text.font.lfHeight, -kMax);
        }
    }
}

} // namespace
} // namespace quorin::plots
