#include "analysis/PhysChem.h"
#include "core/FileIo.h"
#include "core/SequenceText.h"

#include <benchmark/benchmark.h>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using quorin::core::PropertyRecord;

std::string titinText()
{
    const auto fasta = quorin::core::ReadWholeFile(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta");
    if (!fasta) {
        throw std::runtime_error("missing titin fixture");
    }
    const auto body = fasta->find('\n');
    return fasta->substr(body + 1);
}

/// SetSequence, pI, MW and both absorption values, as the properties window
/// and every batch row ask for them.
void analyse(PropertyRecord& record, const std::string& text)
{
    record.SetSequence(text);
    benchmark::DoNotOptimize(record.IsoelectricPoint());
    benchmark::DoNotOptimize(record.MolecularWeight());
    benchmark::DoNotOptimize(record.AbsorptionDenatured());
    benchmark::DoNotOptimize(record.AbsorptionNative());
}

void BM_PropertiesOfTitin(benchmark::State& state)
{
    const std::string text = titinText();
    PropertyRecord record;
    record.ResetCurrentTables();
    for (auto _ : state) {
        analyse(record, text);
    }
    state.SetLabel("35,000 residues");
}
BENCHMARK(BM_PropertiesOfTitin)->Unit(benchmark::kMillisecond);

void BM_PropertiesOf10000Peptides(benchmark::State& state)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(8, 40);
    std::uniform_int_distribution<int> letter(0, 19);
    std::vector<std::string> peptides(10000);
    for (std::string& peptide : peptides) {
        peptide.resize(static_cast<std::size_t>(length(random)));
        for (char& c : peptide) {
            c = "ACDEFGHIKLMNPQRSTVWY"[letter(random)];
        }
    }
    PropertyRecord record;
    record.ResetCurrentTables();
    for (auto _ : state) {
        for (const std::string& peptide : peptides) {
            analyse(record, peptide);
        }
    }
}
BENCHMARK(BM_PropertiesOf10000Peptides)->Unit(benchmark::kMillisecond);

void BM_PhysChemReportOfTitin(benchmark::State& state)
{
    const std::string text = titinText();
    PropertyRecord record;
    record.ResetCurrentTables();
    for (auto _ : state) {
        record.SetSequence(text);
        benchmark::DoNotOptimize(quorin::analysis::PhysChemReportText(record));
    }
}
BENCHMARK(BM_PhysChemReportOfTitin)->Unit(benchmark::kMillisecond);

} // namespace
