#include "analysis/Digest.h"

#include "analysis/Motifs.h"
#include "analysis/PhysChem.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <tuple>

namespace quorin::analysis {
namespace {

using core::FRAGM;

core::PropertyRecord recordFor(const std::string& name, const std::string& sequence)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    record.SetName(name);
    record.SetSequence(sequence);
    return record;
}

core::PropertyRecord proteinRecord(const std::string& file)
{
    core::PropertyRecord record;
    record.ResetCurrentTables();
    const std::string text = test::ReadFile(test::DataFile("proteins/" + file));
    EXPECT_EQ(core::ParseSequenceText(record, core::FirstFastaRecord(text)), 1);
    return record;
}

std::vector<int> sitesOf(const core::PropertyRecord& record)
{
    const std::vector<int>& cuts = record.digest.cuts;
    return std::vector<int>(cuts.begin() + 1, cuts.end() - 1);
}

using Span = std::tuple<int, int, int>; // start, end, complete

std::vector<Span> spansOf(const core::PropertyRecord& record)
{
    std::vector<Span> spans;
    for (const FRAGM& f : record.digest.fragments) {
        spans.emplace_back(f.start, f.end, f.complete);
    }
    return spans;
}

std::vector<std::string> reportLines(const core::PropertyRecord& record)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < DigestReportLineCount(record); ++i) {
        lines.push_back(DigestReportLine(record, i));
    }
    return lines;
}

/// The lines of the site list: after the heading, its rule and an empty line,
/// up to the empty line that closes the list.
std::vector<std::string> siteListLines(const core::PropertyRecord& record)
{
    const std::vector<std::string> lines = reportLines(record);
    auto it = std::find(lines.begin(), lines.end(), "List of cleavable sites");
    EXPECT_NE(it, lines.end());
    it += 3;
    const auto end = std::find(it, lines.end(), "List of proteolytic fragments");
    EXPECT_NE(end, lines.end());
    return std::vector<std::string>(it, end - 1);
}

TEST(DigestTest, SitesFollowThePatternRules)
{
    const struct
    {
        const char* sequence;
        const char* specificity;
        std::vector<int> sites;
    } rows[] = {
        {"AKRA", "K!", {2}},
        {"AKRA", "K!;R!", {2, 3}},
        {"AKPAKA", "K!P", {2}},       // cut between K and P only
        {"AKRKA", "KR", {3}},         // no mark: after the last letter
        {"AKRKA", "KR!", {3}},        // a mark at the end is the same
        {"AKAK", "K!", {2}},          // the last residue is never a start
        {"KAKA", "K!", {1, 3}},       // the first residue is
        {"AKA", "!K", {}},            // a first-position mark is no mark
        {"AKA", "!K!", {}},           // ... and stays in the pattern
        {"AKA", "K!!", {}},           // only the first mark is removed
        {"DADDA", "X!D", {2, 3}},     // before every D but the first residue
        {"ACDE", "X!", {1, 2, 3}},    // after every residue but the last
        {"AKKKKA", "KKK", {4, 5}},    // overlapping matches all count
        {"AKA", "K!;K!", {2, 2}},     // two agents, one place: twice
        {"AAKR", "KR", {4}},          // ends on the last residue: cut at L
        {"AKAA", "KXX", {4}},         // X matches any residue
        {"AAKA", "KXX", {}},          // a pattern never reads past the end
        {"AKA", "KXX", {}},           // even when only X would be left
        {"AKA", "KX", {3}},           // an X on the last residue is inside
        {"AKRA", ";K!;;R!;", {2, 3}}, // empty entries are skipped
        {"AKRA", "", {}},             //
        {"AKRA", ";", {}},            //
        {"AKA", "k!", {}},            // lower case matches nothing
        {"AXKOKA", "K!", {3, 5}},     // X and O hold positions
        {"RKRK", "R!;K!", {1, 2, 3}}, // sorted, not in pattern order
        {"K", "K!", {}},              // one residue: no start at all
        {"", "K!", {}},               //
        {"AKA", "AKAA", {}},          // longer than what is left
        {"GKGK", "XKX!", {3}},        // the second K would need a fifth residue
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.sequence) + " / " + row.specificity);
        core::PropertyRecord record = recordFor("P", row.sequence);
        Digest(record, row.specificity);
        EXPECT_EQ(sitesOf(record), row.sites);
        EXPECT_EQ(record.digest.siteCount, static_cast<int>(row.sites.size()));
        EXPECT_EQ(record.digest.cuts.front(), 0);
        EXPECT_EQ(record.digest.cuts.back(), static_cast<int>(std::string(row.sequence).size()));
    }
}

TEST(DigestTest, FragmentsSpanEveryPairOfCutsWithCompleteFlags)
{
    core::PropertyRecord record = recordFor("P", "AKRAKA");
    Digest(record, "K!;R!");
    ASSERT_EQ(sitesOf(record), (std::vector<int>{2, 3, 5}));
    SortFragments(record, SortMode::ByStart);
    // By start, and for one start by increasing end (the weights grow with it).
    EXPECT_EQ(spansOf(record), (std::vector<Span>{{0, 1, 1},
                                                  {0, 2, 0},
                                                  {0, 4, 0},
                                                  {0, 5, 0},
                                                  {2, 2, 1},
                                                  {2, 4, 0},
                                                  {2, 5, 0},
                                                  {3, 4, 1},
                                                  {3, 5, 0},
                                                  {5, 5, 1}}));

    // Two equal cuts give an empty fragment weighing one water.
    record = recordFor("P", "AKA");
    Digest(record, "K!;K!");
    SortFragments(record, SortMode::ByStart);
    EXPECT_EQ(
        spansOf(record),
        (std::vector<Span>{{0, 1, 1}, {0, 1, 0}, {0, 2, 0}, {2, 1, 1}, {2, 2, 0}, {2, 2, 1}}));
    EXPECT_EQ(record.digest.fragments[3].mw, 18.02);
}

TEST(DigestTest, WithoutSitesTheWholeSequenceIsTheOneFragment)
{
    core::PropertyRecord record = recordFor("P", "MWWV");
    Digest(record, "K!");
    ASSERT_EQ(record.digest.fragments.size(), 1U);
    const FRAGM& whole = record.digest.fragments[0];
    EXPECT_EQ(std::tie(whole.start, whole.end, whole.complete), std::make_tuple(0, 3, 1));
    EXPECT_EQ(whole.mw, record.StretchWeight(0, 3));

    // An empty sequence: the reset state holds {0, 0, 0.0}; the digest forms
    // the fragment between cut positions 0 and 0.
    core::PropertyRecord empty = recordFor("P", "");
    ResetDigest(empty);
    EXPECT_EQ(empty.digest.cuts, (std::vector<int>{0, 0}));
    ASSERT_EQ(empty.digest.fragments.size(), 1U);
    EXPECT_EQ(empty.digest.fragments[0].end, 0);
    EXPECT_EQ(empty.digest.fragments[0].mw, 0.0);
    EXPECT_EQ(DigestReportLineCount(empty), 0U);
    Digest(empty, "K!");
    ASSERT_EQ(empty.digest.fragments.size(), 1U);
    EXPECT_EQ(empty.digest.fragments[0].end, -1);
    EXPECT_EQ(empty.digest.fragments[0].mw, 18.02);
    EXPECT_EQ(reportLines(empty).back(), " 18.0      |  1      |  0      |  0");
}

TEST(DigestTest, EveryWeightIsBitForBitTheStretchWeight)
{
    for (const char* specificity : {"K!;R!", "X!D;E!;KR", "F!;L!;M!;W!;Y!"}) {
        SCOPED_TRACE(specificity);
        core::PropertyRecord record = proteinRecord("P02769.fasta");
        Digest(record, specificity);
        const auto n = static_cast<std::size_t>(record.digest.siteCount);
        ASSERT_GT(n, 20U);
        ASSERT_EQ(record.digest.fragments.size(), (n + 1) * (n + 2) / 2);
        std::size_t complete = 0;
        for (const FRAGM& f : record.digest.fragments) {
            ASSERT_EQ(f.mw, record.StretchWeight(f.start, f.end)) << f.start << ".." << f.end;
            complete += f.complete;
        }
        EXPECT_EQ(complete, n + 1);
    }
}

TEST(DigestTest, TheDigestLeavesFragmentsSortedByWeightKeepingTiesInDigestOrder)
{
    // GK at 0..1 and at 2..3 weigh the same: the earlier start stays first.
    core::PropertyRecord record = recordFor("P", "GKGKG");
    Digest(record, "K!");
    EXPECT_EQ(
        spansOf(record),
        (std::vector<Span>{{4, 4, 1}, {0, 1, 1}, {2, 3, 1}, {2, 4, 0}, {0, 3, 0}, {0, 4, 0}}));
}

/// The straight insertion of the fragments one by one, as the sort is
/// defined: an element moves up while its key is strictly greater.
template <typename Key>
std::vector<FRAGM> insertionSorted(const std::vector<FRAGM>& input, Key key)
{
    std::vector<FRAGM> out;
    for (const FRAGM& f : input) {
        std::size_t i = out.size();
        out.push_back(f);
        while (i > 0 && key(out[i - 1]) > key(f)) {
            out[i] = out[i - 1];
            --i;
        }
        out[i] = f;
    }
    return out;
}

TEST(DigestTest, SortsAreStableForEveryKey)
{
    std::mt19937 random(11);
    const double weights[] = {18.02, 75.07, 203.24, -3.5, 0.0, -0.0, 1e9, 203.24, 1e-300};
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        const auto count = std::uniform_int_distribution<std::size_t>(0, 1500)(random);
        std::vector<FRAGM> fragments(count);
        for (std::size_t i = 0; i < count; ++i) {
            FRAGM& f = fragments[i];
            f.start = std::uniform_int_distribution<int>(0, trial % 2 == 0 ? 5 : 3000)(random);
            f.end = f.start + std::uniform_int_distribution<int>(-1, 6)(random);
            f.mw = trial % 3 == 0 ? weights[random() % std::size(weights)]
                                  : std::uniform_real_distribution<double>(-10, 1e6)(random);
            f.complete = static_cast<std::uint8_t>(i); // tells equal keys apart
        }
        const auto start = [](const FRAGM& f) { return f.start; };
        const auto length = [](const FRAGM& f) { return f.end - f.start; };
        const auto weight = [](const FRAGM& f) { return f.mw; };
        const auto same = [](const std::vector<FRAGM>& a, const std::vector<FRAGM>& b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                              [](const FRAGM& x, const FRAGM& y) {
                                  return x.start == y.start && x.end == y.end &&
                                         std::signbit(x.mw) == std::signbit(y.mw) && x.mw == y.mw &&
                                         x.complete == y.complete;
                              });
        };
        core::PropertyRecord record;
        record.digest.fragments = fragments;
        SortFragments(record, SortMode::ByStart);
        EXPECT_TRUE(same(record.digest.fragments, insertionSorted(fragments, start)));
        record.digest.fragments = fragments;
        SortFragments(record, SortMode::ByLength);
        EXPECT_TRUE(same(record.digest.fragments, insertionSorted(fragments, length)));
        record.digest.fragments = fragments;
        SortFragments(record, SortMode::ByWeight);
        EXPECT_TRUE(same(record.digest.fragments, insertionSorted(fragments, weight)));
    }
}

TEST(DigestTest, SortingReportsProgressUpToAHundred)
{
    core::PropertyRecord record = proteinRecord("P02769.fasta");
    Digest(record, "K!;R!");
    std::vector<int> seen;
    BuildDigestReport(record, SortMode::ByStart, false, 80,
                      [&](int percent) { seen.push_back(percent); });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST(DigestTest, ReportOfAShortPeptide)
{
    core::PropertyRecord record = recordFor("pep", "GKGKG");
    record.digest.selectedAgents = {{"Lys-C", "K!"}};
    Digest(record, "K!");
    const std::string head = "Pattern of proteolytic digest of pep\r\n"
                             "************************************\r\n"
                             "\r\n"
                             "Selected proteases (specificity)\r\n"
                             "--------------------------------\r\n"
                             "\r\n"
                             "Lys-C               (K!)\r\n"
                             "\r\n"
                             "List of cleavable sites\r\n"
                             "-----------------------\r\n"
                             "\r\n"
                             "2, 4\r\n"
                             "\r\n"
                             "List of proteolytic fragments\r\n"
                             "-----------------------------\r\n"
                             "\r\n"
                             "   MW      |  start  |   end   |  # of AA\r\n"
                             "----------------------------------------------\r\n"
                             "\r\n";
    EXPECT_EQ(DigestReportText(record), head + " 75.1      |  5      |  5      |  1\r\n"
                                               " 203.2     |  1      |  2      |  2\r\n"
                                               " 203.2     |  3      |  4      |  2\r\n"
                                               " 260.3     |  3      |  5      |  3\r\n"
                                               " 388.5     |  1      |  4      |  4\r\n"
                                               " 445.5     |  1      |  5      |  5\r\n");

    BuildDigestReport(record, SortMode::ByLength, true, 80);
    EXPECT_EQ(DigestReportText(record), head + " 75.1      |  5      |  5      |  1\r\n"
                                               " 203.2     |  1      |  2      |  2\r\n"
                                               " 203.2     |  3      |  4      |  2\r\n");

    BuildDigestReport(record, SortMode::ByStart, false, 80);
    EXPECT_EQ(DigestReportText(record), head + " 203.2     |  1      |  2      |  2\r\n"
                                               " 388.5     |  1      |  4      |  4\r\n"
                                               " 445.5     |  1      |  5      |  5\r\n"
                                               " 203.2     |  3      |  4      |  2\r\n"
                                               " 260.3     |  3      |  5      |  3\r\n"
                                               " 75.1      |  5      |  5      |  1\r\n");
}

TEST(DigestTest, WideFieldsPushTheBarsRight)
{
    core::PropertyRecord record = recordFor("P", "AKA");
    Digest(record, "K!");
    record.digest.fragments = {{1233, 123456788, 123456789.04, 1}};
    BuildDigestReport(record, SortMode::ByStart, false, 80);
    EXPECT_EQ(reportLines(record).back(), " 123456789.0|  1234  |  123456789|  123455556");
}

TEST(DigestTest, AgentNamesArePaddedToTwentyColumns)
{
    core::PropertyRecord record = recordFor("P", "AKA");
    record.digest.selectedAgents = {{"Short", "K!"},
                                    {"Nineteen characters", "R!"},
                                    {"Twenty characters ok", "X!D"},
                                    {"A name longer than twenty", ""}};
    Digest(record, "K!;R!;X!D;");
    const std::vector<std::string> lines = reportLines(record);
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + 6, lines.begin() + 11),
        (std::vector<std::string>{"Short               (K!)", "Nineteen characters (R!)",
                                  "Twenty characters ok(X!D)", "A name longer than twenty()", ""}));
}

TEST(DigestTest, SiteListWrapsAtTheLineWidth)
{
    const struct
    {
        std::vector<int> sites;
        int width;
        std::vector<std::string> lines;
    } rows[] = {
        {{5, 17, 123}, 80, {"5, 17, 123"}},
        {{5, 17, 123}, 10, {"5, 17, 123"}}, // the last item may end on the width
        {{5, 17, 123}, 9, {"5, 17, ", "123"}},
        {{5, 17, 123}, 6, {"5, 17, ", "123"}}, // s + 1 fits: the item goes on
        {{5, 17, 123}, 5, {"5, ", "17, ", "123"}},
        {{1234, 5}, 5, {"1234, ", "5"}},
        {{5, 17, 123}, 0, {"", "5, ", "17, ", "123"}}, // nothing fits: an empty line first
        {{5, 5, 5}, 80, {"5, 5, 5"}},
        {{}, 80, {""}},
        {{}, 0, {""}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.sites) + " at " + std::to_string(row.width));
        core::PropertyRecord record = recordFor("P", "AKA");
        Digest(record, "");
        record.digest.cuts = row.sites;
        record.digest.cuts.insert(record.digest.cuts.begin(), 0);
        record.digest.cuts.push_back(200);
        BuildDigestReport(record, SortMode::ByWeight, false, row.width);
        EXPECT_EQ(siteListLines(record), row.lines);
    }
}

TEST(DigestTest, CompleteOnlyKeepsFragmentsThatTileTheSequence)
{
    core::PropertyRecord record = proteinRecord("P01308.fasta");
    Digest(record, "K!;R!");
    const auto n = static_cast<std::size_t>(record.digest.siteCount);
    const std::size_t headLines = DigestReportLineCount(record) - record.digest.fragments.size();
    BuildDigestReport(record, SortMode::ByStart, true, 80);
    const std::vector<std::string> lines = reportLines(record);
    ASSERT_EQ(lines.size(), headLines + n + 1);
    int next = 1;
    for (std::size_t i = headLines; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const int start = std::stoi(lines[i].substr(14));
        const int end = std::stoi(lines[i].substr(24));
        EXPECT_EQ(start, next);
        next = end + 1;
    }
    EXPECT_EQ(next, static_cast<int>(record.CleanSequence().size()) + 1);
}

TEST(DigestTest, ACompleteOnlyDigestReportsWhatTheWholeOneShowsCompleteOnly)
{
    // Made alone, the complete fragments must sort into the order they have
    // among all fragments sorted, ties (equal weights, repeated cuts) included.
    const struct
    {
        const char* protein;
        const char* specificity;
    } rows[] = {{"P02769.fasta", "K!;R!"}, {"P01308.fasta", "K!;R!;K!;L!"}, {"P68871.fasta", "X!"}};
    for (const auto& row : rows) {
        for (const SortMode mode : {SortMode::ByStart, SortMode::ByLength, SortMode::ByWeight}) {
            SCOPED_TRACE(std::string(row.protein) + " / " + row.specificity + " / " +
                         std::to_string(static_cast<int>(mode)));
            core::PropertyRecord whole = proteinRecord(row.protein);
            Digest(whole, row.specificity);
            BuildDigestReport(whole, mode, true, 80);
            core::PropertyRecord complete = proteinRecord(row.protein);
            Digest(complete, row.specificity, DigestOptions{.completeOnly = true});
            EXPECT_EQ(complete.digest.fragments.size(),
                      static_cast<std::size_t>(complete.digest.siteCount) + 1);
            BuildDigestReport(complete, mode, true, 80);
            EXPECT_TRUE(DigestReportText(complete) == DigestReportText(whole));
        }
    }
}

TEST(DigestTest, SortingByStartAndBackRestoresTheWeightOrder)
{
    core::PropertyRecord record = proteinRecord("P02769.fasta");
    Digest(record, "K!;R!;E!");
    const std::string byWeight = DigestReportText(record);
    BuildDigestReport(record, SortMode::ByStart, false, 80);
    EXPECT_TRUE(DigestReportText(record) != byWeight);
    BuildDigestReport(record, SortMode::ByWeight, false, 80);
    // Equal weights come back by start, then by end: their order after the digest.
    EXPECT_TRUE(DigestReportText(record) == byWeight);
}

TEST(DigestTest, AnEditedSequenceKeepsTheDigestItWasCutFrom)
{
    // The window of a digest stays open while the sequence is edited; its
    // re-sorts show the digest that was run, and never read the new text.
    core::PropertyRecord record = recordFor("P", "MKWVTFKRALLE");
    Digest(record, "K!;R!");
    const std::string before = DigestReportText(record);
    record.SetSequence("G");
    BuildDigestReport(record, SortMode::ByStart, true, 80);
    const std::vector<std::string> lines = reportLines(record);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
              (std::vector<std::string>{
                  " 277.4     |  1      |  2      |  2", " 679.8     |  3      |  7      |  5",
                  " 174.2     |  8      |  8      |  1", " 444.5     |  9      |  12     |  4"}));
    BuildDigestReport(record, SortMode::ByWeight, false, 80);
    EXPECT_EQ(DigestReportText(record), before);
}

TEST(DigestTest, StreamedTextLinesAndWholeTextAgree)
{
    // Cutting after every residue gives 185,000 rows: the stream crosses its
    // chunk boundaries many times.
    core::PropertyRecord record = proteinRecord("P02769.fasta");
    Digest(record, "X!");
    for (const bool completeOnly : {false, true}) {
        SCOPED_TRACE(completeOnly);
        BuildDigestReport(record, SortMode::ByLength, completeOnly, 80);
        std::string streamed;
        std::size_t pieces = 0;
        WriteDigestReport(record, [&](std::string_view bytes) {
            streamed += bytes;
            ++pieces;
        });
        std::string joined;
        for (std::size_t i = 0; i < DigestReportLineCount(record); ++i) {
            joined += DigestReportLine(record, i) + "\r\n";
        }
        EXPECT_EQ(streamed, joined);
        EXPECT_EQ(DigestReportText(record), joined);
        if (!completeOnly) {
            EXPECT_GT(pieces, 5U);
        }
    }
}

TEST(DigestTest, DigestFileRecordsSkipEmptyFragmentsButKeepTheirNumbers)
{
    EXPECT_EQ(DigestFileRecord("seq_3", "MKV"), ">seq_3\r\nMKV\r\n");
    core::PropertyRecord record = recordFor("P", "AKXA");
    Digest(record, "K!;K!");
    SortFragments(record, SortMode::ByStart);
    std::string file;
    WriteDigestFileRecords(record, "P", [&](std::string_view bytes) { file += bytes; });
    // By start: AK, AK, AKXA, (empty), XA, XA.
    EXPECT_EQ(file, ">P_0\r\nAK\r\n>P_1\r\nAK\r\n>P_2\r\nAKXA\r\n>P_4\r\nXA\r\n>P_5\r\nXA\r\n");
}

TEST(DigestTest, AgentsAreFoundByNameAndCombinedInOrder)
{
    const std::vector<core::ENZYME> agents = {
        {"Trypsin", "K!;R!"}, {"Asp-N", "X!D"}, {"Trypsin", "W!"}, {"Empty", ""}};
    ASSERT_NE(FindAgent(agents, "Trypsin"), nullptr);
    EXPECT_EQ(FindAgent(agents, "Trypsin")->specificity, "K!;R!");
    EXPECT_EQ(FindAgent(agents, "trypsin"), nullptr);
    EXPECT_EQ(CombinedSpecificity({agents[1], agents[3], agents[0]}), "X!D;;K!;R!");
    EXPECT_TRUE(CleavingAgentsDefined(agents));
    EXPECT_FALSE(CleavingAgentsDefined({}));
    EXPECT_FALSE(CleavingAgentsDefined({{"", "K!"}, {"Lys-C", "K!"}}));
}

TEST(LimitsTest, ThePredictedFragmentCountIsTheCountMade)
{
    const struct
    {
        const char* sequence;
        const char* specificity;
        bool completeOnly;
        std::uint64_t count;
    } rows[] = {
        {"AKRA", "K!", false, 3},   {"AKRA", "K!", true, 2},   {"AKRA", "", false, 1},
        {"AKA", "K!;K!", false, 6}, {"ACDE", "X!", false, 10}, {"ACDE", "X!", true, 4},
        {"", "K!", false, 1},       {"AKAA", "KXX", false, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.sequence) + " / " + row.specificity);
        core::PropertyRecord record = recordFor("P", row.sequence);
        EXPECT_EQ(PredictFragmentCount(record, row.specificity, row.completeOnly), row.count);
        const DigestResult result = Digest(record, row.specificity, {row.completeOnly, 100});
        EXPECT_FALSE(result.Refused());
        EXPECT_EQ(result.fragmentCount, row.count);
        EXPECT_EQ(record.digest.fragments.size(), row.count);
    }
    // Titin: the counts of the digests that once ran out of memory, known
    // without making a fragment.
    const core::PropertyRecord titin = proteinRecord("Q8WZ42.fasta");
    EXPECT_EQ(PredictFragmentCount(titin, "X!"), 589'978'425U);
    EXPECT_EQ(PredictFragmentCount(titin, "K!;R!"), 10'508'820U);
    EXPECT_EQ(PredictFragmentCount(titin, "K!;R!", true), 4'584U);
}

TEST(LimitsTest, ADigestBeyondTheCeilingIsRefusedBeforeAnyFragment)
{
    core::PropertyRecord record = proteinRecord("P01308.fasta");
    const std::uint64_t whole = PredictFragmentCount(record, "K!;R!");
    const std::uint64_t complete = PredictFragmentCount(record, "K!;R!", true);
    EXPECT_FALSE(Digest(record, "K!;R!", {false, whole}).Refused());
    EXPECT_FALSE(Digest(record, "K!;R!", {true, complete}).Refused());

    for (const bool completeOnly : {false, true}) {
        SCOPED_TRACE(completeOnly);
        const std::uint64_t count = completeOnly ? complete : whole;
        Digest(record, "K!;R!");
        const DigestResult result = Digest(record, "K!;R!", {completeOnly, count - 1});
        EXPECT_TRUE(result.Refused());
        EXPECT_EQ(result.fragmentCount, count);
        EXPECT_EQ(result.refusal, "The digest would make " + std::to_string(count) +
                                      " fragments, more than the " + std::to_string(count - 1) +
                                      " this machine allows.");
        // The record holds the state before any digest.
        EXPECT_EQ(record.digest.siteCount, 0);
        EXPECT_EQ(record.digest.fragments.size(), 1U);
        EXPECT_EQ(DigestReportLineCount(record), 0U);
    }
    EXPECT_EQ(core::msg::TooManyFragments(589'978'425, 120'000'000),
              "The digest would make 589,978,425 fragments, more than the 120,000,000 this "
              "machine allows.");
}

TEST(LimitsTest, ABoundedDigestIsCountedAndRefusedByTheFragmentsItKeeps)
{
    // Titin with Trypsin: 10.5 million fragments in all, 13,749 with at most
    // two missed cleavages, and only those are made.
    core::PropertyRecord titin = proteinRecord("Q8WZ42.fasta");
    DigestOptions options{.maxMissed = 2};
    EXPECT_EQ(PredictFragmentCount(titin, "K!;R!", options), 13'749U);
    options.maxFragments = 13'749;
    const DigestResult made = Digest(titin, "K!;R!", options);
    EXPECT_FALSE(made.Refused());
    EXPECT_EQ(titin.digest.fragments.size(), 13'749U);

    options.maxFragments = 13'748;
    const DigestResult refused = Digest(titin, "K!;R!", options);
    EXPECT_TRUE(refused.Refused());
    EXPECT_EQ(refused.fragmentCount, 13'749U);
    EXPECT_EQ(titin.digest.fragments.size(), 1U);
}

TEST(DigestTest, CsvRowsCountMissedCleavagesStrictlyInside)
{
    // Two agents cut after K twice: cuts 0, 2, 2, 4, 4, 5. A repeat at a
    // fragment's edge is no missed cleavage; inside, both count.
    core::PropertyRecord record = recordFor("P", "GKGKG");
    Digest(record, "K!;K!", {.maxMissed = 2, .minLength = 3, .monoisotopic = true});
    BuildDigestReport(record, SortMode::ByStart, false, 80);
    std::string csv;
    WriteDigestCsv(record, {1, 2}, [&](std::string_view bytes) { csv += bytes; });
    EXPECT_EQ(csv, "start,end,length,missed,mass,mz_1,mz_2\r\n"
                   "1,4,4,2,388.2434,389.2507,195.1290\r\n"
                   "1,4,4,2,388.2434,389.2507,195.1290\r\n"
                   "3,5,3,2,260.1485,261.1557,131.0815\r\n"
                   "3,5,3,2,260.1485,261.1557,131.0815\r\n");
}

TEST(DigestTest, TheReportNamesItsOptionsInWords)
{
    const int none = std::numeric_limits<int>::max();
    struct Row
    {
        std::optional<int> maxMissed;
        int minLength;
        int maxLength;
        bool monoisotopic;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {std::nullopt, 0, none, false, {}},
        {0, 0, none, false, {"Fragments kept: no missed cleavage"}},
        {2, 5, 30, false, {"Fragments kept: at most 2 missed cleavages, 5 to 30 residues"}},
        {1,
         1,
         none,
         true,
         {"Fragments kept: at most 1 missed cleavage, at least 1 residue", "Masses: monoisotopic"}},
        {std::nullopt, 0, 1, false, {"Fragments kept: at most 1 residue"}},
        {std::nullopt, 0, none, true, {"Masses: monoisotopic"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.lines));
        EXPECT_EQ(DigestOptionLines({.maxMissed = row.maxMissed,
                                     .minLength = row.minLength,
                                     .maxLength = row.maxLength,
                                     .monoisotopic = row.monoisotopic}),
                  row.lines);
    }
}

TEST(Texts, ReportTitlesAndDigestRecordsStayOneLine)
{
    core::PropertyRecord record = recordFor(std::string("ev\ni\r\0x", 7), "GKGKG");
    const std::string title = "ev i  x";
    EXPECT_EQ(PhysChemReportText(record).substr(0, 40),
              "Physico-chemical Properties of " + title + "\r\n");
    record.digest.selectedAgents = {{"Lys-C", "K!"}};
    Digest(record, "K!");
    EXPECT_EQ(DigestReportLine(record, 0), "Pattern of proteolytic digest of " + title);
    EXPECT_EQ(DigestReportLine(record, 1), std::string(40, '*'));
    std::string records;
    WriteDigestFileRecords(record, record.Name(),
                           [&](std::string_view bytes) { records.append(bytes); });
    EXPECT_EQ(records.substr(0, 13), ">" + title + "_0\r\nG");
    EXPECT_EQ(MotifReportText(record, true).substr(0, 39),
              "Search for Sequence Motifs in " + title + "\r\n");
}

} // namespace
} // namespace quorin::analysis
