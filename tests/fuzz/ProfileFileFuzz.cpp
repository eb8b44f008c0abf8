// Any settings file is read by the start-up and document readers without
// fault, and a key written into it reads back as written.
#include "FuzzRequire.h"
#include "core/ProfileFile.h"
#include "core/Settings.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace quorin::core;
using quorin::fuzz::Require;

namespace {

/// A private directory on a memory file system when there is one: the readers
/// write missing keys back, and each write syncs the file. Never destroyed, so
/// that the exit handler that removes the directory can still name it.
const std::filesystem::path& workDirectory()
{
    static const auto* dir = [] {
        const std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                               ? "/dev/shm"
                                               : std::filesystem::temp_directory_path();
        auto* path =
            new std::filesystem::path(base / ("quorin-fuzz-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*path);
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(workDirectory(), error);
        });
        return path;
    }();
    return *dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto path = workDirectory() / "quorin.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    ProfileFile file(path);
    AppSettings settings;
    ReadStartupSettings(file, settings, "/start");
    PropertyRecord record;
    ReadRecordSettings(file, record);

    Require(file.WriteString("Fuzz Section", "Fuzz Key", "value 1"), "write failed");
    const auto value = file.Lookup("fuzz section", "FUZZ KEY");
    Require(value && *value == "value 1", "a written key does not read back");
    // A duplicate of the key may show once the first is gone, so only the
    // deletion itself is checked.
    Require(file.DeleteKey("Fuzz Section", "Fuzz Key"), "delete failed");
    return 0;
}
