#include "TitinRecord.h"
#include "core/PropertyRecord.h"
#include "plots/AmphipathyPage.h"
#include "plots/ui/PageOutput.h"
#include "plots/ui/PagePainter.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace quorin;

/// The whole of titin with window 19, as a new plot shows it.
void showWhole(plots::AmphipathyPage& page)
{
    page.Plot() = plots::AmphipathyPlot{1, plots::PositionCount(page.Record()), 19, 1};
}

void paint(const plots::AmphipathyPage& page, QImage& image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    plots::ui::DrawAmphipathyPage(painter, page, plots::HydropathyScreenLayout());
}

/// A new plot: the moments of every window (one sine and cosine table for
/// all), the range, then the painted page.
void BM_ComputeAndPaintTitinAmphipathy(benchmark::State& state)
{
    core::PropertyRecord record;
    bench::LoadTitin(record);
    QImage image(plots::kAmphyPageWidth, plots::kAmphyPageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        plots::AmphipathyPage page(record);
        showWhole(page);
        paint(page, image);
        benchmark::DoNotOptimize(page.ProfileComputations());
    }
}
BENCHMARK(BM_ComputeAndPaintTitinAmphipathy)->Unit(benchmark::kMillisecond);

/// A repaint, as the view does on every expose: the moments come from the
/// page's cache.
void BM_RepaintTitinAmphipathy(benchmark::State& state)
{
    core::PropertyRecord record;
    bench::LoadTitin(record);
    plots::AmphipathyPage page(record);
    showWhole(page);
    QImage image(plots::kAmphyPageWidth, plots::kAmphyPageHeight, QImage::Format_RGB32);
    paint(page, image);
    for (auto _ : state) {
        paint(page, image);
    }
    state.counters["profiles"] = page.ProfileComputations();
}
BENCHMARK(BM_RepaintTitinAmphipathy)->Unit(benchmark::kMillisecond);

/// The moments and the range alone.
void BM_TitinAmphipathyProfile(benchmark::State& state)
{
    core::PropertyRecord record;
    bench::LoadTitin(record);
    for (auto _ : state) {
        benchmark::DoNotOptimize(plots::ComputeAmphipathyProfile(record, 19));
    }
}
BENCHMARK(BM_TitinAmphipathyProfile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const quorin::plots::ui::OffscreenGui gui;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
