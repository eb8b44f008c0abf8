#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/NumberText.h"
#include "core/ui/Help.h"
#include "core/ui/Printing.h"
#include "plots/Amphipathy.h"
#include "plots/DemoPlot.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CAmphyDialog.h"
#include "plots/ui/CAmphyView.h"
#include "plots/ui/CPathyView.h"
#include "plots/ui/PlotDialogs.h"
#include "shell/ui/PlotWindows.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::ActiveView;
using test::PlotDialogAnswers;
using test::RunningProgram;

namespace {

/// For its lifetime a helical wheel window is a bare label that notes the
/// stretch it was opened for.
struct StandInWheels
{
    StandInWheels()
    {
        SetWindowFactory(WindowKind::Wheel,
                         [this](core::ui::CPeptideDoc&, const std::any& request) {
                             const auto stretch = std::any_cast<plots::PendingPlotRequest>(request);
                             opened << QStringLiteral("%1-%2").arg(stretch.from).arg(stretch.to);
                             return WindowContent{new QLabel(QStringLiteral("wheel")), nullptr,
                                                  new QObject, nullptr};
                         });
    }
    ~StandInWheels() { SetWindowFactory(WindowKind::Wheel, {}); }
    StandInWheels(const StandInWheels&) = delete;
    StandInWheels& operator=(const StandInWheels&) = delete;

    QStringList opened;
};

QString bacteriorhodopsin()
{
    return test::DataPath(QStringLiteral("proteins/P02945.fasta"));
}

QLineEdit* edit(QDialog& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

/// The from, to and window fields, space separated.
QString fields(QDialog& dialog)
{
    return edit(dialog, "from")->text() + u' ' + edit(dialog, "to")->text() + u' ' +
           edit(dialog, "window")->text();
}

/// A left-button drag along a plot view from one page x to another.
void drag(plots::ui::PageView* view, int fromX, int toX)
{
    QWidget* port = view->viewport();
    QTest::mousePress(port, Qt::LeftButton, {}, QPoint(fromX, 200));
    QMouseEvent move(QEvent::MouseMove, QPoint(toX, 200), port->mapToGlobal(QPoint(toX, 200)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(port, &move);
    QTest::mouseRelease(port, Qt::LeftButton, {}, QPoint(toX, 200));
}

/// The page x of a residue while from..to is shown.
int xOf(int residue, int from, int to)
{
    return static_cast<int>(40 + (residue - from) * 590.0 / (to - from)) + 1;
}

} // namespace

/// The amphipathy moment plot in the desktop program: its dialog, launcher,
/// commands, wheel mode and printout.
class AmphipathyWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theDialogProposesAndChecksTheStretch()
    {
        core::PropertyRecord record;
        test::FillDemoRecord(record);
        record.SetSequence("GIGAVLKVLTTGLPALISWIKRKRQQ");
        test::MessageRecorder messages;
        plots::ui::CAmphyDialog dialog(record, {});
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Properties for Plot of Amphypathy Moment"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("usePart"))->text(),
                 QStringLiteral("Use a part of demo (26 aa)"));
        QCOMPARE(fields(dialog), QStringLiteral("1 26 19"));

        QLineEdit* window = edit(dialog, "window");
        window->setText(QStringLiteral("8"));
        dialog.accept();
        QCOMPARE(messages.LastText(),
                 QStringLiteral("Entered value for sliding window is outside the limits!"));
        QCOMPARE(messages.Requests().last().caption, QStringLiteral("Error"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(window));
        QCOMPARE(window->selectedText(), QStringLiteral("8"));
        edit(dialog, "to")->setText(QStringLiteral("27"));
        dialog.accept();
        QCOMPARE(messages.LastText(), QStringLiteral("Entered value is outside the limits."));

        edit(dialog, "from")->setText(QStringLiteral("3"));
        edit(dialog, "to")->setText(QStringLiteral("20"));
        window->setText(QStringLiteral("7"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const plots::PendingPlotRequest& request = dialog.Request();
        QCOMPARE(QList<int>({request.from, request.to, request.window}), QList<int>({3, 20, 7}));

        // An open plot's values come back; "?" opens the plot's topic.
        plots::ui::CAmphyDialog again(record, request);
        QCOMPARE(fields(again), QStringLiteral("3 20 7"));
        QString opened;
        auto previous =
            core::ui::SetHelpHandler([&opened](const QString& keyword) { opened = keyword; });
        again.findChild<QPushButton*>(QStringLiteral("help"))->click();
        core::ui::SetHelpHandler(std::move(previous));
        QCOMPARE(opened, QStringLiteral("AMPHYPATHIC HELICAL MOMENT PROPERTIES"));
    }

    void theLauncherOpensOnePlotPerSequence()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        core::ui::CPeptideDoc& document = *program.Document();

        const auto scales = document.Record().scales;
        document.Record().scales.clear();
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        QCOMPARE(program.messages.LastText(), QStringLiteral("No hydropathy scale available!"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Note"));
        QCOMPARE(dialogs.Shown(), 0);
        document.Record().scales = scales;

        // The dialog proposes its defaults, and Cancel opens nothing.
        dialogs.Answer([](QDialog& dialog) {
            QCOMPARE(fields(dialog), QStringLiteral("1 262 19"));
            dialog.reject();
        });
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        QCOMPARE(program.frame->Frames().size(), 1);

        dialogs.Answer({});
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Amphipathy);
        QVERIFY(!document.Analyses().amphipathy.isNull());
        QCOMPARE(program.frame->ActiveFrame()->windowTitle(),
                 QStringLiteral("Plot of Amphipathy Moment of residues 1-262 of ") +
                     QString::fromStdString(document.Record().Name()));

        // While the plot is open the launcher does nothing; closed, it opens again.
        QVERIFY(program.frame->Execute(cmd::kWindowFirst));
        QVERIFY(!program.Enabled(cmd::kAmphipathy));
        LaunchContext context{*program.frame, document};
        LaunchAmphipathy(context);
        QCOMPARE(dialogs.Shown(), 2);
        QCOMPARE(program.frame->Frames().size(), 2);
        program.frame->Frames().last()->close();
        QTRY_VERIFY(document.Analyses().amphipathy.isNull());
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Amphipathy);
    }

    void commandsZoomResizeAndModify()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        plots::ui::CAmphyView* view = ActiveView<plots::ui::CAmphyView>(program);
        QVERIFY(view != nullptr);
        const plots::AmphipathyPage& page = view->AmphyDocument().Page();
        const plots::AmphipathyPlot& plot = page.Plot();
        QCOMPARE(program.MenuLines()[2],
                 QStringLiteral("&View: &Modify displayed part of sequence... | --- | &Select "
                                "object[v] | Display selection as helical &wheel |"));
        view->viewport()->grab();

        drag(view, xOf(120, 1, 262), xOf(30, 1, 262));
        QCOMPARE(std::pair(plot.from, plot.to), std::pair(30, 120));
        view->viewport()->grab();
        QTRY_COMPARE(program.frame->ActiveFrame()->windowTitle().left(45),
                     QStringLiteral("Plot of Amphipathy Moment of residues 30-120 "));

        dialogs.Answer([](QDialog& dialog) {
            QCOMPARE(fields(dialog), QStringLiteral("30 120 19"));
            edit(dialog, "window")->setText(QStringLiteral("11"));
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kAmphipathyRange));
        QCOMPARE(plot.window, 11);
        view->viewport()->grab();

        const auto menu = view->ContextMenuAt(QPoint(300, 200));
        QCOMPARE(menu.size(), std::size_t{7});
        QCOMPARE(menu[3].text, QStringLiteral("Mouse Selection for Amphipathy &Plot"));
        QVERIFY(view->OnCommand(cmd::kResizeTo100));
        QCOMPARE(std::tuple(plot.from, plot.to, plot.window), std::tuple(1, 262, 11));
        view->viewport()->grab();
        // Zoom and resize draw from the moments already made; a new window
        // makes them again.
        QCOMPARE(page.ProfileComputations(), 2);
    }

    void aZoomShorterThanTheWindowKeepsTheCurveAndItsMean()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(
            program.File(QStringLiteral("melittin.fasta"),
                         test::Fasta("melittin", "GIGAVLKVLTTGLPALISWIKRKRQQ"))));
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        plots::ui::CAmphyView* view = ActiveView<plots::ui::CAmphyView>(program);
        QVERIFY(view != nullptr);
        const plots::AmphipathyPlot& plot = view->AmphyDocument().Page().Plot();
        QCOMPARE(plot.window, 19);

        // The windows of 19 are centred on 10..17; residues 4..20 show all of them.
        drag(view, xOf(4, 1, 26), xOf(20, 1, 26));
        QCOMPARE(std::pair(plot.from, plot.to), std::pair(4, 20));
        const core::PropertyRecord& record = program.Document()->Record();
        double sum = 0.0;
        for (int centre = 10; centre <= 17; ++centre) {
            sum += plots::AmphipathyMoment(record, centre - 9, centre + 9);
        }
        const double mean = sum / 8;
        QVERIFY(mean > 0.1);
        const QString printed = test::PrintedText(program).simplified();
        QVERIFY2(printed.contains(QStringLiteral("Mean Amphipathy Moment = ") +
                                  QString::fromStdString(core::FormatSignificant(mean, 3))),
                 qPrintable(printed));
    }

    void aDragInWheelModeOpensAWheelUpToFive()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        StandInWheels wheels;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        plots::ui::CAmphyView* view = ActiveView<plots::ui::CAmphyView>(program);
        QVERIFY(program.frame->Execute(cmd::kSelectionAsWheel));
        QCOMPARE(view->EditMode(), plots::ui::PageView::Mode::HelicalWheel);

        for (int k = 0; k < 5; ++k) {
            drag(view, xOf(40 + k, 1, 262), xOf(20, 1, 262));
        }
        QCOMPARE(wheels.opened.join(u' '), QStringLiteral("20-40 20-41 20-42 20-43 20-44"));
        QVERIFY(program.messages.Requests().isEmpty());
        QCOMPARE(view->AmphyDocument().Page().Plot().to, 262); // the wheel mode does not zoom

        const QString tooMany = QStringLiteral("Only 5 Helical Wheels may be displayed!");
        drag(view, xOf(60, 1, 262), xOf(20, 1, 262));
        QCOMPARE(wheels.opened.size(), 5);
        QCOMPARE(program.messages.LastText(), tooMany);

        // The hydropathy plot reaches the same wheels through the same hooks.
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        auto* pathy = qobject_cast<plots::ui::CPathyView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(pathy != nullptr);
        pathy->SetEditMode(plots::ui::PageView::Mode::HelicalWheel);
        program.messages.Clear();
        drag(pathy, xOf(30, 1, 262), xOf(10, 1, 262));
        QCOMPARE(wheels.opened.size(), 5);
        QCOMPARE(program.messages.LastText(), tooMany);
    }

    void printingGivesTheTitledPageWithTheWholeLegend()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.frame->Execute(cmd::kAmphipathy));
        const QString printed = test::PrintedText(program).simplified();
        QVERIFY(program.messages.Requests().isEmpty());
        for (const char* expected :
             {"Plot of Amphipathy Moment of Residues 1-262 of", "*****",
              "Mean Amphipathy Moment = 0.0573", "Scale: Kyte and Doolittle (1982)", "W = 19",
              "Residue Number"}) {
            QVERIFY2(printed.contains(QLatin1String(expected)), expected);
        }
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::AmphipathyWindowTest)
#include "AmphipathyWindowTest.moc"
