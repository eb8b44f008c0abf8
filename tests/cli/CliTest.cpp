#include "cli/CliRun.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorin::test {
namespace {

TEST(CliTest, PropsPrintsTheReportFromAFileStandardInputOrIntoAFile)
{
    TempDir dir;
    const std::string protein = DataFile("proteins/P02945.fasta").string();
    const std::string golden = ReadFile(DataFile("golden/props-P02945.txt"));

    const CliRun fromFile = runCli(dir, "props --settings s.ini '" + protein + "'");
    EXPECT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(fromFile.out, golden);
    EXPECT_EQ(fromFile.err, "");

    const CliRun fromStdin = runCli(dir, "props --settings s.ini -", ReadFile(protein));
    EXPECT_EQ(fromStdin.out, golden);

    const CliRun toFile = runCli(dir, "props -o report.txt --settings s.ini '" + protein + "'");
    EXPECT_EQ(toFile.status, 0);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(ReadFile(dir / "report.txt"), golden);
}

TEST(CliTest, OnlyTheFirstFastaRecordIsRead)
{
    TempDir dir;
    const CliRun run = runCli(dir, "props --settings s.ini -", ">a > b\nWW\n>second\nKKKK\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, 37), "Physico-chemical Properties of a > b\r");
    EXPECT_NE(run.out.find("W: 2   (100%)"), std::string::npos) << run.out;
}

TEST(CliTest, WithoutSettingsOptionTheUserDataDirectoryIsUsed)
{
    TempDir dir;
    std::filesystem::create_directories(dir / "data");
    WriteFile(dir / "registry.ini", "[Settings]\nUser data=" + (dir / "data").string() + "\n");
    const CliRun run = runCli(dir, "props -", ">P1\nMKV\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadFile(dir / "data" / "quorin.ini").find("[Hydropathy Index]"), std::string::npos);

    // With no "User data" the start directory holds the settings file.
    TempDir plain;
    EXPECT_EQ(runCli(plain, "props -", ">P1\nMKV\n").status, 0);
    EXPECT_TRUE(std::filesystem::exists(plain / "quorin.ini"));
}

TEST(CliTest, TheSettingsChangeTheReport)
{
    TempDir dir;
    WriteFile(dir / "s.ini", "[AA-Properties]\nMolecular weights=0;100;0;0;0;0;0;0;0;0;0;0;0;0;0;"
                             "0;0;0;0;0;0;0\n");
    const CliRun run = runCli(dir, "props --settings s.ini -", ">P\nAAA\n");
    EXPECT_NE(run.out.find("Molecular Weight: 318 Da\r\n"), std::string::npos) << run.out;
}

TEST(CliTest, RefusedInputExitsWithOneAndOneLine)
{
    TempDir dir;
    WriteFile(dir / "noheader.fasta", ">only a header without a line break");
    const struct
    {
        std::string arguments;
        std::string message;
    } rows[] = {
        {"props --settings s.ini noheader.fasta", "File corrupted or not Quorin-format !\n"},
        {"props --settings s.ini missing.fasta", "Cannot open missing.fasta\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CliRun run = runCli(dir, row.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, row.message);
    }
    const CliRun pep = runCli(dir, "props --settings s.ini -", "QPEP");
    EXPECT_EQ(pep.status, 1);
    EXPECT_EQ(std::count(pep.err.begin(), pep.err.end(), '\n'), 1);
}

TEST(CliTest, WrongUsageExitsWithTwoAndHelpWithZero)
{
    TempDir dir;
    for (const char* arguments :
         {"", "nonsense x", "props", "props a b", "props --bogus x", "props -o"}) {
        SCOPED_TRACE(arguments);
        const CliRun run = runCli(dir, arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("usage: quorin-cli"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    for (const char* arguments : {"--help", "props --help"}) {
        SCOPED_TRACE(arguments);
        const CliRun run = runCli(dir, arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("usage: quorin-cli"), std::string::npos);
    }
}

} // namespace
} // namespace quorin::test
