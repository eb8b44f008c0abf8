#include "analysis/Prosite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorin::analysis {
namespace {

/// The matches as "start-end" (1-based, inclusive), comma-separated.
std::string matchesOf(std::string_view patternText, std::string_view residues)
{
    const PrositeParse parse = ParsePrositePattern(patternText);
    if (parse.Refused()) {
        return "refused: " + parse.message;
    }
    std::string text;
    for (const PrositeMatch& match : FindPrositeMatches(parse.pattern, residues)) {
        text += (text.empty() ? "" : ",") + std::to_string(match.start + 1) + "-" +
                std::to_string(match.end);
    }
    return text;
}

TEST(PrositePatternTest, MatchesEveryElementOfTheSyntax)
{
    struct Case
    {
        const char* pattern;
        const char* residues;
        const char* matches;
    };
    const std::vector<Case> cases = {
        {"N-{P}-[ST]-{P}.", "MNASTGNPSKNKTW", "2-5,11-14"},
        {"C-x(2)-C", "ACAACGCKKC", "2-5,7-10"},
        // Overlapping starts each get their shortest match.
        {"A-x(1,3)-C", "AGCGCAAGCC", "1-3,6-9,7-9"},
        {"K(2,3)", "KKKK", "1-2,2-3,3-4"},
        {"<M-x-K", "MAKMAK", "1-3"},
        {"K-x>", "AKAKA", "4-5"},
        // The C-terminus stands for the final class: L then G, or L at the end.
        {"R-L-[G>]", "RLGARL", "1-3,5-6"},
        {"R-L-[G>]", "RLA", ""},
        // X and O are residues: only x, a class naming them or an exclusion
        // leaving them match.
        {"A-X-C", "AXCAOC", "1-3,4-6"},
        {"A-[X]-C", "AXCAOC", "1-3"},
        {"A-{K}-C", "AXCAOC", "1-3,4-6"},
        {"a-[st]", "AS", "1-2"},
        {" N - { P } ", "NAN", "1-2"},
        {"x(0,2)-W", "AAAW", "2-4,3-4,4-4"},
        {"W", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " over " + c.residues);
        EXPECT_EQ(matchesOf(c.pattern, c.residues), c.matches);
    }
}

TEST(PrositePatternTest, RefusesAMalformedPatternNamingTheCharacterAtFault)
{
    struct Case
    {
        const char* pattern;
        std::size_t position;
    };
    const std::vector<Case> cases = {
        {"", 1},       {"A-", 3},        {"A--C", 3},  {"[AC", 4},
        {"[]", 1},     {"{}", 1},        {"A(2", 4},   {"A(3,2)", 2},
        {"A(x)", 3},   {"A(0)", 2},      {"A-<C", 3},  {"A>-C", 3},
        {"[G>]-A", 1}, {"A C", 3},       {"A-1", 3},   {"x(0,3)", 1},
        {"A..", 2},    {"A-x(5000)", 3}, {"A-[A>", 6}, {"{ABCDEFGHIJKLMNOPQRSTUVWXYZ}", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.pattern + "\"");
        const PrositeParse parse = ParsePrositePattern(c.pattern);
        ASSERT_TRUE(parse.Refused());
        EXPECT_EQ(parse.position, c.position);
        EXPECT_NE(parse.message.find("at character " + std::to_string(c.position)),
                  std::string::npos)
            << parse.message;
    }
}

TEST(PrositePatternTest, ManyRangesOverALongSequenceTakeLinearWork)
{
    // A backtracking matcher takes exponential time here; the matcher's work
    // is the length times the pattern's positions, so this ends at once.
    std::string residues(40000, 'A');
    residues.back() = 'W';
    std::string pattern;
    for (int i = 0; i < 20; ++i) {
        pattern += "x(0,9)-";
    }
    pattern += "W";
    const PrositeParse parse = ParsePrositePattern(pattern);
    ASSERT_FALSE(parse.Refused());
    const std::vector<PrositeMatch> matches = FindPrositeMatches(parse.pattern, residues);
    ASSERT_EQ(matches.size(), 181u);
    EXPECT_EQ(matches.front().start, residues.size() - 181);
    EXPECT_EQ(matches.back().end, residues.size());
}

TEST(PrositeLibraryTest, ReadsPatternEntriesAndScansInOrderOfAccession)
{
    const std::string dat = "CC   A comment block\r\n"
                            "//\r\n"
                            "ID   RGD; PATTERN.\r\n"
                            "AC   PS00016;\r\n"
                            "DE   Cell attachment\r\n"
                            "DE   sequence.\r\n"
                            "PA   R-G-D.\r\n"
                            "//\r\n"
                            "ID   SOME_PROFILE; MATRIX.\r\n"
                            "AC   PS50001;\r\n"
                            "MA   /GENERAL_SPEC: ALPHABET='ABCDEFGHIKLMNPQRSTVWYZ';\r\n"
                            "//\r\n"
                            "ID   LONG_ONE; PATTERN.\r\n"
                            "AC   PS00002; PS99999;\r\n"
                            "PA   G-x(2)-\r\n"
                            "PA   G.\r\n"
                            "//\r\n"
                            "ID   BROKEN; PATTERN.\r\n"
                            "AC   PS00003;\r\n"
                            "PA   G-(\r\n"
                            "//\r\n";
    const std::vector<PrositeEntry> entries = ReadPrositeEntries(dat);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].id, "RGD");
    EXPECT_EQ(entries[0].accession, "PS00016");
    EXPECT_EQ(entries[0].description, "Cell attachment sequence.");
    EXPECT_EQ(entries[1].accession, "PS00002");
    EXPECT_EQ(entries[1].pattern, "G-x(2)-G.");

    const std::string residues = "GRGDAGG";
    const PrositeScan scan = ScanPrositeEntries(entries, residues);
    EXPECT_EQ(PrositeScanTsv(scan, residues), "accession\tid\tstart\tend\tmatch\n"
                                              "PS00002\tLONG_ONE\t3\t6\tGDAG\n"
                                              "PS00016\tRGD\t2\t4\tRGD\n");
    ASSERT_EQ(scan.refused.size(), 1u);
    EXPECT_EQ(scan.refused[0].first->id, "BROKEN");
}

} // namespace
} // namespace quorin::analysis
