#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CPathyView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/ui/PlotWindows.h"

#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>

#include <functional>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::ActiveView;
using test::PlotDialogAnswers;
using test::RunningProgram;

namespace {

QString bacteriorhodopsin()
{
    return test::DataPath(QStringLiteral("proteins/P02945.fasta"));
}

/// A mouse move over a widget with the given buttons held.
void moveMouse(QWidget* widget, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

/// The hydropathy plot in the desktop program: its launcher, its window, its
/// menus and its page.
class HydropathyWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theLauncherChecksTheScalesAndOpensOnePlot()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        core::ui::CPeptideDoc& document = *program.Document();

        const auto scales = document.Record().scales;
        document.Record().scales.clear();
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        QCOMPARE(program.messages.LastText(), QStringLiteral("No hydropathy scale available!"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Note"));
        QCOMPARE(dialogs.Shown(), 0);
        QCOMPARE(program.frame->Frames().size(), 1);
        document.Record().scales = scales;

        // Cancel opens nothing.
        dialogs.Answer([](QDialog& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("from"))->text(),
                     QStringLiteral("1"));
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("to"))->text(),
                     QStringLiteral("262"));
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("window"))->text(),
                     QStringLiteral("11"));
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("threshold"))->text(),
                     QStringLiteral("1.6"));
            dialog.reject();
        });
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        QCOMPARE(dialogs.Shown(), 1);
        QCOMPARE(program.frame->Frames().size(), 1);
        QVERIFY(document.Analyses().hydropathy.isNull());

        dialogs.Answer({});
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Hydropathy);
        QVERIFY(!document.Analyses().hydropathy.isNull());
        const core::HydropathyPlotSettings& settings = document.Record().plots.pathy;
        QCOMPARE(settings.from, 1);
        QCOMPARE(settings.to, 262);
        QCOMPARE(settings.window, 11);
        QCOMPARE(settings.threshold, 1.6);
        QCOMPARE(program.frame->ActiveFrame()->windowTitle(),
                 QStringLiteral("Hydropathy Plot of residues 1-262 of ") +
                     QString::fromStdString(document.Record().Name()));
        QVERIFY(ActiveView<plots::ui::CPathyView>(program) != nullptr);

        // A second plot for the same sequence: the editor disables the
        // command, and the launcher itself does nothing.
        QVERIFY(program.frame->Execute(cmd::kWindowFirst));
        QVERIFY(!program.Enabled(cmd::kHydropathy));
        LaunchContext context{*program.frame, document};
        LaunchHydropathy(context);
        QCOMPARE(dialogs.Shown(), 2);
        QCOMPARE(program.frame->Frames().size(), 2);

        // Closing the plot lets the command open a new one, with the marks
        // and settings of the sequence and the legend alone.
        core::MARK mark;
        mark.position = 82;
        document.Record().plots.pathy.marks.push_back(mark);
        document.Record().plots.pathy.texts.push_back(core::TEXTITEM{});
        program.frame->Frames().last()->close();
        QTRY_VERIFY(document.Analyses().hydropathy.isNull());
        QTRY_VERIFY(program.Enabled(cmd::kHydropathy));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Hydropathy);
        QCOMPARE(document.Record().plots.pathy.marks.size(), std::size_t{1});
        QCOMPARE(document.Record().plots.pathy.texts.size(), std::size_t{4});

        // Closing the sequence takes the plot with it.
        QVERIFY(program.frame->CloseSequenceDocument());
        QTRY_VERIFY(program.frame->Frames().isEmpty());
    }

    void thePlotWindowHasItsMenusAndStates()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        const QStringList menus = program.MenuLines();
        QCOMPARE(menus.size(), 7);
        QCOMPARE(menus[0], QStringLiteral(
                               "&File: &New\tCtrl+N | &Open...\tCtrl+O | &Close | &Save\tCtrl+S | "
                               "Save &As...\tAlt-S | Save Metafile... | --- | &Import...\tCtrl+I | "
                               "&Download Sequence...\tCtrl+D | &Export... | &Export "
                               "hydropathy data... | --- | &Batch analysis...[x] | --- | P&rint "
                               "Setup... | &Print...\tCtrl+P | --- | &1 %1 | --- | E&xit\tAlt-F4 |")
                               .arg(QDir::toNativeSeparators(bacteriorhodopsin())));
        QCOMPARE(menus[1], QStringLiteral("&Edit: &Copy\tCtrl+C |"));
        QCOMPARE(menus[2],
                 QStringLiteral("&View: &Modify displayed part of sequence... | --- | &Mark "
                                "positions... | &Delete all marks[x] | &Label marks[x][v] | --- | "
                                "&Transmembrane prediction[v] | --- | &Select object[v] | &Insert "
                                "text... | Display selection as helical &wheel |"));
        // The launchers of the other analyses come with their windows; the
        // texts are fixed, and the hydropathy plot is not offered here.
        QString analyze = menus[3];
        analyze.remove(QStringLiteral("[x]"));
        QCOMPARE(analyze,
                 QStringLiteral("&Analyze: &Physico-Chemical Properties... | &Sequence-Specific "
                                "Cleavage... | &Modfinder... | Search for Sequence &Motifs... | "
                                "Scan with P&ROSITE File... | --- "
                                "| &Helical Wheel... | Plot of &Amphipathy Moment... | &Display "
                                "Domain Structure... | &Titration Curve... | --- | "
                                "Entry &Features... |"));
        QVERIFY(program.Enabled(cmd::kPhysChem));
        QVERIFY(!program.Enabled(cmd::kModFinder));
        QVERIFY(menus[5].endsWith(QStringLiteral("[v] |")));

        // Marks and a selection enable their commands; the checks follow the
        // flags.
        dialogs.Answer([](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("position"))->setText(QStringLiteral("20"));
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kMarkPositions));
        QVERIFY(program.Enabled(cmd::kDeleteAllMarks));
        QVERIFY(program.frame->Execute(cmd::kNumbersOrLabels));
        QVERIFY(program.frame->Execute(cmd::kTransmembrane));
        QVERIFY(program.frame->Execute(cmd::kSelectionAsWheel));
        QCOMPARE(program.MenuLines()[2],
                 QStringLiteral("&View: &Modify displayed part of sequence... | --- | &Mark "
                                "positions... | &Delete all marks | &Label marks | --- | "
                                "&Transmembrane prediction | --- | &Select object | &Insert "
                                "text... | Display selection as helical &wheel[v] |"));
        QCOMPARE(ActiveView<plots::ui::CPathyView>(program)->EditMode(),
                 plots::ui::PageView::Mode::HelicalWheel);
    }

    void modifyChangesTheStretchAndTheScaleOfTheSequence()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        dialogs.Answer([](QDialog& dialog) {
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("from"))->text(),
                     QStringLiteral("1"));
            dialog.findChild<QLineEdit*>(QStringLiteral("from"))->setText(QStringLiteral("20"));
            dialog.findChild<QLineEdit*>(QStringLiteral("to"))->setText(QStringLiteral("120"));
            dialog.findChild<QLineEdit*>(QStringLiteral("window"))->setText(QStringLiteral("7"));
            dialog.findChild<QListWidget*>(QStringLiteral("scales"))->setCurrentRow(1);
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kHydropathyRange));
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.plots.pathy.from, 20);
        QCOMPARE(record.plots.pathy.to, 120);
        QCOMPARE(record.plots.pathy.window, 7);
        QCOMPARE(record.plots.currentScale, 1);
        QTRY_VERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(
            QStringLiteral("Hydropathy Plot of residues 20-120 of ")));
        ActiveView<plots::ui::CPathyView>(program)->viewport()->grab();
        QCOMPARE(record.plots.pathy.texts[3].text, std::string()); // no threshold line
    }

    void saveInThePlotWindowSavesTheSequence()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        const QString saved = program.home.Path(QStringLiteral("saved.pep"));
        program.dialogs.Answer(saved);
        QVERIFY(program.frame->Execute(cmd::kSave));
        QVERIFY(test::ReadBytes(saved).size() > 262);
        QCOMPARE(program.Document()->PathName(), QFileInfo(saved).absoluteFilePath());
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Hydropathy);
    }

    void thePointerAndTheSettingsReachTheWindow()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        program.app->Settings().plotLineWidth = 2;
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        plots::ui::CPathyView* view = ActiveView<plots::ui::CPathyView>(program);
        QCOMPARE(program.Document()->Record().plots.pathy.lineWidth, 2);
        // A changed setting reaches the open plot; drawing only reads it.
        program.app->Settings().plotLineWidth = 4;
        view->viewport()->grab();
        QCOMPARE(program.Document()->Record().plots.pathy.lineWidth, 2);
        program.app->NotifySettingsChanged();
        QCOMPARE(program.Document()->Record().plots.pathy.lineWidth, 4);

        // The status bar shows the residue under the pointer.
        const int x = static_cast<int>(40 + 99 * 590.0 / 261);
        moveMouse(view->viewport(), QPoint(x, 200), Qt::NoButton);
        QCOMPARE(program.frame->statusBar()->currentMessage(), QStringLiteral("Position: 100"));

        // Renaming the sequence in its editor renames the plot.
        program.Document()->Record().SetName("renamed");
        program.Document()->UpdateAllViews();
        QTRY_COMPARE(program.frame->ActiveFrame()->windowTitle(),
                     QStringLiteral("Hydropathy Plot of residues 1-262 of renamed"));
    }

    void theWholePageShowsWithoutScrolling()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        program.frame->resize(1200, 800);
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        plots::ui::CPathyView* view = ActiveView<plots::ui::CPathyView>(program);
        QVERIFY(view != nullptr);
        view->viewport()->grab();
        QCOMPARE(view->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(view->verticalScrollBar()->maximum(), 0);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::HydropathyWindowTest)
#include "HydropathyWindowTest.moc"
