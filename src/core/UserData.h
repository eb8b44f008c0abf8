#pragma once

#include "core/ProfileFile.h"

#include <filesystem>
#include <string>

namespace quorin::core {

/// The small store that stands for the registry: the user-data directory
/// ("User data" of section "Settings") and the installation path ("InstPath").
/// It is $QUORIN_REGISTRY when set (tests point it elsewhere), else
/// quorin/registry.ini in the user's configuration directory.
std::filesystem::path RegistryStorePath();

/// The directory that holds "quorin.ini": the store's "User data" value when it
/// is not empty, else startDirectory.
std::filesystem::path UserDataDirectory(const ProfileFile& registry,
                                        const std::filesystem::path& startDirectory);

/// Writes "User data" into the store; false when the store could not be written.
bool WriteUserDataDirectory(ProfileFile& registry, const std::filesystem::path& directory);

/// The installation directory ending with a separator, or empty.
std::string InstallationPath(const ProfileFile& registry);

/// The settings file inside a user-data directory.
inline std::filesystem::path SettingsFilePath(const std::filesystem::path& userDataDirectory)
{
    return userDataDirectory / "quorin.ini";
}

} // namespace quorin::core
