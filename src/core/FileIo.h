#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorin::core {

/// The most the program reads from one sequence file, settings file or
/// standard input (1 GiB): beyond it the input is refused before memory runs
/// out.
inline constexpr std::uint64_t kMaxInputBytes = std::uint64_t{1} << 30;

/// The outcome of a file operation: success, or why it failed. The reason is
/// the system's text for the error ("No space left on device") or the
/// program's own words for what the system does not refuse ("It is a FIFO,
/// not a file"); callers put the path in front of it.
class FileStatus
{
public:
    FileStatus() = default;
    /// A failure with the system's text for errno value error.
    static FileStatus FromErrno(int error);
    /// A failure in the program's own words.
    static FileStatus Failed(std::string reason, int error = 0);

    /// True when the operation succeeded. Implicit, so that a function that
    /// reports success as a bool can return the status as it is.
    operator bool() const { return !m_failed; }
    /// The reason of a failure; empty on success.
    const std::string& Error() const { return m_reason; }
    /// The errno value of a failure the system reported, else 0 (ENOENT tells
    /// a missing file from an unreadable one).
    int SystemError() const { return m_errno; }

private:
    bool m_failed = false;
    int m_errno = 0;
    std::string m_reason;
};

/// The bytes of a file, or why they could not be read. Used like an optional:
/// `if (!bytes) ... bytes.Error() ...; *bytes`.
class ReadResult
{
public:
    ReadResult(std::string bytes) : m_bytes(std::move(bytes)) {}
    ReadResult(FileStatus failure) : m_status(std::move(failure)) {}

    explicit operator bool() const { return m_bytes.has_value(); }
    bool has_value() const { return m_bytes.has_value(); }
    std::string& operator*() & { return *m_bytes; }
    const std::string& operator*() const& { return *m_bytes; }
    std::string&& operator*() && { return std::move(*m_bytes); }
    std::string* operator->() { return &*m_bytes; }
    const std::string* operator->() const { return &*m_bytes; }
    std::string value_or(std::string fallback) const&
    {
        return m_bytes ? *m_bytes : std::move(fallback);
    }
    std::string value_or(std::string fallback) &&
    {
        return m_bytes ? std::move(*m_bytes) : std::move(fallback);
    }
    operator std::optional<std::string>() const& { return m_bytes; }
    operator std::optional<std::string>() && { return std::move(m_bytes); }

    const std::string& Error() const { return m_status.Error(); }
    const FileStatus& Status() const { return m_status; }

private:
    std::optional<std::string> m_bytes;
    FileStatus m_status;
};

/// The file that a save of path replaces: symlinks followed to their final
/// target, which need not exist yet.
std::filesystem::path SaveTarget(const std::filesystem::path& path);

/// Saves bytes to path so that a failed save never destroys what was there:
/// - a regular file (or a new one) is replaced atomically: the bytes go to a
///   temporary file created exclusively beside it (never through a name that
///   already exists), which is renamed over it only when every byte reached
///   the disk; the replaced file keeps its mode (a new one gets 0666 less the
///   umask); on failure, SIGINT or SIGTERM the temporary file is removed;
/// - a symlink is saved through: its final target is replaced, the link stays;
/// - an existing destination that is no regular file (a character device, a
///   FIFO, a link to standard output) is written in place, as a shell
///   redirection writes it; a FIFO then waits for its reader, as it does for
///   the shell. So is a regular file reached through a link whose text does
///   not name it (/dev/stdout of a process whose output goes to a file).
FileStatus WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// Receives output piece by piece.
using ByteSink = std::function<void(std::string_view bytes)>;

/// As above for output too large to hold in memory at once: produce is called
/// once and hands the bytes, in order, to the sink it is given.
FileStatus WriteFileAtomically(const std::filesystem::path& path,
                               const std::function<void(const ByteSink& sink)>& produce);

/// Creates the file at path holding bytes when nothing of that name exists;
/// an existing file is never replaced, also one placed at the same moment
/// (EEXIST then). Written completely under a temporary name beside path,
/// removed on failure and on a signal, then linked to path, so that no reader
/// finds half a file; where the file system has no hard links, path is
/// created exclusively and written directly.
FileStatus CreateFileOnce(const std::filesystem::path& path, std::string_view bytes);

/// One file of WriteFilesTogether: where it goes and what it holds.
struct FileToSave
{
    std::filesystem::path path;
    std::function<void(const ByteSink& sink)> produce;
};

/// What WriteFilesTogether did: saved every file, or failed on the file at
/// index failed (the others then as they were).
struct SaveTogetherStatus
{
    FileStatus status;
    std::size_t failed = 0;
};

/// Saves files that belong together (results and their log) so that a reader
/// finds all of them new or all as they were: each is written as
/// WriteFileAtomically writes it, in order, but none replaces its target
/// before all were written; should a rename fail after others were done, those
/// are put back. A destination written in place (no regular file) cannot be
/// put back and is written at its turn.
SaveTogetherStatus WriteFilesTogether(const std::vector<FileToSave>& files);

/// Removes the temporary files of saves in progress, and whatever
/// RemovedOnSignal names, when the process gets a signal that would end it
/// (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXFSZ, a crash, ...), then
/// dies of the signal as it would have. A signal that is ignored or has a
/// handler already is left alone. Idempotent; the first save installs it too,
/// a program's main may call it early.
void InstallTemporaryFileCleanup();

/// While it lives, the temporary file or folder at path is removed should the
/// process die of a signal that InstallTemporaryFileCleanup catches (which it
/// installs); of a folder, the files in it go too. Register the name before
/// making the thing, so that no moment is left in which it exists unknown to
/// the handler. Removing it in normal operation stays the owner's work.
class RemovedOnSignal
{
public:
    enum class Kind
    {
        File,
        Folder,
    };
    explicit RemovedOnSignal(const std::filesystem::path& path, Kind kind = Kind::File);
    ~RemovedOnSignal();
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

private:
    std::size_t m_slot;
};

/// A new private folder for temporary files under base (the system's
/// temporary directory, say), with an unpredictable name. It and the files in
/// it are removed with the object, and should a signal end the process
/// (RemovedOnSignal).
class TemporaryFolder
{
public:
    explicit TemporaryFolder(const std::filesystem::path& base);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    /// Empty when no folder could be made.
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::unique_ptr<RemovedOnSignal> m_onSignal;
};

/// The whole content of a file of any kind, at most maxBytes (a device or a
/// FIFO is read until its end or the ceiling; a FIFO without a writer reads
/// as empty, never waits). Beyond the ceiling the file is refused.
ReadResult ReadWholeFile(const std::filesystem::path& path,
                         std::uint64_t maxBytes = kMaxInputBytes);

/// A sequence file: as ReadWholeFile, but only a regular file is read; a
/// directory, device or FIFO is refused without waiting on it.
ReadResult ReadSequenceFile(const std::filesystem::path& path,
                            std::uint64_t maxBytes = kMaxInputBytes);

/// Standard input to its end, at most maxBytes.
ReadResult ReadStandardInput(std::uint64_t maxBytes = kMaxInputBytes);

} // namespace quorin::core
