#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorin::core {

/// The text of a settings file of the INI kind, held as its lines with an
/// index of sections and keys, so that a lookup or a change costs no scan of
/// the file.
///
/// Sections and keys are compared without case; the first of duplicates wins
/// (a later section of the same name is never read or written). Values are
/// read with surrounding blanks removed and one pair of enclosing quotes
/// stripped. A change rewrites one line and keeps every other line byte for
/// byte; new lines end with CR LF.
class ProfileText
{
public:
    explicit ProfileText(std::string_view content = {});
    // The index points into the line list, so the text is neither copied nor moved.
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    /// The value of a key, or nothing when the section or key is missing.
    std::optional<std::string> Lookup(std::string_view section, std::string_view key) const;

    /// Sets a key, adding the section and key when they are missing. A value of
    /// nothing deletes the key (a later duplicate of it then reads).
    void Set(std::string_view section, std::string_view key, std::optional<std::string_view> value);

    /// Whether a Set changed a byte since the text was parsed.
    bool Changed() const { return m_changed; }

    /// Whether a parse of Bytes() gives this very index: false once a Set
    /// wrote a line break, or a key or section name that a reader would
    /// trim or split differently.
    bool ParsesAlike() const { return m_parsesAlike; }

    /// The file's bytes.
    std::string Bytes() const;

private:
    /// One physical line: its text without the line end, and the line end itself.
    struct Line
    {
        std::string text;
        std::string end;
    };
    using Lines = std::list<Line>;

    /// The first section of a name: its header line, the header that ends it
    /// (none for the last section of the file) and its key lines, the first of
    /// each name first.
    struct Section
    {
        Lines::iterator header;
        std::optional<Lines::iterator> next;
        std::unordered_map<std::string, std::vector<Lines::iterator>> keys;
    };

    Section* findSection(std::string_view section);
    const Section* findSection(std::string_view section) const;
    Section& addSection(Lines::iterator header, std::string name);

    /// A UTF-8 byte-order mark the file starts with: not part of the first
    /// line, written back as it was.
    std::string m_bom;
    Lines m_lines;
    std::unordered_map<std::string, Section> m_sections;
    /// The section that ends the file when it is indexed (not a duplicate).
    Section* m_lastSection = nullptr;
    bool m_changed = false;
    bool m_parsesAlike = true;

    friend class ProfileFile;
};

/// A settings file, read through an index and written back through it.
///
/// The file is parsed once and parsed again only when it changed on disk (its
/// identity, size or times differ from the last parse), so a value written by
/// another reader of the file, in this process or another, is seen at once.
/// A missing or unreadable file reads as empty; the first write creates it.
/// Writers are serialised by a lock file beside the settings file (its name
/// with ".lock" added, removed when the lock is released): a change is applied
/// to the file as it is on disk under the lock, so concurrent writers lose no
/// key. Files are replaced atomically: a failed write leaves the old file
/// intact, and a file that exists but cannot be read is never written over.
/// Lookups update the index, so an object serves one thread at a time.
class ProfileFile
{
public:
    explicit ProfileFile(std::filesystem::path path);
    /// A copy names the same file and parses it afresh.
    ProfileFile(const ProfileFile& other) : ProfileFile(other.m_path) {}
    ProfileFile& operator=(const ProfileFile& other);
    ProfileFile(ProfileFile&&) noexcept;
    ProfileFile& operator=(ProfileFile&&) noexcept;
    ~ProfileFile();

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

    /// Applies change to the file as it is on disk, under the lock, and writes
    /// the result once (nothing is written when change altered nothing). A
    /// read-modify-write decides inside change, on the text it is given.
    /// Returns false when the file could not be read or written.
    bool Update(const std::function<void(ProfileText& text)>& change);

    /// Why the file can be neither read nor created ("it is a directory", "the
    /// folder /x does not exist", a system error text), or nothing when it can.
    std::optional<std::string> AccessProblem() const;

private:
    /// What stat tells of the file; equal stamps mean an unchanged file.
    struct Stamp
    {
        bool exists = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };

    Stamp stamp() const;
    const ProfileText& current() const;

    std::filesystem::path m_path;
    mutable std::unique_ptr<ProfileText> m_text;
    mutable Stamp m_stamp;
};

} // namespace quorin::core
