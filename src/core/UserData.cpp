#include "core/UserData.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace quorin::core {
namespace {

constexpr std::string_view kSettingsSection = "Settings";

/// $HOME, else the password database's home of the user; empty when neither.
std::filesystem::path homeDirectory()
{
    if (const char* home = std::getenv("HOME"); home && *home) {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}

} // namespace

std::filesystem::path RegistryStorePath()
{
    if (const char* overridden = std::getenv("QUORIN_REGISTRY"); overridden && *overridden) {
        return overridden;
    }
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        config = xdg;
    } else if (const std::filesystem::path home = homeDirectory(); !home.empty()) {
        config = home / ".config";
    } else {
        config = ".";
    }
    return config / "quorin" / "registry.ini";
}

std::filesystem::path DefaultUserDataDirectory()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        if (const std::filesystem::path data(xdg); data.is_absolute()) {
            return data / "quorin";
        }
    }
    const std::filesystem::path home = homeDirectory();
    return home.empty() ? home : home / ".local" / "share" / "quorin";
}

std::filesystem::path UserDataDirectory(const ProfileFile& registry)
{
    const std::string value = registry.ReadString(kSettingsSection, "User data", "");
    return value.empty() ? DefaultUserDataDirectory() : std::filesystem::path(value);
}

bool WriteUserDataDirectory(ProfileFile& registry, const std::filesystem::path& directory)
{
    std::error_code ignored; // a folder that cannot be made fails the write below
    std::filesystem::create_directories(registry.Path().parent_path(), ignored);
    return registry.WriteString(kSettingsSection, "User data", directory.string());
}

} // namespace quorin::core
