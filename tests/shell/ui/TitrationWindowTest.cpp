#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/ui/Printing.h"
#include "plots/ui/CTitrationView.h"

#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

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

/// The next dialog chooses set by name and says what it proposed.
std::function<void(QDialog&)> choose(const QString& set, QString* proposed = nullptr)
{
    return [set, proposed](QDialog& dialog) {
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("pkaSet"));
        QVERIFY(combo != nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Titration Curve"));
        if (proposed != nullptr) {
            *proposed = combo->currentText();
        }
        combo->setCurrentText(set);
        dialog.accept();
    };
}

} // namespace

/// The titration curve in the desktop program: Analyze, the set dialog, the
/// window's Copy Table against the command line, Modify and printing.
class TitrationWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void fromAnalyzeToTheCopiedTableAndThePrintout()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.Enabled(cmd::kTitration));

        QString proposed;
        dialogs.Answer(choose(QStringLiteral("EMBOSS"), &proposed));
        QVERIFY(program.frame->Execute(cmd::kTitration));
        QCOMPARE(proposed, QStringLiteral("settings"));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Titration);
        plots::ui::CTitrationView* view = ActiveView<plots::ui::CTitrationView>(program);
        QVERIFY(view != nullptr);
        QVERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(
            QStringLiteral("Titration Curve (pK set: EMBOSS) of P02945 ")));
        const QStringList menus = program.MenuLines();
        QCOMPARE(menus[1], QStringLiteral("&Edit: &Copy\tCtrl+C | Copy &Table |"));
        QCOMPARE(menus[2], QStringLiteral("&View: &Modify pK set... |"));
        const auto context = view->ContextMenuAt(QPoint(300, 200));
        QVERIFY(std::any_of(context.begin(), context.end(), [](const auto& entry) {
            return entry.id == cmd::kCopyTable && entry.text == QStringLiteral("Copy &Table");
        }));

        // Copy Table gives what the command line prints for the same set,
        // with the clipboard's LF line ends.
        QApplication::clipboard()->clear();
        QVERIFY(program.frame->Execute(cmd::kCopyTable));
        QProcess cli;
        cli.setWorkingDirectory(program.home.Path(QString()));
        cli.start(QStringLiteral(QUORIN_CLI),
                  {QStringLiteral("titration"), QStringLiteral("--settings"),
                   program.home.Path(QStringLiteral("none.ini")), QStringLiteral("--pka-set"),
                   QStringLiteral("EMBOSS"), bacteriorhodopsin()});
        QVERIFY(cli.waitForFinished());
        const QString printed = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY(printed.endsWith(QStringLiteral("\r\nIsoelectric Point = 4.3246\r\n")));
        QCOMPARE(QApplication::clipboard()->text(),
                 QString(printed).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

        // Modify draws another set in the same window; the launcher brings an
        // open set's window forward and opens a new one for another set.
        dialogs.Answer(choose(QStringLiteral("Lehninger")));
        QVERIFY(program.frame->Execute(cmd::kTitrationSet));
        QCOMPARE(view->TitrationDocument().Set(), analysis::PKaSet::Lehninger);
        QVERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(
            QStringLiteral("Titration Curve (pK set: Lehninger) of ")));
        QCOMPARE(program.frame->Frames().size(), 2);
        dialogs.Answer(choose(QStringLiteral("Bjellqvist")));
        QVERIFY(program.frame->Execute(cmd::kTitration));
        QCOMPARE(program.frame->Frames().size(), 3);
        dialogs.Answer(choose(QStringLiteral("Lehninger")));
        QVERIFY(program.frame->Execute(cmd::kTitration));
        QCOMPARE(program.frame->Frames().size(), 3);
        QCOMPARE(ActiveView<plots::ui::CTitrationView>(program), view);

        const QString text = test::PrintedText(program).simplified();
        QVERIFY(program.messages.Requests().isEmpty());
        const QString point = view->TitrationDocument().Table().trimmed().section(u' ', -1);
        const QStringList expected = {
            QStringLiteral("Titration Curve (pK set: Lehninger) of P02945"),
            QStringLiteral("*****"),
            QStringLiteral("Isoelectric Point = ") + point,
            QStringLiteral("Net Charge"),
            QStringLiteral("pH"),
        };
        for (const QString& line : expected) {
            QVERIFY2(text.contains(line), qPrintable(line));
        }

        // The curves go with their sequence.
        QVERIFY(program.frame->CloseSequenceDocument());
        QTRY_COMPARE(program.frame->Frames().size(), 0);
    }

    void comparingSetsDrawsTheirCurvesOnOnePage()
    {
        RunningProgram program;
        PlotDialogAnswers dialogs;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        // Every set is offered, in both lists; checking the page's own set
        // in the list draws it once.
        dialogs.Answer([](QDialog& dialog) {
            auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("pkaSet"));
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("comparedSets"));
            QVERIFY(combo != nullptr && list != nullptr);
            QCOMPARE(combo->count(), static_cast<int>(analysis::kPKaSets.size()));
            QCOMPARE(list->count(), combo->count());
            combo->setCurrentText(QStringLiteral("Grimsley"));
            for (const QString& name : {QStringLiteral("fitted-protein"),
                                        QStringLiteral("Grimsley"), QStringLiteral("EMBOSS")}) {
                list->findItems(name, Qt::MatchExactly).front()->setCheckState(Qt::Checked);
            }
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kTitration));
        plots::ui::CTitrationView* view = ActiveView<plots::ui::CTitrationView>(program);
        QVERIFY(view != nullptr);
        using analysis::PKaSet;
        const std::vector<PKaSet> sets{PKaSet::Grimsley, PKaSet::Emboss, PKaSet::FittedProtein};
        QVERIFY(view->TitrationDocument().Sets() == sets);
        QVERIFY(program.frame->ActiveFrame()->windowTitle().startsWith(QStringLiteral(
            "Titration Curve (pK sets: Grimsley, EMBOSS, fitted-protein) of P02945 ")));
        // The page grows by its keys; the copied table is the page's own set's.
        QCOMPARE(view->TitrationDocument().Source().screenSize.height(),
                 plots::TitrationPageHeight(3));
        QVERIFY(view->TitrationDocument().Table().endsWith(
            QString::fromStdString(analysis::IsoelectricPointLine(
                analysis::IsoelectricPointByBisection(analysis::ChargeGroupsOf(
                    view->TitrationDocument().Page().Record(), PKaSet::Grimsley)))) +
            QStringLiteral("\r\n")));

        // The same choice again brings the window forward; Modify proposes the
        // sets drawn and can go back to one.
        dialogs.Answer([](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("comparedSets"));
            for (const QString& name :
                 {QStringLiteral("fitted-protein"), QStringLiteral("EMBOSS")}) {
                list->findItems(name, Qt::MatchExactly).front()->setCheckState(Qt::Checked);
            }
            dialog.findChild<QComboBox*>(QStringLiteral("pkaSet"))
                ->setCurrentText(QStringLiteral("Grimsley"));
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kTitration));
        QCOMPARE(program.frame->Frames().size(), 2);
        dialogs.Answer([](QDialog& dialog) {
            auto* list = dialog.findChild<QListWidget*>(QStringLiteral("comparedSets"));
            QCOMPARE(
                list->findItems(QStringLiteral("EMBOSS"), Qt::MatchExactly).front()->checkState(),
                Qt::Checked);
            for (int row = 0; row < list->count(); ++row) {
                list->item(row)->setCheckState(Qt::Unchecked);
            }
            dialog.accept();
        });
        QVERIFY(program.frame->Execute(cmd::kTitrationSet));
        QCOMPARE(view->TitrationDocument().Sets().size(), std::size_t{1});
        QCOMPARE(view->TitrationDocument().Source().screenSize.height(),
                 plots::kTitrationPageHeight);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::TitrationWindowTest)
#include "TitrationWindowTest.moc"
