#include "cli/CliRun.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quorin::test {
namespace {

/// Records of the real proteins, numbered, count times over.
std::string manyProteins(int count)
{
    std::string text;
    for (int round = 0; round < count; ++round) {
        for (const char* name : {"P01308", "P02945", "P68871"}) {
            std::string record = ReadFile(DataFile(std::string("proteins/") + name + ".fasta"));
            text += ">r" + std::to_string(round) + " " + record.substr(1);
        }
    }
    return text;
}

// The results and their log are one outcome: when the log cannot be written,
// the results stay as they were too.
TEST(BatchCliTest, ResultsAndLogAreBothNewOrBothOld)
{
    TempDir dir;
    WriteFile(dir / "in.fa", manyProteins(20));
    std::filesystem::create_directory(dir / "logdir");
    const struct
    {
        std::string arguments;
        std::string results;
        std::string log;
        std::string message;
    } rows[] = {
        {"--results r1.txt --log logdir", "r1.txt", "logdir",
         "Cannot write logdir: Is a directory\n"},
        {"--results r2.txt --log nodir/log.txt", "r2.txt", "nodir/log.txt",
         "Cannot write nodir/log.txt: No such file or directory\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const CliRun run = runCli(dir, "batch in.fa --settings s.ini " + row.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, row.message);
        EXPECT_FALSE(std::filesystem::exists(dir / row.results));
    }

    // A disk that holds the new results beside the old log, but not the new
    // log as well.
    const CliRun measure = runCli(dir, "batch in.fa --settings s.ini --results - --no-log");
    ASSERT_EQ(measure.status, 0) << measure.err;
    const std::size_t resultPages = (measure.out.size() + 4095) / 4096;
    const SmallFileSystem disk(dir / "disk", "size=" + std::to_string((resultPages + 1) * 4096));
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << disk.Why();
    }
    WriteFile(dir / "disk" / "r_log.txt", "old log");
    const CliRun full = runCli(dir, "batch in.fa --settings s.ini --results disk/r.txt");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "Cannot write disk/r_log.txt: No space left on device\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "disk" / "r.txt"));
    EXPECT_EQ(ReadFile(dir / "disk" / "r_log.txt"), "old log");
}

} // namespace
} // namespace quorin::test
