#pragma once

#include <filesystem>
#include <string_view>

namespace quorin::core {

/// The starter settings file, src/res/quorin.ini as the build found it: common
/// cleaving agents and modifications, the two built-in hydropathy scales and
/// the residue colours.
std::string_view StarterSettingsText();

/// Gives a user-data directory its first settings file: creates the directory
/// when needed and places the starter settings in it as "quorin.ini" when
/// nothing of that name is there. An existing file is never replaced, also
/// when another program places one at the same moment. Returns true when this
/// call placed the file; false when one was there or it could not be written
/// (the programs then go on with the built-in defaults, as before).
bool PlaceStarterSettings(const std::filesystem::path& userDataDirectory);

} // namespace quorin::core
