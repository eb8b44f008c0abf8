#include "shell/ui/PrositeScanWindow.h"

#include "MainFrameFixture.h"
#include "analysis/ui/CScanView.h"
#include "core/CommandIds.h"
#include "shell/ui/CPepEditView.h"

#include <QProcess>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::ActiveView;
using test::RunningProgram;

namespace {

QString bacteriorhodopsin()
{
    return test::DataPath(QStringLiteral("proteins/P02945.fasta"));
}

/// A small library: two patterns that match bacteriorhodopsin, a profile
/// without a pattern, and a pattern that does not parse.
const QByteArray kLibrary = "ID   ASN_GLYCOSYLATION; PATTERN.\n"
                            "AC   PS00001;\n"
                            "DE   N-glycosylation site.\n"
                            "PA   N-{P}-[ST]-{P}.\n"
                            "//\n"
                            "ID   SOME_PROFILE; MATRIX.\n"
                            "AC   PS50001;\n"
                            "//\n"
                            "ID   HYDROPHOBIC; PATTERN.\n"
                            "AC   PS99001;\n"
                            "DE   Four hydrophobic residues\n"
                            "DE   in a row.\n"
                            "PA   [LIVMFW](4)-\n"
                            "PA   x(0,2)-[DE].\n"
                            "//\n"
                            "ID   BROKEN; PATTERN.\n"
                            "AC   PS99002;\n"
                            "PA   A-(.\n"
                            "//\n";

} // namespace

/// The PROSITE scan in the desktop program: the file dialog, the window's
/// rows against the command line, a row selecting its stretch in the editor,
/// the remembered file, and the refusals.
class PrositeScanWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void scansAFileAndSelectsTheChosenMatch()
    {
        RunningProgram program;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        QVERIFY(program.Enabled(cmd::kPrositeScan));
        const QString library = program.File(QStringLiteral("library.dat"), kLibrary);
        program.dialogs.Answer(library);
        QVERIFY(program.frame->Execute(cmd::kPrositeScan));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::PrositeScan);
        auto* view = ActiveView<analysis::ui::CScanView>(program);
        QVERIFY(view != nullptr);
        QVERIFY(program.messages.Requests().isEmpty());

        // The window's Copy text is the command line's report of the same file.
        QProcess cli;
        cli.start(QStringLiteral(QUORIN_CLI),
                  {QStringLiteral("scan"), QStringLiteral("--settings"),
                   program.home.Path(QStringLiteral("none.ini")), QStringLiteral("--prosite-dat"),
                   library, bacteriorhodopsin()});
        QVERIFY(cli.waitForFinished());
        QCOMPARE(view->ReportText(), QString::fromUtf8(cli.readAllStandardOutput()));
        QVERIFY(QString::fromUtf8(cli.readAllStandardError()).startsWith(u"PS99002 BROKEN: "));
        QCOMPARE(view->Refusals().size(), 1);

        // Rows in order of accession, then start; choosing one selects it.
        QVERIFY(view->topLevelItemCount() > 2);
        QTreeWidgetItem* last = view->topLevelItem(view->topLevelItemCount() - 1);
        QCOMPARE(last->text(0), QStringLiteral("PS99001"));
        view->setCurrentItem(last);
        CPepEditView* editor = CPepEditView::Current();
        QVERIFY(editor != nullptr);
        const QString selected = editor->textCursor().selectedText().remove(u' ');
        QCOMPARE(selected, last->text(4));

        // Selected rows join the domain sketch, which then opens without
        // asking for a new one.
        QVERIFY(!program.Enabled(cmd::kAddToSketch) || !view->selectedItems().isEmpty());
        view->clearSelection();
        view->topLevelItem(0)->setSelected(true);
        last->setSelected(true);
        QVERIFY(program.Enabled(cmd::kAddToSketch));
        QVERIFY(program.frame->Execute(cmd::kAddToSketch));
        const auto& domains = program.Document()->Record().sketch.domains;
        QCOMPARE(domains.size(), std::size_t{3});
        QCOMPARE(domains[1].name, std::string("ASN_GLYCOSYLATION"));
        QCOMPARE(int(domains[1].start), view->topLevelItem(0)->text(2).toInt());
        QCOMPARE(domains[2].name, std::string("HYDROPHOBIC"));
        QCOMPARE(int(domains[2].end), last->text(3).toInt());
        QVERIFY(domains[1].colour != domains[2].colour);
        QVERIFY(program.frame->Execute(cmd::kDomainSketch));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Sketch);

        // The settings remember the file, and the next dialog offers it.
        program.dialogs.Cancel();
        QVERIFY(program.frame->Execute(cmd::kPrositeScan));
        QCOMPARE(program.dialogs.Requests().back().fileName, QStringLiteral("library.dat"));
        QCOMPARE(QFileInfo(program.dialogs.Requests().back().directory),
                 QFileInfo(QFileInfo(library).absolutePath()));
    }

    void aFileWithoutPatternsOpensNothing()
    {
        RunningProgram program;
        QVERIFY(program.frame->OpenDocumentFile(bacteriorhodopsin()));
        program.dialogs.Answer(program.File(QStringLiteral("empty.dat"), "ID   X; MATRIX.\n//\n"));
        QVERIFY(program.frame->Execute(cmd::kPrositeScan));
        program.dialogs.Answer(program.home.Path(QStringLiteral("missing.dat")));
        QVERIFY(program.frame->Execute(cmd::kPrositeScan));
        QCOMPARE(program.messages.Requests().size(), 2);
        QVERIFY(program.messages.Requests()[0].text.endsWith(u"holds no PROSITE pattern."));
        QVERIFY(program.messages.Requests()[1].text.startsWith(u"Cannot read "));
        QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::PrositeScanWindowTest)
#include "PrositeScanWindowTest.moc"
