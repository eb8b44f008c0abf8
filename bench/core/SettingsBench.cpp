// Reading a settings file as a new sequence document reads it, with long
// agent lists: every key is one lookup, so the reader must not scan the file
// per key.
#include "core/ProfileFile.h"
#include "core/Settings.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace quorin::core;

/// A complete settings file (nothing is written back on reading) with
/// agentCount cleaving agents.
std::filesystem::path writeSettings(int agentCount)
{
    const auto path =
        std::filesystem::temp_directory_path() /
        ("quorin-bench-" + std::to_string(::getpid()) + "-" + std::to_string(agentCount) + ".ini");
    std::filesystem::remove(path);
    ProfileFile file(path);
    PropertyRecord record;
    ReadRecordSettings(file, record);
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << "[Cleaving Agents]\r\n";
    for (int k = 0; k < agentCount; ++k) {
        out << k << "=Agent " << k << ":K!;R!\r\n";
    }
    out << "[Modifications]\r\n0=Phospho:S,T,Y;79.98\r\n";
    return path;
}

void BM_ReadRecordSettings(benchmark::State& state)
{
    const int agents = static_cast<int>(state.range(0));
    const auto path = writeSettings(agents);
    for (auto _ : state) {
        // A new file object: the parse is part of every read.
        ProfileFile file(path);
        PropertyRecord record;
        ReadRecordSettings(file, record);
        if (record.agents.size() != static_cast<std::size_t>(agents)) {
            state.SkipWithError("agents missing");
        }
        benchmark::DoNotOptimize(record.agents.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadRecordSettings)->Arg(500)->Arg(8000)->Unit(benchmark::kMillisecond);

} // namespace
