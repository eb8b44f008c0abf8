#include "cli/CliRun.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quorin::test {
namespace {

// Lys-C cuts AKPKGRK after K4 only (K2 stands before P, K7 at the end).
constexpr const char* kProtein = ">p\nAKPKGRK\n";

TEST(EnzymeCliTest, DigestWithAnEnzymeWritesItsTableOrRefuses)
{
    TempDir dir;
    const struct
    {
        std::string arguments;
        int status;
        std::string out;
        std::string err;
    } rows[] = {
        {"--enzyme lys-c --tsv", 0,
         "start\tend\tmissed\tsequence\n1\t4\t0\tAKPK\n1\t7\t1\tAKPKGRK\n5\t7\t0\tGRK\n", ""},
        {"--enzyme Lys-C --specificity semi --max-missed 0 --min-length 3 --max-length 3 --tsv", 0,
         "start\tend\tmissed\tsequence\n1\t3\t0\tAKP\n2\t4\t0\tKPK\n5\t7\t0\tGRK\n", ""},
        // The count is known before any line is written: 7 * 8 / 2 stretches.
        {"--enzyme Lys-C --specificity none --max-fragments 28 --tsv", 0, "", ""},
        {"--enzyme Lys-C --specificity none --max-fragments 27 --tsv", 1, "",
         "The digest would make 28 fragments, more than the 27 this machine allows.\n"},
        {"--enzyme Lys-C --csv --sort start --max-missed 0", 0,
         "start,end,length,missed,mass\r\n1,4,4,0,442.5700\r\n5,7,3,0,359.4300\r\n", ""},
        {"--enzyme Pepsin", 2, "", "quorin-cli digest: --enzyme takes one of Trypsin, "},
        {"--enzyme Trypsin --agent Trypsin", 2, "",
         "quorin-cli digest: --enzyme and --agent do not go together\n"},
        {"--enzyme Trypsin --complete", 2, "", "quorin-cli digest: --complete goes with --agent"},
        {"--enzyme Trypsin --tsv --csv", 2, "", "quorin-cli digest: --tsv lists the peptides"},
        {"--enzyme Trypsin --specificity partial", 2, "",
         "quorin-cli digest: --specificity takes full, semi or none, not \"partial\"\n"},
        {"--agent Trypsin --tsv", 2, "", "quorin-cli digest: --tsv goes with --enzyme\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CliRun run = runCli(dir, "digest --settings s.ini - " + row.arguments, kProtein);
        EXPECT_EQ(run.status, row.status);
        if (!row.out.empty()) {
            EXPECT_EQ(run.out.substr(0, row.out.size()), row.out);
        }
        EXPECT_EQ(run.err.substr(0, row.err.size()), row.err);
        if (row.status != 0) {
            EXPECT_EQ(run.out, "");
        }
    }
}

TEST(EnzymeCliTest, BatchDigestWithAnEnzymeListsEveryRecordsPeptidesOrNone)
{
    TempDir dir;
    WriteFile(dir / "in.fasta", ">a one\nAKPKGRK\n>b\nKKA\n");
    const CliRun run = runCli(dir, "batch --settings s.ini in.fasta --digest --enzyme Lys-C "
                                   "--max-missed 1 --min-length 2 --jobs 2");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(dir / "in_digest.txt"), ">a one_0\r\nAKPK\r\n>a one_1\r\nAKPKGRK\r\n"
                                               ">a one_2\r\nGRK\r\n>b_0\r\nKK\r\n>b_1\r\nKA\r\n");

    // One record beyond the ceiling refuses the whole file before it is begun.
    std::filesystem::remove(dir / "in_digest.txt");
    const CliRun refused = runCli(dir, "batch --settings s.ini in.fasta --digest --enzyme Lys-C "
                                       "--specificity none --max-fragments 27");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "a one: The digest would make 28 fragments, more than the 27 this machine allows.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "in_digest.txt"));

    for (const std::string arguments :
         {"--enzyme Lys-C", "--digest --enzyme Lys-C --agent Trypsin", "--min-length 3"}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(runCli(dir, "batch --settings s.ini in.fasta " + arguments).status, 2);
    }
}

} // namespace
} // namespace quorin::test
