#include "plots/Amphipathy.h"

#include "core/MessageTexts.h"
#include "plots/Hydropathy.h"

#include <gtest/gtest.h>

#include <string>

namespace quorin::plots {
namespace {

core::PropertyRecord recordWith(const std::string& sequence)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.scales = record.builtinScales;
    record.SetName("test");
    record.SetSequence(sequence);
    SelectScale(record, 0);
    return record;
}

// Mature melittin; the expected moments come from an independent evaluation
// of the least-squares fit in the first scale.
TEST(AmphipathyTest, MomentsOfMelittinAreCutToTwoDecimals)
{
    const core::PropertyRecord record = recordWith("GIGAVLKVLTTGLPALISWIKRKRQQ");
    struct Row
    {
        int first, last;
        double moment;
        const char* text;
    };
    const Row rows[] = {
        {1, 26, 0.09, "0.09"},
        {1, 3, 1.39, "1.39"},
        {1, 18, 0.13999999999999999, "0.14"},
        {5, 22, 0.18, "0.18"},
        {2, 11, 0.35000000000000003, "0.35"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.first << ".." << row.last);
        const double moment = AmphipathyMoment(record, row.first, row.last);
        EXPECT_DOUBLE_EQ(moment, row.moment);
        EXPECT_EQ(AmphipathyMomentText(moment), std::string("Amphipathy Moment = ") + row.text);
    }
}

TEST(AmphipathyTest, StretchesWithoutAMomentGiveTheInvalidValue)
{
    const core::PropertyRecord record = recordWith("GIGAVLKVLT");
    EXPECT_EQ(AmphipathyMoment(record, 1, 1), kInvalidMoment);
    EXPECT_EQ(AmphipathyMoment(record, 0, 5), kInvalidMoment);
    EXPECT_EQ(AmphipathyMoment(record, 2, 11), kInvalidMoment);
    // Two residues fit any sine: no moment rather than "nan".
    EXPECT_EQ(AmphipathyMoment(record, 3, 4), kInvalidMoment);
    EXPECT_EQ(AmphipathyMomentText(kInvalidMoment), "Amphipathy Moment = -100");
    // One repeated residue has no periodicity at all: exactly 0, not 6E-33.
    EXPECT_EQ(AmphipathyMoment(recordWith(std::string(40, 'L')), 1, 40), 0.0);
}

TEST(AmphipathyTest, WheelDialogChecksInOrder)
{
    struct Row
    {
        const char* from;
        const char* to;
        std::string_view message;
    };
    const Row rows[] = {
        {"1a", "5", core::msg::kInvalidStart},
        {"1", "x", core::msg::kInvalidEnd},
        {"0", "5", core::msg::kWheelOutsideLimits},
        {"5", "5", core::msg::kWheelOutsideLimits},
        {"1", "11", core::msg::kWheelOutsideLimits},
        {"1", "99999999999", core::msg::kWheelOutsideLimits},
        {"2", "10", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.from << ".." << row.to);
        const PathyDialogCheck check = CheckWheelDialog(row.from, row.to, 10);
        EXPECT_EQ(check.message, row.message);
        EXPECT_EQ(check.ok, row.message.empty());
    }
}

} // namespace
} // namespace quorin::plots
