#include "core/FileIo.h"

#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace quorin::test {
namespace {

using core::ReadWholeFile;
using core::WriteFileAtomically;

/// Runs body in a child process that is killed after ten seconds, so that a
/// FIFO that blocks fails the test instead of hanging the suite. Returns the
/// child's wait status.
int inChildWithTimeLimit(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

std::vector<std::string> namesIn(const std::filesystem::path& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const std::filesystem::path& path)
{
    struct stat info
    {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

/// Reads up to size bytes that arrive on fd, waiting at most a second for each.
std::string readAvailable(int fd, std::size_t size)
{
    std::string bytes;
    pollfd wait{fd, POLLIN, 0};
    while (bytes.size() < size && ::poll(&wait, 1, 1000) > 0 && (wait.revents & POLLIN) != 0) {
        char block[256];
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got <= 0) {
            break;
        }
        bytes.append(block, static_cast<std::size_t>(got));
    }
    return bytes;
}

TEST(Saves, ASymlinkIsSavedThroughAndModesAreKept)
{
    TempDir dir;
    WriteFile(dir / "real.pep", "old");
    ::chmod((dir / "real.pep").c_str(), 0600);
    std::filesystem::create_symlink("real.pep", dir / "link.pep");
    std::filesystem::create_symlink("new.pep", dir / "dangling.pep");
    // The predictable temporary name of earlier versions, planted as a trap.
    const std::string trap = "real.pep.tmp" + std::to_string(::getpid());
    WriteFile(dir / "victim.txt", "victim");
    std::filesystem::create_symlink("victim.txt", dir / trap);

    ASSERT_TRUE(WriteFileAtomically(dir / "real.pep", "direct"));
    EXPECT_EQ(ReadFile(dir / "victim.txt"), "victim");
    EXPECT_EQ(ReadFile(dir / "real.pep"), "direct");

    ASSERT_TRUE(WriteFileAtomically(dir / "link.pep", "saved"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.pep"));
    EXPECT_EQ(ReadFile(dir / "real.pep"), "saved");
    EXPECT_EQ(modeOf(dir / "real.pep"), 0600);

    const mode_t previous = ::umask(027);
    const auto created = WriteFileAtomically(dir / "dangling.pep", "new");
    ::umask(previous);
    ASSERT_TRUE(created) << created.Error();
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.pep"));
    EXPECT_EQ(ReadFile(dir / "new.pep"), "new");
    EXPECT_EQ(modeOf(dir / "new.pep"), 0640);

    EXPECT_EQ(namesIn(dir.Path()), (std::vector<std::string>{"dangling.pep", "link.pep", "new.pep",
                                                             "real.pep", trap, "victim.txt"}));
}

TEST(Saves, WhatIsNoRegularFileIsWrittenInPlace)
{
    TempDir dir;
    const auto fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader opened first, without waiting, so that the save's open does
    // not wait either.
    const int fifoReader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fifoReader, 0);

    // A terminal stands in for the standard output a link may name.
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(::grantpt(terminal), 0);
    ASSERT_EQ(::unlockpt(terminal), 0);
    const std::string terminalPath = ::ptsname(terminal);
    const int slave = ::open(terminalPath.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios raw{};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    std::filesystem::create_symlink(terminalPath, dir / "stdout");

    const struct
    {
        std::filesystem::path path;
        int reader;
    } rows[] = {{fifo, fifoReader}, {dir / "stdout", terminal}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const int status = inChildWithTimeLimit(
            [&] { return WriteFileAtomically(row.path, ">P1\r\nMKV") ? 0 : 1; });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(readAvailable(row.reader, 8), ">P1\r\nMKV");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(std::filesystem::read_symlink(dir / "stdout"), terminalPath);
    EXPECT_EQ(namesIn(dir.Path()), (std::vector<std::string>{"fifo", "stdout"}));
    ::close(slave);
    ::close(terminal);
    ::close(fifoReader);
}

TEST(Saves, AFailedSaveSaysWhyAndLeavesNothingBehind)
{
    TempDir dir;
    WriteFile(dir / "old.pep", "old");
    std::filesystem::create_directory(dir / "folder.pep");
    const struct
    {
        std::filesystem::path path;
        int error;
    } rows[] = {
        {dir / "missing" / "p.pep", ENOENT},
        {dir / "folder.pep", EISDIR},
        {dir / "old.pep" / "p.pep", ENOTDIR},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const auto saved = WriteFileAtomically(row.path, "new");
        EXPECT_FALSE(saved);
        EXPECT_EQ(saved.Error(), std::strerror(row.error));
    }
    EXPECT_EQ(ReadFile(dir / "old.pep"), "old");

    // A producer that throws takes its temporary file with it.
    EXPECT_THROW(WriteFileAtomically(dir / "old.pep",
                                     [](const core::ByteSink& sink) {
                                         sink("half");
                                         throw std::runtime_error("stop");
                                     }),
                 std::runtime_error);
    EXPECT_EQ(ReadFile(dir / "old.pep"), "old");
    EXPECT_EQ(namesIn(dir.Path()), (std::vector<std::string>{"folder.pep", "old.pep"}));
}

// Results and their log: a reader finds both new or both as they were, also
// when the second fails after the first was written.
TEST(Saves, FilesSavedTogetherAreAllNewOrAllAsTheyWere)
{
    const struct
    {
        const char* what;
        bool firstExists;
        /// The second's destination turns into a folder with something in it
        /// while the second is written (else before the save starts).
        bool whileWritten;
        int error;
    } rows[] = {
        {"the second is a folder", true, false, EISDIR},
        // Written, it cannot take the place of the folder: the first, already
        // renamed, is put back.
        {"the second's rename fails", true, true, EISDIR},
        {"the second's rename fails, the first was new", false, true, EISDIR},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        if (row.firstExists) {
            WriteFile(dir / "results.txt", "old results");
        }
        const auto spoil = [&] { std::filesystem::create_directories(dir / "log.txt" / "full"); };
        if (!row.whileWritten) {
            spoil();
        }
        const auto saved = core::WriteFilesTogether({
            {dir / "results.txt", [](const core::ByteSink& sink) { sink("new results"); }},
            {dir / "log.txt",
             [&](const core::ByteSink& sink) {
                 if (row.whileWritten) {
                     spoil();
                 }
                 sink("new log");
             }},
        });
        EXPECT_FALSE(saved.status);
        EXPECT_EQ(saved.failed, 1U);
        EXPECT_EQ(saved.status.Error(), std::strerror(row.error));
        EXPECT_EQ(std::filesystem::exists(dir / "results.txt"), row.firstExists);
        if (row.firstExists) {
            EXPECT_EQ(ReadFile(dir / "results.txt"), "old results");
        }
        EXPECT_EQ(namesIn(dir.Path()).size(), row.firstExists ? 2U : 1U) << "no temporary left";
    }
    TempDir dir;
    WriteFile(dir / "results.txt", "old results");
    const auto saved = core::WriteFilesTogether({
        {dir / "results.txt", [](const core::ByteSink& sink) { sink("new results"); }},
        {dir / "log.txt", [](const core::ByteSink& sink) { sink("new log"); }},
    });
    EXPECT_TRUE(saved.status) << saved.status.Error();
    EXPECT_EQ(ReadFile(dir / "results.txt"), "new results");
    EXPECT_EQ(ReadFile(dir / "log.txt"), "new log");
    EXPECT_EQ(namesIn(dir.Path()), (std::vector<std::string>{"log.txt", "results.txt"}));
}

// A first file (the starter settings) never takes the place of anything
// found under its name, a link to nothing included, and leaves no temporary.
TEST(Saves, AFileCreatedOnceNeverReplacesWhatIsThere)
{
    TempDir dir;
    EXPECT_TRUE(core::CreateFileOnce(dir / "new.ini", "first"));
    EXPECT_EQ(ReadFile(dir / "new.ini"), "first");
    WriteFile(dir / "mine.ini", "mine");
    std::filesystem::create_symlink(dir / "nowhere.ini", dir / "link.ini");
    for (const char* name : {"new.ini", "mine.ini", "link.ini"}) {
        SCOPED_TRACE(name);
        const auto created = core::CreateFileOnce(dir / name, "second");
        EXPECT_FALSE(created);
        EXPECT_EQ(created.Error(), std::strerror(EEXIST));
    }
    EXPECT_EQ(ReadFile(dir / "new.ini"), "first");
    EXPECT_EQ(ReadFile(dir / "mine.ini"), "mine");
    EXPECT_EQ(namesIn(dir.Path()), (std::vector<std::string>{"link.ini", "mine.ini", "new.ini"}));
}

TEST(Saves, AFullDiskAndAReadOnlyFileSystemSayWhy)
{
    TempDir dir;
    const SmallFileSystem small(dir / "disk", "size=64k");
    if (!small.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << small.Why();
    }
    const auto old = dir / "disk" / "p.pep";
    WriteFile(old, "old");

    const auto full = WriteFileAtomically(old, std::string(1 << 20, 'M'));
    EXPECT_FALSE(full);
    EXPECT_EQ(full.Error(), std::strerror(ENOSPC));
    EXPECT_EQ(ReadFile(old), "old");
    EXPECT_EQ(namesIn(dir / "disk"), std::vector<std::string>{"p.pep"});

    // Root writes into any directory whatever its mode; a read-only file
    // system refuses even root.
    small.Remount(MS_RDONLY);
    const auto readOnly = WriteFileAtomically(old, "new");
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(readOnly.Error(), std::strerror(EROFS));
    EXPECT_EQ(ReadFile(old), "old");
}

TEST(Saves, ASignalRemovesTheTemporaryFile)
{
    // Ctrl-C, kill, a dropped terminal or ssh connection, Ctrl-\, a reader
    // gone, the file size limit, a user signal and an abort all end the
    // process; none may leave a temporary behind.
    for (const int signalNumber :
         {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ, SIGUSR1, SIGABRT}) {
        SCOPED_TRACE(strsignal(signalNumber));
        struct sigaction now
        {};
        ::sigaction(signalNumber, nullptr, &now);
        if (now.sa_handler == SIG_IGN) {
            // An ignored signal stays ignored: the save does not take it over.
            continue;
        }
        TempDir dir;
        WriteFile(dir / "out.txt", "old");
        const int status = inChildWithTimeLimit([&] {
            // No core file of the signals that dump one.
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            // A folder of temporaries with a file in it, as a metafile
            // render keeps one.
            const core::TemporaryFolder folder(dir.Path());
            WriteFile(folder.Path() / "page.emf", "EMF");
            const auto saved =
                WriteFileAtomically(dir / "out.txt", [&](const core::ByteSink& sink) {
                    sink(std::string(1 << 20, 'M'));
                    ::kill(::getpid(), signalNumber);
                    sink("never");
                });
            return saved ? 0 : 1;
        });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << status;
        EXPECT_EQ(ReadFile(dir / "out.txt"), "old");
        EXPECT_EQ(namesIn(dir.Path()), std::vector<std::string>{"out.txt"});
    }
    TempDir dir;
    {
        const core::TemporaryFolder folder(dir.Path());
        WriteFile(folder.Path() / "page.emf", "EMF");
    }
    EXPECT_TRUE(namesIn(dir.Path()).empty());
}

TEST(Limits, InputsHaveACeilingAndSequenceFilesAreRegularFiles)
{
    TempDir dir;
    WriteFile(dir / "big.fasta", std::string(4096, 'M'));
    const auto fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    constexpr std::string_view kTooLarge = "It holds more than 1 GiB, the most the program reads";

    EXPECT_EQ(ReadWholeFile(dir / "big.fasta", 4096).value_or("refused").size(), 4096u);
    EXPECT_EQ(ReadWholeFile(dir / "big.fasta", 4095).Error(), kTooLarge);
    // A device without end (--settings /dev/zero) stops at the ceiling.
    EXPECT_EQ(ReadWholeFile("/dev/zero", 1 << 20).Error(), kTooLarge);
    EXPECT_EQ(core::ReadSequenceFile(dir.Path()).Error(), std::strerror(EISDIR));
    EXPECT_EQ(core::ReadSequenceFile("/dev/null").Error(), "It is a device, not a file");

    // A FIFO without a writer: refused as a sequence file, empty as settings;
    // neither waits.
    const int status = inChildWithTimeLimit([&] {
        const bool refused = core::ReadSequenceFile(fifo).Error() == "It is a FIFO, not a file";
        const auto settings = ReadWholeFile(fifo);
        return refused && settings && settings->empty() ? 0 : 1;
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    // Standard input (props - < /dev/zero).
    const int savedInput = ::dup(STDIN_FILENO);
    const int zero = ::open("/dev/zero", O_RDONLY);
    ASSERT_GE(zero, 0);
    ::dup2(zero, STDIN_FILENO);
    const auto input = core::ReadStandardInput(1 << 20);
    ::dup2(savedInput, STDIN_FILENO);
    ::close(zero);
    ::close(savedInput);
    EXPECT_EQ(input.Error(), kTooLarge);
}

} // namespace
} // namespace quorin::test
