#include "MainFrameFixture.h"
#include "analysis/Digest.h"
#include "analysis/ui/CDigView.h"
#include "analysis/ui/CDigestDialog.h"
#include "analysis/ui/CModFinderDialog.h"
#include "core/CommandIds.h"
#include "core/MessageTexts.h"
#include "core/ui/QtText.h"
#include "shell/ui/HelpWindow.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/ReportWindows.h"
#include "shell/ui/WindowFactories.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QStatusBar>

#include <cstdint>
#include <functional>
#include <string>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using analysis::ui::CDigestDialog;
using analysis::ui::CDigView;
using test::RunningProgram;

class DigestWindowTest : public QObject
{
    Q_OBJECT

private:
    /// Opens insulin (P01308) and gives the document two agents.
    static void openInsulin(RunningProgram& program)
    {
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01308.fasta")));
        program.Document()->Record().agents = {{"Trypsin", "K!;R!"}, {"CNBr", "M"}};
    }

    /// Answers the agent dialog that the next command shows.
    [[nodiscard]] static test::ModalAnswer
    whenTheDialogShows(std::function<void(CDigestDialog&)> answer)
    {
        return test::ModalAnswer([answer](QWidget& modal) {
            auto* dialog = qobject_cast<CDigestDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            answer(*dialog);
        });
    }

    /// Chooses the agents of these rows, in this order, and presses Analyse.
    [[nodiscard]] static test::ModalAnswer chooseAndAnalyse(std::initializer_list<int> rows)
    {
        const QList<int> chosen(rows);
        return whenTheDialogShows([chosen](CDigestDialog& dialog) {
            auto* available = dialog.findChild<QListWidget*>(QStringLiteral("availableAgents"));
            for (const int row : chosen) {
                available->setCurrentRow(row);
                dialog.findChild<QPushButton*>(QStringLiteral("select"))->click();
            }
            dialog.findChild<QPushButton*>(QStringLiteral("analyse"))->click();
        });
    }

    /// Runs a trypsin digest through the Analyze command; returns its view
    /// once the report is on show.
    static CDigView* digestWithTrypsin(RunningProgram& program)
    {
        const auto answer = chooseAndAnalyse({0});
        if (!program.frame->Execute(cmd::kCleavage) || !answer.Answered()) {
            return nullptr;
        }
        ChildFrame* frame = program.frame->ActiveFrame();
        if (frame == nullptr || frame->Kind() != WindowKind::Digest) {
            return nullptr;
        }
        auto* view = qobject_cast<CDigView*>(frame->widget());
        if (view == nullptr || !QTest::qWaitFor([view] { return !view->Busy(); })) {
            return nullptr;
        }
        return view;
    }

    static QString viewMenu(const RunningProgram& program)
    {
        for (const QString& line : program.MenuLines()) {
            if (line.startsWith(QStringLiteral("&View:"))) {
                return line;
            }
        }
        return {};
    }

private slots:
    void withoutAgentsTheCommandOnlyTellsSo()
    {
        for (const std::vector<core::ENZYME>& agents :
             {std::vector<core::ENZYME>{},
              std::vector<core::ENZYME>{{"", "K!"}, {"Trypsin", "K!"}}}) {
            RunningProgram program;
            openInsulin(program);
            program.Document()->Record().agents = agents;
            QVERIFY(program.Enabled(cmd::kCleavage));
            QVERIFY(program.frame->Execute(cmd::kCleavage));
            QCOMPARE(program.messages.Requests().size(), 1);
            QCOMPARE(program.messages.LastText(), QStringLiteral("No cleaving agents defined!"));
            QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Note"));
            QCOMPARE(program.frame->Frames().size(), 1);
            QVERIFY(!program.Document()->Analyses().digestComputed);
        }
    }

    void cancelOrNoAgentChosenChangesNothing()
    {
        RunningProgram program;
        openInsulin(program);
        const auto answer = whenTheDialogShows([&](CDigestDialog& dialog) {
            dialog.findChild<QPushButton*>(QStringLiteral("analyse"))->click();
            QCOMPARE(program.messages.LastText(), QStringLiteral("Select an agent!"));
            QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Error"));
            QVERIFY(dialog.isVisible());
            dialog.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        });
        QVERIFY(program.frame->Execute(cmd::kCleavage));
        QVERIFY(answer.Answered());
        QCOMPARE(program.messages.Requests().size(), 1);
        QCOMPARE(program.frame->Frames().size(), 1);
        QVERIFY(!program.Document()->Analyses().digestComputed);
        QCOMPARE(program.frame->WindowCount(WindowKind::Digest), 0);
        QVERIFY(program.Document()->Record().digest.selectedAgents.empty());
    }

    void aDigestBeyondTheCeilingIsRefusedAndOpensNothing()
    {
        RunningProgram program;
        openInsulin(program);
        // Enough agents cutting after every residue to pass this machine's
        // ceiling; counting their sites allocates nothing.
        core::PropertyRecord& record = program.Document()->Record();
        const std::uint64_t ceiling = analysis::FragmentCeiling();
        std::string everyResidue = "X!";
        while (analysis::PredictFragmentCount(record, everyResidue) <= ceiling) {
            everyResidue += ";" + everyResidue;
        }
        record.agents = {{"All", everyResidue}};
        const std::uint64_t count = analysis::PredictFragmentCount(record, everyResidue);
        const auto answer = chooseAndAnalyse({0});
        QVERIFY(program.frame->Execute(cmd::kCleavage));
        QVERIFY(answer.Answered());
        QCOMPARE(program.messages.Requests().size(), 1);
        QCOMPARE(program.messages.LastText(),
                 core::ui::ToQString(core::msg::TooManyFragments(count, ceiling)));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Error"));
        QCOMPARE(program.frame->Frames().size(), 1);
        QCOMPARE(program.frame->WindowCount(WindowKind::Digest), 0);
        QVERIFY(!program.Document()->Analyses().digestComputed);
        QVERIFY(record.digest.selectedAgents.empty());
    }

    void theDigestOpensItsWindowWithTheWholeReport()
    {
        RunningProgram program;
        openInsulin(program);
        program.frame->OnNotification(core::ui::MSG_PROGRESS, 37);
        CDigView* view = digestWithTrypsin(program);
        QVERIFY(view != nullptr);
        ChildFrame* frame = program.frame->ActiveFrame();
        // As large as the report (a long title, more lines than fit) where
        // the workspace has room.
        QTRY_VERIFY(test::ShowsAllItHasRoomFor(program, *frame));
        QVERIFY(frame->width() > 630 && frame->height() > 405);
        QVERIFY(!frame->isMaximized() && !frame->isMinimized());
        QCOMPARE(frame->windowTitle(), QStringLiteral("Sequence specific cleavage"));
        QVERIFY(program.Document()->Analyses().digestComputed);
        QCOMPARE(program.frame->WindowCount(WindowKind::Digest), 1);
        QVERIFY(program.messages.Requests().isEmpty());
        QTRY_COMPARE(program.frame->statusBar()->findChild<QLabel*>("percentPane")->text(),
                     QStringLiteral("100%"));

        // What the command line writes for the same digest, with the LF line
        // ends of clipboard text.
        QVERIFY(program.frame->Execute(cmd::kCopyAll));
        QCOMPARE(QApplication::clipboard()->text().toUtf8(),
                 test::ReadBytes(test::DataPath("golden/digest-P01308-trypsin.txt"))
                     .replace("\r\n", "\n"));
        const auto& agents = program.Document()->Record().digest.selectedAgents;
        QCOMPARE(agents.size(), std::size_t{1});
        QCOMPARE(agents.front().specificity, std::string("K!;R!"));

        QCOMPARE(viewMenu(program),
                 QStringLiteral("&View: Sort fragments by &start | Sort fragments by &length | "
                                "Sort fragments by &weight[v] | --- | &Complete digest | --- | "
                                "Digest &Options... |"));
        QVERIFY(program.frame->Execute(cmd::kSortByStart));
        QVERIFY(program.frame->Execute(cmd::kCompleteDigest));
        QCOMPARE(viewMenu(program),
                 QStringLiteral("&View: Sort fragments by &start[v] | Sort fragments by &length | "
                                "Sort fragments by &weight | --- | &Complete digest[v] | --- | "
                                "Digest &Options... |"));
        QCOMPARE(view->LineText(view->LineCount() - 1),
                 QStringLiteral(" 2383.8    |  90     |  110    |  21"));
        QVERIFY(program.Enabled(cmd::kPrint));
        QVERIFY(program.Enabled(cmd::kSelectAll));

        // F1 opens the window's own topic.
        QVERIFY(program.frame->Execute(cmd::kHelp));
        QCOMPARE(program.frame->Help().CurrentKeyword(),
                 QStringLiteral("SEQUENCE-SPECIFIC CLEAVAGE WINDOW"));
    }

    void selectAllAndCopyWorkFromTheKeyboardWhereverTheFocusIs()
    {
        RunningProgram program;
        openInsulin(program);
        CDigView* view = digestWithTrypsin(program);
        QVERIFY(view != nullptr);
        QApplication::setActiveWindow(program.frame.get());
        // The keys the Edit menu shows work while the focus is outside the report.
        program.frame->setFocus();
        QVERIFY(!view->hasFocus());
        QVERIFY(!view->Selection());
        QTest::keyClick(program.frame.get(), Qt::Key_A, Qt::ControlModifier);
        const auto selection = view->Selection();
        QVERIFY(selection);
        QCOMPARE(selection->first, std::size_t{0});
        QCOMPARE(selection->second, view->LineCount() - 1);
        QApplication::clipboard()->clear();
        QTest::keyClick(program.frame.get(), Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::clipboard()->text().toUtf8(),
                     test::ReadBytes(test::DataPath("golden/digest-P01308-trypsin.txt"))
                         .replace("\r\n", "\n"));
    }

    void twoAgentsCutTogether()
    {
        RunningProgram program;
        openInsulin(program);
        const auto answer = chooseAndAnalyse({1, 0});
        QVERIFY(program.frame->Execute(cmd::kCleavage));
        QVERIFY(answer.Answered());
        auto* view = qobject_cast<CDigView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(view != nullptr);
        QTRY_VERIFY(!view->Busy());
        core::PropertyRecord expected = program.Document()->Record();
        analysis::Digest(expected, "M;K!;R!");
        QCOMPARE(view->LineText(6), QStringLiteral("CNBr                (M)"));
        QCOMPARE(view->LineText(7), QStringLiteral("Trypsin             (K!;R!)"));
        QCOMPARE(program.Document()->Record().digest.siteCount, expected.digest.siteCount);
        QCOMPARE(core::ui::ToQString(analysis::DigestReportText(program.Document()->Record())),
                 core::ui::ToQString(analysis::DigestReportText(expected)));
    }

    void cleavageAndModFinderFollowTheDigestAndItsWindow()
    {
        // Stand-ins: ModFinder needs only a launcher to be judged by its rule,
        // and a plot window its own document.
        int modFinderRuns = 0;
        SetLauncher(cmd::kModFinder, [&](LaunchContext&) { ++modFinderRuns; });
        const test::StandInHydropathyPlot plot;
        {
            RunningProgram program;
            openInsulin(program);
            QVERIFY(program.Enabled(cmd::kCleavage));
            QVERIFY(!program.Enabled(cmd::kModFinder));
            QVERIFY(program.frame->Execute(cmd::kHydropathy));
            QCOMPARE(program.frame->ActiveKind(), WindowKind::Hydropathy);
            QVERIFY(program.Enabled(cmd::kCleavage));

            // From the plot window: the digest opens its window.
            QVERIFY(digestWithTrypsin(program) != nullptr);
            QVERIFY(program.MenuItem(cmd::kCleavage) == nullptr);
            QVERIFY(program.Enabled(cmd::kModFinder));
            QList<ChildFrame*> frames = program.frame->Frames();
            QCOMPARE(frames.size(), 3);
            for (ChildFrame* frame : {frames[0], frames[1]}) {
                program.frame->Workspace()->setActiveSubWindow(frame);
                QVERIFY(!program.Enabled(cmd::kCleavage));
                QVERIFY(program.Enabled(cmd::kModFinder));
            }

            // The digest window closes: the editor may cleave again, the plot
            // not; ModFinder keeps the digest.
            frames[2]->close();
            QTRY_COMPARE(program.frame->Frames().size(), 2);
            program.frame->Workspace()->setActiveSubWindow(frames[0]);
            QTRY_VERIFY(program.Enabled(cmd::kCleavage));
            QVERIFY(program.Enabled(cmd::kModFinder));
            QVERIFY(program.frame->Execute(cmd::kModFinder));
            QCOMPARE(modFinderRuns, 1);
            program.frame->Workspace()->setActiveSubWindow(frames[1]);
            QCOMPARE(program.frame->ActiveKind(), WindowKind::Hydropathy);
            QVERIFY(!program.Enabled(cmd::kCleavage));
            QVERIFY(program.Enabled(cmd::kModFinder));

            // A new sequence has no digest.
            QVERIFY(program.frame->NewDocument() != nullptr);
            program.Document()->Record().SetSequence("MKWVTFISLLFLFSSAYS");
            program.Document()->UpdateAllViews();
            QVERIFY(program.Enabled(cmd::kCleavage));
            QVERIFY(!program.Enabled(cmd::kModFinder));
        }
        SetLauncher(cmd::kModFinder, LaunchModFinder);
    }

    void modFinderSearchesTheDigestAndOpensItsWindow()
    {
        RunningProgram program;
        openInsulin(program);
        core::PropertyRecord& record = program.Document()->Record();
        record.modifications = {{"Oxidation", "M", 16.0}};
        QVERIFY(digestWithTrypsin(program) != nullptr);
        QVERIFY(program.Enabled(cmd::kModFinder));

        const test::ModalAnswer answer([](QWidget& modal) {
            auto* dialog = qobject_cast<analysis::ui::CModFinderDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            dialog->findChild<QLineEdit*>(QStringLiteral("weight"))->setText("3000");
            dialog->findChild<QLineEdit*>(QStringLiteral("uncertainty"))->setText("3000");
            dialog->findChild<QPushButton*>(QStringLiteral("select"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("analyse"))->click();
        });
        QVERIFY(program.frame->Execute(cmd::kModFinder));
        QVERIFY(answer.Answered());
        QCOMPARE(program.frame->ActiveKind(), WindowKind::ModFinder);
        QTRY_VERIFY(test::ShowsAllItHasRoomFor(program, *program.frame->ActiveFrame()));
        QVERIFY(program.frame->ActiveFrame()->height() > 300);
        QVERIFY(!record.modFinder.matches.empty());
        QVERIFY(!program.Enabled(cmd::kModFinder));

        // Without modifications the command only says so.
        program.frame->ActiveFrame()->close();
        QTRY_VERIFY(program.Enabled(cmd::kModFinder));
        record.modifications.clear();
        program.messages.Clear();
        QVERIFY(program.frame->Execute(cmd::kModFinder));
        QCOMPARE(program.messages.LastText(), QStringLiteral("No modifications defined!"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Note"));
    }

    void aWindowThatCannotBeMadeIsReported()
    {
        const WindowFactory factory = *FindWindowFactory(WindowKind::Digest);
        SetWindowFactory(WindowKind::Digest,
                         [](core::ui::CPeptideDoc&, const std::any&) { return WindowContent{}; });
        {
            RunningProgram program;
            openInsulin(program);
            const auto answer = chooseAndAnalyse({0});
            QVERIFY(program.frame->Execute(cmd::kCleavage));
            QVERIFY(answer.Answered());
            QCOMPARE(program.messages.LastText(), QStringLiteral("Could not create new window!"));
            QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Error"));
            QCOMPARE(program.frame->Frames().size(), 1);
            // The digest itself ran.
            QVERIFY(program.Document()->Analyses().digestComputed);
            QTRY_VERIFY(analysis::DigestReportLineCount(program.Document()->Record()) > 0);
        }
        SetWindowFactory(WindowKind::Digest, factory);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::DigestWindowTest)
#include "DigestWindowTest.moc"
