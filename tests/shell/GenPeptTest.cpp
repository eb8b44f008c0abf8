#include "shell/GenPept.h"

#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorin::shell {
namespace {

std::string withLineEnds(std::string text, const std::string& lineEnd)
{
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? lineEnd : std::string(1, c);
    }
    return out;
}

TEST(GenPeptTest, ExtractBetweenDropsLineFeedsButKeepsTheLastCharacter)
{
    struct Row
    {
        std::string text, start, end, expected;
    };
    const Row rows[] = {
        {"x[gi:123]y", "[gi:", "]", "123"},
        {"[1][2]", "[", "]", "1"},              // the first start decides
        {"x[a\nb\n]", "[", "]", "ab\n"},        // a line feed just before the end stays
        {"x[abcdef", "[", "]", "abcde"},        // no end: up to the last end-size bytes
        {"abc", "[", "]", ""},                  // no start
        {"ab[x]", "[", "]", ""},                // start too near the end to be looked at
        {"<Id>12</Id>", "<Id>", "</Id>", "12"}, // a two-character result
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ExtractBetween(row.text, row.start, row.end), row.expected);
    }
}

TEST(GenPeptTest, TheFirstIdOfASearchReplyDecides)
{
    const std::string several = test::ReadFile(test::DataFile("genpept/esearch/esearch7.xml"));
    EXPECT_EQ(FirstSearchId(several), std::optional<std::string>("16766766"));
    EXPECT_EQ(FirstSearchId(test::ReadFile(test::DataFile("genpept/esearch/esearch8.xml"))),
              std::nullopt);
    const struct
    {
        std::string id;
        bool accepted;
    } rows[] = {
        {"8", true}, // a one-digit GI is a real record's
        {"12345678901234", true},
        {"123456789012345", false},
        {"", false},
        {"12a", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        const auto id = FirstSearchId("<IdList><Id>" + row.id + "</Id><Id>99</Id></IdList>");
        EXPECT_EQ(id, row.accepted ? std::optional(row.id) : std::nullopt);
    }
}

TEST(GenPeptTest, MarkupInCommentsIsNotTheReplys)
{
    const struct
    {
        std::string reply;
        std::optional<std::string> id;
        bool foundNothing;
    } rows[] = {
        {"<!-- <Id>1</Id> --><eSearchResult><Id>22</Id></eSearchResult>", "22", false},
        {"<eSearchResult><!--<Id>1</Id>--><Count>0</Count></eSearchResult>", std::nullopt, true},
        {"<eSearchResult><!-- <Count>0</Count> --><Count>3</Count>", std::nullopt, false},
        {"<eSearchResult><Count>0</Count><!-- <Id>1</Id>", std::nullopt, true}, // left open
        {"<eSearchResult><ERROR>Invalid query</ERROR></eSearchResult>", std::nullopt, false},
        {"<html><Count>0</Count></html>", std::nullopt, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reply);
        EXPECT_EQ(FirstSearchId(row.reply), row.id);
        EXPECT_EQ(SearchFoundNothing(row.reply), row.foundNothing);
    }
    EXPECT_TRUE(SearchFoundNothing(test::ReadFile(test::DataFile("genpept/esearch/esearch8.xml"))));
    for (const std::string accession : {"", " ", "\t\r\n"}) {
        EXPECT_TRUE(IsBlankAccession(accession));
    }
    EXPECT_FALSE(IsBlankAccession(" P01485"));
}

TEST(GenPeptTest, URLsCarryTheAccessionAsData)
{
    EXPECT_EQ(SearchUrl("http://127.0.0.1:8/eutils", "NP 1&db=x/é"),
              "http://127.0.0.1:8/eutils/esearch.fcgi?db=protein&term=NP%201%26db%3Dx%2F%C3%A9");
    EXPECT_EQ(RecordUrl("http://h/", "494379"),
              "http://h/efetch.fcgi?db=protein&id=494379&rettype=gp&retmode=text");
    EXPECT_EQ(PercentEncode("Az09-._~+%"), "Az09-._~%2B%25");
}

TEST(GenPeptTest, TheServerAndTimeLimitComeFromTheSettings)
{
    test::TempDir dir;
    core::ProfileFile settings(dir / "quorin.ini");
    EXPECT_EQ(DownloadServer(settings), kDefaultServer);
    EXPECT_EQ(DownloadTimeout(settings), std::chrono::seconds(30));
    EXPECT_EQ(RefusedDownloadTimeout(settings), std::nullopt);
    test::WriteFile(dir / "quorin.ini", "[download]\r\nserver= http://127.0.0.1:9/ \r\n");
    EXPECT_EQ(DownloadServer(settings), "http://127.0.0.1:9/");
    test::WriteFile(dir / "quorin.ini", "[Download]\r\nServer=\r\n");
    EXPECT_EQ(DownloadServer(settings), kDefaultServer);

    // Qt's timers hold an int of milliseconds: 2,147,484 s overflowed into no
    // limit, 4,294,968 s into 0.7 s. Only a day or less is used.
    const struct
    {
        std::string stored;
        int seconds;
        bool refused;
    } rows[] = {
        {"5", 5, false},       {"86400", 86400, false}, {"", 30, false},
        {"86401", 30, true},   {"0", 30, true},         {"-1", 30, true},
        {"2147484", 30, true}, {"4294968", 30, true},   {"4294967297", 30, true},
        {"abc", 30, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        test::WriteFile(dir / "quorin.ini", "[Download]\r\nTimeout=" + row.stored + "\r\n");
        EXPECT_EQ(DownloadTimeout(settings), std::chrono::seconds(row.seconds));
        EXPECT_EQ(RefusedDownloadTimeout(settings).has_value(), row.refused);
    }
    EXPECT_EQ(RefusedDownloadTimeout(settings),
              "The setting \"Timeout\" in [Download] holds abc, outside 1 to 86400 seconds; the "
              "default of 30 seconds is used instead.");
    for (const std::string typed : {"0", "86401", "", "1x", "-5", "+5", "9999999999"}) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(ParseTimeout(typed), std::nullopt);
    }
    EXPECT_EQ(ParseTimeout("86400"), std::chrono::seconds(86400));
    EXPECT_EQ(ParseTimeout("1"), std::chrono::seconds(1));
}

TEST(GenPeptTest, ADefinitionOverSeveralLinesIsOneNameWhateverTheLineEnds)
{
    const std::string record = test::ReadFile(test::DataFile("genpept/biopython180_1MRR_A.gp"));
    const std::string name = "Chain A, Substitution Of Manganese For Iron In Ribonucleotide "
                             "Reductase From Escherichia Coli. Spectroscopic And Crystallographic "
                             "Characterization.";
    for (const std::string lineEnd : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(lineEnd.size());
        const auto entry = ReadGenPept(withLineEnds(record, lineEnd));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->name, name);
    }
    const std::string longName(300, 'n');
    const auto entry =
        ReadGenPept("LOCUS       X\nDEFINITION  " + longName.substr(0, 150) + "\n            " +
                    longName.substr(150) + "\nACCESSION   X\nORIGIN\n        1 mk\n//\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, longName.substr(0, 150) + " " + longName.substr(150, 105));
}

TEST(GenPeptTest, OnlyARecordWithDefinitionAndResiduesIsOne)
{
    const std::string head = "LOCUS       X 2 aa\nDEFINITION  a protein.\nACCESSION   X\n";
    const std::string title = "  TITLE     THE ORIGIN OF X\n";
    const auto entry = ReadGenPept(head + title + "ORIGIN      \n        1 mk\n//\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "a protein.");
    EXPECT_EQ(entry->accession, "X");
    const auto merged = ReadGenPept("LOCUS       X\nDEFINITION  p.\nACCESSION   P01485 P01486\r\n"
                                    "ORIGIN\n        1 mk\n//\n");
    ASSERT_TRUE(merged);
    EXPECT_EQ(merged->accession, "P01485");
    // From the ORIGIN line, not the title's ORIGIN; line feeds go but the last.
    EXPECT_EQ(entry->residues, "      "
                               "        1 mk\n");

    const std::string refused[] = {
        "",
        "<html><body><pre>\n" + head + "ORIGIN\n        1 mk\n//\n</pre></body></html>",
        head + "//\n",                                              // no ORIGIN
        head + "ORIGIN      \n       1\n//\n",                      // no residues
        "LOCUS       X\nACCESSION   X\nORIGIN\n        1 mk\n//\n", // no definition
    };
    for (const std::string& text : refused) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ReadGenPept(text).has_value());
    }
}

} // namespace
} // namespace quorin::shell
