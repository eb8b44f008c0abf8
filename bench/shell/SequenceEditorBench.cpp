#include "core/FileIo.h"
#include "shell/SequenceEditor.h"

#include <benchmark/benchmark.h>
#include <stdexcept>

namespace {

/// One residue typed into the middle of titin: the re-parse of the whole
/// control text and the re-formatting into blocks that follow every keystroke.
void BM_TypeIntoTitin(benchmark::State& state)
{
    const auto fasta = quorin::core::ReadWholeFile(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta");
    if (!fasta) {
        throw std::runtime_error("missing titin fixture");
    }
    quorin::core::PropertyRecord record;
    record.ResetCurrentTables();
    record.SetSequence(fasta->substr(fasta->find('\n') + 1));
    quorin::shell::SequenceEditor editor(record);
    editor.Refresh(60);
    const int middle = static_cast<int>(editor.ControlText().size() / 2);
    for (auto _ : state) {
        std::string control = editor.ControlText();
        control.insert(static_cast<std::size_t>(middle), 1, 'K');
        benchmark::DoNotOptimize(editor.ApplyControlText(control, middle + 1));
    }
}
BENCHMARK(BM_TypeIntoTitin)->Unit(benchmark::kMillisecond);

} // namespace
