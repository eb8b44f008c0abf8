#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/ui/Printing.h"
#include "plots/ui/CTitrationView.h"

#include <QClipboard>
#include <QComboBox>
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
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::TitrationWindowTest)
#include "TitrationWindowTest.moc"
