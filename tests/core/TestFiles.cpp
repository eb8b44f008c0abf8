#include "core/TestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/mount.h>

namespace quorin::test {

TempDir::TempDir()
{
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() /
             ("quorin-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

SmallFileSystem::SmallFileSystem(const std::filesystem::path& at, const std::string& options,
                                 unsigned long flags)
    : m_at(at)
{
    std::filesystem::create_directory(at);
    m_mounted = ::mount("tmpfs", at.c_str(), "tmpfs", flags, options.c_str()) == 0;
    m_error = m_mounted ? 0 : errno;
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted) {
        ::umount2(m_at.c_str(), MNT_DETACH);
    }
}

std::string SmallFileSystem::Why() const
{
    return std::strerror(m_error);
}

void SmallFileSystem::Remount(unsigned long flags) const
{
    ASSERT_EQ(::mount("tmpfs", m_at.c_str(), "tmpfs", MS_REMOUNT | flags, nullptr), 0);
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::filesystem::path DataFile(const std::string& relative)
{
    const std::filesystem::path path = std::filesystem::path(QUORIN_TEST_DATA_DIR) / relative;
    EXPECT_TRUE(std::filesystem::exists(path)) << "missing fixture " << path;
    return path;
}

} // namespace quorin::test
