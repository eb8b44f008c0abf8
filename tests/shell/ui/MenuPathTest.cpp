#include "MainFrameFixture.h"
#include "batch/ui/BatchRunner.h"
#include "shell/ui/CDownloadDialog.h"
#include "shell/ui/COptionsPropSheet.h"
#include "shell/ui/PreferencePages.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <optional>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::RunningProgram;

namespace {

/// Runs an event loop as a modal dialog's exec() does, so that whatever a
/// command left for later runs inside its dialog.
void runModalLoop()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

/// While it lives, file dialogs and message boxes run an event loop before
/// the answers the program's test hooks give.
class ModalEventLoops
{
public:
    ModalEventLoops()
    {
        m_files =
            core::ui::SetFileDialogHandler([this](const core::ui::FileDialogRequest& request) {
                runModalLoop();
                return m_files(request);
            });
        m_messages = core::ui::SetMessageHandler([this](const core::ui::MessageRequest& request) {
            runModalLoop();
            return m_messages(request);
        });
    }
    ~ModalEventLoops()
    {
        core::ui::SetFileDialogHandler(std::move(m_files));
        core::ui::SetMessageHandler(std::move(m_messages));
    }
    ModalEventLoops(const ModalEventLoops&) = delete;
    ModalEventLoops& operator=(const ModalEventLoops&) = delete;

private:
    core::ui::FileDialogHandler m_files;
    core::ui::MessageHandler m_messages;
};

} // namespace

/// The commands that close the sequence and run modal dialogs, chosen as a
/// user chooses them: a click opens the menu in the menu bar, a click on the
/// item runs the command. The menu stays on the call stack until the command
/// returns into it, through every dialog the command shows.
class MenuPathTest : public QObject
{
    Q_OBJECT

private:
    /// Opens the menu that holds the command and clicks its item. False when
    /// the menu did not close or did not outlive the command it ran.
    static bool choose(RunningProgram& program, int id, const std::function<void()>& menuOpen = {})
    {
        QAction* item = program.MenuItem(id);
        if (item == nullptr || !item->isEnabled()) {
            qWarning("command %d is not in the menus or is disabled", id);
            return false;
        }
        const QPointer<QMenu> menu = qobject_cast<QMenu*>(item->parent());
        QMenuBar* bar = program.frame->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(menu->menuAction()).center());
        if (!QTest::qWaitFor([&] { return menu->isVisible(); })) {
            qWarning("the menu did not open");
            return false;
        }
        if (menuOpen) {
            menuOpen();
        }
        QMenu* const running = menu;
        const QPoint at = running->actionGeometry(item).center();
        QTest::mouseMove(running, at);
        QTest::mouseClick(running, Qt::LeftButton, {}, at);
        // Read the menu as its own code does once the command returned into
        // it (the sanitizer build reports a menu deleted meanwhile): it has
        // closed, and it still exists.
        const bool closed = !running->isVisible();
        return closed && !menu.isNull();
    }

    static void openSequence(RunningProgram& program, const QString& path)
    {
        program.dialogs.Answer(path);
        QVERIFY(program.frame->Execute(cmd::kOpen));
        QCOMPARE(program.Document()->PathName(), path);
    }

private slots:
    void initTestCase()
    {
        // Nothing here downloads; should it, only from this machine.
        qputenv("QUORIN_TEST_LOOPBACK_ONLY", "1");
        batch::ui::RegisterBatchCommands();
    }

    void commandsThatCloseTheSequenceRunFromTheMenus()
    {
        RunningProgram program;
        const ModalEventLoops loops;
        const QString first = program.File(QStringLiteral("first.fasta"), test::Fasta("A", "MKV"));
        const QString second =
            program.File(QStringLiteral("second.fasta"), test::Fasta("B", "MKVLW"));

        // Each command closes the sequence and then shows a dialog or a message.
        openSequence(program, first);
        program.dialogs.Answer(program.File(QStringLiteral("notes.txt"), "no sequence"));
        QVERIFY(choose(program, cmd::kOpen));
        QCOMPARE(program.messages.LastText(),
                 QStringLiteral("File corrupted or not Quorin-format !"));
        QTRY_VERIFY(program.Document() == nullptr);

        openSequence(program, first);
        program.dialogs.Answer(program.File(QStringLiteral("bare.txt"), "MKVLAAGIW"));
        QVERIFY(choose(program, cmd::kImport));
        QCOMPARE(program.messages.LastText(), QStringLiteral("File not found!"));
        QCOMPARE(program.Document()->Title(), QStringLiteral("bare.txt"));

        program.Document()->SetModifiedFlag(false);
        program.dialogs.Answer(second);
        QVERIFY(choose(program, cmd::kOpen));
        QCOMPARE(program.Document()->PathName(), second);

        openSequence(program, first);
        program.dialogs.Cancel();
        QVERIFY(choose(program, cmd::kBatch));
        QCOMPARE(program.dialogs.Requests().last().title, QStringLiteral("Open"));

        openSequence(program, first);
        // The answers of real dialogs wait until the menu is open: the open
        // menu is a pop-up they would answer otherwise.
        std::optional<test::ModalAnswer> download;
        QVERIFY(choose(program, cmd::kDownload, [&download] {
            download.emplace([](QWidget& modal) {
                QVERIFY(qobject_cast<CDownloadDialog*>(&modal) != nullptr);
                qobject_cast<QDialog*>(&modal)->reject();
            });
        }));
        QVERIFY(download->Answered());

        // The directories page moves the settings and restarts the program:
        // it closes the main window from inside the Options menu.
        openSequence(program, second);
        QList<QStringList> restarts;
        PrefChoosers().restart = [&restarts](const QStringList& arguments) {
            restarts << arguments;
        };
        const QString profiles = program.home.MakeDirectory(QStringLiteral("profiles"));
        std::optional<test::ModalAnswer> preferences;
        QVERIFY(choose(program, cmd::kPreferences, [&] {
            preferences.emplace([&profiles](QWidget& modal) {
                auto* sheet = qobject_cast<COptionsPropSheet*>(&modal);
                QVERIFY(sheet != nullptr);
                auto* directories = sheet->findChild<CWorkDirPage*>();
                directories->findChild<QRadioButton*>(QStringLiteral("userProfiles"))->click();
                QVERIFY(directories->Enter(profiles.toStdString()));
                sheet->findChild<QPushButton*>(QStringLiteral("ok"))->click();
            });
        }));
        QVERIFY(preferences->Answered());
        PrefChoosers() = StandardPrefChoosers();
        QCOMPARE(restarts, QList<QStringList>{{second}});
        QVERIFY(!program.frame->isVisible());
    }

    void theNewWindowsRunTheirCommandsFromTheMenus()
    {
        // A PROSITE scan from the Analyze menu, its matches into the sketch
        // from its Edit menu, and a UniProt entry's features.
        RunningProgram program;
        const ModalEventLoops loops;
        openSequence(program, test::DataPath(QStringLiteral("uniprot/current-layout.dat")));
        program.dialogs.Answer(program.File(QStringLiteral("library.dat"),
                                            "ID   CXXC; PATTERN.\nAC   PS99001;\n"
                                            "PA   C-x(2)-C.\n//\n"));
        QVERIFY(choose(program, cmd::kPrositeScan));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::PrositeScan);
        auto* rows = qobject_cast<QTreeWidget*>(program.frame->ActiveFrame()->widget());
        QVERIFY(rows != nullptr && rows->topLevelItemCount() > 0);
        const std::size_t domains = program.Document()->Record().sketch.domains.size();
        rows->topLevelItem(0)->setSelected(true);
        QVERIFY(choose(program, cmd::kAddToSketch));
        QCOMPARE(program.Document()->Record().sketch.domains.size(), domains + 1);

        QVERIFY(choose(program, cmd::kFeatures));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Features);
    }

    void aPlotOpensFromTheAnalyzeMenuWithTheStretchItsDialogChose()
    {
        RunningProgram program;
        test::PlotDialogAnswers dialogs;
        openSequence(program, program.File(QStringLiteral("helix.fasta"),
                                           test::Fasta("H", "MKVLWAALLVAGKKLL")));
        dialogs.Answer([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("from"))->setText(QStringLiteral("3"));
            dialog.findChild<QLineEdit*>(QStringLiteral("to"))->setText(QStringLiteral("12"));
            dialog.accept();
        });
        QVERIFY(choose(program, cmd::kHelicalWheel));
        QCOMPARE(dialogs.Shown(), 1);
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Wheel);
        const core::WHEELPLOT& wheel = program.Document()->Record().plots.wheels.at(0);
        QCOMPARE(QList<int>({wheel.from, wheel.to}), QList<int>({3, 12}));
        QVERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(
            QStringLiteral("Helical Wheel Display of residues 3-12 ")));
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::MenuPathTest)
#include "MenuPathTest.moc"
