// The digest window on titin cut after every K and R (10.5 million fragments,
// ten million report lines), offscreen: the digest until its report is drawn,
// the re-sorts until the first paint, scrolling, and Copy All. Each also
// reports the longest time the GUI thread went without serving its event
// loop (gui_stall_ms): the window must never freeze.
#include "analysis/Digest.h"
#include "analysis/ui/CDigView.h"
#include "analysis/ui/DigestJobs.h"
#include "core/CommandIds.h"
#include "core/FileIo.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Notifications.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using namespace quorin;
using analysis::ui::CDigView;

/// Counts MSG_PROGRESS as the main window would receive them.
class ProgressCounter : public QObject, public core::ui::NotificationReceiver
{
public:
    void OnNotification(int message, int) override
    {
        if (message == core::ui::MSG_PROGRESS) {
            ++count;
        }
    }
    int count = 0;
};

struct Program
{
    QTemporaryDir home;
    std::unique_ptr<core::ui::Application> app;
    std::unique_ptr<core::ui::CPeptideDoc> document;
    std::unique_ptr<CDigView> view;
    ProgressCounter progress;
};

Program& program()
{
    static Program* p = [] {
        auto* made = new Program;
        qputenv("QUORIN_REGISTRY",
                made->home.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
        made->app = std::make_unique<core::ui::Application>(made->home.path().toStdString());
        made->document = std::make_unique<core::ui::CPeptideDoc>();
        const auto fasta = core::ReadWholeFile(QUORIN_TEST_DATA_DIR "/proteins/Q8WZ42.fasta");
        if (!fasta) {
            throw std::runtime_error("missing titin fixture");
        }
        core::PropertyRecord& record = made->document->Record();
        core::ParseSequenceText(record, core::FirstFastaRecord(*fasta));
        record.digest.selectedAgents = {{"Trypsin", "K!;R!"}};
        core::ui::SetNotificationReceiver(&made->progress, &made->progress);
        return made;
    }();
    return *p;
}

/// Serves the event loop until the view is idle; returns the longest gap
/// between two turns of the loop, in milliseconds.
double waitIdle(CDigView& view)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start();
    QEventLoop loop;
    QObject::connect(&view, &CDigView::idle, &loop, &QEventLoop::quit);
    if (view.Busy()) {
        loop.exec();
    }
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return static_cast<double>(longest) / 1e6;
}

void paint(CDigView& view, QImage& image)
{
    view.viewport()->render(&image);
}

CDigView& digestOnce()
{
    Program& p = program();
    if (!p.view) {
        analysis::ui::DigestJobs::Of(*p.document).StartDigest("K!;R!");
        p.view = std::make_unique<CDigView>(*p.document);
        p.view->resize(630, 405);
        p.view->show();
        waitIdle(*p.view);
    }
    return *p.view;
}

void BM_DigestWindowOfTitin(benchmark::State& state)
{
    Program& p = program();
    double stall = 0;
    int notifications = 0;
    QImage image(630, 405, QImage::Format_RGB32);
    for (auto _ : state) {
        p.view.reset();
        p.progress.count = 0;
        analysis::ui::DigestJobs::Of(*p.document).StartDigest("K!;R!");
        p.view = std::make_unique<CDigView>(*p.document);
        p.view->resize(630, 405);
        p.view->show();
        stall = std::max(stall, waitIdle(*p.view));
        paint(*p.view, image);
        QCoreApplication::processEvents();
        notifications = p.progress.count;
    }
    state.counters["gui_stall_ms"] = stall;
    state.counters["progress_msgs"] = notifications;
    state.counters["lines"] = static_cast<double>(p.view->LineCount());
    state.SetLabel("digest on a worker until the report is drawn");
}
BENCHMARK(BM_DigestWindowOfTitin)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

/// A re-sort from weight order until the window has drawn the first lines
/// of the new order; the way back to weight order is not timed.
void BM_ResortAndFirstPaint(benchmark::State& state)
{
    CDigView& view = digestOnce();
    const int command = static_cast<int>(state.range(0));
    QImage image(630, 405, QImage::Format_RGB32);
    double stall = 0;
    for (auto _ : state) {
        view.OnCommand(command);
        stall = std::max(stall, waitIdle(view));
        paint(view, image);
        state.PauseTiming();
        view.OnCommand(core::cmd::kSortByWeight);
        waitIdle(view);
        state.ResumeTiming();
    }
    state.counters["gui_stall_ms"] = stall;
}
BENCHMARK(BM_ResortAndFirstPaint)
    ->Arg(core::cmd::kSortByStart)
    ->Arg(core::cmd::kSortByLength)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

/// One screenful drawn anywhere in ten million lines, as scrolling does.
void BM_ScrollPaint(benchmark::State& state)
{
    CDigView& view = digestOnce();
    QImage image(630, 405, QImage::Format_RGB32);
    std::size_t line = 0;
    double longest = 0;
    for (auto _ : state) {
        line = (line + 1'234'567) % view.LineCount();
        QElapsedTimer clock;
        clock.start();
        view.ScrollToLine(line);
        paint(view, image);
        longest = std::max(longest, static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    state.counters["longest_frame_ms"] = longest;
}
BENCHMARK(BM_ScrollPaint)->Unit(benchmark::kMicrosecond)->UseRealTime();

/// The whole report onto the clipboard, built on a worker.
void BM_CopyAll(benchmark::State& state)
{
    CDigView& view = digestOnce();
    double stall = 0;
    qsizetype bytes = 0;
    for (auto _ : state) {
        view.OnCommand(core::cmd::kCopyAll);
        stall = std::max(stall, waitIdle(view));
        state.PauseTiming();
        bytes = QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain")).size();
        QGuiApplication::clipboard()->clear();
        state.ResumeTiming();
    }
    state.counters["gui_stall_ms"] = stall;
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_CopyAll)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("peak memory: %.0f MB\n", peakMegabytes());
    program().view.reset();
    return 0;
}
