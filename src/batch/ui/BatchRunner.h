#pragma once

#include "batch/BatchOptions.h"
#include "core/PropertyRecord.h"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstddef>
#include <memory>

class QLabel;
class QProgressBar;

namespace quorin::shell::ui {
class CMainFrame;
}

namespace quorin::batch::ui {

/// The desktop batch: "Batch analysis..." asks, on the GUI thread, for the
/// input file, the options, the agents of a digest, the names of custom
/// outputs and whether existing outputs may be replaced; only once every
/// answer is given does it close the current sequence (with its save
/// question), so that Cancel anywhere changes nothing. It then analyses and
/// writes on a worker thread while the program stays usable, with a progress
/// bar and the count of sequences in the status bar (and MSG_PROGRESS).
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
    void Start(shell::ui::CMainFrame& mainFrame);
    /// The Terminate command: requests the stop, then shows "Cancel may not
    /// be immediate". The run stops at its next record also while the notice
    /// is on screen; that it was terminated is said once the notice is gone.
    void Terminate();

    /// The last run's work, for tests to wait on.
    QFuture<void> Work() const { return m_work; }

signals:
    /// A run ended (written, terminated or failed); the enabling changes.
    void finished();

private:
    struct Run;
    bool askOutputs(Run& run);
    void showStatus(shell::ui::CMainFrame& mainFrame, const QString& inputName);
    void showProgress(std::size_t done, std::size_t total, int percent);
    void finish(const std::shared_ptr<Run>& run);
    void report(const Run& run);

    core::PropertyRecord m_record;
    bool m_running = false;
    std::shared_ptr<std::atomic<bool>> m_terminate;
    QFuture<void> m_work;
    /// The run's place in the status bar of the main window it started from.
    QPointer<QLabel> m_statusText;
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
