#pragma once

#include "batch/BatchOptions.h"
#include "core/PropertyRecord.h"

#include <QFuture>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

namespace quorin::shell::ui {
class CMainFrame;
}

namespace quorin::batch::ui {

/// The desktop batch: "Batch analysis..." asks, on the GUI thread, for the
/// input file, the options, the agents of a digest and the names of custom
/// outputs, then analyses and writes on a worker thread with MSG_PROGRESS in
/// the status bar while the program stays usable. "Terminate Batch
/// analysis..." ends a run before it writes anything: no results file, no log,
/// no digest file; a new run can start at once.
class BatchRunner : public QObject
{
    Q_OBJECT

public:
    /// The one the commands use.
    static BatchRunner& Instance();

    bool Running() const { return m_running; }

    /// The Batch analysis command.
    void Start(shell::ui::CMainFrame& mainFrame);
    /// The Terminate command: "Cancel may not be immediate", then the request.
    void Terminate();

    /// The last run's work, for tests to wait on.
    QFuture<void> Work() const { return m_work; }

signals:
    /// A run ended (written, terminated or failed); the enabling changes.
    void finished();

private:
    struct Run;
    void finish(const std::shared_ptr<Run>& run);

    core::PropertyRecord m_record;
    bool m_running = false;
    std::shared_ptr<std::atomic<bool>> m_terminate;
    QFuture<void> m_work;
};

/// Registers "Batch analysis..." and "Terminate Batch analysis..." as
/// application commands: the first enabled while no batch runs, the second
/// while one does.
void RegisterBatchCommands();

} // namespace quorin::batch::ui
