#include "core/FileIo.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <random>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorin::core {
namespace {

constexpr std::string_view kTooLarge = "It holds more than 1 GiB, the most the program reads";

/// A descriptor closed with the object.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    /// Closes now and reports the error close found (a delayed write error on
    /// some file systems shows only here).
    int Close()
    {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Live temporary files and folders, for the signal handler. A slot is claimed
// with a compare-and-swap (kFree, then kFilling); the handler reads only live
// slots and makes nothing but system calls, so it is async-signal-safe.
constexpr int kFree = 0;
constexpr int kFilling = 1;
constexpr int kLiveFile = 2;
constexpr int kLiveFolder = 3;
constexpr std::size_t kTempSlots = 32;
constexpr std::size_t kTempPathMax = 4096;
std::array<std::atomic<int>, kTempSlots> g_tempState{};
std::array<std::array<char, kTempPathMax>, kTempSlots> g_tempPath{};

/// Removes the files in the folder at path (not in its subfolders), then the
/// folder; with system calls alone, as a signal handler may.
void removeFolderNow(const char* path)
{
    const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        alignas(dirent64) char entries[4096];
        ssize_t got = 0;
        while ((got = ::getdents64(fd, entries, sizeof entries)) > 0) {
            for (ssize_t at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) {
                    ::unlinkat(fd, name, 0);
                }
            }
        }
        ::close(fd);
    }
    ::rmdir(path);
}

extern "C" void removeTemporariesAndDie(int signalNumber)
{
    const int savedErrno = errno;
    for (std::size_t i = 0; i < kTempSlots; ++i) {
        const int state = g_tempState[i].load(std::memory_order_acquire);
        if (state == kLiveFile) {
            ::unlink(g_tempPath[i].data());
        } else if (state == kLiveFolder) {
            removeFolderNow(g_tempPath[i].data());
        }
    }
    errno = savedErrno;
    ::signal(signalNumber, SIG_DFL);
    // Sent to the process, not to this thread, whose mask holds the signal
    // until the handler returns: a thread that does not block it takes it at
    // once, and the default action ends every thread before one of them makes
    // another temporary file.
    ::kill(::getpid(), signalNumber);
}

/// The signals whose default action ends the process and that a handler can
/// catch: the requests to end (a closed terminal, a dropped connection, a
/// pipe without reader, a limit of CPU time or file size, timers) and the
/// crashes, after which a temporary file is just as useless.
std::vector<int> terminatingSignals()
{
    std::vector<int> signals = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP,   SIGABRT,
                                SIGBUS,  SIGFPE,  SIGUSR1,   SIGSEGV, SIGUSR2,   SIGPIPE,
                                SIGALRM, SIGTERM, SIGXCPU,   SIGXFSZ, SIGVTALRM, SIGPROF,
                                SIGPOLL, SIGSYS,  SIGSTKFLT, SIGPWR};
    for (int realTime = SIGRTMIN; realTime <= SIGRTMAX; ++realTime) {
        signals.push_back(realTime);
    }
    return signals;
}

} // namespace

RemovedOnSignal::RemovedOnSignal(const std::filesystem::path& path, Kind kind) : m_slot(kTempSlots)
{
    InstallTemporaryFileCleanup();
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(path, error).string();
    if (error || absolute.size() >= kTempPathMax) {
        return;
    }
    for (std::size_t i = 0; i < kTempSlots; ++i) {
        int expected = kFree;
        if (g_tempState[i].compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_tempPath[i].data(), absolute.c_str(), absolute.size() + 1);
            g_tempState[i].store(kind == Kind::File ? kLiveFile : kLiveFolder,
                                 std::memory_order_release);
            m_slot = i;
            return;
        }
    }
    // With every slot taken the thing is still removed by its owner, only not
    // on a signal.
}

RemovedOnSignal::~RemovedOnSignal()
{
    if (m_slot < kTempSlots) {
        g_tempState[m_slot].store(kFree, std::memory_order_release);
    }
}

namespace {

/// Writes all of bytes, through short writes and interrupted calls; 0 or errno.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

/// Hands produce's bytes to fd in blocks of 64 KiB; after the first failure
/// the rest is dropped. Returns 0 or the errno of the failure.
int writeProduced(int fd, const std::function<void(const ByteSink& sink)>& produce)
{
    constexpr std::size_t kBlock = 64 * 1024;
    // Of a large file, what is written is handed to the disk every few
    // megabytes, so that the closing fsync finds little left to wait for.
    constexpr off_t kWriteBack = off_t{8} << 20;
    off_t written = 0;
    off_t handedOver = 0;
    std::string buffer;
    buffer.reserve(kBlock);
    int failure = 0;
    const auto write = [&](std::string_view bytes) {
        failure = writeAll(fd, bytes);
        written += static_cast<off_t>(bytes.size());
        if (failure == 0 && written - handedOver >= kWriteBack) {
            // Starts the writing only; a descriptor that cannot (a pipe) is
            // left as it is.
            ::sync_file_range(fd, handedOver, written - handedOver, SYNC_FILE_RANGE_WRITE);
            handedOver = written;
        }
    };
    produce([&](std::string_view bytes) {
        if (failure != 0) {
            return;
        }
        if (buffer.size() + bytes.size() < kBlock) {
            buffer.append(bytes);
            return;
        }
        write(buffer);
        buffer.clear();
        if (failure == 0) {
            write(bytes);
        }
    });
    if (failure == 0) {
        failure = writeAll(fd, buffer);
    }
    return failure;
}

/// The file that a save of path replaces: symlinks followed to their final
/// target, which need not exist yet (a dangling link creates its target).
std::filesystem::path finalTarget(std::filesystem::path path, int& error)
{
    // As the kernel allows in one path lookup.
    constexpr int kMaxLinks = 40;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info
        {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::array<char, kTempPathMax> target{};
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size() - 1);
        if (length < 0) {
            error = errno;
            return path;
        }
        const std::filesystem::path next(std::string(target.data(), std::size_t(length)));
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    error = ELOOP;
    return path;
}

/// Eight letters and digits that nobody can predict.
std::string randomLetters()
{
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, 8> noise{};
    if (::getrandom(noise.data(), noise.size(), 0) != static_cast<ssize_t>(noise.size())) {
        thread_local std::mt19937_64 fallback{std::random_device{}()};
        for (unsigned char& c : noise) {
            c = static_cast<unsigned char>(fallback());
        }
    }
    std::string letters;
    for (const unsigned char c : noise) {
        letters += kLetters[c % kLetters.size()];
    }
    return letters;
}

/// A name beside target that nobody can predict: "." name "." 8 random
/// letters ".tmp", the name cut so that the whole stays a legal file name.
std::filesystem::path temporaryName(const std::filesystem::path& target)
{
    return target.parent_path() /
           ("." + target.filename().string().substr(0, 200) + "." + randomLetters() + ".tmp");
}

/// Creates a new file beside target exclusively (O_EXCL: an existing name,
/// a symlink too, is never opened), known to the signal handler from before it
/// exists. Returns the descriptor or -1 with errno.
int createTemporary(const std::filesystem::path& target, mode_t mode,
                    std::filesystem::path& created, std::unique_ptr<RemovedOnSignal>& registration)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = temporaryName(target);
        registration = std::make_unique<RemovedOnSignal>(created);
        const int fd =
            ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            return fd;
        }
        const int error = errno;
        registration.reset();
        if (error != EEXIST) {
            errno = error;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

FileStatus writeInPlace(const std::filesystem::path& target,
                        const std::function<void(const ByteSink& sink)>& produce)
{
    // No O_CREAT: the thing is there and stays what it is. A FIFO's open
    // waits for its reader as a shell redirection does.
    Descriptor fd(::open(target.c_str(), O_WRONLY | O_TRUNC | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return FileStatus::FromErrno(errno);
    }
    if (const int failure = writeProduced(fd.Get(), produce); failure != 0) {
        return FileStatus::FromErrno(failure);
    }
    if (const int failure = fd.Close(); failure != 0) {
        return FileStatus::FromErrno(failure);
    }
    return {};
}

/// A save written to a temporary file beside its target, renamed over the
/// target by Commit. What is not committed is removed with the object, and so
/// is a backup of the replaced file that Revert did not need.
class StagedReplace
{
public:
    StagedReplace() = default;
    ~StagedReplace()
    {
        if (!m_temp.empty()) {
            ::unlink(m_temp.c_str());
        }
        if (!m_backup.empty()) {
            ::unlink(m_backup.c_str());
        }
    }
    StagedReplace(const StagedReplace&) = delete;
    StagedReplace& operator=(const StagedReplace&) = delete;

    /// Writes produce's bytes to a new temporary file beside target and
    /// makes it what the replaced file was (its mode, owner and group), down
    /// to the disk. existing: the file replaced, null for a new one.
    FileStatus Write(const std::filesystem::path& target, const struct stat* existing,
                     const std::function<void(const ByteSink& sink)>& produce)
    {
        m_target = target;
        m_existed = existing != nullptr;
        std::filesystem::path temp;
        // A file that is replaced may be private: its temporary starts as 0600
        // and gets the old mode once written. A new file gets 0666 less the
        // umask from open itself.
        Descriptor fd(
            createTemporary(target, existing ? S_IRUSR | S_IWUSR : 0666, temp, m_tempRegistration));
        if (fd.Get() < 0) {
            return FileStatus::FromErrno(errno);
        }
        m_temp = temp;
        if (const int failure = writeProduced(fd.Get(), produce); failure != 0) {
            return FileStatus::FromErrno(failure);
        }
        if (existing != nullptr) {
            if (::fchmod(fd.Get(), existing->st_mode & 07777) != 0) {
                return FileStatus::FromErrno(errno);
            }
            // Owner and group kept where this user may set them (root, or a
            // group the user is in); otherwise the file becomes the saver's.
            if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) {
                if (::fchown(fd.Get(), existing->st_uid, existing->st_gid) == 0) {
                    ::fchmod(fd.Get(), existing->st_mode & 07777);
                }
            }
        }
        if (::fsync(fd.Get()) != 0) {
            return FileStatus::FromErrno(errno);
        }
        if (const int failure = fd.Close(); failure != 0) {
            return FileStatus::FromErrno(failure);
        }
        return {};
    }

    /// A second name for the file that Commit replaces, so that Revert can
    /// put it back. Where the file system has no hard links Revert cannot.
    void KeepBackup()
    {
        if (!m_existed) {
            return;
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path backup = temporaryName(m_target);
            m_backupRegistration = std::make_unique<RemovedOnSignal>(backup);
            if (::link(m_target.c_str(), backup.c_str()) == 0) {
                m_backup = backup;
                return;
            }
            const int error = errno;
            m_backupRegistration.reset();
            if (error != EEXIST) {
                return;
            }
        }
    }

    FileStatus Commit()
    {
        if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
            return FileStatus::FromErrno(errno);
        }
        m_temp.clear();
        m_tempRegistration.reset();
        return {};
    }

    /// Undoes Commit: the replaced file is back (from its backup), or the
    /// new one is gone when there was none.
    void Revert()
    {
        if (m_backup.empty()) {
            if (!m_existed) {
                ::unlink(m_target.c_str());
            }
            return;
        }
        if (::rename(m_backup.c_str(), m_target.c_str()) == 0) {
            m_backup.clear();
            m_backupRegistration.reset();
        }
    }

private:
    std::filesystem::path m_target;
    std::filesystem::path m_temp;
    std::filesystem::path m_backup;
    bool m_existed = false;
    std::unique_ptr<RemovedOnSignal> m_tempRegistration;
    std::unique_ptr<RemovedOnSignal> m_backupRegistration;
};

/// How a save reaches its destination.
struct SavePlan
{
    enum class How
    {
        Replace,
        InPlace,
        Refused,
    };
    How how = How::Refused;
    FileStatus refusal;
    /// Replace: the file replaced (symlinks followed) and, when it exists,
    /// what it is.
    std::filesystem::path target;
    bool exists = false;
    struct stat existing
    {};
};

SavePlan planSave(const std::filesystem::path& path)
{
    SavePlan plan;
    struct stat info
    {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            plan.refusal = FileStatus::FromErrno(errno);
            return plan;
        }
        // Nothing there, or a link to nothing: the link's target is created.
        int linkError = 0;
        plan.target = finalTarget(path, linkError);
        if (linkError != 0) {
            plan.refusal = FileStatus::FromErrno(linkError);
            return plan;
        }
        plan.how = SavePlan::How::Replace;
        return plan;
    }
    if (S_ISDIR(info.st_mode)) {
        plan.refusal = FileStatus::FromErrno(EISDIR);
        return plan;
    }
    if (!S_ISREG(info.st_mode)) {
        // Opened through path itself: the kernel follows links such as
        // /dev/stdout that name no file by their text.
        plan.how = SavePlan::How::InPlace;
        return plan;
    }
    int linkError = 0;
    plan.target = finalTarget(path, linkError);
    struct stat resolved
    {};
    if (linkError != 0 || ::stat(plan.target.c_str(), &resolved) != 0 ||
        resolved.st_dev != info.st_dev || resolved.st_ino != info.st_ino) {
        // A link whose text does not lead to the file it opens (a process's
        // file descriptor, a link changed meanwhile) is written as the shell
        // writes it: in place.
        plan.how = SavePlan::How::InPlace;
        return plan;
    }
    plan.how = SavePlan::How::Replace;
    plan.exists = true;
    plan.existing = info;
    return plan;
}

ReadResult readDescriptor(int fd, std::uint64_t maxBytes)
{
    std::string bytes;
    struct stat info
    {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
            return FileStatus::Failed(std::string(kTooLarge), EFBIG);
        }
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    constexpr std::size_t kBlock = 64 * 1024;
    std::array<char, kBlock> block{};
    for (;;) {
        const ssize_t got = ::read(fd, block.data(), block.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileStatus::FromErrno(errno);
        }
        if (got == 0) {
            return bytes;
        }
        // A file that grows while it is read, or a device without end, meets
        // the ceiling here.
        if (bytes.size() + static_cast<std::uint64_t>(got) > maxBytes) {
            return FileStatus::Failed(std::string(kTooLarge), EFBIG);
        }
        bytes.append(block.data(), static_cast<std::size_t>(got));
    }
}

/// Opens path for reading without waiting on a FIFO that has no writer, then
/// reads in blocking mode. With regularOnly anything but a regular file is
/// refused, checked on the opened file so that no swap after a check slips by.
ReadResult readPath(const std::filesystem::path& path, std::uint64_t maxBytes, bool regularOnly)
{
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        return FileStatus::FromErrno(errno);
    }
    struct stat info
    {};
    if (::fstat(fd.Get(), &info) != 0) {
        return FileStatus::FromErrno(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return FileStatus::FromErrno(EISDIR);
    }
    if (regularOnly && !S_ISREG(info.st_mode)) {
        return FileStatus::Failed(S_ISFIFO(info.st_mode)   ? "It is a FIFO, not a file"
                                  : S_ISSOCK(info.st_mode) ? "It is a socket, not a file"
                                                           : "It is a device, not a file");
    }
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return FileStatus::FromErrno(errno);
    }
    return readDescriptor(fd.Get(), maxBytes);
}

} // namespace

FileStatus FileStatus::FromErrno(int error)
{
    return Failed(std::strerror(error), error);
}

FileStatus FileStatus::Failed(std::string reason, int error)
{
    FileStatus status;
    status.m_failed = true;
    status.m_errno = error;
    status.m_reason = std::move(reason);
    return status;
}

void InstallTemporaryFileCleanup()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (const int signalNumber : terminatingSignals()) {
            struct sigaction previous
            {};
            if (::sigaction(signalNumber, nullptr, &previous) != 0 ||
                previous.sa_handler != SIG_DFL || (previous.sa_flags & SA_SIGINFO) != 0) {
                continue;
            }
            struct sigaction action
            {};
            action.sa_handler = removeTemporariesAndDie;
            // No second signal interrupts the removal; the signal the handler
            // sends the process again is delivered as the handler returns.
            sigfillset(&action.sa_mask);
            action.sa_flags = SA_RESETHAND;
            ::sigaction(signalNumber, &action, nullptr);
        }
    });
}

ReadResult ReadWholeFile(const std::filesystem::path& path, std::uint64_t maxBytes)
{
    return readPath(path, maxBytes, false);
}

ReadResult ReadSequenceFile(const std::filesystem::path& path, std::uint64_t maxBytes)
{
    return readPath(path, maxBytes, true);
}

ReadResult ReadStandardInput(std::uint64_t maxBytes)
{
    return readDescriptor(STDIN_FILENO, maxBytes);
}

std::filesystem::path SaveTarget(const std::filesystem::path& path)
{
    int error = 0;
    return finalTarget(path, error);
}

FileStatus WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    return WriteFileAtomically(path, [bytes](const ByteSink& sink) { sink(bytes); });
}

FileStatus WriteFileAtomically(const std::filesystem::path& path,
                               const std::function<void(const ByteSink& sink)>& produce)
{
    InstallTemporaryFileCleanup();
    const SavePlan plan = planSave(path);
    switch (plan.how) {
    case SavePlan::How::Refused:
        return plan.refusal;
    case SavePlan::How::InPlace:
        return writeInPlace(path, produce);
    case SavePlan::How::Replace:
        break;
    }
    StagedReplace staged;
    if (const FileStatus written =
            staged.Write(plan.target, plan.exists ? &plan.existing : nullptr, produce);
        !written) {
        return written;
    }
    return staged.Commit();
}

FileStatus CreateFileOnce(const std::filesystem::path& path, std::string_view bytes)
{
    InstallTemporaryFileCleanup();
    std::filesystem::path temp;
    std::unique_ptr<RemovedOnSignal> registration;
    if (Descriptor fd(createTemporary(path, 0666, temp, registration)); fd.Get() >= 0) {
        int failure = writeAll(fd.Get(), bytes);
        if (failure == 0 && ::fsync(fd.Get()) != 0) {
            failure = errno;
        }
        if (const int closed = fd.Close(); failure == 0) {
            failure = closed;
        }
        if (failure != 0) {
            ::unlink(temp.c_str());
            return FileStatus::FromErrno(failure);
        }
        // link() fails rather than replace a file placed meanwhile.
        const int linked = ::link(temp.c_str(), path.c_str()) == 0 ? 0 : errno;
        ::unlink(temp.c_str());
        if (linked == 0) {
            return {};
        }
        if (linked == EEXIST) {
            return FileStatus::FromErrno(linked);
        }
    }
    // No temporary file, or a file system without hard links: created
    // exclusively and written under its own name.
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
        return FileStatus::FromErrno(errno);
    }
    int failure = writeAll(fd.Get(), bytes);
    if (const int closed = fd.Close(); failure == 0) {
        failure = closed;
    }
    if (failure != 0) {
        ::unlink(path.c_str());
        return FileStatus::FromErrno(failure);
    }
    return {};
}

SaveTogetherStatus WriteFilesTogether(const std::vector<FileToSave>& files)
{
    InstallTemporaryFileCleanup();
    std::vector<std::unique_ptr<StagedReplace>> staged(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const SavePlan plan = planSave(files[i].path);
        FileStatus written = plan.refusal;
        if (plan.how == SavePlan::How::InPlace) {
            written = writeInPlace(files[i].path, files[i].produce);
        } else if (plan.how == SavePlan::How::Replace) {
            staged[i] = std::make_unique<StagedReplace>();
            written = staged[i]->Write(plan.target, plan.exists ? &plan.existing : nullptr,
                                       files[i].produce);
        }
        if (!written) {
            return {written, i};
        }
    }
    for (const auto& file : staged) {
        if (file) {
            file->KeepBackup();
        }
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (!staged[i]) {
            continue;
        }
        if (const FileStatus committed = staged[i]->Commit(); !committed) {
            for (std::size_t j = 0; j < i; ++j) {
                if (staged[j]) {
                    staged[j]->Revert();
                }
            }
            return {committed, i};
        }
    }
    return {};
}

TemporaryFolder::TemporaryFolder(const std::filesystem::path& base)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = base / ("quorin-" + randomLetters());
        m_onSignal = std::make_unique<RemovedOnSignal>(folder, RemovedOnSignal::Kind::Folder);
        if (::mkdir(folder.c_str(), S_IRWXU) == 0) {
            m_path = folder;
            return;
        }
        const int error = errno;
        m_onSignal.reset();
        if (error != EEXIST) {
            return;
        }
    }
}

TemporaryFolder::~TemporaryFolder()
{
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

} // namespace quorin::core
