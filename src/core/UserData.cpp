#include "core/UserData.h"

#include <cstdlib>

namespace quorin::core {
namespace {

constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kApplicationSection = "Application";

} // namespace

std::filesystem::path RegistryStorePath()
{
    if (const char* overridden = std::getenv("QUORIN_REGISTRY"); overridden && *overridden) {
        return overridden;
    }
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        config = std::filesystem::path(home) / ".config";
    } else {
        config = ".";
    }
    return config / "quorin" / "registry.ini";
}

std::filesystem::path UserDataDirectory(const ProfileFile& registry,
                                        const std::filesystem::path& startDirectory)
{
    const std::string value = registry.ReadString(kSettingsSection, "User data", "");
    return value.empty() ? startDirectory : std::filesystem::path(value);
}

bool WriteUserDataDirectory(ProfileFile& registry, const std::filesystem::path& directory)
{
    std::error_code ignored; // a folder that cannot be made fails the write below
    std::filesystem::create_directories(registry.Path().parent_path(), ignored);
    return registry.WriteString(kSettingsSection, "User data", directory.string());
}

std::string InstallationPath(const ProfileFile& registry)
{
    return registry.ReadString(kApplicationSection, "InstPath", "");
}

} // namespace quorin::core
