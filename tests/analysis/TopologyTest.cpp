#include "analysis/Topology.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace quorin::analysis;

namespace {

// The residues of a single-record FASTA file of the test data.
std::string ProteinSequence(const std::string& file)
{
    std::ifstream in(std::string(QUORIN_TEST_DATA_DIR) + "/proteins/" + file);
    EXPECT_TRUE(in) << file;
    std::string line, sequence;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '>')
            for (const char c : line)
                if (c >= 'A' && c <= 'Z')
                    sequence += c;
    return sequence;
}

std::vector<TopologySegment> Runs(const std::string& labels, char label)
{
    std::vector<TopologySegment> runs;
    for (const auto& segment : TopologySegments(labels))
        if (segment.label == label)
            runs.push_back(segment);
    return runs;
}

std::string ReadSource(const std::string& path)
{
    std::ifstream in(std::string(QUORIN_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(Topology, BuiltInParametersAreTheCommittedFileAndWriteBackTheSame)
{
    const std::string file = ReadSource("src/analysis/TopologyParameters.txt");
    std::string error;
    const auto parsed = ParseTopologyParameters(file, &error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_GT(parsed->network.hidden, 0);
    // Written again, the parameters read back to the same decoder: the
    // labels of a real protein do not move.
    const auto again = ParseTopologyParameters(TopologyParametersText(*parsed, "again"), &error);
    ASSERT_TRUE(again) << error;
    const std::string sequence = ProteinSequence("P02945.fasta");
    EXPECT_EQ(TopologyModel(*again).Labels(sequence), PredictTopology(sequence));
}

TEST(Topology, RefusesMalformedParameterFiles)
{
    const std::string good = ReadSource("src/analysis/TopologyParameters.txt");
    const auto firstLine = [&](std::string_view keyword) {
        const auto at = good.find(std::string("\n") + std::string(keyword) + " ");
        return std::pair{at + 1, good.find('\n', at + 1) + 1};
    };
    struct Case
    {
        const char* what;
        std::string text;
        const char* error;
    };
    const auto [emissionFrom, emissionTo] = firstLine("emission");
    const auto [transitionFrom, transitionTo] = firstLine("transition");
    const std::string emissionLine = good.substr(emissionFrom, emissionTo - emissionFrom);
    std::string badNumber = good;
    badNumber.replace(
        transitionFrom, transitionTo - transitionFrom,
        good.substr(transitionFrom, good.rfind(' ', transitionTo - 1) + 1 - transitionFrom) +
            "nan\n");
    const Case cases[] = {
        {"an emission left out", good.substr(0, emissionFrom) + good.substr(emissionTo), "missing"},
        {"an emission twice", good + emissionLine, "twice"},
        {"an unknown keyword", good + "emissions glob 1\n", "unknown keyword"},
        {"a weight that is no number", badNumber, "not a weight"},
        {"a transition the model lacks", good + "transition glob sp_n1 -1\n", "no such transition"},
        {"a network too large",
         good.substr(0, good.find("\nnetwork ") + 1) + "network 12 100000 0.05 30\n",
         "a network needs"},
        {"nothing", "", "missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string error;
        EXPECT_FALSE(ParseTopologyParameters(c.text, &error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(Topology, LabelsFollowTheModelsGrammar)
{
    for (const char* file : {"P02945.fasta", "P01501.fasta", "P01308.fasta", "P68871.fasta",
                             "P02769.fasta", "P42212.fasta"}) {
        SCOPED_TRACE(file);
        const std::string sequence = ProteinSequence(file);
        const std::string labels = PredictTopology(sequence);
        ASSERT_EQ(labels.size(), sequence.size());
        EXPECT_EQ(labels.find_first_not_of("ioHS"), std::string::npos);
        for (const auto& helix : Runs(labels, kTopologyHelix)) {
            EXPECT_GE(helix.end - helix.start + 1, kTopologyHelixMin);
            EXPECT_LE(helix.end - helix.start + 1, kTopologyHelixMax);
        }
        const auto signal = Runs(labels, kTopologySignal);
        ASSERT_LE(signal.size(), 1u);
        if (!signal.empty()) {
            EXPECT_EQ(signal.front().start, 1);
            // A cleaved signal peptide leads outside.
            EXPECT_EQ(labels[static_cast<std::size_t>(signal.front().end)], kTopologyOutside);
        }
        // Sides alternate across every helix.
        const auto segments = TopologySegments(labels);
        for (std::size_t k = 1; k + 1 < segments.size(); ++k) {
            if (segments[k].label == kTopologyHelix) {
                EXPECT_NE(segments[k - 1].label, segments[k + 1].label);
            }
        }
    }
}

TEST(Topology, AHydrophobicStretchBetweenChargedLoopsIsAHelixWithItsLysinesInside)
{
    const std::string inside = "MSKRKKGSKRRPSGKKRSAKR";
    const std::string core(22, 'L');
    const std::string outside = "DGSENGTDSGSEDSTNGSQESGDNSTEGS";
    struct Case
    {
        const char* what;
        std::string sequence;
        char before;
        char after;
    };
    const Case cases[] = {
        {"inside first", inside + core + outside, kTopologyInside, kTopologyOutside},
        {"outside first", "M" + outside + core + inside.substr(1), kTopologyOutside,
         kTopologyInside},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string labels = PredictTopology(c.sequence);
        const auto helices = Runs(labels, kTopologyHelix);
        ASSERT_EQ(helices.size(), 1u) << labels;
        const auto coreFrom = static_cast<int>(c.sequence.find(core)) + 1;
        const auto coreTo = coreFrom + static_cast<int>(core.size()) - 1;
        // The helix covers the stretch within a few residues at either end.
        EXPECT_LE(std::abs(helices[0].start - coreFrom), 4) << labels;
        EXPECT_LE(std::abs(helices[0].end - coreTo), 4) << labels;
        EXPECT_EQ(labels[static_cast<std::size_t>(helices[0].start - 2)], c.before) << labels;
        EXPECT_EQ(labels[static_cast<std::size_t>(helices[0].end)], c.after) << labels;
    }
}

TEST(Topology, KnownProteins)
{
    struct Case
    {
        const char* file;
        std::size_t helices;
    };
    // Bacteriorhodopsin crosses the membrane seven times; hemoglobin, GFP and
    // serum albumin are soluble.
    const Case cases[] = {
        {"P02945.fasta", 7},
        {"P68871.fasta", 0},
        {"P42212.fasta", 0},
        {"P02769.fasta", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string labels = PredictTopology(ProteinSequence(c.file));
        EXPECT_EQ(Runs(labels, kTopologyHelix).size(), c.helices) << labels;
    }
    // Preproinsulin's signal peptide is cleaved after residue 24.
    const std::string insulin = PredictTopology(ProteinSequence("P01308.fasta"));
    const auto signal = Runs(insulin, kTopologySignal);
    ASSERT_EQ(signal.size(), 1u) << insulin;
    EXPECT_EQ(signal[0].start, 1);
    EXPECT_NEAR(signal[0].end, 24, 2);
}

TEST(Topology, OddInputs)
{
    EXPECT_EQ(PredictTopology(""), "");
    for (const std::string sequence :
         {"M", "X", "MK", "xxxxxxxx", "mkkllllllllllllllllllllllldde"}) {
        SCOPED_TRACE(sequence);
        const std::string labels = PredictTopology(sequence);
        EXPECT_EQ(labels.size(), sequence.size());
        EXPECT_EQ(labels.find_first_not_of("ioHS"), std::string::npos);
    }
    // Lower case reads as upper case.
    const std::string bR = ProteinSequence("P02945.fasta");
    std::string lower = bR;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(c - 'A' + 'a'); });
    EXPECT_EQ(PredictTopology(lower), PredictTopology(bR));
}

TEST(Topology, RecordAndGffTexts)
{
    EXPECT_EQ(TopologyRecordText("sp|P1|X some protein", "MKL", "iiH"),
              ">sp|P1|X some protein\nMKL\niiH\n");
    struct Case
    {
        const char* what;
        const char* name;
        std::string labels;
        const char* gff;
    };
    const Case cases[] = {
        {"no feature", "globin", "iiiiii", ""},
        {"signal peptide then a helix", "p1 description", "SSSSoooHHHHHiiii",
         "p1\tQuorin\tsignal_peptide\t1\t4\t.\t.\t.\tID=p1_SP;to=outside\n"
         "p1\tQuorin\ttransmembrane_helix\t8\t12\t.\t.\t.\tID=p1_TM1;from=outside;to=inside\n"},
        {"helices at both ends", "a;b=c%d", "HHHiiHHoo",
         "a%3Bb%3Dc%25d\tQuorin\ttransmembrane_helix\t1\t3\t.\t.\t.\tID=a%3Bb%3Dc%25d_TM1;"
         "to=inside\n"
         "a%3Bb%3Dc%25d\tQuorin\ttransmembrane_helix\t6\t7\t.\t.\t.\tID=a%3Bb%3Dc%25d_TM2;"
         "from=inside;to=outside\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TopologyGffText(c.name, c.labels), c.gff);
    }
}
