#include "core/StarterSettings.h"

#include "core/FileIo.h"
#include "core/StarterSettingsText.h"
#include "core/UserData.h"

namespace quorin::core {

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
    return static_cast<bool>(CreateFileOnce(target, StarterSettingsText()));
}

} // namespace quorin::core
