#include "core/ProfileFile.h"

#include "core/FileIo.h"
#include "core/SequenceText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorin::core {
namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

/// The form sections and keys are compared in.
std::string foldCase(std::string_view s)
{
    std::string folded(s);
    for (char& c : folded) {
        c = lowerAscii(c);
    }
    return folded;
}

std::string_view trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

/// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    const auto close = line.find(']');
    return trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
}

struct KeyLine
{
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> keyLine(std::string_view line)
{
    const std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') {
        return std::nullopt;
    }
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) {
        return KeyLine{trimmed, {}};
    }
    return KeyLine{trim(trimmed.substr(0, eq)), trim(trimmed.substr(eq + 1))};
}

std::int64_t nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

/// An exclusive lock on "<settings file>.lock", held for the object's life.
/// The lock file is removed on release; a locker that finds the file it
/// locked already removed or replaced tries again, so that two writers never
/// hold locks on different files. Without a lock file (a read-only or missing
/// folder) the writer goes on unlocked: its write fails there anyway.
class WriterLock
{
public:
    explicit WriterLock(const std::filesystem::path& settingsPath)
    {
        // Writers through a symlink and writers of its target share one lock,
        // beside the file a save replaces.
        m_path = SaveTarget(settingsPath);
        m_path += ".lock";
        for (;;) {
            m_fd = ::open(m_path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
            if (m_fd < 0) {
                return;
            }
            int locked = 0;
            do {
                locked = ::flock(m_fd, LOCK_EX);
            } while (locked != 0 && errno == EINTR);
            struct stat held = {};
            struct stat named = {};
            if (locked == 0 && ::fstat(m_fd, &held) == 0 && ::lstat(m_path.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                return;
            }
            ::close(m_fd);
            m_fd = -1;
            if (locked != 0) {
                return;
            }
        }
    }
    ~WriterLock()
    {
        if (m_fd >= 0) {
            ::unlink(m_path.c_str());
            ::close(m_fd);
        }
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

private:
    std::filesystem::path m_path;
    int m_fd = -1;
};

/// Whether a name written by a Set reads back as the same name: no line
/// break, no blank a reader would trim, none of the characters that end a
/// key or a section name or that make a line a comment or a header.
bool readsBackAlike(std::string_view name, std::string_view forbidden)
{
    return !name.empty() && trim(name) == name &&
           name.find_first_of(forbidden) == std::string_view::npos && name.front() != ';' &&
           name.front() != '[';
}

} // namespace

ProfileText::ProfileText(std::string_view content)
{
    const std::string_view text = WithoutUtf8Bom(content);
    m_bom = std::string(content.substr(0, content.size() - text.size()));
    content = text;
    Section* open = nullptr;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const std::size_t brk = content.find_first_of("\r\n", pos);
        std::size_t endLen = 0;
        if (brk != std::string_view::npos) {
            endLen = content[brk] == '\r' && brk + 1 < content.size() && content[brk + 1] == '\n'
                         ? 2
                         : 1;
        }
        const std::size_t textEnd = brk == std::string_view::npos ? content.size() : brk;
        const auto line =
            m_lines.insert(m_lines.end(), Line{std::string(content.substr(pos, textEnd - pos)),
                                               std::string(content.substr(textEnd, endLen))});
        pos = textEnd + endLen;

        if (const auto name = sectionName(line->text)) {
            if (open != nullptr) {
                open->next = line;
            }
            const bool first = findSection(*name) == nullptr;
            current = first ? &addSection(line, foldCase(*name)) : nullptr;
            open = current;
            m_lastSection = current;
        } else if (current != nullptr) {
            if (const auto kv = keyLine(line->text)) {
                current->keys[foldCase(kv->key)].push_back(line);
            }
        }
    }
}

ProfileText::Section& ProfileText::addSection(Lines::iterator header, std::string name)
{
    return m_sections.emplace(std::move(name), Section{header, std::nullopt, {}}).first->second;
}

ProfileText::Section* ProfileText::findSection(std::string_view section)
{
    const auto it = m_sections.find(foldCase(section));
    return it == m_sections.end() ? nullptr : &it->second;
}

const ProfileText::Section* ProfileText::findSection(std::string_view section) const
{
    const auto it = m_sections.find(foldCase(section));
    return it == m_sections.end() ? nullptr : &it->second;
}

std::optional<std::string> ProfileText::Lookup(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto lines = found->keys.find(foldCase(key));
    if (lines == found->keys.end()) {
        return std::nullopt;
    }
    std::string_view value = keyLine(lines->second.front()->text)->value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

void ProfileText::Set(std::string_view section, std::string_view key,
                      std::optional<std::string_view> value)
{
    Section* found = findSection(section);
    std::string folded = foldCase(key);
    std::vector<Lines::iterator>* lines = nullptr;
    if (found != nullptr) {
        const auto it = found->keys.find(folded);
        lines = it == found->keys.end() ? nullptr : &it->second;
    }
    const bool hasKey = lines != nullptr;
    if (value) {
        m_parsesAlike = m_parsesAlike && value->find_first_of("\r\n") == std::string_view::npos &&
                        (hasKey || readsBackAlike(key, "=\r\n")) &&
                        (found != nullptr || readsBackAlike(section, "]\r\n"));
    }

    if (!value) {
        if (hasKey) {
            m_lines.erase(lines->front());
            lines->erase(lines->begin());
            if (lines->empty()) {
                found->keys.erase(folded);
            }
            m_changed = true;
        }
        return;
    }
    if (hasKey) {
        // Keep the key as the file spells it.
        Line& line = *lines->front();
        std::string text = std::string(keyLine(line.text)->key) + '=' + std::string(*value);
        if (text != line.text) {
            line.text = std::move(text);
            m_changed = true;
        }
        return;
    }
    m_changed = true;
    std::string text = std::string(key) + '=' + std::string(*value);
    if (found != nullptr) {
        // After the section's last non-empty line, so blank separators stay last.
        auto at = found->next.value_or(m_lines.end());
        while (std::prev(at) != found->header && trim(std::prev(at)->text).empty()) {
            --at;
        }
        if (std::prev(at)->end.empty()) {
            std::prev(at)->end = "\r\n";
        }
        found->keys[std::move(folded)].push_back(m_lines.insert(at, Line{std::move(text), "\r\n"}));
        return;
    }
    if (!m_lines.empty() && m_lines.back().end.empty()) {
        m_lines.back().end = "\r\n";
    }
    const auto header =
        m_lines.insert(m_lines.end(), Line{"[" + std::string(section) + "]", "\r\n"});
    if (m_lastSection != nullptr) {
        m_lastSection->next = header;
    }
    Section& added = addSection(header, foldCase(section));
    added.keys[std::move(folded)].push_back(m_lines.insert(m_lines.end(), Line{text, "\r\n"}));
    m_lastSection = &added;
}

std::string ProfileText::Bytes() const
{
    std::size_t size = m_bom.size();
    for (const Line& line : m_lines) {
        size += line.text.size() + line.end.size();
    }
    std::string out;
    out.reserve(size);
    out += m_bom;
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

ProfileFile::ProfileFile(std::filesystem::path path) : m_path(std::move(path))
{}

ProfileFile& ProfileFile::operator=(const ProfileFile& other)
{
    if (this != &other) {
        m_path = other.m_path;
        m_text.reset();
        m_stamp = {};
    }
    return *this;
}

ProfileFile::ProfileFile(ProfileFile&&) noexcept = default;
ProfileFile& ProfileFile::operator=(ProfileFile&&) noexcept = default;
ProfileFile::~ProfileFile() = default;

ProfileFile::Stamp ProfileFile::stamp() const
{
    struct stat status = {};
    if (::stat(m_path.c_str(), &status) != 0) {
        return {};
    }
    return {true,
            static_cast<std::uint64_t>(status.st_dev),
            static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size),
            nanoseconds(status.st_mtim),
            nanoseconds(status.st_ctim)};
}

const ProfileText& ProfileFile::current() const
{
    // The stamp is taken before the read: a change in between makes the next
    // lookup parse again rather than trust a stale text.
    const Stamp now = stamp();
    if (m_text == nullptr || now != m_stamp) {
        std::optional<std::string> content;
        if (now.exists) {
            content = ReadWholeFile(m_path);
        }
        m_text = std::make_unique<ProfileText>(content ? std::string_view(*content) : "");
        m_stamp = now;
    }
    return *m_text;
}

std::optional<std::string> ProfileFile::Lookup(std::string_view section, std::string_view key) const
{
    return current().Lookup(section, key);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const
{
    auto value = Lookup(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int fallback) const
{
    const auto value = Lookup(section, key);
    if (!value) {
        return fallback;
    }
    // The profile reader takes an optional sign and decimal digits only.
    std::string_view text = trim(*value);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        number = number * 10 + (c - '0');
        if (number > 0xFFFFFFFFLL) {
            break;
        }
    }
    // Beyond 32 bits the value wraps like the 32-bit integer it is stored in.
    const auto wrapped = static_cast<std::uint32_t>(negative ? -number : number);
    return static_cast<int>(wrapped);
}

bool ProfileFile::Update(const std::function<void(ProfileText& text)>& change)
{
    const WriterLock lock(m_path);
    // Under the lock the file is read again whatever its stamp says: a change
    // must apply to what the last writer left.
    const Stamp before = stamp();
    std::optional<std::string> content;
    if (before.exists) {
        content = ReadWholeFile(m_path);
        if (!content) {
            m_text.reset();
            return false;
        }
    }
    // The last parse serves when it holds exactly the bytes on disk: a file
    // of a million keys is then not parsed again for every update.
    const std::string_view onDisk = content ? std::string_view(*content) : "";
    std::unique_ptr<ProfileText> text;
    if (m_text != nullptr && !m_text->Changed() && m_text->Bytes() == onDisk) {
        text = std::move(m_text);
    } else {
        text = std::make_unique<ProfileText>(onDisk);
    }
    change(*text);
    if (text->Changed()) {
        const std::string bytes = text->Bytes();
        if (!WriteFileAtomically(m_path, bytes)) {
            m_text.reset();
            return false;
        }
        // The index must be what a reader of the file gets: parsed again
        // unless the changes keep it so. Still under the lock: no writer can
        // have come between.
        if (text->ParsesAlike()) {
            text->m_changed = false;
            m_text = std::move(text);
        } else {
            m_text = std::make_unique<ProfileText>(bytes);
        }
        m_stamp = stamp();
        return true;
    }
    m_text = std::move(text);
    m_stamp = before;
    return true;
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::optional<std::string_view> value)
{
    return Update([&](ProfileText& text) { text.Set(section, key, value); });
}

bool ProfileFile::WriteInt(std::string_view section, std::string_view key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

std::optional<std::string> ProfileFile::AccessProblem() const
{
    struct stat status = {};
    if (::stat(m_path.c_str(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            return "it is a directory";
        }
        // A device or FIFO would be read for ever or block; it holds no settings.
        if (!S_ISREG(status.st_mode)) {
            return "it is not a regular file";
        }
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return std::strerror(errno);
        }
        ::close(fd);
        return std::nullopt;
    }
    if (errno != ENOENT) {
        return std::strerror(errno);
    }
    std::filesystem::path folder = m_path.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    if (::stat(folder.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return "the folder " + folder.string() + " does not exist";
        }
        return std::strerror(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return folder.string() + " is not a folder";
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return std::strerror(errno);
    }
    return std::nullopt;
}

} // namespace quorin::core
