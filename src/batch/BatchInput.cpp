#include "batch/BatchInput.h"

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
        void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (map == MAP_FAILED) {
            status = core::FileStatus::FromErrno(errno);
            ::close(fd);
            return {};
        }
        // The records are read from front to back, each once.
        ::madvise(map, size, MADV_SEQUENTIAL);
        text.m_map = map;
        text.m_mapSize = size;
        text.m_view = std::string_view(static_cast<const char*>(map), size);
    }
    ::close(fd);
    return text;
}

std::vector<BatchRecord> SplitBatchRecords(std::string_view text)
{
    std::vector<BatchRecord> records;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t i = text.substr(0, 3) == kByteOrderMark ? 3 : 0;
    if (text.size() - i < 2 || text[i] != '>') {
        return records;
    }
    const char* const data = text.data();
    const std::size_t size = text.size();
    while (i < size && data[i] == '>') {
        BatchRecord record;
        record.offset = i;
        ++i;
        std::size_t end = i;
        while (end < size && data[end] != '\r' && data[end] != '\n') {
            ++end;
        }
        record.name = text.substr(i, end - i);
        i = end;
        while (i < size && (data[i] == '\r' || data[i] == '\n')) {
            ++i;
        }
        const void* next = std::memchr(data + i, '>', size - i);
        end = next == nullptr ? size
                              : static_cast<std::size_t>(static_cast<const char*>(next) - data);
        record.body = text.substr(i, end - i);
        i = end;
        records.push_back(record);
    }
    return records;
}

} // namespace quorin::batch
