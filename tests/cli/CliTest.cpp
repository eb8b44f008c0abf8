#include "cli/CliRun.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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
}

// A first run on a new machine: without "User data" the settings live in
// $XDG_DATA_HOME/quorin (an absolute XDG_DATA_HOME only), else
// ~/.local/share/quorin; that folder gets the starter settings, so that a
// digest by Trypsin works at once, and the current folder stays as it was.
// A settings file that is there already is never replaced.
TEST(CliTest, TheFirstRunPlacesTheStarterSettingsInTheUserDataDirectory)
{
    TempDir elsewhere;
    WriteFile(elsewhere / "trypsin.ini", "[Cleaving Agents]\n0=Trypsin:K!;R!\n");
    const std::string insulin = "'" + DataFile("proteins/P01308.fasta").string() + "'";
    const CliRun expected =
        runCli(elsewhere, "digest --agent Trypsin --settings trypsin.ini " + insulin);
    ASSERT_EQ(expected.status, 0) << expected.err;

    const std::string home = (elsewhere / "home").string();
    const struct
    {
        std::string environment;
        std::filesystem::path settings;
    } rows[] = {
        {"XDG_DATA_HOME='" + (elsewhere / "xdg").string() + "' HOME='" + home + "'",
         elsewhere / "xdg" / "quorin" / "quorin.ini"},
        {"-u XDG_DATA_HOME HOME='" + home + "'", elsewhere / "home/.local/share/quorin/quorin.ini"},
        {"XDG_DATA_HOME=relative HOME='" + (elsewhere / "other home").string() + "'",
         elsewhere / "other home/.local/share/quorin/quorin.ini"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.environment);
        TempDir start;
        const CliRun run = runCli(start, "digest --agent Trypsin " + insulin, "", row.environment);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, expected.out);
        const std::string placed = ReadFile(row.settings);
        EXPECT_EQ(placed.rfind("; Quorin starter settings", 0), 0u);
        EXPECT_NE(placed.find("\n0=Trypsin:K!;R!\r\n"), std::string::npos);
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::directory_iterator(start.Path())) {
            left.push_back(entry.path().filename().string());
        }
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"stderr.txt", "stdin.txt"}));

        WriteFile(row.settings, "[Cleaving Agents]\r\n0=Mine:K!\r\n");
        const CliRun mine = runCli(start, "digest --agent Trypsin " + insulin, "", row.environment);
        EXPECT_EQ(mine.err, "No cleaving agent named \"Trypsin\" in the settings\n");
        EXPECT_EQ(ReadFile(row.settings).substr(0, 30), "[Cleaving Agents]\r\n0=Mine:K!\r\n");
    }
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
    WriteFile(dir / "utf16.fasta", std::string("\xFF\xFE>\0P\0\n\0M\0", 10));
    const struct
    {
        std::string arguments;
        std::string message;
    } rows[] = {
        {"props --settings s.ini noheader.fasta", "File corrupted or not Quorin-format !\n"},
        {"props --settings s.ini missing.fasta",
         "Cannot open missing.fasta: No such file or directory\n"},
        {"props --settings s.ini .", "Cannot open .: Is a directory\n"},
        {"props --settings s.ini /dev/null", "Cannot open /dev/null: It is a device, not a file\n"},
        {"props --settings s.ini utf16.fasta",
         "utf16.fasta: The file is UTF-16 text; save it as UTF-8 or plain ASCII.\n"},
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

TEST(CliTest, WrongUsageExitsWithTwoHelpAndVersionWithZero)
{
    TempDir dir;
    for (const char* arguments :
         {"", "nonsense x", "props", "props a b", "props --bogus x", "props -o"}) {
        SCOPED_TRACE(arguments);
        const CliRun run = runCli(dir, arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("Usage: quorin-cli"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
    for (const char* arguments : {"--help", "props --help"}) {
        SCOPED_TRACE(arguments);
        const CliRun run = runCli(dir, arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Usage: quorin-cli"), std::string::npos);
    }
    const CliRun version = runCli(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "quorin-cli 3.01\n");
    // convert takes OUT as its second argument and refuses -o.
    const CliRun convert = runCli(dir, "convert --help");
    EXPECT_NE(convert.out.find("--settings PATH"), std::string::npos);
    EXPECT_EQ(convert.out.find("-o PATH"), std::string::npos);
}

TEST(CliTest, ConvertWritesThePepFormatOrTheFastaExportBytes)
{
    TempDir dir;
    WriteFile(dir / "p1.fasta", ">P1\nmk v\n>P2\nWW\n");
    const std::string pep = std::string("Quorin 3.0\0\x02\0\x03\0\0\0\0\0\0P1MKV", 20 + 5);

    const CliRun toPep = runCli(dir, "convert --settings s.ini p1.fasta p1.pep");
    EXPECT_EQ(toPep.status, 0) << toPep.err;
    EXPECT_EQ(toPep.out, "");
    EXPECT_EQ(ReadFile(dir / "p1.pep"), pep);

    EXPECT_EQ(runCli(dir, "convert --settings s.ini p1.pep back.txt").status, 0);
    EXPECT_EQ(ReadFile(dir / "back.txt"), ">P1\r\nMKV");
    EXPECT_EQ(runCli(dir, "convert --settings s.ini p1.pep -").out, ">P1\r\nMKV");
    EXPECT_EQ(runCli(dir, "convert --settings s.ini - UPPER.PEP", ">P1\r\nMKV").status, 0);
    EXPECT_EQ(ReadFile(dir / "UPPER.PEP"), pep);
}

TEST(CliTest, EveryCommandReadsPepFiles)
{
    TempDir dir;
    const std::string protein = DataFile("proteins/P02945.fasta").string();
    ASSERT_EQ(runCli(dir, "convert --settings s.ini '" + protein + "' p.pep").status, 0);
    const CliRun run = runCli(dir, "props --settings s.ini p.pep");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, ReadFile(DataFile("golden/props-P02945.txt")));
}

TEST(CliTest, RefusedPepFilesAndFailedConversionsExitWithOne)
{
    TempDir dir;
    WriteFile(dir / "p1.fasta", ">P1\nMKV\n");
    WriteFile(dir / "cut.pep", std::string("Quorin 3.0\0\x02\0\x03\0\0\0\0\0\0P1M", 20 + 3));
    WriteFile(dir / "text.pep", "This is no sequence file at all.");
    const struct
    {
        std::string arguments;
        std::string message;
    } rows[] = {
        {"props --settings s.ini cut.pep",
         "cut.pep: The file ends before all of its data could be read.\n"},
        {"convert --settings s.ini cut.pep out.pep",
         "cut.pep: The file ends before all of its data could be read.\n"},
        {"convert --settings s.ini text.pep out.pep", "File corrupted or not Quorin-format !\n"},
        {"convert --settings s.ini p1.fasta nodir/out.pep",
         "Cannot write nodir/out.pep: No such file or directory\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CliRun run = runCli(dir, row.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, row.message);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.pep"));

    for (const char* arguments :
         {"convert p1.fasta", "convert p1.fasta a.pep b.pep", "convert -o x.txt p1.fasta y.txt"}) {
        SCOPED_TRACE(arguments);
        EXPECT_EQ(runCli(dir, arguments).status, 2);
    }
}

constexpr const char* kAgents = "[Cleaving Agents]\n"
                                "0=Trypsin:K!;R!\n"
                                "1=Lys-C:K!\n"
                                "2=Asp-N:X!D\n"
                                "3=Trypsin:W!\n";

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2) {
        out.push_back(text.substr(begin, end - begin));
    }
    EXPECT_EQ(begin, text.size()) << "text does not end with CR LF";
    return out;
}

TEST(CliTest, DigestPrintsTheReportFromAFileOrIntoAFile)
{
    TempDir dir;
    WriteFile(dir / "s.ini", kAgents);
    const std::string protein = DataFile("proteins/P01308.fasta").string();
    const std::string golden = ReadFile(DataFile("golden/digest-P01308-trypsin.txt"));

    const CliRun fromFile =
        runCli(dir, "digest --settings s.ini '" + protein + "' --agent Trypsin");
    EXPECT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(fromFile.out, golden);
    EXPECT_EQ(fromFile.err, "");

    const CliRun toFile = runCli(
        dir, "digest -o d.txt --agent Trypsin --settings s.ini --sort weight '" + protein + "'");
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(ReadFile(dir / "d.txt"), golden);
}

TEST(CliTest, DigestAgentsCombineInTheOrderGivenFirstOfANameWinning)
{
    TempDir dir;
    WriteFile(dir / "s.ini", std::string(kAgents) + "[Setup Options]\nCharacters per line=8\n");
    const CliRun run =
        runCli(dir, "digest --settings s.ini - --agent Asp-N --agent Trypsin --agent Asp-N",
               ">p\nAKDRWDAW\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> got = lines(run.out);
    ASSERT_GT(got.size(), 20U);
    // X!D cuts before D at 2 and 5, K!;R! after K and R; W! is the second
    // Trypsin's and never used. The list wraps at 8 characters.
    EXPECT_EQ(std::vector<std::string>(got.begin() + 6, got.begin() + 17),
              (std::vector<std::string>{"Asp-N               (X!D)", "Trypsin             (K!;R!)",
                                        "", "List of cleavable sites", "-----------------------",
                                        "", "2, 2, 4, ", "5", "", "List of proteolytic fragments",
                                        "-----------------------------"}));
}

TEST(CliTest, DigestRefusalsUseTheProgramsMessages)
{
    TempDir dir;
    WriteFile(dir / "agents.ini", kAgents);
    WriteFile(dir / "none.ini", "[Setup Options]\nOutput Font Size=11\n");
    WriteFile(dir / "unnamed.ini", "[Cleaving Agents]\n0=\n1=Lys-C:K!\n");
    const struct
    {
        std::string arguments;
        int status;
        std::string message;
    } rows[] = {
        {"--settings none.ini --agent Trypsin", 1, "No cleaving agents defined!\n"},
        {"--settings unnamed.ini --agent Lys-C", 1, "No cleaving agents defined!\n"},
        {"--settings agents.ini --agent Trypsin --agent Pepsin", 1,
         "No cleaving agent named \"Pepsin\" in the settings\n"},
        {"--settings agents.ini --agent trypsin", 1,
         "No cleaving agent named \"trypsin\" in the settings\n"},
        {"--settings agents.ini", 2, "quorin-cli digest: Select an agent!\n"},
        {"--settings agents.ini --agent Trypsin --sort mass", 2,
         "quorin-cli digest: --sort takes start, length or weight, not \"mass\"\n"},
        {"--settings agents.ini --agent", 2, "quorin-cli digest: --agent needs a value\n"},
        {"--settings agents.ini --agent Trypsin --csv --charges 2,1,2", 2,
         "quorin-cli digest: The charge state 2 is listed twice!\n"},
        {"--settings agents.ini --agent Trypsin --csv --charges 101", 2,
         "quorin-cli digest: --charges takes charge states from 1 to 100, not 101\n"},
        {"--settings agents.ini --agent Trypsin --min-length 5 --max-length 4", 2,
         "quorin-cli digest: The minimum length is greater than the maximum length!\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CliRun run = runCli(dir, "digest - " + row.arguments, ">p\nMKV\n");
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, row.message.size()), row.message);
        if (row.status == 1) {
            EXPECT_EQ(run.err, row.message);
        }
    }
}

TEST(LimitsTest, ADigestBeyondTheCeilingExitsWithOneAndWritesNothing)
{
    TempDir dir;
    // Eight agents cutting after every residue of titin would make 3.8e10
    // fragments: beyond the default ceiling of any machine with less than
    // 7 TB of memory. Refused, they allocate nothing.
    std::string agents = kAgents;
    for (int i = 0; i < 8; ++i) {
        agents += std::to_string(4 + i) + "=All" + std::to_string(i) + ":X!\n";
    }
    WriteFile(dir / "s.ini", agents);
    const std::string titin = "'" + DataFile("proteins/Q8WZ42.fasta").string() + "'";
    const struct
    {
        std::string arguments;
        int status;
        std::string message;
    } rows[] = {
        {"- --agent Trypsin --max-fragments 5", 1,
         "The digest would make 6 fragments, more than the 5 this machine allows.\n"},
        {"- --agent Trypsin --max-fragments 3 --complete", 0, ""},
        {"- --agent Trypsin --max-fragments 2 --complete", 1,
         "The digest would make 3 fragments, more than the 2 this machine allows.\n"},
        {titin + " --agent All0 --agent All1 --agent All2 --agent All3 --agent All4 --agent All5 "
                 "--agent All6 --agent All7",
         1, "The digest would make 37,755,733,821 fragments, more than the "},
        {"- --agent Trypsin --max-fragments 0", 2, "quorin-cli digest: --max-fragments takes"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CliRun run =
            runCli(dir, "digest --settings s.ini -o d.txt " + row.arguments, ">p\nAKRA\n");
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err.substr(0, row.message.size()), row.message);
        EXPECT_EQ(std::filesystem::exists(dir / "d.txt"), row.status == 0);
        std::filesystem::remove(dir / "d.txt");
    }
}

TEST(LimitsTest, AMotifSearchBeyondTheCeilingExitsWithOneAndWritesNothing)
{
    // 3,000 all-"X" motifs over a million residues: 3e9 sites, more than any
    // ceiling (a count of sites must fit an int), counted without a comparison.
    TempDir dir;
    std::string search = "X";
    for (int i = 1; i < 3000; ++i) {
        search += ";X";
    }
    const CliRun run = runCli(dir, "motifs --settings s.ini -o m.txt - '" + search + "'",
                              ">p\n" + std::string(1000000, 'A') + "\n");
    EXPECT_EQ(run.status, 1);
    const std::string message = "The motif search would find 3,000,000,000 sites, more than the ";
    EXPECT_EQ(run.err.substr(0, message.size()), message);
    EXPECT_FALSE(std::filesystem::exists(dir / "m.txt"));
}

TEST(CliSettingsTest, AModificationWithoutAUsableMassIsReportedAndNotSearchedFor)
{
    TempDir dir;
    WriteFile(dir / "s.ini",
              std::string(kAgents) + "[Modifications]\n0=Zero:K;nan\n1=Acetyl:K;42.01\n");
    const std::string refused = "The setting \"0\" in [Modifications] holds a mass that is not a "
                                "plain decimal number; the modification is left out.\n";
    const CliRun zero =
        runCli(dir, "modfinder --settings s.ini - --agent Trypsin --mod Zero --weight 147.2",
               ">p\nAKRA\n");
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(zero.out, "");
    EXPECT_EQ(zero.err, refused + "No modification named \"Zero\" in the settings\n");
    const CliRun acetyl =
        runCli(dir, "modfinder --settings s.ini - --agent Trypsin --mod Acetyl --weight 260",
               ">p\nAKRA\n");
    EXPECT_EQ(acetyl.status, 0) << acetyl.err;
    EXPECT_EQ(acetyl.err, refused);
}

TEST(CliSettingsTest, ASettingsFileThatCanBeNeitherReadNorCreatedExitsWithOne)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    const struct
    {
        std::string path;
        std::string message;
    } rows[] = {
        {"sub", "Cannot use the settings file sub: it is a directory\n"},
        {"nodir/s.ini",
         "Cannot use the settings file nodir/s.ini: the folder nodir does not exist\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const CliRun run = runCli(dir, "props --settings " + row.path + " -", ">P\nMKV\n");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, row.message);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "nodir"));
}

TEST(CliSettingsTest, ANonFiniteScaleIsReportedOnceAndPredictsNoHelices)
{
    TempDir dir;
    std::string scale = "0=Not a number";
    for (int i = 0; i < 22; ++i) {
        scale += ";nan";
    }
    WriteFile(dir / "s.ini", "[Hydropathy Index]\r\n" + scale + "\r\n");
    const CliRun run = runCli(dir, "helices --settings s.ini --scale 0 '" +
                                       DataFile("proteins/P02945.fasta").string() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "The setting \"0\" in [Hydropathy Index] holds a number that is not "
                       "finite; its default is used instead.\n");
}

} // namespace
} // namespace quorin::test
