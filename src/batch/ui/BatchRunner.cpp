#include "batch/ui/BatchRunner.h"

#include "analysis/Digest.h"
#include "analysis/ui/CDigestDialog.h"
#include "batch/BatchJob.h"
#include "batch/ui/CBatchOptionsDialog.h"
#include "core/CommandIds.h"
#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/Settings.h"
#include "core/ui/Application.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Messages.h"
#include "core/ui/Notifications.h"
#include "core/ui/QtText.h"
#include "shell/ProgressPanes.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/WindowHost.h"

#include <QFileInfo>
#include <QMainWindow>
#include <QMetaObject>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>
#include <functional>
#include <new>
#include <optional>
#include <utility>

namespace quorin::batch::ui {

using core::ui::ToQString;
using core::ui::ToStdString;

/// One run: what the dialogs chose, and what the worker found.
struct BatchRunner::Run
{
    core::PropertyRecord record;
    BatchOptions options;
    std::string inputPath;
    std::string resultsPath;
    std::optional<std::string> logPath;
    std::string digestPath;
    std::string specificity;
    std::shared_ptr<std::atomic<bool>> terminate;
    /// Told, from the worker, how many of the records are done (by the
    /// position reached in the input) and the percentage.
    std::function<void(std::size_t done, std::size_t total, int percent)> progress;

    /// Where set, called now and then while the input is read, and at each
    /// step of the progress.
    std::function<void(std::uint64_t bytes)> readObserver;
    std::function<void(int percent)> progressObserver;

    std::size_t count = 0;
    bool fileNotFound = false;
    bool terminated = false;
    /// Why the run wrote nothing at all: the input or the digest refused.
    std::optional<std::string> refusal;
    /// Messages for files that could not be written, in the order met.
    std::vector<std::string> failures;
};

namespace {

/// The work of a run, on the worker thread. Never throws.
template <typename Run>
void runBatch(Run& run)
{
    const BatchInputFile input(run.inputPath, 0, run.readObserver);
    switch (input.Failure()) {
    case BatchInputFile::Problem::None:
        break;
    case BatchInputFile::Problem::CannotOpen:
        // An input that cannot be opened keeps the desktop's old course
        // ("File not found!", then the files of no sequence).
        break;
    case BatchInputFile::Problem::Refused:
        // One read only in part or changed meanwhile would give results that
        // look whole.
        run.refusal = input.Refusal();
        return;
    case BatchInputFile::Problem::Utf16Text:
        // Said for what it is, not as a missing file; nothing is written.
        run.failures.push_back(input.Refusal());
        return;
    }
    const std::vector<BatchRecord>& records = input.Records();
    run.fileNotFound = records.empty();
    run.count = records.size();
    run.progress(0, records.size(), 0);
    BatchControl control;
    control.terminate = run.terminate.get();
    core::ui::ProgressPoster poster;
    const std::size_t inputSize = input.Text().size();
    int shown = 0;
    control.progress = [&poster, &run, &records, &shown, inputSize](int percent) {
        if (run.progressObserver) {
            run.progressObserver(percent);
        }
        poster(percent);
        if (percent == shown) {
            return;
        }
        shown = percent;
        // The records that start before the position reached are done.
        const std::size_t position = inputSize * static_cast<std::size_t>(percent) / 100;
        const auto done = std::partition_point(
            records.begin(), records.end(),
            [position](const BatchRecord& record) { return record.offset < position; });
        run.progress(static_cast<std::size_t>(done - records.begin()), records.size(), percent);
    };
    BatchJob job;
    job.inputPath = run.inputPath;
    job.record = &run.record;
    job.options = run.options;
    job.digest = run.options.batchDigest;
    job.specificity = run.specificity;
    job.maxFragments = analysis::FragmentCeiling();
    job.outputPath = run.options.batchDigest ? run.digestPath : run.resultsPath;
    job.logPath = run.logPath;
    try {
        const BatchJobResult result = RunBatchJob(job, input, control);
        if (result.failure) {
            run.failures.push_back(
                core::msg::CannotSaveFile(result.failure->first, result.failure->second.Error()));
        }
    } catch (const BatchTerminated&) {
        run.terminated = true;
    } catch (const BatchDigestRefused& refused) {
        run.refusal = refused.what();
    } catch (const std::bad_alloc&) {
        run.failures.push_back(std::string(core::msg::kDigestTooLarge));
    }
}

} // namespace

BatchRunner& BatchRunner::Instance()
{
    // Never destroyed: it may outlive the application object at exit.
    static auto* runner = new BatchRunner;
    return *runner;
}

namespace {

/// Whether an output under a default name may be written: true when nothing
/// of that name is there, or the user answered Yes to replacing it. Names
/// chosen in a save dialog were asked about there.
bool mayReplace(const std::string& path)
{
    const QString name = ToQString(path);
    return !QFileInfo::exists(name) ||
           core::ui::ShowMessage(name + QLatin1Char('\n') + ToQString(core::msg::kFileExists),
                                 ToQString(core::msg::kNote), core::ui::MessageIcon::Question,
                                 core::ui::MessageButtons::YesNo) == core::ui::MessageAnswer::Yes;
}

std::optional<std::string> askSaveName(const QString& title, const std::string& proposed)
{
    core::ui::FileDialogRequest save;
    save.mode = core::ui::FileDialogRequest::Mode::Save;
    save.title = title;
    save.filters = {BatchRunner::tr("TEXT (*.txt)")};
    save.directory = core::ui::Application::Instance().WorkingDirectory();
    save.fileName = ToQString(proposed);
    save.defaultSuffix = QStringLiteral("txt");
    const std::optional<QString> chosen = core::ui::AskFileName(save);
    return chosen ? std::optional<std::string>(ToStdString(*chosen)) : std::nullopt;
}

} // namespace

void BatchRunner::Start(shell::ui::WindowHost& host)
{
    if (m_running) {
        return;
    }
    core::ui::Application& app = core::ui::Application::Instance();

    // Every question comes before the current sequence is closed, so that
    // Cancel anywhere leaves the workspace as it was.
    core::ui::FileDialogRequest open;
    open.mode = core::ui::FileDialogRequest::Mode::Open;
    open.title = tr("Open");
    open.filters = {tr("FASTA (*.fasta *.fa *.faa *.txt)"), tr("Text (*.TXT *.txt)"),
                    tr("All (*)")};
    open.directory = app.WorkingDirectory();
    const std::optional<QString> input = core::ui::AskFileName(open);
    if (!input) {
        return;
    }

    // The batch has a record of its own that reads the settings as a new
    // sequence document does, so it uses the current tables and lists.
    app.ReportRefusedSettings(core::ReadRecordSettings(app.SettingsFile(), m_record));
    if (m_record.scales.empty()) {
        core::ui::ShowMessage(ToQString(core::msg::kNoHydropathyScale),
                              ToQString(core::msg::kNote));
        return;
    }
    CBatchOptionsDialog optionsDialog(app.SettingsFile(), m_record, &host.Window());
    if (optionsDialog.exec() != QDialog::Accepted) {
        return;
    }
    auto run = std::make_shared<Run>();
    run->record = m_record;
    run->options = optionsDialog.Options();
    run->inputPath = ToStdString(*input);
    if (run->options.batchDigest) {
        analysis::ui::CDigestDialog agents(m_record.agents, &host.Window());
        if (agents.exec() != QDialog::Accepted) {
            return;
        }
        run->specificity = agents.Specificity();
        run->digestPath = DefaultDigestPath(run->inputPath);
        if (!mayReplace(run->digestPath)) {
            return;
        }
    } else if (!askOutputs(*run)) {
        return;
    }
    if (!host.CloseSequenceDocument()) {
        return;
    }
    core::SetActiveRecord(&m_record);
    host.Window().update();
    core::ui::PostNotification(core::ui::MSG_PROGRESS, 0);
    showStatus(host, QFileInfo(*input).fileName());

    m_terminate = std::make_shared<std::atomic<bool>>(false);
    run->terminate = m_terminate;
    run->readObserver = m_readObserver;
    run->progressObserver = m_progressObserver;
    run->progress = [this](std::size_t done, std::size_t total, int percent) {
        QMetaObject::invokeMethod(
            this, [this, done, total, percent] { showProgress(done, total, percent); },
            Qt::QueuedConnection);
    };
    m_running = true;
    emit app.stateChanged();
    m_work = core::ui::RunInBackground(
        this, [run] { runBatch(*run); }, [this, run] { finish(run); });
}

bool BatchRunner::askOutputs(Run& run)
{
    // Custom names are asked before the work, so that a long batch runs to
    // its end unattended.
    run.resultsPath = DefaultResultsPath(run.inputPath);
    if (run.options.defaultResultsName) {
        if (!mayReplace(run.resultsPath)) {
            return false;
        }
    } else {
        const std::optional<std::string> chosen = askSaveName(tr("Save results"), run.resultsPath);
        if (!chosen) {
            return false;
        }
        run.resultsPath = *chosen;
    }
    if (!run.options.noLog) {
        run.logPath = DefaultLogPath(run.resultsPath);
        if (!run.options.defaultLogName) {
            run.logPath = askSaveName(tr("Save log of execution"), *run.logPath);
        } else if (!mayReplace(*run.logPath)) {
            // As a cancelled log dialog: the results without their log.
            run.logPath.reset();
        }
    }
    return true;
}

void BatchRunner::showStatus(shell::ui::WindowHost& host, const QString& inputName)
{
    if (m_window != &host.Window()) {
        // A progress bar of the run's own, first of the permanent panes.
        if (m_statusBar) {
            m_statusBar->hide();
        }
        m_window = &host.Window();
        m_host = &host;
        m_statusBar = new QProgressBar(m_window->statusBar());
        m_statusBar->setObjectName(QStringLiteral("batchProgressBar"));
        m_statusBar->setRange(0, 100);
        m_statusBar->setFixedWidth(160);
        m_window->statusBar()->insertPermanentWidget(1, m_statusBar);
    }
    m_done = 0;
    m_total = 0;
    setStatusText(tr("Batch analysis: reading %1").arg(inputName));
    m_statusBar->setValue(0);
    m_statusBar->show();
}

void BatchRunner::setStatusText(const QString& text)
{
    if (m_window) {
        m_host->SetStatusText(text);
    }
}

void BatchRunner::showProgress(std::size_t done, std::size_t total, int percent)
{
    if (!m_running || !m_window) {
        return;
    }
    m_done = done;
    m_total = total;
    setStatusText(tr("Batch analysis: %1 of %2 sequences").arg(done).arg(total));
    if (m_statusBar) {
        m_statusBar->setValue(percent);
    }
}

void BatchRunner::Terminate()
{
    if (!m_running || !m_terminate) {
        return;
    }
    // The request goes first: the run stops at its next record while the
    // notice is still on screen.
    *m_terminate = true;
    m_noticeShown = true;
    core::ui::ShowMessage(ToQString(core::msg::kCancelMayNotBeImmediate),
                          ToQString(core::msg::kProgramTitle), core::ui::MessageIcon::Information);
    m_noticeShown = false;
    if (const std::shared_ptr<Run> ended = std::exchange(m_unreported, nullptr)) {
        report(*ended);
    }
}

void BatchRunner::finish(const std::shared_ptr<Run>& run)
{
    m_running = false;
    m_terminate.reset();
    // A terminated run did not reach its end: the percent pane keeps the
    // point where it stopped instead of claiming 100%.
    core::ui::PostNotification(core::ui::MSG_PROGRESS,
                               run->terminated ? shell::ProgressPanes::kRepaintOnly : 100);
    if (core::ui::Application::Exists()) {
        emit core::ui::Application::Instance().stateChanged();
    }
    if (run->terminated) {
        setStatusText(tr("Batch analysis terminated after %1 of %2 sequences: no file written")
                          .arg(m_done)
                          .arg(m_total));
    } else if (run->refusal || !run->failures.empty()) {
        setStatusText(tr("Batch analysis ended with an error"));
    } else {
        setStatusText(ToQString(core::msg::SequencesAnalyzed(run->count)));
    }
    if (m_statusBar) {
        m_statusBar->hide();
    }
    if (m_noticeShown) {
        m_unreported = run;
    } else {
        report(*run);
    }
    emit finished();
}

void BatchRunner::report(const Run& run)
{
    if (run.terminated) {
        core::ui::ShowMessage(ToQString(core::msg::kBatchTerminated),
                              ToQString(core::msg::kProgramTitle),
                              core::ui::MessageIcon::Information);
        return;
    }
    if (run.refusal) {
        // Nothing was written, so no count follows.
        core::ui::ShowMessage(ToQString(*run.refusal), ToQString(core::msg::kError));
        return;
    }
    if (run.fileNotFound) {
        core::ui::ShowMessage(ToQString(core::msg::kFileNotFound),
                              ToQString(core::msg::kProgramTitle));
    }
    for (const std::string& failure : run.failures) {
        core::ui::ShowMessage(ToQString(failure), ToQString(core::msg::kError));
    }
    core::ui::ShowMessage(ToQString(core::msg::SequencesAnalyzed(run.count)),
                          ToQString(core::msg::kProgramTitle), core::ui::MessageIcon::Information);
}

void RegisterBatchCommands()
{
    using shell::ui::ApplicationCommand;
    shell::ui::SetApplicationCommand(
        core::cmd::kBatch,
        ApplicationCommand{
            [] { return core::ui::CommandState{!BatchRunner::Instance().Running()}; },
            [](shell::ui::WindowHost& frame) { BatchRunner::Instance().Start(frame); }});
    shell::ui::SetApplicationCommand(
        core::cmd::kTerminateBatch,
        ApplicationCommand{[] { return core::ui::CommandState{BatchRunner::Instance().Running()}; },
                           [](shell::ui::WindowHost&) { BatchRunner::Instance().Terminate(); }});
}

} // namespace quorin::batch::ui
