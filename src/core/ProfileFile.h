#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorin::core {

/// A settings file of the INI kind, read and written key by key.
///
/// Sections and keys are compared without case; the first of duplicates wins.
/// Values are read with surrounding blanks removed and one pair of enclosing
/// quotes stripped. A missing or unreadable file reads as empty; the first
/// write creates it. Writing changes one line and keeps every other line of
/// the file byte for byte; new lines end with CR LF. Every operation goes to
/// the file, so a value written by one reader is seen by every other at once.
/// Files are replaced atomically: a failed write leaves the old file intact.
class ProfileFile
{
public:
    explicit ProfileFile(std::filesystem::path path) : m_path(std::move(path)) {}

    const std::filesystem::path& Path() const { return m_path; }

    /// The value of a key, or nothing when the section or key is missing.
    std::optional<std::string> Lookup(std::string_view section, std::string_view key) const;

    /// The value of a key, or fallback when it is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;

    /// The leading integer of a key's value (0 when the text is no number), or
    /// fallback when the key is missing.
    int ReadInt(std::string_view section, std::string_view key, int fallback) const;

    /// Sets a key, adding the section and key when they are missing. A value of
    /// nothing deletes the key. Returns false when the file could not be written.
    bool WriteString(std::string_view section, std::string_view key,
                     std::optional<std::string_view> value);
    bool WriteInt(std::string_view section, std::string_view key, int value);
    bool DeleteKey(std::string_view section, std::string_view key)
    {
        return WriteString(section, key, std::nullopt);
    }

private:
    std::filesystem::path m_path;
};

} // namespace quorin::core
