#pragma once

#include "batch/BatchOptions.h"
#include "core/PropertyRecord.h"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

class QMainWindow;

class QProgressBar;

namespace quorin::shell::ui {
class WindowHost;
}

namespace quorin::batch::ui {

/// The desktop batch: "Batch analysis..." asks, on the GUI thread, for the
/// input file, the options, the agents of a digest, the names of custom
/// outputs and whether existing outputs may be replaced; only once every
/// answer is given does it close the current sequence (with its save
/// question), so that Cancel anywhere changes nothing. It then analyses and
/// writes on a worker thread while the program stays usable, with a progress
/// bar and the count of sequences in the status bar (and MSG_PROGRESS). An
/// input that changed while it was read, whose compressed data are cut short
/// or corrupt, or that is beyond the input ceiling is refused with what
/// happened, and so is a batch digest beyond its fragment ceiling or beyond
/// the room on its disk: nothing is written. One that cannot be opened still
/// gives "File not found!" and the files of no sequence. Results and log are
/// written together: both new, or both as they were.
/// "Terminate Batch analysis..." ends a run before it writes anything: no
/// results file, no log, no digest file; a new run can start at once.
class BatchRunner : public QObject
{
    Q_OBJECT

public:
    /// The one the commands use.
    static BatchRunner& Instance();

    bool Running() const { return m_running; }

    /// The Batch analysis command.
    void Start(shell::ui::WindowHost& host);
    /// The Terminate command: requests the stop, then shows "Cancel may not
    /// be immediate". The run stops at its next record also while the notice
    /// is on screen; that it was terminated is said once the notice is gone.
    void Terminate();

    /// The last run's work, for tests to wait on.
    QFuture<void> Work() const { return m_work; }

    /// Called on the worker thread now and then while a run reads its input,
    /// with the bytes read so far: tests change the input there.
    void SetReadObserver(std::function<void(std::uint64_t bytes)> observer)
    {
        m_readObserver = std::move(observer);
    }
    /// Called on the worker thread at each step of a run's progress, with the
    /// percentage, before the step is shown: tests hold a run there.
    void SetProgressObserver(std::function<void(int percent)> observer)
    {
        m_progressObserver = std::move(observer);
    }

signals:
    /// A run ended (written, terminated or failed); the enabling changes.
    void finished();

private:
    struct Run;
    bool askOutputs(Run& run);
    void showStatus(shell::ui::WindowHost& host, const QString& inputName);
    void setStatusText(const QString& text);
    void showProgress(std::size_t done, std::size_t total, int percent);
    void finish(const std::shared_ptr<Run>& run);
    void report(const Run& run);

    core::PropertyRecord m_record;
    bool m_running = false;
    std::shared_ptr<std::atomic<bool>> m_terminate;
    QFuture<void> m_work;
    std::function<void(std::uint64_t bytes)> m_readObserver;
    std::function<void(int percent)> m_progressObserver;
    /// The main window the run started from: its message pane tells the
    /// run's state, and a progress bar of the run's own sits beside it.
    /// m_host is the window's host interface, valid while m_window lives.
    QPointer<QMainWindow> m_window;
    shell::ui::WindowHost* m_host = nullptr;
    QPointer<QProgressBar> m_statusBar;
    std::size_t m_done = 0;
    std::size_t m_total = 0;
    /// While the Terminate notice is on screen, a run that ends waits here to
    /// be reported.
    bool m_noticeShown = false;
    std::shared_ptr<Run> m_unreported;
};

/// Registers "Batch analysis..." and "Terminate Batch analysis..." as
/// application commands: the first enabled while no batch runs, the second
/// while one does.
void RegisterBatchCommands();

} // namespace quorin::batch::ui
