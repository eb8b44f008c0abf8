#pragma once

#include "core/ProfileFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorin::core {

/// The most recently used document paths, newest first, as the File menu
/// lists them. The settings file keeps them in section "Recent File List",
/// keys "File1" (newest) to "File4".
class RecentFileList
{
public:
    static constexpr std::size_t kSize = 4;

    /// Reads "File1".."File4"; empty and missing keys are skipped, a path
    /// listed twice is kept once.
    void Read(const ProfileFile& file);

    /// Writes the entries as "File1".."FileN" and deletes the keys of the
    /// positions left empty, so the file lists exactly what the menu shows.
    void Write(ProfileFile& file) const;

    /// Moves path to the top, adding it when it is new; the oldest entry drops
    /// off when there are more than kSize.
    void Add(std::string_view path);

    /// Removes path when it is listed (an entry that no longer opens).
    void Remove(std::string_view path);

    const std::vector<std::string>& Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

} // namespace quorin::core
