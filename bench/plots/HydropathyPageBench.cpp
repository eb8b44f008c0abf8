#include "TitinRecord.h"
#include "core/PropertyRecord.h"
#include "plots/HydropathyPage.h"
#include "plots/ui/PageOutput.h"
#include "plots/ui/PagePainter.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace quorin;

/// Titin (34,350 residues) on the hydropathy page: window 11, the whole
/// sequence, helices, the legend and one mark.
void fillTitin(core::PropertyRecord& record)
{
    bench::LoadTitin(record);
    core::HydropathyPlotSettings& s = record.plots.pathy;
    s.from = 1;
    s.to = plots::PositionCount(record);
    s.window = 11;
    s.threshold = 1.6;
    s.helixDisplay = 1;
    s.labelMarks = 1;
    s.lineWidth = 1;
    s.texts = plots::LegendItems();
    core::MARK mark;
    mark.position = 20000;
    mark.font = core::ReportFontA();
    s.marks.push_back(mark);
}

void paint(const plots::HydropathyPage& page, QImage& image)
{
    image.fill(Qt::white);
    QPainter painter(&image);
    plots::ui::DrawHydropathyPage(painter, page, plots::HydropathyScreenLayout());
}

/// A repaint of the screen page, as the view does on every expose: the
/// profile is taken from the page's cache.
void BM_PaintTitinPage(benchmark::State& state)
{
    core::PropertyRecord record;
    fillTitin(record);
    plots::HydropathyPage page(record);
    plots::ui::RefreshHydropathyPage(page);
    QImage image(plots::kPathyPageWidth, plots::kPathyPageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        paint(page, image);
    }
    state.counters["profiles"] = page.ProfileComputations();
}
BENCHMARK(BM_PaintTitinPage)->Unit(benchmark::kMillisecond);

/// A change of the window followed by the refresh and a paint: the profile is
/// computed again.
void BM_ChangeWindowAndPaintTitinPage(benchmark::State& state)
{
    core::PropertyRecord record;
    fillTitin(record);
    plots::HydropathyPage page(record);
    QImage image(plots::kPathyPageWidth, plots::kPathyPageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        record.plots.pathy.window = record.plots.pathy.window == 11 ? 13 : 11;
        plots::ui::RefreshHydropathyPage(page);
        paint(page, image);
    }
}
BENCHMARK(BM_ChangeWindowAndPaintTitinPage)->Unit(benchmark::kMillisecond);

/// The profile alone: window averages, value range, GRAVY and helices.
void BM_TitinProfile(benchmark::State& state)
{
    core::PropertyRecord record;
    fillTitin(record);
    for (auto _ : state) {
        benchmark::DoNotOptimize(plots::ComputeHydropathyProfile(record, 1, 34350, 11, 1.6));
    }
}
BENCHMARK(BM_TitinProfile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const quorin::plots::ui::OffscreenGui gui;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
