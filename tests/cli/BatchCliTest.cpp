#include "cli/CliRun.h"
#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <zlib.h>

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

/// Many small records, about size bytes of them.
std::string manyRecords(std::size_t size)
{
    std::string text;
    for (int n = 0; text.size() < size; ++n) {
        text += ">p" + std::to_string(n) + "\nMKVLAAGRKDEFPQWYHHLLKRSTVCNMKVLAAGRKDEFPQWY\n";
    }
    return text;
}

std::string gzipped(const std::string& text)
{
    z_stream stream{};
    EXPECT_EQ(
        ::deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY),
        Z_OK);
    std::string packed(::deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    EXPECT_EQ(::deflate(&stream, Z_FINISH), Z_STREAM_END);
    packed.resize(stream.total_out);
    ::deflateEnd(&stream);
    return packed;
}

/// The names in dir, but the files runCli and startCli keep there.
std::vector<std::string> outputsIn(const TempDir& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        const std::string name = entry.path().filename().string();
        if (name != "stdin.txt" && name != "stdout.txt" && name != "stderr.txt" &&
            name != "registry.ini" && name != "s.ini") {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Compressed data that end early or are corrupt are no shorter input: the
// batch refuses them and writes nothing.
TEST(BatchCliTest, CompressedDataThatEndEarlyOrAreCorruptWriteNothing)
{
    TempDir dir;
    const std::string packed = gzipped(manyProteins(30));
    std::string garbled = packed;
    for (std::size_t i = packed.size() / 2; i < packed.size() / 2 + 32; ++i) {
        garbled[i] = static_cast<char>(garbled[i] ^ 0x55);
    }
    const struct
    {
        std::string name;
        std::string bytes;
    } rows[] = {
        {"cut.fa.gz", packed.substr(0, packed.size() * 2 / 3)},
        {"garbled.fa.gz", garbled},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteFile(dir / row.name, row.bytes);
        const CliRun run = runCli(dir, "batch --settings s.ini " + row.name);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, row.name + ": the compressed data are truncated or corrupt\n");
        EXPECT_EQ(outputsIn(dir), std::vector<std::string>{row.name});
        std::filesystem::remove(dir / row.name);
    }
    WriteFile(dir / "whole.fa.gz", packed);
    const CliRun whole = runCli(dir, "batch --settings s.ini whole.fa.gz --results - --no-log");
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_EQ(std::count(whole.out.begin(), whole.out.end(), '\n'), 1 + 90 + 5);
}

// A batch digest's size is known before it starts: a record whose digest
// passes the fragment ceiling, or a digest file larger than the room on its
// disk, is refused before anything is written.
TEST(BatchCliTest, ADigestBeyondItsCeilingOrItsDiskIsRefusedBeforeItStarts)
{
    TempDir dir;
    WriteFile(dir / "s.ini", "[Cleaving Agents]\r\n0=Trypsin:K!;R!\r\n1=Every residue:X!\r\n");
    WriteFile(dir / "in.fa", ">small\nMKVLRA\n>large one\n" + std::string(200, 'A') + "\n");
    const SmallFileSystem disk(dir / "disk", "size=64k");
    const struct
    {
        std::string arguments;
        int status;
        std::string message;
    } rows[] = {
        {"--agent Trypsin --max-fragments 5 --results d.txt", 1,
         "small: The digest would make 6 fragments, more than the 5 this machine allows.\n"},
        {"--agent 'Every residue' --max-fragments 20000 --results d.txt", 1,
         "large one: The digest would make 20,100 fragments, more than the 20,000 this machine "
         "allows.\n"},
        // 200 residues cut after each make 20,100 fragments of 1,353,400
        // residues in all, each with ">large one_", its number and two line
        // ends; the small record adds 319 bytes.
        {"--agent 'Every residue' --results disk/d.txt", 1,
         "Cannot write disk/d.txt: the digest file would take 1,744,609 bytes, more than the "
         "65,536 free on its disk\n"},
        {"--max-fragments 5", 2, "quorin-cli batch: --max-fragments belongs to --digest\n"},
    };
    for (const auto& row : rows) {
        if (row.arguments.find("disk/") != std::string::npos && !disk.Mounted()) {
            continue;
        }
        SCOPED_TRACE(row.arguments);
        const CliRun run =
            runCli(dir, "batch in.fa --settings s.ini " +
                            (row.status == 1 ? "--digest " + row.arguments : row.arguments));
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.err.substr(0, row.message.size()), row.message);
        EXPECT_EQ(outputsIn(dir), (std::vector<std::string>{"disk", "in.fa"}));
        EXPECT_TRUE(std::filesystem::is_empty(dir / "disk"));
    }
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << disk.Why();
    }
}

/// quorin-cli started in dir with arguments, its standard output and error
/// into files there, without a core file; returns its process id.
pid_t startCli(const TempDir& dir, const std::vector<std::string>& arguments)
{
    std::vector<std::string> words = {QUORIN_CLI};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const std::string registry = "QUORIN_REGISTRY=" + (dir / "registry.ini").string();
    const std::string out = (dir / "stdout.txt").string();
    const std::string err = (dir / "stderr.txt").string();
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
        if (::chdir(dir.Path().c_str()) == 0) {
            ::putenv(const_cast<char*>(registry.c_str()));
            ::execv(argv[0], argv.data());
        }
        ::_exit(127);
    }
    return child;
}

/// Waits until the save of the results has begun: its temporary file is
/// there. False after 20 seconds without one.
bool resultsBeingWritten(const TempDir& dir)
{
    for (int waited = 0; waited < 20000; ++waited) {
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            if (entry.path().filename().string().starts_with(".r.txt.")) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

int waitFor(pid_t child)
{
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

// The input is read before the work starts: cut short while the batch runs
// (rotated, rewritten), it leaves the results of what was read.
TEST(BatchCliTest, AnInputCutShortDuringTheRunLeavesTheResultsOfWhatWasRead)
{
    TempDir dir;
    WriteFile(dir / "in.fa", manyRecords(std::size_t{24} << 20));
    const CliRun expected =
        runCli(dir, "batch in.fa --settings s.ini --results expected.txt --no-log");
    ASSERT_EQ(expected.status, 0) << expected.err;

    const pid_t child =
        startCli(dir, {"batch", "in.fa", "--settings", "s.ini", "--results", "r.txt", "--no-log"});
    ASSERT_TRUE(resultsBeingWritten(dir));
    std::filesystem::resize_file(dir / "in.fa", 0);
    const int status = waitFor(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_TRUE(ReadFile(dir / "r.txt") == ReadFile(dir / "expected.txt"));
    EXPECT_EQ(outputsIn(dir), (std::vector<std::string>{"expected.txt", "in.fa", "r.txt"}));
}

// A dropped terminal or ssh connection (SIGHUP), Ctrl-\ (SIGQUIT) and kill
// (SIGTERM) end a batch as they would any program, and take its partial
// results with it.
TEST(BatchCliTest, ASignalDuringTheRunLeavesNoPartialResults)
{
    TempDir dir;
    WriteFile(dir / "in.fa", manyRecords(std::size_t{24} << 20));
    for (const int signalNumber : {SIGHUP, SIGQUIT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signalNumber));
        const pid_t child =
            startCli(dir, {"batch", "in.fa", "--settings", "s.ini", "--results", "r.txt"});
        ASSERT_TRUE(resultsBeingWritten(dir));
        ::kill(child, signalNumber);
        const int status = waitFor(child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
        EXPECT_EQ(outputsIn(dir), std::vector<std::string>{"in.fa"});
    }
}

} // namespace
} // namespace quorin::test
