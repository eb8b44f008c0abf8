#include "analysis/Motifs.h"
#include "core/FileIo.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

std::string titinText()
{
    const auto fasta = quorin::core::ReadWholeFile(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta");
    if (!fasta) {
        throw std::runtime_error("missing titin fixture");
    }
    return fasta->substr(fasta->find('\n') + 1);
}

/// Ten motifs on titin, common and wildcard-heavy ones among them, with the
/// report in both orders as the window and the command line make it.
void BM_TenMotifsOnTitin(benchmark::State& state)
{
    quorin::core::PropertyRecord record;
    record.SetName("titin");
    record.SetSequence(titinText());
    const std::string search = "GX;LL;AS;AT;AY;PXXP;KXXK;E;VXV;NXS";
    for (auto _ : state) {
        quorin::analysis::SearchMotifs(record, search);
        benchmark::DoNotOptimize(quorin::analysis::MotifReportText(record, true));
        benchmark::DoNotOptimize(quorin::analysis::MotifReportText(record, false));
    }
    state.counters["sites"] = record.motifs.hitCount;
}
BENCHMARK(BM_TenMotifsOnTitin)->Unit(benchmark::kMillisecond);

} // namespace
