#include "batch/BatchInput.h"

#include "batch/BatchThreads.h"
#include "core/SequenceText.h"

#include <algorithm>
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

bool endsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

core::ReadResult readCompressed(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return core::FileStatus::FromErrno(errno);
    }
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        // The sequence-file reader words the refusal of a directory, device or FIFO.
        return core::ReadSequenceFile(path).Status();
    }
    gzFile file = ::gzdopen(fd, "rb");
    if (file == nullptr) {
        ::close(fd);
        return core::FileStatus::FromErrno(ENOMEM);
    }
    ::gzbuffer(file, 1U << 20);
    std::string bytes;
    constexpr std::size_t kChunk = std::size_t{4} << 20;
    while (true) {
        const std::size_t used = bytes.size();
        if (used > core::kMaxInputBytes) {
            ::gzclose(file);
            return core::FileStatus::Failed(
                "It holds more than 1 GiB of text, the most the program reads", EFBIG);
        }
        bytes.resize(used + kChunk);
        const int got = ::gzread(file, bytes.data() + used, static_cast<unsigned>(kChunk));
        if (got < 0) {
            int code = 0;
            const std::string reason = ::gzerror(file, &code);
            ::gzclose(file);
            return core::FileStatus::Failed(reason);
        }
        bytes.resize(used + static_cast<std::size_t>(got));
        if (got == 0) {
            break;
        }
    }
    ::gzclose(file);
    return bytes;
}

} // namespace

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

BatchText BatchText::Read(const std::string& path, core::FileStatus& status)
{
    status = {};
    if (path == "-") {
        auto bytes = core::ReadStandardInput();
        if (!bytes) {
            status = bytes.Status();
            return {};
        }
        return BatchText(std::move(*bytes));
    }
    if (endsWith(path, ".gz")) {
        auto bytes = readCompressed(path);
        if (!bytes) {
            status = bytes.Status();
            return {};
        }
        return BatchText(std::move(*bytes));
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        status = core::FileStatus::FromErrno(errno);
        return {};
    }
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        status = core::ReadSequenceFile(path).Status();
        return {};
    }
    BatchText text;
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > 0) {
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) {
            status = core::FileStatus::FromErrno(errno);
            ::close(fd);
            return {};
        }
        // Read ahead from the disk at once; the pages are mapped as the
        // threads that split and analyse the text first touch them, not all
        // on this thread beforehand.
        ::madvise(map, size, MADV_WILLNEED);
        text.m_map = map;
        text.m_mapSize = size;
        text.m_view = std::string_view(static_cast<const char*>(map), size);
    }
    ::close(fd);
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
    WorkerThreads threads;
    // The parts no thread could be started for are split here.
    std::vector<std::size_t> here = {0};
    for (std::size_t p = 1; p < parts; ++p) {
        if (!threads.Start([&, p] { splitRange(text, bounds[p], bounds[p + 1], found[p]); })) {
            here.push_back(p);
        }
    }
    for (const std::size_t p : here) {
        splitRange(text, bounds[p], bounds[p + 1], found[p]);
    }
    threads.JoinAll();
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
