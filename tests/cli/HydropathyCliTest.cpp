#include "cli/CliRun.h"
#include "core/PepFile.h"
#include "core/TestFiles.h"
#include "core/TestSketches.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace quorin::test {
namespace {

std::string protein(const std::string& accession)
{
    return "'" + DataFile("proteins/" + accession + ".fasta").string() + "'";
}

TEST(HydropathyCliTest, DefaultsGiveTheExportOfTheWholeSequence)
{
    TempDir dir;
    const CliRun run = runCli(dir, "hydropathy --settings s.ini " + protein("P02945"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, ReadFile(DataFile("golden/hydropathy-P02945.txt")));
    EXPECT_EQ(run.err, "");

    const CliRun helices = runCli(dir, "helices --settings s.ini -o h.txt " + protein("P02945"));
    EXPECT_EQ(helices.status, 0) << helices.err;
    EXPECT_EQ(ReadFile(dir / "h.txt"), ReadFile(DataFile("golden/helices-P02945.txt")));
}

TEST(HydropathyCliTest, OptionsChooseStretchWindowScaleAndDelimiter)
{
    TempDir dir;
    const CliRun run = runCli(dir,
                              "hydropathy --settings s.ini --from 2 --to 4 --window 1 --scale 1 "
                              "--delimiter ';' -",
                              ">pep\nIDKW\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Hydropathyplot of pep\r\n\r\n"
                       "Scale:  Eisenberg Consensus Scale (1983);    W = 1\r\n\r\n"
                       "Residue / Hydropathyvalue\r\n\r\n"
                       "2;-0.9\r\n3;-1.5\r\n4;0.81\r\n");
}

TEST(HydropathyCliTest, ValuesAreCheckedWithTheDialogMessages)
{
    TempDir dir;
    const std::string fasta = ">pep\n" + std::string(30, 'I') + "\n";
    const struct
    {
        std::string options;
        std::string message;
    } rows[] = {
        {"hydropathy --from x", "Enter a valid start value!"},
        {"hydropathy --to 3.5", "Enter a valid end value!"},
        {"hydropathy --from 5 --to 5", "Entered value is outside the limits."},
        {"hydropathy --to 31", "Entered value is outside the limits."},
        {"hydropathy --window -1", "Enter a valid value for sliding window!"},
        {"hydropathy --window 12", "Entered value for sliding window is outside the limits!"},
        {"hydropathy --threshold 1,6", "Enter a valid hydropathy threshold!"},
        {"helices --threshold -2", "Enter a valid hydropathy threshold!"},
        {"helices --scale 2", "No hydropathy scale 2: the settings hold 2 (0 to 1)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.options);
        const CliRun run = runCli(dir, row.options + " --settings s.ini -", fasta);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, row.message + "\n");
    }
    for (const char* options :
         {"hydropathy --scale one", "hydropathy --delimiter ''", "helices --window 3"}) {
        SCOPED_TRACE(options);
        EXPECT_EQ(runCli(dir, std::string(options) + " --settings s.ini -", fasta).status, 2);
    }
}

TEST(HydropathyCliTest, XCountsAsAPositionAndAWindowLongerThanTheSequenceGivesNoRows)
{
    TempDir dir;
    const CliRun run = runCli(dir, "hydropathy --settings s.ini --window 1 -", ">p\nIXI\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("1\t4.5\r\n2\t-4.5\r\n3\t4.5\r\n"), std::string::npos) << run.out;

    const CliRun wide = runCli(dir, "hydropathy --settings s.ini --window 5 -", ">p\nIXI\n");
    EXPECT_EQ(wide.status, 0) << wide.err;
    EXPECT_EQ(wide.out.substr(wide.out.size() - 29), "Residue / Hydropathyvalue\r\n\r\n");

    const CliRun none = runCli(dir, "helices --settings s.ini -", ">p\n" + std::string(20, 'I'));
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

#ifdef QUORIN_CLI_RENDER
TEST(HydropathyCliTest, RenderWritesThePageInTheFormatOfTheEnding)
{
    TempDir dir;
    const struct
    {
        std::string name;
        std::string start;
    } rows[] = {{"p.svg", "<?xml"},
                {"p.pdf", "%PDF"},
                {"p.png", "\x89PNG"},
                {"p.emf", std::string("\x01\0\0\0", 4)}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CliRun run =
            runCli(dir, "render hydropathy --settings s.ini --window 7 --mark 82 -o " + row.name +
                            " " + protein("P02945"));
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, ""); // no notes from the toolkit either
        EXPECT_EQ(ReadFile(dir / row.name).substr(0, row.start.size()), row.start);
    }
    EXPECT_NE(ReadFile(dir / "p.svg").find("W = 7"), std::string::npos);

    // Pages are saved as other files are: through a link, which stays.
    const std::string before = ReadFile(dir / "p.pdf");
    std::filesystem::create_symlink("p.pdf", dir / "link.pdf");
    const CliRun linked =
        runCli(dir, "render hydropathy --settings s.ini -o link.pdf " + protein("P01308"));
    EXPECT_EQ(linked.status, 0) << linked.err;
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.pdf"));
    EXPECT_NE(ReadFile(dir / "p.pdf"), before);
}

TEST(HydropathyCliTest, RenderRefusesWhatTheDialogRefusesAndWrongUsage)
{
    TempDir dir;
    const CliRun refused =
        runCli(dir, "render hydropathy --settings s.ini --window 4 -o p.svg " + protein("P02945"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Entered value for sliding window is outside the limits!\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "p.svg"));

    const CliRun unwritable =
        runCli(dir, "render hydropathy --settings s.ini -o no/dir/p.emf " + protein("P02945"));
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err, "Cannot write no/dir/p.emf: No such file or directory\n");

    const CliRun wheel = runCli(dir, "render wheel --settings s.ini --from 44 --to 44 -o w.png " +
                                         protein("P01501"));
    EXPECT_EQ(wheel.status, 1);
    EXPECT_EQ(wheel.err, "Entered value is outside the limits!\n");

    for (const char* usage :
         {"render hydropathy --settings s.ini", "render hydropathy --settings s.ini -o p.gif",
          "render wheel --settings s.ini --from 1 --to 9 --window 3 -o p.svg",
          "render wheel --settings s.ini -o p.svg", "render hydropathy --mark 0 -o p.svg",
          "render hydropathy --text 12 -o p.svg"}) {
        SCOPED_TRACE(usage);
        EXPECT_EQ(runCli(dir, std::string(usage) + " " + protein("P02945")).status, 2);
    }
}

TEST(HydropathyCliTest, RenderDomainsDrawsASketchWhoseFontsHaveExtremeHeights)
{
    // Heights no page can draw: negating INT32_MIN, or scaling INT32_MAX for
    // the metafile, overflows unless they are held first.
    TempDir dir;
    const core::PropertyRecord record = SketchWithFontHeights({INT32_MIN, INT32_MAX, -1, 1});
    WriteFile(dir / "fonts.pep", core::StoreSequenceBytes(record, true));
    for (const std::string name : {"s.svg", "s.pdf", "s.png", "s.emf"}) {
        SCOPED_TRACE(name);
        const CliRun run = runCli(dir, "render domains --settings s.ini -o " + name + " fonts.pep");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_FALSE(ReadFile(dir / name).empty());
    }
}

TEST(HydropathyCliTest, AMetafileThatTheTemporaryFolderCannotHoldNamesItsFile)
{
    // No byte may be written (as in a full folder); writes fail instead of
    // stopping the program. Standard error goes through a pipe, which holds.
    TempDir dir;
    std::filesystem::create_directory(dir / "tmp");
    ASSERT_EQ(runCli(dir, "props --settings s.ini -", ">p\nMKV\n").status, 0);
    const std::string command =
        "cd '" + dir.Path().string() + "' && trap '' XFSZ && ulimit -f 0 && TMPDIR='" +
        (dir / "tmp").string() + "' QUORIN_REGISTRY='" + (dir / "registry.ini").string() +
        "' '" QUORIN_CLI "' render hydropathy --settings s.ini -o p.emf " + protein("P02945") +
        " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string err;
    char buffer[4096];
    for (std::size_t n = 0; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        err.append(buffer, n);
    }
    const int status = pclose(pipe);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    const std::string folder = "Cannot write p.emf: " + (dir / "tmp").string() + "/quorin-";
    EXPECT_NE(err.find(folder), std::string::npos) << err;
    EXPECT_NE(err.find("/page.emf: File too large\n"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(dir / "p.emf"));
    for (const auto& entry : std::filesystem::directory_iterator(dir / "tmp")) {
        EXPECT_NE(entry.path().filename().string().substr(0, 7), "quorin-") << entry.path();
    }
}
#endif

} // namespace
} // namespace quorin::test
