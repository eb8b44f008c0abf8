#include "batch/BatchInput.h"

#include "batch/BatchThreads.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <zlib.h>

namespace quorin::batch {
namespace {

// The refusals in the program's own words carry these errno values, so that
// BatchInputRefusal can word them.
constexpr int kChangedError = ESTALE;
constexpr int kCorruptError = EBADMSG;

/// What is read at once, and the share of a regular file below which another
/// thread costs more than it saves.
constexpr std::size_t kChunkBytes = std::size_t{4} << 20;
constexpr std::size_t kPartBytes = std::size_t{16} << 20;

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

core::FileStatus tooLarge(std::string_view reason)
{
    return core::FileStatus::Failed(std::string(reason), EFBIG);
}

core::FileStatus changed()
{
    return core::FileStatus::Failed("changed while it was read", kChangedError);
}

/// Anonymous memory for the text: grown by moving its pages, never by
/// copying them, so that a text near the ceiling never needs twice its size.
class TextMemory
{
public:
    TextMemory() = default;
    ~TextMemory()
    {
        if (m_data != nullptr) {
            ::munmap(m_data, m_capacity);
        }
    }
    TextMemory(const TextMemory&) = delete;
    TextMemory& operator=(const TextMemory&) = delete;

    /// Room for capacity bytes in all; false when the system has no memory.
    bool Reserve(std::size_t capacity)
    {
        if (capacity <= m_capacity) {
            return true;
        }
        void* grown = m_data == nullptr ? ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                                                 MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                        : ::mremap(m_data, m_capacity, capacity, MREMAP_MAYMOVE);
        if (grown == MAP_FAILED) {
            return false;
        }
        m_data = static_cast<char*>(grown);
        m_capacity = capacity;
        return true;
    }
    char* Data() const { return m_data; }
    std::size_t Capacity() const { return m_capacity; }
    /// Hands the memory on: the caller unmaps it.
    std::pair<char*, std::size_t> Release()
    {
        return {std::exchange(m_data, nullptr), std::exchange(m_capacity, 0)};
    }

private:
    char* m_data = nullptr;
    std::size_t m_capacity = 0;
};

/// Reads a stream to its end through fill(into, room), which returns the bytes
/// it gave (0 at the end) or -1 with status set; more than maxBytes is refused
/// as soon as it arrives, with reason.
template <typename Fill>
core::FileStatus readStream(TextMemory& memory, std::size_t& size, const BatchReadOptions& options,
                            std::string_view reason, Fill fill)
{
    size = 0;
    const std::uint64_t most = options.maxBytes + 1;
    while (true) {
        if (size == memory.Capacity()) {
            const std::uint64_t wanted =
                std::min<std::uint64_t>(std::max<std::uint64_t>(2 * size, kChunkBytes), most);
            if (!memory.Reserve(static_cast<std::size_t>(wanted))) {
                return core::FileStatus::FromErrno(ENOMEM);
            }
        }
        core::FileStatus status;
        const std::size_t room = std::min(memory.Capacity() - size, kChunkBytes);
        const std::ptrdiff_t got = fill(memory.Data() + size, room, status);
        if (got < 0) {
            return status;
        }
        if (got == 0) {
            return {};
        }
        size += static_cast<std::size_t>(got);
        if (size > options.maxBytes) {
            return tooLarge(reason);
        }
        if (options.progress) {
            options.progress(size);
        }
    }
}

/// Opens path for reading without waiting on a FIFO that has no writer; a
/// directory, device or FIFO is refused in the sequence-file reader's words.
core::FileStatus openRegular(const std::string& path, int& fd, struct stat& info)
{
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return core::FileStatus::FromErrno(errno);
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        fd = -1;
        return core::ReadSequenceFile(path).Status();
    }
    return {};
}

/// Whether the file behind fd is still what info says it was.
bool unchanged(int fd, const struct stat& info)
{
    struct stat now
    {};
    return ::fstat(fd, &now) == 0 && now.st_size == info.st_size &&
           now.st_mtim.tv_sec == info.st_mtim.tv_sec && now.st_mtim.tv_nsec == info.st_mtim.tv_nsec;
}

core::FileStatus readCompressed(const std::string& path, TextMemory& memory, std::size_t& size,
                                const BatchReadOptions& options)
{
    int fd = -1;
    struct stat info
    {};
    if (const core::FileStatus opened = openRegular(path, fd, info); !opened) {
        return opened;
    }
    gzFile file = ::gzdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return core::FileStatus::FromErrno(ENOMEM);
    }
    ::gzbuffer(file, 1U << 20);
    core::FileStatus status = readStream(
        memory, size, options, "It holds more than 1 GiB of text, the most the program reads",
        [&](char* into, std::size_t room, core::FileStatus& failure) -> std::ptrdiff_t {
            const int got = ::gzread(file, into, static_cast<unsigned>(room));
            if (got < 0) {
                int code = Z_OK;
                const char* reason = ::gzerror(file, &code);
                failure = code == Z_ERRNO       ? core::FileStatus::FromErrno(errno)
                          : code == Z_MEM_ERROR ? core::FileStatus::FromErrno(ENOMEM)
                                                : core::FileStatus::Failed(reason, kCorruptError);
                return -1;
            }
            return got;
        });
    // zlib's reading stops without an error where the data end early: only
    // its state tells a truncated stream from a whole one.
    int code = Z_OK;
    ::gzerror(file, &code);
    const bool same = unchanged(fd, info);
    const int closed = ::gzclose(file);
    if (!same) {
        return changed();
    }
    if (status && (code != Z_OK || closed != Z_OK)) {
        status = core::FileStatus::Failed("the compressed data end early", kCorruptError);
    }
    return status;
}

core::FileStatus readRegular(const std::string& path, TextMemory& memory, std::size_t& size,
                             const BatchReadOptions& options)
{
    int fd = -1;
    struct stat info
    {};
    if (const core::FileStatus opened = openRegular(path, fd, info); !opened) {
        return opened;
    }
    const auto expected = static_cast<std::uint64_t>(info.st_size);
    const auto done = [&](core::FileStatus status) {
        ::close(fd);
        return status;
    };
    if (expected > options.maxBytes) {
        return done(tooLarge("It holds more than 1 GiB, the most the program reads"));
    }
    size = static_cast<std::size_t>(expected);
    if (size > 0 && !memory.Reserve(size)) {
        return done(core::FileStatus::FromErrno(ENOMEM));
    }
    // Parts of the file are read at once on several threads; a part that
    // ends early means the file shrank.
    std::atomic<bool> shrank = false;
    std::atomic<int> failure = 0;
    const auto readPart = [&](std::size_t begin, std::size_t end, bool report) {
        for (std::size_t at = begin; at < end && failure == 0 && !shrank;) {
            const ssize_t got = ::pread(fd, memory.Data() + at, std::min(end - at, kChunkBytes),
                                        static_cast<off_t>(at));
            if (got < 0) {
                if (errno != EINTR) {
                    failure = errno;
                }
                continue;
            }
            if (got == 0) {
                shrank = true;
                break;
            }
            at += static_cast<std::size_t>(got);
            if (report && options.progress) {
                options.progress(at);
            }
        }
    };
    const std::size_t parts =
        std::clamp<std::size_t>(size / kPartBytes, 1, std::max(1U, options.jobs));
    const auto bound = [&](std::size_t p) { return size / parts * p; };
    RunParts(parts, [&](std::size_t p) {
        readPart(bound(p), p + 1 == parts ? size : bound(p + 1), p == 0);
    });
    if (failure != 0) {
        return done(core::FileStatus::FromErrno(failure));
    }
    char beyond = 0;
    if (shrank || ::pread(fd, &beyond, 1, static_cast<off_t>(size)) > 0 || !unchanged(fd, info)) {
        return done(changed());
    }
    return done({});
}

} // namespace

std::string BatchInputRefusal(std::string_view path, const core::FileStatus& status)
{
    const std::string name = path == "-" ? "standard input" : std::string(path);
    switch (status.SystemError()) {
    case EFBIG:
        return (path == "-" ? "Cannot read standard input: " : "Cannot open " + name + ": ") +
               status.Error();
    case kChangedError:
        return name + " changed while it was read";
    case kCorruptError:
        return name + ": the compressed data are truncated or corrupt";
    default:
        return std::string(core::msg::kFileNotFound);
    }
}

BatchText::BatchText(std::string bytes) : m_bytes(std::move(bytes)), m_view(m_bytes)
{}

BatchText::BatchText(BatchText&& other) noexcept
{
    *this = std::move(other);
}

BatchText& BatchText::operator=(BatchText&& other) noexcept
{
    if (this != &other) {
        if (m_map != nullptr) {
            ::munmap(m_map, m_mapSize);
        }
        const bool owned = other.m_map == nullptr;
        m_bytes = std::move(other.m_bytes);
        m_map = std::exchange(other.m_map, nullptr);
        m_mapSize = std::exchange(other.m_mapSize, 0);
        m_view = owned ? std::string_view(m_bytes) : other.m_view;
        other.m_view = {};
    }
    return *this;
}

BatchText::~BatchText()
{
    if (m_map != nullptr) {
        ::munmap(m_map, m_mapSize);
    }
}

BatchText BatchText::Read(const std::string& path, core::FileStatus& status,
                          const BatchReadOptions& options)
{
    TextMemory memory;
    std::size_t size = 0;
    if (path == "-") {
        status = readStream(
            memory, size, options, "It holds more than 1 GiB, the most the program reads",
            [](char* into, std::size_t room, core::FileStatus& failure) -> std::ptrdiff_t {
                while (true) {
                    const ssize_t got = ::read(STDIN_FILENO, into, room);
                    if (got >= 0 || errno != EINTR) {
                        if (got < 0) {
                            failure = core::FileStatus::FromErrno(errno);
                        }
                        return got;
                    }
                }
            });
    } else if (endsWith(path, ".gz")) {
        status = readCompressed(path, memory, size, options);
    } else {
        status = readRegular(path, memory, size, options);
    }
    BatchText text;
    if (!status) {
        return text;
    }
    const auto [data, capacity] = memory.Release();
    text.m_map = data;
    text.m_mapSize = capacity;
    text.m_view = std::string_view(data, data == nullptr ? 0 : size);
    return text;
}

namespace {

/// The records whose headers start in [begin, end): begin is where a record
/// starts, and so is end unless it is the end of the text.
void splitRange(std::string_view text, std::size_t begin, std::size_t end,
                std::vector<BatchRecord>& records)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t i = begin;
    while (i < end && data[i] == '>') {
        BatchRecord record;
        record.offset = i;
        ++i;
        // The name ends at the first CR or LF: a LF found fast, then a CR
        // looked for before it.
        const void* lineFeed = std::memchr(data + i, '\n', size - i);
        std::size_t nameEnd =
            lineFeed == nullptr
                ? size
                : static_cast<std::size_t>(static_cast<const char*>(lineFeed) - data);
        if (const void* cr = std::memchr(data + i, '\r', nameEnd - i)) {
            nameEnd = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
        }
        record.name = text.substr(i, nameEnd - i);
        i = nameEnd;
        while (i < size && (data[i] == '\r' || data[i] == '\n')) {
            ++i;
        }
        const void* next = std::memchr(data + i, '>', size - i);
        const std::size_t bodyEnd =
            next == nullptr ? size
                            : static_cast<std::size_t>(static_cast<const char*>(next) - data);
        record.body = text.substr(i, bodyEnd - i);
        i = bodyEnd;
        records.push_back(record);
    }
}

/// The first ">" at or after from (beyond the first record's start) that
/// stands just after a CR or LF, or the end of the text. Such a ">" always
/// starts a record: no name runs past a line break, and a body ends at the
/// first ">".
std::size_t nextLineStartRecord(std::string_view text, std::size_t from)
{
    const char* const data = text.data();
    while (from < text.size()) {
        const void* found = std::memchr(data + from, '>', text.size() - from);
        if (found == nullptr) {
            break;
        }
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        if (data[at - 1] == '\n' || data[at - 1] == '\r') {
            return at;
        }
        from = at + 1;
    }
    return text.size();
}

} // namespace

std::vector<BatchRecord> SplitBatchRecords(std::string_view text, unsigned jobs)
{
    std::vector<BatchRecord> records;
    const std::size_t first = text.size() - core::WithoutUtf8Bom(text).size();
    if (text.size() - first < 2 || text[first] != '>') {
        return records;
    }
    // Below this a thread costs more than it saves.
    constexpr std::size_t kPartBytes = std::size_t{4} << 20;
    const std::size_t parts =
        std::clamp<std::size_t>((text.size() - first) / kPartBytes, 1, std::max(1U, jobs));
    if (parts == 1) {
        splitRange(text, first, text.size(), records);
        return records;
    }
    // Each part starts at a record of its own, found at a line start after an
    // even share of the text, and is split on a thread of its own.
    std::vector<std::size_t> bounds = {first};
    for (std::size_t p = 1; p < parts; ++p) {
        const std::size_t share = first + (text.size() - first) * p / parts;
        bounds.push_back(nextLineStartRecord(text, std::max(share, bounds.back() + 1)));
    }
    bounds.push_back(text.size());
    std::vector<std::vector<BatchRecord>> found(parts);
    RunParts(parts, [&](std::size_t p) { splitRange(text, bounds[p], bounds[p + 1], found[p]); });
    records = std::move(found[0]);
    std::size_t total = 0;
    for (const auto& part : found) {
        total += part.size();
    }
    records.reserve(total);
    for (std::size_t p = 1; p < parts; ++p) {
        records.insert(records.end(), found[p].begin(), found[p].end());
    }
    return records;
}

} // namespace quorin::batch
