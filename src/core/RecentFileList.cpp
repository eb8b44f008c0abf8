#include "core/RecentFileList.h"

#include <algorithm>

namespace quorin::core {
namespace {

constexpr std::string_view kSection = "Recent File List";

std::string keyOf(std::size_t position)
{
    return "File" + std::to_string(position + 1);
}

} // namespace

void RecentFileList::Read(const ProfileFile& file)
{
    m_entries.clear();
    for (std::size_t i = 0; i < kSize; ++i) {
        const std::string path = file.ReadString(kSection, keyOf(i), "");
        if (!path.empty() &&
            std::find(m_entries.begin(), m_entries.end(), path) == m_entries.end()) {
            m_entries.push_back(path);
        }
    }
}

void RecentFileList::Write(ProfileFile& file) const
{
    for (std::size_t i = 0; i < kSize; ++i) {
        if (i < m_entries.size()) {
            file.WriteString(kSection, keyOf(i), m_entries[i]);
        } else if (file.Lookup(kSection, keyOf(i))) {
            file.DeleteKey(kSection, keyOf(i));
        }
    }
}

void RecentFileList::Add(std::string_view path)
{
    if (path.empty()) {
        return;
    }
    Remove(path);
    m_entries.insert(m_entries.begin(), std::string(path));
    if (m_entries.size() > kSize) {
        m_entries.resize(kSize);
    }
}

void RecentFileList::Remove(std::string_view path)
{
    std::erase(m_entries, path);
}

} // namespace quorin::core
