#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/ui/Printing.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CPathyView.h"
#include "plots/ui/CWheelView.h"
#include "plots/ui/PlotDialogs.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>

#include <functional>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::ActiveView;
using test::PlotDialogAnswers;
using test::RunningProgram;

namespace {

QLineEdit* edit(QDialog& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QLatin1String(name));
}

/// Answers the wheel dialog with a stretch.
std::function<void(QDialog&)> stretch(const char* from, const char* to)
{
    return [from, to](QDialog& dialog) {
        edit(dialog, "from")->setText(QLatin1String(from));
        edit(dialog, "to")->setText(QLatin1String(to));
        dialog.accept();
    };
}

/// A drag with the left button over a widget.
void drag(QWidget* widget, QPoint from, QPoint to)
{
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, to);
}

/// The x of a residue on the hydropathy page of a 262-residue sequence.
int xOfResidue(int residue)
{
    return 40 + ((residue - 1) * 590 + 260) / 261;
}

} // namespace

/// The helical wheels in the desktop program: the launcher and its dialog,
/// the wheel's commands, and wheels opened by dragging over a plot.
class WheelWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theDialogChecksTheStretch()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
        dialogs.Answer([&program](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Properties for Helical Wheel"));
            const QString top = dialog.findChild<QLabel*>(QStringLiteral("usePart"))->text();
            QVERIFY(top.startsWith(QStringLiteral("Use a part of P01501")));
            QVERIFY(top.endsWith(QStringLiteral(" (70 aa)")));
            QCOMPARE(edit(dialog, "from")->text(), QString());
            QCOMPARE(edit(dialog, "to")->text(), QString());
            const struct
            {
                const char* from;
                const char* to;
                const char* message;
                const char* selected; ///< the edit whose text is selected
            } rows[] = {
                {"4x", "10", "Enter a valid start value!", "from"},
                {"4", "1y", "Enter a valid end value!", "to"},
                {"10", "10", "Entered value is outside the limits!", nullptr},
                {"0", "5", "Entered value is outside the limits!", nullptr},
                {"60", "71", "Entered value is outside the limits!", nullptr},
            };
            for (const auto& row : rows) {
                edit(dialog, "from")->setText(QLatin1String(row.from));
                edit(dialog, "to")->setText(QLatin1String(row.to));
                dialog.accept();
                QCOMPARE(program.messages.LastText(), QLatin1String(row.message));
                QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Error"));
                QCOMPARE(dialog.result(), int(QDialog::Rejected));
                for (const char* name : {"from", "to"}) {
                    const bool selected = row.selected && QLatin1String(row.selected) == name;
                    QCOMPARE(edit(dialog, name)->hasSelectedText(), selected);
                    edit(dialog, name)->deselect();
                }
            }
            stretch("44", "61")(dialog);
        });
        QVERIFY(program.frame->Execute(cmd::kHelicalWheel));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Wheel);
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.plots.wheels.size(), std::size_t{1});
        QCOMPARE(record.plots.wheels[0], (core::WHEELPLOT{44, 61, 1.0}));
        QVERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(
            QStringLiteral("Helical Wheel Display of residues 44-61 of P01501 melittin")));
    }

    void theWheelsCommandsChangeItAndPrintIt()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
        dialogs.Answer(stretch("44", "61"));
        QVERIFY(program.frame->Execute(cmd::kHelicalWheel));
        plots::ui::CWheelView* view = ActiveView<plots::ui::CWheelView>(program);
        QVERIFY(view != nullptr);
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(program.MenuLines()[2],
                 QStringLiteral("&View: Zoom &In | Zoom &Out | --- | &Color[v] | &Numbers[v] | "
                                "--- | &Modify displayed part of sequence... | &Amphipathy "
                                "Moment |"));

        QVERIFY(program.frame->Execute(cmd::kZoomIn));
        QCOMPARE(record.plots.wheels[0].zoom, 1.1111111111111112);
        QCOMPARE(view->sizeHint().width() - 2 * view->frameWidth(), 555);
        QVERIFY(program.frame->Execute(cmd::kZoomOut));
        QVERIFY(qAbs(record.plots.wheels[0].zoom - 1.0) < 1e-15);
        QCOMPARE(view->sizeHint().width() - 2 * view->frameWidth(), 500);

        QVERIFY(program.frame->Execute(cmd::kWheelColours));
        QVERIFY(program.frame->Execute(cmd::kNumbersOrLabels));
        QVERIFY(program.MenuLines()[2].contains(QStringLiteral("&Color | &Numbers |")));
        QCOMPARE(record.wheelColorCode, 0);
        QCOMPARE(record.wheelNumbers, 0);
        QVERIFY(program.frame->Execute(cmd::kNumbersOrLabels));
        QVERIFY(program.MenuLines()[2].contains(QStringLiteral("&Color | &Numbers[v] |")));

        QVERIFY(program.frame->Execute(cmd::kWheelAmphipathy));
        QCOMPARE(program.messages.LastText(), QStringLiteral("Amphipathy Moment = 0.14"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Result"));

        dialogs.Answer([](QDialog& dialog) {
            QCOMPARE(edit(dialog, "from")->text(), QStringLiteral("44"));
            QCOMPARE(edit(dialog, "to")->text(), QStringLiteral("61"));
            stretch("45", "62")(dialog);
        });
        QVERIFY(program.frame->Execute(cmd::kWheelRange));
        QCOMPARE(record.plots.wheels[0], (core::WHEELPLOT{45, 62, 1.0}));
        QTRY_VERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(
            QStringLiteral("Helical Wheel Display of residues 45-62 of ")));

        const QString printed = test::PrintedText(program);
        QVERIFY(printed.contains(QStringLiteral("Helical Wheel Display of Residues 45-62 of")));
        QVERIFY(printed.contains(QStringLiteral("**********")));
        for (const char* label : {"I45", "K50", "W62"}) {
            QVERIFY2(printed.contains(QLatin1String(label)), label);
        }

        // The wheel grows and shrinks about its centre, which stays where it
        // shows: in the corner of the view's first 500 pixels, then scrolled
        // to, then in the middle of a view wider than the page.
        const auto shownCentre = [&] {
            const int side = view->sizeHint().width() - 2 * view->frameWidth();
            return view->ToViewport(QPoint(side / 2, side / 2));
        };
        const QPoint centre = shownCentre();
        QCOMPARE(centre, QPoint(250, 250));
        for (const int zoom : {cmd::kZoomIn, cmd::kZoomIn, cmd::kZoomOut, cmd::kZoomOut,
                               cmd::kZoomOut, cmd::kZoomIn}) {
            QVERIFY(program.frame->Execute(zoom));
            QVERIFY((shownCentre() - centre).manhattanLength() <= 2);
        }
        QCOMPARE(view->ToPage(view->ToViewport(QPoint(100, 40))), QPoint(100, 40));
    }

    void draggingInWheelModeOpensUpToFiveWheels()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P02945.fasta")));
        QVERIFY(program.frame->Execute(cmd::kHydropathy));
        auto* plot = qobject_cast<plots::ui::CPathyView*>(program.frame->ActiveFrame()->widget());
        QVERIFY(plot != nullptr);
        QVERIFY(program.frame->Execute(cmd::kSelectionAsWheel));
        const int shown = dialogs.Shown();
        const core::PropertyRecord& record = program.Document()->Record();
        for (int k = 0; k < 5; ++k) {
            drag(plot->viewport(), QPoint(xOfResidue(22 + k), 150),
                 QPoint(xOfResidue(42 + k), 150));
            QCOMPARE(program.frame->ActiveKind(), WindowKind::Wheel);
            QCOMPARE(record.plots.wheels.back(), (core::WHEELPLOT{22 + k, 42 + k, 1.0}));
        }
        QCOMPARE(dialogs.Shown(), shown); // no dialog on the way
        QCOMPARE(program.frame->WindowCount(WindowKind::Wheel), 5);
        QVERIFY(program.messages.Requests().isEmpty());

        drag(plot->viewport(), QPoint(xOfResidue(100), 150), QPoint(xOfResidue(120), 150));
        QCOMPARE(program.messages.LastText(),
                 QStringLiteral("Only 5 Helical Wheels may be displayed!"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Note"));
        QCOMPARE(program.frame->WindowCount(WindowKind::Wheel), 5);

        QList<plots::ui::CWheelView*> wheels;
        for (ChildFrame* frame : program.frame->Frames()) {
            if (auto* wheel = qobject_cast<plots::ui::CWheelView*>(frame->widget())) {
                wheels << wheel;
            }
        }
        QCOMPARE(wheels.size(), 5);
        // In a wheel window the command stays on and says why nothing opens.
        program.frame->Workspace()->setActiveSubWindow(
            qobject_cast<ChildFrame*>(wheels[0]->parentWidget()));
        QVERIFY(program.frame->Execute(cmd::kHelicalWheel));
        QCOMPARE(program.messages.Requests().size(), 2);
        QCOMPARE(program.frame->WindowCount(WindowKind::Wheel), 5);

        // Closing the second wheel removes its entry; the later ones keep
        // showing their own stretches.
        qobject_cast<ChildFrame*>(wheels[1]->parentWidget())->close();
        QTRY_COMPARE(record.plots.wheels.size(), std::size_t{4});
        QCOMPARE(record.plots.wheels[1], (core::WHEELPLOT{24, 44, 1.0}));
        QCOMPARE(wheels[4]->WheelDocument().Caption(),
                 QStringLiteral("Helical Wheel Display of residues 26-46 of ") +
                     QString::fromStdString(record.Name()));
        QVERIFY(wheels[4]->OnCommand(cmd::kZoomIn));
        QCOMPARE(record.plots.wheels[3].zoom, 1.1111111111111112);
        QCOMPARE(record.plots.wheels[2].zoom, 1.0);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::WheelWindowTest)
#include "WheelWindowTest.moc"
