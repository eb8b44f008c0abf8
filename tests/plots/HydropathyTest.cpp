#include "plots/Hydropathy.h"

#include "core/MessageTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace quorin::plots {
namespace {

/// A record with the two built-in scales and scale index selected.
core::PropertyRecord recordWith(const std::string& sequence, int scale = 0)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.scales = record.builtinScales;
    record.SetName("test");
    record.SetSequence(sequence);
    SelectScale(record, scale);
    return record;
}

constexpr double kI = 4.5; // Kyte and Doolittle values used below
constexpr double kD = -3.5;
constexpr double kK = -3.9;

TEST(HydropathyTest, WindowOfOneGivesTheTableValuesOverTheWholeStretch)
{
    const core::PropertyRecord record = recordWith("IDKW");
    const ProfileSpan span = ProfileRange(record, 1, 4, 1);
    EXPECT_EQ(span.first, 1);
    EXPECT_EQ(span.last, 4);
    EXPECT_EQ(WindowAverage(record, 1, 1), kI);
    EXPECT_EQ(WindowAverage(record, 3, 1), kK);
    EXPECT_EQ(WindowAverage(record, 4, 1), -0.9);
}

TEST(HydropathyTest, TheWindowMayReachOutsideTheStretchButNotOutsideTheSequence)
{
    const core::PropertyRecord record = recordWith(std::string(40, 'A'));
    struct Row
    {
        int from, to, window, first, last;
    };
    const Row rows[] = {
        {1, 40, 11, 6, 35},   {3, 40, 11, 6, 35},
        {10, 20, 11, 10, 20}, {1, 40, 41, 21, 20}, // no window fits: empty
        {1, 40, 39, 20, 21},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.from << ".." << row.to << " w " << row.window);
        const ProfileSpan span = ProfileRange(record, row.from, row.to, row.window);
        EXPECT_EQ(span.first, row.first);
        EXPECT_EQ(span.last, row.last);
    }
    EXPECT_TRUE(ProfileRange(record, 1, 40, 41).Empty());
    EXPECT_TRUE(ProfileRange(record, 1, 40, 0).Empty());
    EXPECT_TRUE(ValueRange(record, 0).empty);

    // Centre 10 with window 11 averages residues 5..15.
    const core::PropertyRecord mixed = recordWith("AAAAIIIIIIIIIIIAAAA"); // I at 5..15
    EXPECT_DOUBLE_EQ(WindowAverage(mixed, 10, 11), kI);
    EXPECT_LT(WindowAverage(mixed, 9, 11), kI);
}

TEST(HydropathyTest, XAndOArePositionsWithTheCTerminusValue)
{
    const core::PropertyRecord record = recordWith("IXIOI");
    EXPECT_EQ(PositionCount(record), 5);
    EXPECT_EQ(record.ResidueLength(), 3);
    EXPECT_EQ(HydropathyAt(record, 2), -4.5);
    EXPECT_EQ(HydropathyAt(record, 4), -4.5);
    EXPECT_EQ(ProfileRange(record, 1, 5, 1).last, 5);
    EXPECT_DOUBLE_EQ(MeanHydropathy(record, 1, 5), (3 * kI - 2 * 4.5) / 5);
}

TEST(HydropathyTest, ValueRangeCoversTheWholeSequenceWhateverTheStretch)
{
    const core::PropertyRecord record = recordWith("IIIDDDKKK");
    const ValueSpan span = ValueRange(record, 3);
    EXPECT_FALSE(span.empty);
    EXPECT_DOUBLE_EQ(span.max, kI);
    EXPECT_DOUBLE_EQ(span.min, kK);
    EXPECT_TRUE(ValueRange(record, 11).empty);
    EXPECT_TRUE(ValueRange(recordWith(""), 1).empty);
}

TEST(HydropathyTest, MeanHydropathyOfAStretchAndOfNothing)
{
    const core::PropertyRecord record = recordWith("IDK");
    EXPECT_DOUBLE_EQ(MeanHydropathy(record, 1, 3), (kI + kD + kK) / 3);
    EXPECT_DOUBLE_EQ(MeanHydropathy(record, 2, 2), kD);
    EXPECT_EQ(MeanHydropathy(record, 3, 2), 0.0);
    EXPECT_EQ(MeanHydropathy(recordWith(""), 1, 0), 0.0);
    // A stretch kept from a longer sequence reads only what is left.
    EXPECT_DOUBLE_EQ(MeanHydropathy(record, 2, 40), (kD + kK) / 2);
    EXPECT_EQ(MeanHydropathy(record, 0, 1), kI);
}

TEST(HydropathyTest, SelectScaleCopiesTheValuesTheComputationsRead)
{
    core::PropertyRecord record = recordWith("I");
    EXPECT_EQ(HydropathyAt(record, 1), kI);
    SelectScale(record, 1);
    EXPECT_EQ(record.plots.currentScale, 1);
    EXPECT_EQ(HydropathyAt(record, 1), 1.38);
    // Editing the list afterwards does not reach the copy.
    record.scales[1].values.fill(0.0);
    EXPECT_EQ(HydropathyAt(record, 1), 1.38);
}

TEST(HydropathyTest, HelixStartsAboveTheThresholdAndEndsOnePastTheResidueThatBringsItDown)
{
    // D at 1..5, I at 6..24, D at 25..54. The window 5..23 (one D, 18 I) is the
    // first whose mean exceeds 4.0; adding I(24) keeps it above, D(25) ends it.
    const std::string sequence = std::string(5, 'D') + std::string(19, 'I') + std::string(30, 'D');
    const core::PropertyRecord record = recordWith(sequence);
    std::vector<Helix> helices;
    EXPECT_EQ(PredictHelices(record, 4.0, &helices), 1);
    EXPECT_EQ(helices, (std::vector<Helix>{{5, 26}}));
    EXPECT_EQ(PredictHelices(record, 4.0), 1);
    EXPECT_EQ(PredictHelices(record, 4.5), 0);
}

TEST(HydropathyTest, HelicesNeedMoreThanTwentyResiduesAndAMeanStrictlyAboveTheThreshold)
{
    EXPECT_EQ(PredictHelices(recordWith(std::string(20, 'I')), 1.6), 0);

    std::vector<Helix> helices;
    EXPECT_EQ(PredictHelices(recordWith(std::string(21, 'I')), 1.6, &helices), 1);
    // The extension runs to the end of the sequence: end is length + 1.
    EXPECT_EQ(helices, (std::vector<Helix>{{1, 22}}));

    core::PropertyRecord flat = recordWith(std::string(30, 'A'));
    flat.plots.hydropathy.fill(2.0);
    EXPECT_EQ(PredictHelices(flat, 2.0), 0);
    EXPECT_EQ(PredictHelices(flat, 1.99), 1);
}

TEST(HydropathyTest, ANewHelixStartsOnlyAfterTheEndOfThePreviousOne)
{
    // I at 1..22, K at 23..52, I at 53..74, K at 75..99. The first helix takes
    // twelve lysines before its mean drops; the second starts where six
    // lysines and thirteen isoleucines still average above 1.6.
    const std::string block(22, 'I');
    const std::string sequence = block + std::string(30, 'K') + block + std::string(25, 'K');
    std::vector<Helix> helices;
    EXPECT_EQ(PredictHelices(recordWith(sequence), 1.6, &helices), 2);
    EXPECT_EQ(helices, (std::vector<Helix>{{1, 35}, {47, 81}}));
    EXPECT_EQ(HelixListText(helices), "1\t35\r\n47\t81\r\n");
}

TEST(HydropathyTest, DialogChecksRunInOrderAndTheFirstFailureWins)
{
    struct Row
    {
        const char* from;
        const char* to;
        const char* window;
        const char* threshold;
        PathyField focus;
        std::string_view message;
    };
    const Row rows[] = {
        {"1", "50", "11", "1.6", PathyField::None, ""},
        {"a", "x", "12", ",", PathyField::From, core::msg::kInvalidStart},
        {" 1", "50", "11", "1.6", PathyField::From, core::msg::kInvalidStart},
        {"1", "5O", "11", "1.6", PathyField::To, core::msg::kInvalidEnd},
        {"", "50", "11", "1.6", PathyField::None, core::msg::kOutsideLimits},
        {"0", "50", "11", "1.6", PathyField::None, core::msg::kOutsideLimits},
        {"7", "7", "11", "1.6", PathyField::None, core::msg::kOutsideLimits},
        {"8", "7", "11", "1.6", PathyField::None, core::msg::kOutsideLimits},
        {"1", "51", "11", "1.6", PathyField::None, core::msg::kOutsideLimits},
        {"1", "50", "-3", "1.6", PathyField::Window, core::msg::kInvalidWindow},
        {"1", "50", "12", "1.6", PathyField::Window, core::msg::kWindowOutsideLimits},
        {"1", "50", "", "1.6", PathyField::Window, core::msg::kWindowOutsideLimits},
        {"1", "50", "0", "1.6", PathyField::Window, core::msg::kWindowOutsideLimits},
        {"1", "50", "1", "1,6", PathyField::Threshold, core::msg::kInvalidThreshold},
        {"1", "50", "1", "-1", PathyField::Threshold, core::msg::kInvalidThreshold},
        {"1", "50", "1", "", PathyField::None, ""},
        // Only the first nine characters of the short fields are read.
        {"1234567890", "50", "11", "1.6", PathyField::None, core::msg::kOutsideLimits},
        {"1", "50", "11", "1.6000000x", PathyField::None, ""},
        // No upper bound on the window.
        {"1", "50", "999", "1.6", PathyField::None, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.from << " | " << row.to << " | " << row.window
                                          << " | " << row.threshold);
        const PathyDialogCheck check =
            CheckPathyDialog({row.from, row.to, row.window, row.threshold}, 50);
        EXPECT_EQ(check.ok, row.message.empty());
        EXPECT_EQ(check.focus, row.focus);
        EXPECT_EQ(check.message, row.message);
    }
}

TEST(HydropathyTest, AcceptedDialogValuesAreParsed)
{
    const PathyDialogCheck check = CheckPathyDialog({"3", "40", "7", "2.25"}, 40);
    ASSERT_TRUE(check.ok);
    EXPECT_EQ(check.from, 3);
    EXPECT_EQ(check.to, 40);
    EXPECT_EQ(check.window, 7);
    EXPECT_EQ(check.threshold, 2.25);
    EXPECT_EQ(CheckPathyDialog({"1", "2", "1", ""}, 2).threshold, 0.0);
    EXPECT_EQ(CheckPathyDialog({"1", "2", "1", "1.5.7"}, 2).threshold, 1.5);
}

TEST(HydropathyTest, CancelClampsTheRequestIntoTheSequence)
{
    PendingPlotRequest request{0, 500, 11, 1.6};
    ClampPlotRequest(request, 262);
    EXPECT_EQ(request.from, 1);
    EXPECT_EQ(request.to, 262);
    request = {300, 5, 11, 1.6};
    ClampPlotRequest(request, 262);
    EXPECT_EQ(request.from, 300);
    EXPECT_EQ(request.to, 300);
}

TEST(HydropathyTest, ExportTextHasTheHeaderAndOneLinePerCentre)
{
    core::PropertyRecord record = recordWith("IDKWAGI");
    record.SetName("pep");
    const std::string text = HydropathyExportText(record, 1, 7, 3, ";");
    EXPECT_EQ(text, "Hydropathyplot of pep\r\n\r\n"
                    "Scale:  Kyte and Doolittle (1982);    W = 3\r\n\r\n"
                    "Residue / Hydropathyvalue\r\n\r\n"
                    "2;-0.967\r\n" // (4.5 - 3.5 - 3.9) / 3
                    "3;-2.77\r\n"  // (-3.5 - 3.9 - 0.9) / 3
                    "4;-1\r\n"     // (-3.9 - 0.9 + 1.8) / 3
                    "5;0.167\r\n"  // (-0.9 + 1.8 - 0.4) / 3
                    "6;1.97\r\n"); // (1.8 - 0.4 + 4.5) / 3

    SelectScale(record, 1);
    const std::string eisenberg = HydropathyExportText(record, 2, 3, 1, "\t");
    EXPECT_EQ(eisenberg.substr(eisenberg.find("Scale:")),
              "Scale:  Eisenberg Consensus Scale (1983);    W = 1\r\n\r\n"
              "Residue / Hydropathyvalue\r\n\r\n2\t-0.9\r\n3\t-1.5\r\n");

    // A window longer than the sequence leaves only the header.
    const std::string empty = HydropathyExportText(record, 1, 7, 9, "\t");
    EXPECT_EQ(empty.substr(empty.size() - 29), "Residue / Hydropathyvalue\r\n\r\n");
}

} // namespace
} // namespace quorin::plots
