#include "core/UniProt.h"

#include "core/PepFile.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace quorin::core {
namespace {

std::string fixture(const std::string& name)
{
    std::ifstream in(std::string(QUORIN_TEST_DATA_DIR) + "/uniprot/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_FALSE(bytes.str().empty()) << name;
    return bytes.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

/// A small entry around FT lines, with a sequence of 12 residues.
std::string entryWith(const std::string& ftLines)
{
    return "ID   TINY_TEST               Reviewed;          12 AA.\n"
           "AC   P00001;\n"
           "DE   RecName: Full=Tiny;\n" +
           ftLines +
           "SQ   SEQUENCE   12 AA;  1300 MW;  0000000000000000 CRC64;\n"
           "     MKTAYIAKQR QL\n"
           "//\n";
}

TEST(UniProtTest, readsBothLayoutsOfTheFixtureAlike)
{
    const std::vector<SequenceFeature> expected{
        {"SIGNAL", "1", "20", ""},
        {"CHAIN", "21", "120", "Synthetic membrane protein 1"},
        {"TOPO_DOM", "21", "40", "Extracellular"},
        {"TRANSMEM", "41", "61", "Helical; Name=1"},
        {"TOPO_DOM", "62", "70", "Cytoplasmic"},
        {"TRANSMEM", "71", "91", "Helical; Name=2"},
        {"TOPO_DOM", "92", ">120",
         "Extracellular, with a note long enough to be wrapped over two lines"},
        {"MOD_RES", "100", "100", "Phosphoserine"},
        {"REGION", "<1", "?", "Disordered"},
    };
    for (const std::string name : {"old-layout.dat", "current-layout.dat"}) {
        SCOPED_TRACE(name);
        const std::string text = fixture(name);
        // Every line end the reader meets in the wild reads alike.
        for (const std::string lineEnd : {"\n", "\r\n", "\r"}) {
            SCOPED_TRACE(lineEnd.size());
            const UniProtReadResult read = ReadUniProtEntry(replaced(text, "\n", lineEnd));
            ASSERT_TRUE(read.entry) << read.problem;
            EXPECT_EQ(read.entry->name, "MEMB1_SYNTH");
            EXPECT_EQ(read.entry->accession, "Q9ZZZ1");
            EXPECT_EQ(
                read.entry->description,
                "RecName: Full=Synthetic membrane protein 1; AltName: Full=Test transporter;");
            EXPECT_EQ(read.entry->residues.size(), 120u);
            EXPECT_EQ(read.entry->residues.substr(0, 1), "M");
            EXPECT_EQ(read.entry->features, expected);
        }
    }
}

TEST(UniProtTest, refusesMalformedEntriesNamingTheLine)
{
    const struct
    {
        const char* what;
        std::string text;
        std::string problem;
    } rows[] = {
        {"no entry name", "ID   \nSQ   SEQUENCE 0 AA;\n//\n", "line 1: the ID line names no entry"},
        {"cut short", entryWith("").substr(0, entryWith("").size() - 3),
         "line 5: the entry ends without its \"//\" line (it is cut short)"},
        {"a residue lost", replaced(entryWith(""), "MKTAYIAKQR QL", "MKTAYIAKQR Q"),
         "line 4: the SQ line announces 12 residues, the entry holds 11"},
        {"no SQ line", "ID   X_Y  Reviewed;\nAC   P1;\n//\n", "line 3: the entry has no SQ line"},
        {"positions not numbers", entryWith("FT   DOMAIN        a      4       Text.\n"),
         "line 4: the positions of the DOMAIN feature are not residue numbers"},
        {"empty current location", entryWith("FT   DOMAIN          ..4\n"),
         "line 4: the positions of the DOMAIN feature are not residue numbers"},
        {"quote never closes",
         entryWith("FT   DOMAIN          1..4\nFT                   /note=\"open\n"),
         "line 6: a feature qualifier's quote never closes"},
        {"quote open at the next feature",
         entryWith("FT   DOMAIN          1..4\nFT                   /note=\"open\n"
                   "FT   CHAIN           1..12\n"),
         "line 6: a feature qualifier's quote never closes"},
        {"continuation first", entryWith("FT                   /note=\"x\"\n"),
         "line 4: a feature line continues no feature"},
        {"a second SQ line", replaced(entryWith(""), "//\n", "SQ   SEQUENCE   0 AA;\n//\n"),
         "line 6: the entry has a second SQ line"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const UniProtReadResult read = ReadUniProtEntry(row.text);
        EXPECT_FALSE(read.entry);
        EXPECT_EQ(read.problem, "Not a readable UniProt entry: " + row.problem);
    }
}

TEST(UniProtTest, readsNothingPastTheFirstEntry)
{
    // A second entry, and bytes no entry would hold, after the first "//".
    const std::string text = entryWith("FT   HELIX         2      5\n") +
                             "ID   OTHER_ENTRY  Reviewed; 3 AA.\nFT   broken\n" +
                             std::string(1, '\0') + "garbage";
    const UniProtReadResult read = ReadUniProtEntry(text);
    ASSERT_TRUE(read.entry) << read.problem;
    EXPECT_EQ(read.entry->name, "TINY_TEST");
    EXPECT_EQ(read.entry->residues, "MKTAYIAKQRQL");
    ASSERT_EQ(read.entry->features.size(), 1u);
    EXPECT_EQ(read.entry->features[0], (SequenceFeature{"HELIX", "2", "5", ""}));
}

TEST(UniProtTest, keepsUnknownEndsAsWrittenAndKnowsTheirBounds)
{
    const UniProtReadResult read = ReadUniProtEntry(
        entryWith("FT   REGION          ?..?8\nFT   BINDING         ?\n"
                  "FT   DOMAIN          P00001-2:3..>9\nFT   SITE         <4     <4\n"));
    ASSERT_TRUE(read.entry) << read.problem;
    const std::vector<SequenceFeature> expected{{"REGION", "?", "?8", ""},
                                                {"BINDING", "?", "?", ""},
                                                {"DOMAIN", "3", ">9", ""},
                                                {"SITE", "<4", "<4", ""}};
    EXPECT_EQ(read.entry->features, expected);

    const struct
    {
        const char* text;
        int fallback;
        int length;
        int bound;
    } rows[] = {{"?", 12, 12, 12}, {"?8", 12, 12, 8}, {">200", 12, 12, 12},
                {"<1", 1, 12, 1},  {"0", 1, 12, 1},   {"99999999999999999999", 1, 0, 1 << 30},
                {"7", 1, 0, 7},    {"", 5, 0, 5}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(FeatureBound(row.text, row.fallback, row.length), row.bound);
    }
}

TEST(UniProtTest, featureTableKeepsEveryRowOnOneLine)
{
    EXPECT_EQ(FeatureTableText({{"DOMAIN", "<1", "?", "a\tb\r\nc"}, {"CHAIN", "1", "9", ""}}),
              "key\tstart\tend\tdescription\nDOMAIN\t<1\t?\ta b  c\nCHAIN\t1\t9\t\n");
}

TEST(UniProtTest, sequenceFilesMayBeEntries)
{
    PropertyRecord record;
    record.features.push_back({"OLD", "1", "2", ""});
    // After a UTF-8 byte-order mark too, as a text of any other kind.
    const PepLoadResult loaded =
        LoadSequenceBytes("\xEF\xBB\xBF" + fixture("old-layout.dat"), record);
    ASSERT_EQ(loaded.status, PepLoadStatus::Ok);
    EXPECT_TRUE(loaded.uniProtEntry);
    EXPECT_FALSE(loaded.hasSketch);
    EXPECT_EQ(record.Name(), "MEMB1_SYNTH");
    EXPECT_EQ(record.remarks, "Accession Q9ZZZ1 RecName: Full=Synthetic membrane protein 1; "
                              "AltName: Full=Test transporter;");
    EXPECT_EQ(record.CleanSequence().size(), 120u);
    EXPECT_EQ(record.features.size(), 9u);

    const PepLoadResult refused = LoadSequenceBytes(entryWith("").substr(0, 80), record);
    EXPECT_EQ(refused.status, PepLoadStatus::MalformedEntry);
    EXPECT_NE(refused.problem.find("cut short"), std::string::npos);
    EXPECT_TRUE(record.features.empty());
    EXPECT_TRUE(record.CleanSequence().empty());

    // A first-generation file whose name starts like an ID line stays a
    // sequence file: its name ends in a 0 byte on the first line.
    const std::string generation1("ID   ABC\0\x03\0\0\0MKW", 16);
    const PepLoadResult binary = LoadSequenceBytes(generation1, record);
    ASSERT_EQ(binary.status, PepLoadStatus::Ok);
    EXPECT_FALSE(binary.uniProtEntry);
    EXPECT_EQ(record.Name(), "ID   ABC");
    EXPECT_EQ(record.CleanSequence(), "MKW");
}

} // namespace
} // namespace quorin::core
