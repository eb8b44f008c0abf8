#pragma once

#include <filesystem>
#include <string>

namespace quorin::test {

/// A fresh empty directory under the system temporary directory, removed with
/// the object.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

/// A small tmpfs of the test's own (mount options such as "size=64k"),
/// unmounted with the object; Mounted() is false where the sandbox does not
/// allow mounting.
class SmallFileSystem
{
public:
    SmallFileSystem(const std::filesystem::path& at, const std::string& options,
                    unsigned long flags = 0);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool Mounted() const { return m_mounted; }
    std::string Why() const;
    /// Mounts it again with flags (MS_RDONLY, say); fails the test when it cannot.
    void Remount(unsigned long flags) const;

private:
    std::filesystem::path m_at;
    bool m_mounted = false;
    int m_error = 0;
};

/// Content of a file; fails the current test when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

/// A fixture file under tests/data; fails the current test when missing.
std::filesystem::path DataFile(const std::string& relative);

} // namespace quorin::test
