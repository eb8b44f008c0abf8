#include "batch/ui/BatchRunner.h"

#include "analysis/Digest.h"
#include "analysis/ui/CDigestDialog.h"
#include "batch/BatchRun.h"
#include "batch/ui/CBatchOptionsDialog.h"
#include "core/CommandIds.h"
#include "core/FileIo.h"
#include "core/MessageTexts.h"
#include "core/SequenceText.h"
#include "core/Settings.h"
#include "core/ui/Application.h"
#include "core/ui/BackgroundWork.h"
#include "core/ui/FileDialogs.h"
#include "core/ui/Messages.h"
#include "core/ui/Notifications.h"
#include "core/ui/QtText.h"
#include "shell/ui/CMainFrame.h"
#include "shell/ui/Launchers.h"

#include <ctime>
#include <new>
#include <optional>

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

    std::size_t count = 0;
    bool fileNotFound = false;
    bool terminated = false;
    /// Messages for files that could not be written, in the order met.
    std::vector<std::string> failures;
};

namespace {

/// The work of a run, on the worker thread. Never throws.
template <typename Run>
void runBatch(Run& run)
{
    core::FileStatus status;
    const BatchText text = BatchText::Read(run.inputPath, status);
    if (status && core::IsUtf16Text(text.View())) {
        // Said for what it is, not as a missing file; nothing is written.
        run.failures.emplace_back(core::msg::kUtf16Text);
        return;
    }
    std::vector<BatchRecord> records;
    if (status) {
        records = SplitBatchRecords(text.View(), EffectiveJobs(0));
    }
    run.fileNotFound = records.empty();
    run.count = records.size();
    BatchControl control;
    control.terminate = run.terminate.get();
    core::ui::ProgressPoster poster;
    control.progress = [&poster](int percent) { poster(percent); };
    const auto failed = [&run](const std::string& path, const std::string& reason) {
        run.failures.push_back(core::msg::CannotSaveFile(path, reason));
    };
    try {
        if (run.options.batchDigest) {
            const core::FileStatus written =
                core::WriteFileAtomically(run.digestPath, [&](const core::ByteSink& sink) {
                    WriteBatchDigest(records, text.View().size(), run.record, run.specificity,
                                     control, sink);
                });
            if (!written) {
                failed(run.digestPath, written.Error());
            }
            return;
        }
        const int scaleIndex =
            ResolvedScaleIndex(run.options.scaleIndex, static_cast<int>(run.record.scales.size()));
        const BatchAnalyzer analyzer(run.record, run.options, scaleIndex);
        const core::FileStatus written =
            core::WriteFileAtomically(run.resultsPath, [&](const core::ByteSink& sink) {
                WriteBatchResults(records, text.View().size(), analyzer, run.options, false,
                                  control, sink);
            });
        if (!written) {
            // No log for results that are not there.
            failed(run.resultsPath, written.Error());
            return;
        }
        if (run.logPath) {
            const core::FileStatus logged = core::WriteFileAtomically(
                *run.logPath,
                BatchLogText(run.inputPath, run.resultsPath, run.count, run.options,
                             run.record.scales[static_cast<std::size_t>(scaleIndex)].name,
                             std::time(nullptr)));
            if (!logged) {
                failed(*run.logPath, logged.Error());
            }
        }
    } catch (const BatchTerminated&) {
        run.terminated = true;
    } catch (const BatchDigestRefused& refused) {
        run.failures.push_back(refused.what());
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

void BatchRunner::Start(shell::ui::CMainFrame& mainFrame)
{
    if (m_running || !mainFrame.CloseSequenceDocument()) {
        return;
    }
    mainFrame.update();
    core::ui::PostNotification(core::ui::MSG_PROGRESS, 0);
    core::ui::Application& app = core::ui::Application::Instance();

    core::ui::FileDialogRequest open;
    open.mode = core::ui::FileDialogRequest::Mode::Open;
    open.title = tr("Open");
    open.filters = {tr("Text (*.TXT *.txt)"), tr("All (*)")};
    open.directory = app.WorkingDirectory();
    open.fileName = QStringLiteral("*.txt");
    const std::optional<QString> input = core::ui::AskFileName(open);
    if (!input) {
        return;
    }

    // The batch has a record of its own that reads the settings as a new
    // sequence document does, so it uses the current tables and lists.
    core::SetActiveRecord(&m_record);
    app.ReportRefusedSettings(core::ReadRecordSettings(app.SettingsFile(), m_record));
    if (m_record.scales.empty()) {
        core::ui::ShowMessage(ToQString(core::msg::kNoHydropathyScale),
                              ToQString(core::msg::kNote));
        return;
    }
    CBatchOptionsDialog optionsDialog(app.SettingsFile(), m_record, &mainFrame);
    if (optionsDialog.exec() != QDialog::Accepted) {
        return;
    }
    auto run = std::make_shared<Run>();
    run->record = m_record;
    run->options = optionsDialog.Options();
    run->inputPath = ToStdString(*input);
    if (run->options.batchDigest) {
        analysis::ui::CDigestDialog agents(m_record.agents, &mainFrame);
        if (agents.exec() != QDialog::Accepted) {
            return;
        }
        run->specificity = agents.Specificity();
        run->digestPath = DefaultDigestPath(run->inputPath);
    } else {
        // Custom names are asked before the work, so that a long batch runs
        // to its end unattended.
        run->resultsPath = DefaultResultsPath(run->inputPath);
        if (!run->options.defaultResultsName) {
            core::ui::FileDialogRequest save;
            save.mode = core::ui::FileDialogRequest::Mode::Save;
            save.title = tr("Save results");
            save.filters = {tr("TEXT (*.txt)")};
            save.directory = app.WorkingDirectory();
            save.fileName = ToQString(run->resultsPath);
            save.defaultSuffix = QStringLiteral("txt");
            const std::optional<QString> chosen = core::ui::AskFileName(save);
            if (!chosen) {
                return;
            }
            run->resultsPath = ToStdString(*chosen);
        }
        if (!run->options.noLog) {
            run->logPath = DefaultLogPath(run->resultsPath);
            if (!run->options.defaultLogName) {
                core::ui::FileDialogRequest save;
                save.mode = core::ui::FileDialogRequest::Mode::Save;
                save.title = tr("Save log of execution");
                save.filters = {tr("TEXT (*.txt)")};
                save.directory = app.WorkingDirectory();
                save.fileName = ToQString(*run->logPath);
                save.defaultSuffix = QStringLiteral("txt");
                const std::optional<QString> chosen = core::ui::AskFileName(save);
                run->logPath =
                    chosen ? std::optional<std::string>(ToStdString(*chosen)) : std::nullopt;
            }
        }
    }

    m_terminate = std::make_shared<std::atomic<bool>>(false);
    run->terminate = m_terminate;
    m_running = true;
    emit app.stateChanged();
    m_work = core::ui::RunInBackground(
        this, [run] { runBatch(*run); }, [this, run] { finish(run); });
}

void BatchRunner::Terminate()
{
    if (!m_running) {
        return;
    }
    core::ui::ShowMessage(ToQString(core::msg::kCancelMayNotBeImmediate),
                          ToQString(core::msg::kProgramTitle), core::ui::MessageIcon::Information);
    if (m_terminate) {
        *m_terminate = true;
    }
}

void BatchRunner::finish(const std::shared_ptr<Run>& run)
{
    m_running = false;
    m_terminate.reset();
    core::ui::PostNotification(core::ui::MSG_PROGRESS, 100);
    if (core::ui::Application::Exists()) {
        emit core::ui::Application::Instance().stateChanged();
    }
    if (!run->terminated) {
        if (run->fileNotFound) {
            core::ui::ShowMessage(ToQString(core::msg::kFileNotFound),
                                  ToQString(core::msg::kProgramTitle));
        }
        for (const std::string& failure : run->failures) {
            core::ui::ShowMessage(ToQString(failure), ToQString(core::msg::kError));
        }
        core::ui::ShowMessage(ToQString(core::msg::SequencesAnalyzed(run->count)),
                              ToQString(core::msg::kProgramTitle),
                              core::ui::MessageIcon::Information);
    }
    emit finished();
}

void RegisterBatchCommands()
{
    using shell::ui::ApplicationCommand;
    shell::ui::SetApplicationCommand(
        core::cmd::kBatch,
        ApplicationCommand{
            [] { return core::ui::CommandState{!BatchRunner::Instance().Running()}; },
            [](shell::ui::CMainFrame& frame) { BatchRunner::Instance().Start(frame); }});
    shell::ui::SetApplicationCommand(
        core::cmd::kTerminateBatch,
        ApplicationCommand{[] { return core::ui::CommandState{BatchRunner::Instance().Running()}; },
                           [](shell::ui::CMainFrame&) { BatchRunner::Instance().Terminate(); }});
}

} // namespace quorin::batch::ui
