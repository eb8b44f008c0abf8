#include "analysis/Digest.h"
#include "core/FileIo.h"
#include "core/SequenceText.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

using quorin::core::PropertyRecord;
namespace analysis = quorin::analysis;

/// Titin (34,350 residues) cut after every K and R: about 4,600 sites and
/// 10.5 million fragments.
PropertyRecord& titinDigest()
{
    static PropertyRecord record = [] {
        const auto fasta =
            quorin::core::ReadWholeFile(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta");
        if (!fasta) {
            throw std::runtime_error("missing titin fixture");
        }
        PropertyRecord titin;
        titin.ResetCurrentTables();
        quorin::core::ParseSequenceText(titin, quorin::core::FirstFastaRecord(*fasta));
        titin.digest.selectedAgents = {{"Trypsin", "K!;R!"}};
        return titin;
    }();
    return record;
}

void BM_DigestOfTitin(benchmark::State& state)
{
    PropertyRecord& record = titinDigest();
    for (auto _ : state) {
        analysis::Digest(record, "K!;R!");
        benchmark::DoNotOptimize(record.digest.fragments.data());
    }
    state.counters["fragments"] = static_cast<double>(record.digest.fragments.size());
    state.SetLabel("sites, fragments, weight sort, report head");
}
BENCHMARK(BM_DigestOfTitin)->Unit(benchmark::kMillisecond)->Iterations(3);

/// A window's re-sort from weight order (the digest's) and back.
void BM_ResortTitin(benchmark::State& state)
{
    PropertyRecord& record = titinDigest();
    analysis::Digest(record, "K!;R!");
    const auto mode = static_cast<analysis::SortMode>(state.range(0));
    for (auto _ : state) {
        analysis::BuildDigestReport(record, mode, false, 80);
        state.PauseTiming();
        analysis::BuildDigestReport(record,
                                    mode == analysis::SortMode::ByWeight
                                        ? analysis::SortMode::ByStart
                                        : analysis::SortMode::ByWeight,
                                    false, 80);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ResortTitin)
    ->Arg(static_cast<int>(analysis::SortMode::ByStart))
    ->Arg(static_cast<int>(analysis::SortMode::ByLength))
    ->Arg(static_cast<int>(analysis::SortMode::ByWeight))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_ReportTextOfTitin(benchmark::State& state)
{
    PropertyRecord& record = titinDigest();
    analysis::Digest(record, "K!;R!");
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        analysis::WriteDigestReport(record, [&](std::string_view piece) { bytes += piece.size(); });
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
}
BENCHMARK(BM_ReportTextOfTitin)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReportLinesInView(benchmark::State& state)
{
    PropertyRecord& record = titinDigest();
    analysis::Digest(record, "K!;R!");
    const std::size_t lines = analysis::DigestReportLineCount(record);
    std::size_t first = 0;
    for (auto _ : state) {
        // One screenful somewhere in the middle of ten million lines.
        first = (first + 7'654'321) % (lines - 60);
        for (std::size_t i = first; i < first + 60; ++i) {
            benchmark::DoNotOptimize(analysis::DigestReportLine(record, i));
        }
    }
}
BENCHMARK(BM_ReportLinesInView)->Unit(benchmark::kMicrosecond);

} // namespace
