#include "core/StarterSettings.h"

#include "core/StarterSettingsText.h"
#include "core/UserData.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quorin::core {
namespace {

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// Creates target with bytes only when no such name exists; false otherwise.
bool createExclusively(const std::filesystem::path& target, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written = writeAll(fd, bytes);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(target.c_str());
        return false;
    }
    return true;
}

} // namespace

std::string_view StarterSettingsText()
{
    return {kStarterSettings, sizeof kStarterSettings - 1};
}

bool PlaceStarterSettings(const std::filesystem::path& userDataDirectory)
{
    const std::filesystem::path target = SettingsFilePath(userDataDirectory);
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, error))) {
        return false;
    }
    std::filesystem::create_directories(userDataDirectory, error);
    if (error) {
        return false;
    }
    // Written completely under a name of its own, then linked to its name: a
    // program starting at the same moment never reads half a file, and link()
    // fails rather than replace a file placed meanwhile.
    std::string temporary = (userDataDirectory / ".quorin.ini.XXXXXX").string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return createExclusively(target, StarterSettingsText());
    }
    const bool written = writeAll(fd, StarterSettingsText()) && ::fchmod(fd, 0644) == 0;
    const bool closed = ::close(fd) == 0;
    bool placed = false;
    if (written && closed) {
        if (::link(temporary.c_str(), target.c_str()) == 0) {
            placed = true;
        } else if (errno != EEXIST) {
            // A file system without hard links.
            placed = createExclusively(target, StarterSettingsText());
        }
    }
    ::unlink(temporary.c_str());
    return placed;
}

} // namespace quorin::core
