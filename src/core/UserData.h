#pragma once

#include "core/ProfileFile.h"

#include <filesystem>
#include <string>

namespace quorin::core {

/// The small store that stands for the registry: the user-data directory
/// ("User data" of section "Settings"). A restart after the directory moved
/// starts the running program's own file, so an installer's "InstPath" there
/// is left alone. It is $QUORIN_REGISTRY when set (tests point it elsewhere), else
/// quorin/registry.ini in the user's configuration directory.
std::filesystem::path RegistryStorePath();

/// The user-data directory when the store names none: "quorin" in
/// $XDG_DATA_HOME when that is an absolute path (the base-directory rules
/// ignore a relative one), else ~/.local/share/quorin, the home taken from
/// $HOME or the password database. Empty when no home is known.
std::filesystem::path DefaultUserDataDirectory();

/// The directory that holds "quorin.ini": the store's "User data" value when it
/// is not empty, else DefaultUserDataDirectory(). Never the folder the program
/// was started from.
std::filesystem::path UserDataDirectory(const ProfileFile& registry);

/// Writes "User data" into the store; false when the store could not be written.
bool WriteUserDataDirectory(ProfileFile& registry, const std::filesystem::path& directory);

/// The settings file inside a user-data directory.
inline std::filesystem::path SettingsFilePath(const std::filesystem::path& userDataDirectory)
{
    return userDataDirectory / "quorin.ini";
}

} // namespace quorin::core
