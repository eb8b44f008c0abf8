#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/ProfileFile.h"
#include "core/ui/Help.h"
#include "core/ui/Notifications.h"
#include "shell/CommandTable.h"
#include "shell/ui/CAboutDlg.h"
#include "shell/ui/CDownloadDialog.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/WindowFactories.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <map>
#include <thread>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::Fasta;
using test::RunningProgram;

class CMainFrameTest : public QObject
{
    Q_OBJECT

private:
    static QString paneText(const RunningProgram& program, const char* name)
    {
        return program.frame->statusBar()->findChild<QLabel*>(QLatin1String(name))->text();
    }

    /// Opens a FASTA text through the command line path.
    static void openSequence(RunningProgram& program, const QByteArray& name = "P1",
                             const QByteArray& sequence = "MKVLAAGIWYC")
    {
        const QString path = program.File(QStringLiteral("seq.fasta"), Fasta(name, sequence));
        QVERIFY(program.frame->OpenDocumentFile(path));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
    }

private slots:
    void startUpWithoutTheRegistryValueUsesTheDataDirectory()
    {
        RunningProgram program;
        QVERIFY(!QFile::exists(program.home.RegistryPath()));
        const auto settings = program.app->SettingsFile().Path();
        QCOMPARE(QString::fromStdString(settings.string()),
                 program.start + QStringLiteral("/quorin.ini"));
        // The start-up reader writes the keys the file must hold.
        QCOMPARE(program.app->SettingsFile().ReadString("Setup Options", "Output Font Size", "?"),
                 std::string("11"));
        QCOMPARE(program.app->Settings().charsPerLine, 80);
        QCOMPARE(program.app->WorkingDirectory(), program.start);
        QCOMPARE(program.app->ReportFontA().FaceName(), std::string("Arial"));
        QCOMPARE(program.app->ReportFontA().lfHeight, 16);
        QCOMPARE(program.app->ReportFontB().FaceName(), std::string("Courier New"));
        QCOMPARE(int(program.app->ReportFontB().lfPitchAndFamily), 0x31);
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Empty);
        QVERIFY(program.Document() == nullptr);
        QCOMPARE(program.frame->windowTitle(), QStringLiteral("Quorin"));
    }

    void theFirstStartPlacesTheStarterSettingsInTheDataDirectory_data()
    {
        QTest::addColumn<QByteArray>("xdg");
        QTest::addColumn<QString>("settings");
        QTest::newRow("XDG_DATA_HOME") << QByteArray("xdg") << QStringLiteral("xdg/quorin");
        QTest::newRow("no XDG_DATA_HOME")
            << QByteArray() << QStringLiteral("home/.local/share/quorin");
        QTest::newRow("a relative XDG_DATA_HOME")
            << QByteArray("relative") << QStringLiteral("home/.local/share/quorin");
    }

    // A first start on a new machine: the settings live in $XDG_DATA_HOME/quorin
    // (an absolute XDG_DATA_HOME only), else ~/.local/share/quorin, and that
    // folder gets the starter settings, whose agents a new sequence has at
    // once; nothing is written where the program was started, and a settings
    // file that is there is never replaced.
    void theFirstStartPlacesTheStarterSettingsInTheDataDirectory()
    {
        QFETCH(QByteArray, xdg);
        QFETCH(QString, settings);
        test::TestHome home;
        const QString start = home.MakeDirectory(QStringLiteral("start"));
        const test::ScopedEnvironment xdgVariable(
            "XDG_DATA_HOME", xdg == "xdg" ? home.Path(QStringLiteral("xdg")).toLocal8Bit() : xdg);
        const test::ScopedEnvironment homeVariable("HOME",
                                                   home.Path(QStringLiteral("home")).toLocal8Bit());
        settings = home.Path(settings) + QStringLiteral("/quorin.ini");
        {
            core::ui::Application app(start.toStdString());
            auto frame = InitInstance(app, {}, false);
            QCOMPARE(QString::fromStdString(app.SettingsFile().Path().string()), settings);
            QVERIFY(test::ReadBytes(settings).startsWith("; Quorin starter settings"));
            QVERIFY(frame->NewDocument() != nullptr);
            QCOMPARE(app.CurrentDocument()->Record().agents.at(0).name, std::string("Trypsin"));
        }
        QVERIFY(QDir(start).isEmpty());

        test::WriteBytes(settings, "[Cleaving Agents]\r\n0=Mine:K!\r\n");
        const core::ui::Application again(start.toStdString());
        QVERIFY(test::ReadBytes(settings).startsWith("[Cleaving Agents]\r\n0=Mine:K!\r\n"));
    }

    void startUpWithTheRegistryValueUsesThatDirectory()
    {
        test::TestHome home;
        const QString start = home.MakeDirectory(QStringLiteral("start"));
        const QString user = home.MakeDirectory(QStringLiteral("user data"));
        test::WriteBytes(start + QStringLiteral("/quorin.ini"),
                         "[Setup Options]\r\nOutput Font Size=7\r\n");
        test::WriteBytes(user + QStringLiteral("/quorin.ini"),
                         "[Setup Options]\r\nOutput Font Size=15\r\n");
        test::WriteBytes(home.RegistryPath(), "[Settings]\r\nUser data=" + user.toUtf8() + "\r\n");
        core::ui::Application app(start.toStdString());
        QCOMPARE(QString::fromStdString(app.UserDataDirectory().string()), user);
        QCOMPARE(app.Settings().outputFontSize, 15);
        QCOMPARE(test::ReadBytes(start + QStringLiteral("/quorin.ini")),
                 QByteArray("[Setup Options]\r\nOutput Font Size=7\r\n"));
    }

    void theCommandLineOpensOneDocumentWithoutItsQuotes()
    {
        QCOMPARE(CommandLineDocument({}), QString());
        QCOMPARE(CommandLineDocument({QStringLiteral("\"/a b/c.pep\"")}),
                 QStringLiteral("/a b/c.pep"));
        QCOMPARE(CommandLineDocument({QStringLiteral("/a"), QStringLiteral("b.pep")}),
                 QStringLiteral("/a b.pep"));

        test::TestHome home;
        const QString path = home.Path(QStringLiteral("with blank.fasta"));
        test::WriteBytes(path, Fasta("Insulin B", "FVNQHLCGSHLVEALYLVCGERGFFYTPKT"));
        const QString start = home.MakeDirectory(QStringLiteral("start"));
        test::MessageRecorder messages;
        core::ui::Application app(start.toStdString());
        auto frame = InitInstance(app, {QLatin1Char('"') + path + QLatin1Char('"')}, false);
        QVERIFY(messages.Requests().isEmpty());
        QVERIFY(app.CurrentDocument() != nullptr);
        QCOMPARE(app.CurrentDocument()->Record().Name(), std::string("Insulin B"));
        QCOMPARE(app.CurrentDocument()->Record().ResidueLength(), 30);
        QCOMPARE(frame->ActiveKind(), WindowKind::SequenceEditor);
        QCOMPARE(frame->windowTitle(), QStringLiteral("Quorin - with blank.fasta"));
        QCOMPARE(app.RecentFiles().Entries().front(), path.toStdString());
    }

    void aCommandLineFileThatFailsLeavesNoSequenceOpen()
    {
        test::TestHome home;
        const QString path = home.Path(QStringLiteral("notes.txt"));
        test::WriteBytes(path, "These are no sequence data at all, only notes.");
        test::MessageRecorder messages;
        core::ui::Application app(home.Path().toStdString());
        auto frame = InitInstance(app, {path}, false);
        QCOMPARE(messages.Requests().size(), 1);
        QCOMPARE(messages.LastText(), QStringLiteral("File corrupted or not Quorin-format !"));
        QCOMPARE(messages.Requests().last().caption, QStringLiteral("Error"));
        QTRY_VERIFY(app.CurrentDocument() == nullptr);
        QCOMPARE(frame->ActiveKind(), WindowKind::Empty);
        QVERIFY(frame->Frames().isEmpty());
    }

    void theEmptyFrameEnablesWhatNeedsNoDocument()
    {
        RunningProgram program;
        const QStringList expected = {
            QStringLiteral("&File: &New\tCtrl+N | &Open...\tCtrl+O | --- | &Import...\tCtrl+I | "
                           "&Download Sequence...\tCtrl+D | --- | &Batch analysis...[x] | "
                           "&Terminate Batch analysis...[x] | --- | P&rint Setup... | --- | "
                           "Recent File[x] | --- | E&xit |"),
            QStringLiteral("&Options: &Preferences... |"),
            QStringLiteral("&Help: &Content\tF1 | &Contents | &Using Help | --- | &About... |"),
        };
        QCOMPARE(program.MenuLines(), expected);
    }

    void eachWindowKindHasItsMenusAndEnabledCommands()
    {
        RunningProgram program;
        QApplication::clipboard()->clear();
        openSequence(program);
        const QStringList editor = {
            QStringLiteral(
                "&File: &New\tCtrl+N | &Open...\tCtrl+O | &Close | &Save\tCtrl+S | Save "
                "&As...\tAlt-S | --- | &Import...\tCtrl+I | &Download Sequence...\tCtrl+D | "
                "&Export... | --- | &Batch analysis...[x] | --- | P&rint Setup... | "
                "&Print...\tCtrl+P | --- | &1 %1 | --- | E&xit\tAlt-F4 |")
                .arg(program.home.Path(QStringLiteral("seq.fasta"))),
            QStringLiteral(
                "&Edit: &Undo\tCtrl+Z[x] | &Redo\tCtrl+Shift+Z[x] | --- | Cu&t\tCtrl+X | "
                "&Copy\tCtrl+C | &Paste\tCtrl+V[x] | --- | Select &All\tCtrl+A | C&opy "
                "All | --- | &Select from... to... | &Go to... |"),
            QStringLiteral("&Analyze: &Physico-Chemical Properties | &Sequence-Specific "
                           "Cleavage... | &Modfinder...[x] | Search for Sequence "
                           "&Motifs... | Scan with P&ROSITE File... | --- | &Helical Wheel... | "
                           "H&ydropathy Plot... | "
                           "Plot of &Amphipathy Moment... | &Display Domain Structure... | "
                           "&Titration Curve... | --- | Entry &Features...[x] |"),
            QStringLiteral("&Options: &Preferences... |"),
            QStringLiteral(
                "&Window: &Cascade | &Tile | &Arrange Icons | --- | &1 Sequence Editor[v] |"),
            QStringLiteral("&Help: &Contents | &Help on Help | --- | &About... |"),
        };
        QCOMPARE(program.MenuLines(), editor);
        // Paste follows the clipboard.
        QApplication::clipboard()->setText(QStringLiteral("GG"));
        QTRY_VERIFY(program.Enabled(cmd::kPaste));

        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::PhysChem);
        QCOMPARE(program.frame->WindowCount(WindowKind::PhysChem, program.Document()), 1);
        const QStringList properties = program.MenuLines();
        QCOMPARE(properties.size(), 6);
        QCOMPARE(properties[1], QStringLiteral("&Edit: &Copy\tCtrl+C |"));
        QCOMPARE(properties[2],
                 QStringLiteral("&Analyze: &Sequence-Specific Cleavage... | &Modfinder...[x] | "
                                "Search for Sequence &Motifs... | Scan with P&ROSITE File... | --- "
                                "| &Helical Wheel... | "
                                "H&ydropathy Plot... | Plot of &Amphipathy Moment... | "
                                "&Display Domain Structure... | &Titration Curve... | --- | "
                                "Entry &Features...[x] |"));
        // File, Options and Help as in the editor.
        QCOMPARE(properties[0], editor[0]);
        QCOMPARE(properties[3], editor[3]);
        QCOMPARE(properties[5], editor[5]);
        QVERIFY(properties[4].endsWith(
            QStringLiteral("&1 Sequence Editor | &2 Physico-chemical Properties[v] |")));

        // Back in the editor the open properties window disables its command.
        QVERIFY(program.frame->Execute(cmd::kWindowFirst));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
        QVERIFY(!program.Enabled(cmd::kPhysChem));
        QVERIFY(!program.frame->Execute(cmd::kPhysChem));
        QCOMPARE(program.frame->Frames().size(), 2);

        // Closing the properties window enables it again.
        program.frame->Frames().last()->close();
        QTRY_COMPARE(program.frame->Frames().size(), 1);
        QCOMPARE(program.frame->WindowCount(WindowKind::PhysChem), 0);
        QTRY_VERIFY(program.Enabled(cmd::kPhysChem));
    }

    void reportWindowsOpenAsLargeAsTheirReports()
    {
        RunningProgram program;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        // The title is wider than the analysis windows' 640 pixels.
        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        QTRY_VERIFY(test::ShowsAllItHasRoomFor(program, *program.frame->ActiveFrame()));
        QVERIFY(program.frame->ActiveFrame()->width() > 640);

        // Many sites: more lines than 300 pixels hold.
        const test::ModalAnswer answer([](QWidget& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("search"))->setText(QStringLiteral("GX"));
            dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        });
        QVERIFY(program.frame->Execute(cmd::kMotifs));
        QVERIFY(answer.Answered());
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Motif);
        QTRY_VERIFY(test::ShowsAllItHasRoomFor(program, *program.frame->ActiveFrame()));
        QVERIFY(program.frame->ActiveFrame()->height() > 300);
    }

    void theWindowMenuShortensLongTitlesAndKeepsTheirAmpersands()
    {
        RunningProgram program;
        openSequence(program);
        program.frame->Frames().first()->setWindowTitle(QStringLiteral("R&D ") +
                                                        QString(300, QLatin1Char('W')));
        QMenu* windows = program.frame->menuBar()->actions()[4]->menu();
        const QString entry = windows->actions().last()->text();
        QVERIFY2(entry.startsWith(QStringLiteral("&1 R&&D WW")), qPrintable(entry));
        QVERIFY(entry.endsWith(QChar(0x2026)));
        QVERIFY(windows->sizeHint().width() < 600);
    }

    void anEmptySequenceDisablesTheAnalyses()
    {
        RunningProgram program;
        QVERIFY(program.frame->Execute(cmd::kNew));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
        QVERIFY(program.MenuItem(cmd::kPhysChem) != nullptr);
        QVERIFY(!program.Enabled(cmd::kPhysChem));
        QVERIFY(program.Enabled(cmd::kExport));
        QCOMPARE(program.frame->windowTitle().left(15), QStringLiteral("Quorin - Quorin"));
    }

    void theToolbarFollowsTheSameRoute()
    {
        RunningProgram program;
        auto* bar = program.frame->findChild<QToolBar*>(QStringLiteral("toolBar"));
        QVERIFY(bar != nullptr);
        QStringList buttons;
        for (QAction* action : bar->actions()) {
            if (action->isSeparator()) {
                buttons << QStringLiteral("|");
                continue;
            }
            QVERIFY(!action->icon().isNull());
            buttons << action->toolTip() +
                           (action->isEnabled() ? QString() : QStringLiteral("[x]"));
        }
        QCOMPARE(buttons.join(QLatin1Char(',')),
                 QStringLiteral("New,Open,Save[x],|,Print[x],Copy[x],Paste[x],|,Physico-chemical "
                                "properties[x],Proteolytic digest[x],Find motifs[x],Helical "
                                "wheel[x],Hydropathy plot[x],Domaine structure[x],|,Batch "
                                "analysis[x],|,Help"));
        // The prompt of a command shows in the message pane while it is pointed at.
        QCOMPARE(bar->actions().at(0)->statusTip(), QStringLiteral("Create a new document"));
        QStatusTipEvent tip(bar->actions().at(0)->statusTip());
        QApplication::sendEvent(program.frame.get(), &tip);
        QCOMPARE(program.frame->statusBar()->currentMessage(),
                 QStringLiteral("Create a new document"));
        QCOMPARE(program.MenuItem(cmd::kImport)->statusTip(),
                 QStringLiteral("Import sequence data"));

        openSequence(program);
        program.frame->UpdateCommandStates();
        QAction* physChem = bar->actions().at(8);
        QVERIFY(physChem->isEnabled());
        physChem->trigger();
        QCOMPARE(program.frame->ActiveKind(), WindowKind::PhysChem);
        QTRY_VERIFY(!physChem->isEnabled());
    }

    void acceleratorsRunTheirCommands()
    {
        // Ctrl+D opens the download dialog, which the next turn of the event
        // loop counts and cancels.
        int downloads = 0;
        const auto cancelDownload = [&downloads] {
            QTimer::singleShot(0, [&downloads] {
                if (auto* dialog =
                        qobject_cast<CDownloadDialog*>(QApplication::activeModalWidget())) {
                    ++downloads;
                    dialog->reject();
                }
            });
        };
        {
            RunningProgram program;
            QApplication::setActiveWindow(program.frame.get());
            // The empty frame's keys, each with what it shows.
            cancelDownload();
            QTest::keyClick(program.frame.get(), Qt::Key_D, Qt::ControlModifier);
            QCOMPARE(downloads, 1);
            QApplication::setActiveWindow(program.frame.get());
            program.dialogs.Cancel();
            QTest::keyClick(program.frame.get(), Qt::Key_O, Qt::ControlModifier);
            QCOMPARE(program.dialogs.Requests().last().title, QStringLiteral("Open"));
            program.dialogs.Cancel();
            QTest::keyClick(program.frame.get(), Qt::Key_I, Qt::ControlModifier);
            QCOMPARE(program.dialogs.Requests().last().title, QStringLiteral("Import"));
            QTRY_VERIFY(program.Document() == nullptr);
            QTest::keyClick(program.frame.get(), Qt::Key_F1);
            QCOMPARE(program.frame->Help().CurrentKeyword(), QStringLiteral("QUORIN"));
            QApplication::setActiveWindow(program.frame.get());

            QTest::keyClick(program.frame.get(), Qt::Key_N, Qt::ControlModifier);
            QTRY_VERIFY(program.Document() != nullptr);
            QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
            // Download shows Ctrl+D in every window, and Ctrl+D works there.
            cancelDownload();
            QTest::keyClick(program.frame.get(), Qt::Key_D, Qt::ControlModifier);
            QCOMPARE(downloads, 2);
            QApplication::setActiveWindow(program.frame.get());
            QVERIFY(program.messages.Requests().isEmpty());

            QVERIFY(program.frame->CloseSequenceDocument());
            QTRY_COMPARE(program.frame->ActiveKind(), WindowKind::Empty);
            QTest::keyClick(program.frame.get(), Qt::Key_F4, Qt::AltModifier);
            QTRY_VERIFY(!program.frame->isVisible());
        }
    }

    void everyShortcutAMenuShowsRunsItsItemInThatWindow()
    {
        // Stand-in windows of every kind whose views take every command and
        // only note it, so that the keys reach them and nothing else happens.
        struct RecordingView : QLabel, core::ui::CommandTarget
        {
            RecordingView() : QLabel(QStringLiteral("stand-in")) {}
            std::optional<core::ui::CommandState> CommandStateOf(int) override
            {
                return core::ui::CommandState{};
            }
            bool OnCommand(int id) override
            {
                ran.append(id);
                return true;
            }
            QList<int> ran;
        };
        std::map<WindowKind, WindowFactory> saved;
        QPointer<RecordingView> view;
        for (const WindowKindInfo& info : AllWindowKinds()) {
            if (info.kind == WindowKind::Empty) {
                continue;
            }
            const WindowFactory* real = FindWindowFactory(info.kind);
            saved[info.kind] = real ? *real : WindowFactory{};
            const bool plot = info.family == DocumentFamily::Plot;
            SetWindowFactory(info.kind, [&view, plot](core::ui::CPeptideDoc&, const std::any&) {
                auto* made = new RecordingView;
                view = made;
                return WindowContent{made, made, plot ? new QObject : nullptr, nullptr};
            });
        }
        {
            RunningProgram program;
            openSequence(program);
            QApplication::setActiveWindow(program.frame.get());
            int keysTried = 0;
            for (const WindowKindInfo& info : AllWindowKinds()) {
                if (info.kind == WindowKind::Empty) {
                    continue;
                }
                if (info.kind != WindowKind::SequenceEditor) {
                    QVERIFY(program.frame->OpenWindow(info.kind, *program.Document()) != nullptr);
                }
                QCOMPARE(program.frame->ActiveKind(), info.kind);
                QVERIFY(view != nullptr);
                for (QAction* top : program.frame->menuBar()->actions()) {
                    for (QAction* item : top->menu()->actions()) {
                        const QString shown = item->text().section(QLatin1Char('\t'), 1);
                        if (shown.isEmpty()) {
                            continue;
                        }
                        const QKeySequence keys(
                            QString(shown).replace(QLatin1Char('-'), QLatin1Char('+')));
                        QCOMPARE(keys.count(), 1);
                        view->ran.clear();
                        QTest::keyClick(program.frame.get(), keys[0].key(),
                                        keys[0].keyboardModifiers());
                        QVERIFY2(view->ran == QList<int>{item->data().toInt()},
                                 qPrintable(QString::number(int(info.kind)) + QLatin1Char(' ') +
                                            item->text()));
                        ++keysTried;
                    }
                }
            }
            QVERIFY(keysTried > 9 * 8);
            QVERIFY(program.frame->CloseSequenceDocument());
        }
        for (auto& [kind, factory] : saved) {
            SetWindowFactory(kind, factory);
        }
    }

    void ctrlCInThePropertiesWindowShowsTheReport()
    {
        RunningProgram program;
        openSequence(program);
        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::PhysChem);
        QApplication::setActiveWindow(program.frame.get());
        QString caption;
        QString text;
        test::ModalAnswer answer([&](QWidget& dialog) {
            caption = dialog.windowTitle();
            text = dialog.findChild<QPlainTextEdit*>()->toPlainText();
            dialog.close();
        });
        QTest::keyClick(program.frame.get(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(answer.Answered());
        QCOMPARE(caption, QStringLiteral("Temporary Helpbox"));
        QVERIFY(text.startsWith(QStringLiteral("Physico-chemical Properties of P1\n")));
    }

    void theProgressPanesShowTheNotifications()
    {
        RunningProgram program;
        QCOMPARE(paneText(program, "messagePane"), QStringLiteral("Ready"));
        QCOMPARE(paneText(program, "percentPane"), QStringLiteral("100%"));
        QCOMPARE(paneText(program, "bytesPane"), QStringLiteral(" "));
        QStringList panes;
        for (QLabel* label : program.frame->statusBar()->findChildren<QLabel*>()) {
            panes << label->objectName();
        }
        for (const char* name : {"bytesPane", "percentPane", "capPane", "numPane", "scrlPane"}) {
            QVERIFY(panes.contains(QLatin1String(name)));
        }

        QSignalSpy finished(program.frame.get(), &CMainFrame::downloadFinished);
        CMainFrame& frame = *program.frame;
        frame.OnNotification(core::ui::MSG_PROGRESS, 37);
        QCOMPARE(paneText(program, "percentPane"), QStringLiteral("37%"));
        frame.OnNotification(core::ui::MSG_PROGRESS, 4);
        QCOMPARE(paneText(program, "percentPane"), QStringLiteral("37%"));
        frame.OnNotification(core::ui::MSG_PROGRESS, 111);
        QCOMPARE(paneText(program, "percentPane"), QStringLiteral("100%"));
        QCOMPARE(finished.count(), 1);
        frame.OnNotification(core::ui::MSG_BYTES_RECEIVED, 2048);
        QCOMPARE(paneText(program, "bytesPane"), QStringLiteral("2048 bytes received"));
        frame.OnNotification(core::ui::MSG_BYTES_RECEIVED, 4);
        QCOMPARE(paneText(program, "bytesPane"), QStringLiteral("2048 bytes received"));
        frame.OnNotification(core::ui::MSG_BYTES_RECEIVED, 0);
        QCOMPARE(paneText(program, "bytesPane"), QStringLiteral(" "));

        // From a worker thread the values arrive in order on the GUI thread.
        std::thread worker([] {
            core::ui::PostNotification(core::ui::MSG_BYTES_RECEIVED, 512);
            for (int p = 10; p <= 60; p += 10) {
                core::ui::PostNotification(core::ui::MSG_PROGRESS, p);
            }
            core::ui::PostNotification(core::ui::MSG_PROGRESS, 111);
        });
        worker.join();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(paneText(program, "percentPane"), QStringLiteral("100%"));
        QCOMPARE(paneText(program, "bytesPane"), QStringLiteral("512 bytes received"));

        std::thread sender([] { core::ui::SendNotification(core::ui::MSG_PROGRESS, 55); });
        QTRY_COMPARE(paneText(program, "percentPane"), QStringLiteral("55%"));
        sender.join();
    }

    void helpOpensTheTopicOfTheActiveWindow()
    {
        for (const QString& keyword : HelpWindow::Keywords()) {
            const QString file = HelpWindow::TopicFile(keyword);
            QVERIFY2(QFile::exists(file), qPrintable(keyword));
            QVERIFY2(test::ReadBytes(file).contains("<title>"), qPrintable(keyword));
        }
        for (const WindowKindInfo& info : AllWindowKinds()) {
            QVERIFY(!HelpWindow::TopicFile(QString::fromLatin1(info.HelpTopic().data(),
                                                               qsizetype(info.HelpTopic().size())))
                         .isEmpty());
        }
        QCOMPARE(HelpWindow::TopicFile(QStringLiteral("sequence motif search window")),
                 HelpWindow::TopicFile(QStringLiteral("Sequence Motif Search Window")));

        RunningProgram program;
        QVERIFY(program.frame->Execute(cmd::kHelp));
        QCOMPARE(program.frame->Help().CurrentKeyword(), QStringLiteral("QUORIN"));
        QCOMPARE(program.frame->Help().CurrentTitle(), QStringLiteral("Working with Quorin"));
        QVERIFY(program.frame->Help().isVisible());
        openSequence(program);
        QVERIFY(program.frame->Execute(cmd::kHelp));
        QCOMPARE(program.frame->Help().CurrentKeyword(), QStringLiteral("CONTENT"));
        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        QVERIFY(program.frame->Execute(cmd::kHelp));
        QCOMPARE(program.frame->Help().CurrentKeyword(),
                 QStringLiteral("PHYSICO-CHEMICAL PROPERTIES WINDOW"));
        QCOMPARE(program.frame->Help().CurrentTitle(),
                 QStringLiteral("Physico-chemical properties"));
        QVERIFY(program.frame->Execute(cmd::kHelpContents));
        QCOMPARE(program.frame->Help().CurrentTitle(), QStringLiteral("Help topics"));
        QVERIFY(program.frame->Execute(cmd::kHelpUsing));
        QCOMPARE(program.frame->Help().CurrentTitle(), QStringLiteral("Using this help window"));
        core::ui::OpenHelpTopic(QStringLiteral("HELICAL WHEEL PROPERTIES BOX"));
        QCOMPARE(program.frame->Help().CurrentTitle(),
                 QStringLiteral("Helical wheel: choosing the stretch"));
    }

    void everyHelpLinkLeadsToATopicAndTheIndexListsEveryTopic()
    {
        const QDir topics(QStringLiteral(":/help"));
        const QStringList files = topics.entryList({QStringLiteral("*.html")});
        QVERIFY(files.size() >= 10);
        const QString index = QString::fromUtf8(test::ReadBytes(topics.filePath("index.html")));
        const QRegularExpression link(QStringLiteral("href=\"([^\"]*)\""));
        for (const QString& file : files) {
            const QString text = QString::fromUtf8(test::ReadBytes(topics.filePath(file)));
            for (auto it = link.globalMatch(text); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(files.contains(target),
                         qPrintable(file + QStringLiteral(" -> ") + target));
            }
            if (file != QStringLiteral("index.html")) {
                QVERIFY2(index.contains(QStringLiteral("href=\"%1\"").arg(file)), qPrintable(file));
            }
        }
    }

    void aboutNamesProgramVersionAndPlatform()
    {
        RunningProgram program;
        QStringList texts;
        test::ModalAnswer answer([&](QWidget& modal) {
            auto* about = qobject_cast<CAboutDlg*>(&modal);
            QVERIFY(about != nullptr);
            for (const char* name : {"name", "version", "platform", "settings"}) {
                texts << about->findChild<QLabel*>(QLatin1String(name))->text();
            }
            about->accept();
        });
        QVERIFY(program.frame->Execute(cmd::kAbout));
        QVERIFY(answer.Answered());
        QCOMPARE(texts.size(), 4);
        QVERIFY(texts[0].contains(QStringLiteral("Quorin")));
        QCOMPARE(texts[1], QStringLiteral("Version 3.01"));
        QCOMPARE(texts[2], CAboutDlg::PlatformText());
        QVERIFY(texts[2].contains(QStringLiteral("Qt 6")));
        QCOMPARE(texts[3],
                 QStringLiteral("Settings: ") + program.start + QStringLiteral("/quorin.ini"));
    }

    void closingTheEditorClosesTheSequenceWithItsAnalyses()
    {
        RunningProgram program;
        openSequence(program);
        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        ChildFrame* editor = program.frame->Frames().first();
        program.Document()->SetModifiedFlag(true);

        program.messages.Answer(core::ui::MessageAnswer::Cancel);
        editor->close();
        QCOMPARE(program.messages.LastText(), QStringLiteral("Save changes to seq.fasta?"));
        QCOMPARE(program.messages.Requests().last().buttons, core::ui::MessageButtons::YesNoCancel);
        QCOMPARE(program.messages.Requests().last().icon, core::ui::MessageIcon::Exclamation);
        QCOMPARE(program.frame->Frames().size(), 2);
        QVERIFY(program.Document() != nullptr);

        program.messages.Answer(core::ui::MessageAnswer::No);
        editor->close();
        QTRY_VERIFY(program.frame->Frames().isEmpty());
        QVERIFY(program.Document() == nullptr);
        QTRY_COMPARE(program.frame->ActiveKind(), WindowKind::Empty);
        QCOMPARE(program.frame->menuBar()->actions().size(), 3);
        QCOMPARE(program.frame->windowTitle(), QStringLiteral("Quorin"));
    }

    void closeInTheWindowMenuClosesTheSequence()
    {
        RunningProgram program;
        openSequence(program);
        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        QVERIFY(program.frame->Execute(cmd::kClose));
        QTRY_VERIFY(program.frame->Frames().isEmpty());
        QVERIFY(program.Document() == nullptr);
        QVERIFY(program.messages.Requests().isEmpty()); // nothing was modified
    }

    void closingTheMainWindowAsksForAModifiedSequence()
    {
        RunningProgram program;
        openSequence(program);
        program.Document()->SetModifiedFlag(true);
        program.messages.Answer(core::ui::MessageAnswer::Cancel);
        QVERIFY(!program.frame->close());
        QVERIFY(program.frame->isVisible());
        QVERIFY(program.Document() != nullptr);

        program.messages.Answer(core::ui::MessageAnswer::No);
        QVERIFY(program.frame->close());
        QCOMPARE(program.messages.Requests().size(), 2);
        QVERIFY(program.Document() == nullptr);
        // The recent files are written at exit.
        const core::ProfileFile settings(program.app->SettingsFile().Path());
        QCOMPARE(QString::fromStdString(settings.ReadString("Recent File List", "File1", "")),
                 program.home.Path(QStringLiteral("seq.fasta")));
    }

    void aDroppedFileOpens()
    {
        RunningProgram program;
        const QString path = program.File(QStringLiteral("dropped.fasta"), Fasta("D1", "MKKW"));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(program.frame.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(program.frame.get(), &drop);
        QTRY_VERIFY(program.Document() != nullptr);
        QCOMPARE(program.Document()->Record().Name(), std::string("D1"));
    }

    void aPlotWindowForwardsToTheSequenceDocument()
    {
        // A stand-in hydropathy plot: a document of its own and a bare view.
        const test::StandInHydropathyPlot plot;
        {
            RunningProgram program;
            openSequence(program);
            QVERIFY(program.Enabled(cmd::kHydropathy));
            QVERIFY(program.frame->Execute(cmd::kHydropathy));
            QCOMPARE(program.frame->ActiveKind(), WindowKind::Hydropathy);
            QVERIFY(program.MenuItem(cmd::kHydropathy) == nullptr);
            QVERIFY(program.Enabled(cmd::kSave));
            QVERIFY(program.Enabled(cmd::kSaveMetafile) == false);

            // Export in the plot exports the sequence.
            const QString exported = program.home.Path(QStringLiteral("from plot.txt"));
            program.dialogs.Answer(exported);
            QVERIFY(program.Enabled(cmd::kExport));
            QVERIFY(program.frame->Execute(cmd::kExport));
            QCOMPARE(program.dialogs.Requests().last().title, QStringLiteral("Export sequence"));
            QCOMPARE(test::ReadBytes(exported), QByteArray(">P1\r\nMKVLAAGIWYC"));

            // An Analyze command from the plot reaches the sequence document's launcher.
            QVERIFY(program.frame->Execute(cmd::kPhysChem));
            QCOMPARE(program.frame->ActiveKind(), WindowKind::PhysChem);
            QVERIFY(!program.Enabled(cmd::kHydropathy));

            // Close in the plot closes the plot only.
            program.frame->Workspace()->setActiveSubWindow(program.frame->Frames().at(1));
            QCOMPARE(program.frame->ActiveKind(), WindowKind::Hydropathy);
            QVERIFY(program.frame->Execute(cmd::kClose));
            QTRY_COMPARE(program.frame->Frames().size(), 2);
            QVERIFY(program.Document() != nullptr);
            QTRY_VERIFY(program.Document()->Analyses().hydropathy.isNull());
            program.frame->Workspace()->setActiveSubWindow(program.frame->Frames().first());
            QTRY_VERIFY(program.Enabled(cmd::kHydropathy));

            // Closing the sequence takes a new plot with it.
            QVERIFY(program.frame->Execute(cmd::kHydropathy));
            QCOMPARE(program.frame->Frames().size(), 3);
            QVERIFY(program.frame->CloseSequenceDocument());
            QTRY_VERIFY(program.frame->Frames().isEmpty());
        }
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::CMainFrameTest)
#include "CMainFrameTest.moc"
