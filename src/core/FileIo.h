#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::core {

/// Writes bytes to a temporary file beside path and renames it over path only
/// when every byte reached the disk. Returns false (and leaves path as it was)
/// otherwise.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// Receives output piece by piece.
using ByteSink = std::function<void(std::string_view bytes)>;

/// As above for output too large to hold in memory at once: produce is called
/// once and hands the bytes, in order, to the sink it is given.
bool WriteFileAtomically(const std::filesystem::path& path,
                         const std::function<void(const ByteSink& sink)>& produce);

/// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

} // namespace quorin::core
