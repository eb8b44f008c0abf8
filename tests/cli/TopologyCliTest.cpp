#include "analysis/Topology.h"
#include "cli/CliRun.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace quorin::test {
namespace {

using analysis::PredictTopology;

// Two records as people write them: a long header, lower case, blanks and
// digits in the residue lines, CR LF line ends, B/Z that the program drops.
const std::string kInput =
    ">bR bacteriorhodopsin fragment\r\n"
    "MLELLPTAVE GVSQAQITGR PEWIWLALGT ALMGLGTLYF LVKGMGVSDP DAKKFYAITT\r\n"
    "lvpaiaftmy lsmllgygltmvpfggeqnpiywaryadwlfttpllllDLALLVDADQGTILALVGADGIMI\r\n"
    ">globin\nMVHLTPEEKSAVTALWGKVNVDEVGGEALGRLLVVYPWTQRFFESFGDLSTPDAVMGNPKVKAHGKKVLG\n"
    "1 AFSDGLAHLDNLKGTFATLSELHCDKLHVDPENFRLLGNVLVCVLAHHFGKEFTPPVQAAYQKVVAGVANALAHKYH*\n";

std::string Clean(const std::string& lines)
{
    std::string out;
    for (const char c : lines)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            if (c != 'B' && c != 'Z')
                out += static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
    return out;
}

TEST(TopologyCliTest, ThreeLinesPerRecordInInputOrder)
{
    TempDir dir;
    const std::string first =
        Clean(kInput.substr(kInput.find('\n') + 1, kInput.find(">globin") - kInput.find('\n') - 1));
    const std::string second = Clean(kInput.substr(kInput.find(">globin") + 8));
    const std::string expected = ">bR bacteriorhodopsin fragment\n" + first + "\n" +
                                 PredictTopology(first) + "\n>globin\n" + second + "\n" +
                                 PredictTopology(second) + "\n";
    for (const char* jobs : {"1", "3"}) {
        SCOPED_TRACE(jobs);
        const CliRun run = runCli(dir, std::string("topology --jobs ") + jobs + " -", kInput);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expected);
        EXPECT_EQ(run.err, "");
    }
    // The fragment's helices are found; the globin has none.
    EXPECT_NE(PredictTopology(first).find('H'), std::string::npos);
    EXPECT_EQ(PredictTopology(second).find('H'), std::string::npos);
}

TEST(TopologyCliTest, GffLinesForHelicesAndSignalPeptides)
{
    TempDir dir;
    const std::string file = "'" + DataFile("proteins/P02945.fasta").string() + "'";
    const CliRun run = runCli(dir, "topology --gff -o out.gff " + file);
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string gff = ReadFile(dir / "out.gff");
    ASSERT_EQ(gff.rfind("##gff-version 3\n", 0), 0u) << gff;
    const std::string threeLines = runCli(dir, "topology " + file).out;
    const auto labelsAt = threeLines.rfind('\n', threeLines.size() - 2) + 1;
    const std::string labels = threeLines.substr(labelsAt, threeLines.size() - labelsAt - 1);
    const std::string name = threeLines.substr(1, threeLines.find('\n') - 1);
    EXPECT_EQ(gff, "##gff-version 3\n" + analysis::TopologyGffText(name, labels));
    std::size_t helices = 0;
    for (std::size_t at = gff.find("\ttransmembrane_helix\t"); at != std::string::npos;
         at = gff.find("\ttransmembrane_helix\t", at + 1))
        ++helices;
    EXPECT_EQ(helices, 7u);
}

TEST(TopologyCliTest, RefusesWhatHoldsNoRecordAndWrongUsage)
{
    TempDir dir;
    const struct
    {
        std::string arguments;
        std::string input;
        int status;
        std::string error;
    } rows[] = {
        {"topology -", "", 1, "File not found!\n"},
        {"topology -", "MKL\n", 1, "File not found!\n"},
        {"topology missing.fasta", "", 1, "File not found!\n"},
        {"topology --jobs 0 -", ">a\nMK\n", 2, "quorin-cli topology: --jobs takes"},
        {"topology --svg -", ">a\nMK\n", 2, "quorin-cli topology: "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CliRun run = runCli(dir, row.arguments, row.input);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(row.error, 0), 0u) << run.err;
    }
}

} // namespace
} // namespace quorin::test
