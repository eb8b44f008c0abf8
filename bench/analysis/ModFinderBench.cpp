#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "core/FileIo.h"
#include "core/SequenceText.h"

#include <benchmark/benchmark.h>
#include <stdexcept>

namespace {

using quorin::core::PropertyRecord;
namespace analysis = quorin::analysis;

/// Titin's whole Trypsin digest (10.5 million fragments) with three
/// modifications selected. Run under `ulimit -v 8000000`.
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
        analysis::Digest(titin, "K!;R!");
        titin.modifications = {{"Phosphorylation", "S,T,Y", 80.0},
                               {"Acetylation", "K", 42.0},
                               {"Oxidation", "M", 16.0}};
        analysis::SelectModifications(titin, {"Phosphorylation", "Acetylation", "Oxidation"});
        return titin;
    }();
    return record;
}

/// The search alone, on fragments in weight order (as a digest leaves them)
/// or in start order (as the digest window may show them). A peptide of
/// 2500 Da lies below almost every fragment, so nearly all are examined.
void BM_FindModificationsTitin(benchmark::State& state)
{
    PropertyRecord& record = titinDigest();
    analysis::SortFragments(record, static_cast<analysis::SortMode>(state.range(0)));
    for (auto _ : state) {
        analysis::FindModifications(record, 2500.0, 1.0);
        benchmark::DoNotOptimize(record.modFinder.matches.data());
    }
    state.counters["fragments"] = static_cast<double>(record.digest.fragments.size());
    state.counters["matches"] = static_cast<double>(record.modFinder.matches.size());
}
BENCHMARK(BM_FindModificationsTitin)
    ->Arg(static_cast<int>(analysis::SortMode::ByWeight))
    ->Arg(static_cast<int>(analysis::SortMode::ByStart))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
