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

/// Content of a file; fails the current test when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

/// A fixture file under tests/data; fails the current test when missing.
std::filesystem::path DataFile(const std::string& relative);

} // namespace quorin::test
