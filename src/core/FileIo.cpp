#include "core/FileIo.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace quorin::core {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(buffer).str();
}

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes)
{
    return WriteFileAtomically(path, [bytes](const ByteSink& sink) { sink(bytes); });
}

bool WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(const ByteSink& sink)>& produce)
{
    std::filesystem::path temp = path;
    temp += ".tmp" + std::to_string(::getpid());
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = true;
    std::error_code error;
    try {
        produce([&](std::string_view bytes) {
            // After a failed write the rest is dropped; the old file stays.
            if (written && !bytes.empty()) {
                written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
            }
        });
    } catch (...) {
        std::fclose(file);
        std::filesystem::remove(temp, error);
        throw;
    }
    const bool flushed = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!(written && flushed && closed)) {
        std::filesystem::remove(temp, error);
        return false;
    }
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

} // namespace quorin::core
