#include "shell/ui/FeatureWindow.h"

#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/PepFile.h"
#include "shell/ui/CPepEditView.h"

#include <QClipboard>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using test::RunningProgram;

/// Sequences read from UniProt entries: Open and Import draw the features as
/// the domain sketch at once, the Features window lists them and selects a
/// row's stretch in the editor, a malformed entry is refused, and the entry's
/// text is never saved over.
class FeatureWindowTest : public QObject
{
    Q_OBJECT

private:
    static QString selectedResidues(const RunningProgram& program)
    {
        for (ChildFrame* frame : program.frame->Frames()) {
            if (auto* editor = frame->findChild<CPepEditView*>()) {
                QString letters;
                for (const QChar c : editor->textCursor().selectedText()) {
                    if (c.isLetter()) {
                        letters += c;
                    }
                }
                return letters;
            }
        }
        return {};
    }

    static QStringList domainNames(const core::PropertyRecord& record)
    {
        QStringList names;
        for (const core::DOMAINE& domain : record.sketch.domains) {
            names << QString::fromStdString(domain.name);
        }
        return names;
    }

private slots:
    void openingAnEntryDrawsItsFeaturesAndListsThem()
    {
        RunningProgram program;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("uniprot/current-layout.dat")));
        QVERIFY(program.messages.Requests().isEmpty());
        core::ui::CPeptideDoc* document = program.Document();
        QVERIFY(document != nullptr);
        const core::PropertyRecord& record = document->Record();
        QCOMPARE(record.Name(), std::string("MEMB1_SYNTH"));
        QCOMPARE(record.features.size(), std::size_t(9));
        // The sketch window shows the features at once.
        QCOMPARE(program.frame->WindowCount(WindowKind::Sketch, document), 1);
        QCOMPARE(domainNames(record),
                 QStringList({"MEMB1_SYNTH", "SIGNAL", "CHAIN", "TOPO_DOM 1", "TRANSMEM 1",
                              "TOPO_DOM 2", "TRANSMEM 2", "TOPO_DOM 3", "REGION"}));
        QVERIFY(document->HasSketch());
        QVERIFY(!document->IsModified());

        QVERIFY(program.Enabled(cmd::kFeatures));
        QVERIFY(program.frame->Execute(cmd::kFeatures));
        auto* view = test::ActiveView<CFeatureView>(program);
        QVERIFY(view != nullptr);
        QVERIFY(!program.Enabled(cmd::kFeatures));
        QCOMPARE(view->rowCount(), 9);
        QCOMPARE(view->item(6, 2)->text(), QStringLiteral(">120"));
        QCOMPARE(view->item(6, 3)->text(),
                 QStringLiteral("Extracellular, with a note long enough to be wrapped over two "
                                "lines"));

        // rows: TRANSMEM 1, the end past the known bound, unknown ends.
        const struct
        {
            int row;
            int first;
            int last;
        } rows[] = {{3, 41, 61}, {6, 92, 120}, {8, 1, 120}, {7, 100, 100}};
        for (const auto& row : rows) {
            view->setCurrentCell(row.row, 0);
            QCOMPARE(selectedResidues(program),
                     QString::fromStdString(record.CleanSequence().substr(
                         static_cast<std::size_t>(row.first - 1),
                         static_cast<std::size_t>(row.last - row.first + 1))));
        }

        view->clearSelection();
        QVERIFY(program.frame->Execute(cmd::kCopy));
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(
            copied.startsWith(QStringLiteral("key\tstart\tend\tdescription\nSIGNAL\t1\t20\t\n")));
        QCOMPARE(copied.count(QLatin1Char('\n')), 10);
    }

    void aFastaTextHasNoFeaturesToList()
    {
        RunningProgram program;
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
        QVERIFY(program.Document()->Record().features.empty());
        QVERIFY(!program.Enabled(cmd::kFeatures));
        QCOMPARE(program.frame->WindowCount(WindowKind::Sketch), 0);
    }

    void aMalformedEntryIsRefusedAndAnEntryIsNeverSavedOver()
    {
        RunningProgram program;
        QByteArray cut = test::ReadBytes(test::DataPath("uniprot/old-layout.dat"));
        cut.chop(3);
        const QString path = program.File(QStringLiteral("cut.dat"), cut);
        QVERIFY(!program.frame->OpenDocumentFile(path));
        QCOMPARE(program.messages.Requests().size(), 1);
        QCOMPARE(program.messages.LastText(),
                 path + QStringLiteral(": Not a readable UniProt entry: line 23: the entry ends "
                                       "without its \"//\" line (it is cut short)"));
        QVERIFY(program.Document() == nullptr);

        // Save of an opened entry asks for a .pep name; the entry stays.
        const QByteArray whole = test::ReadBytes(test::DataPath("uniprot/old-layout.dat"));
        const QString entry = program.File(QStringLiteral("entry.dat"), whole);
        QVERIFY(program.frame->OpenDocumentFile(entry));
        const QString pep = program.home.Path(QStringLiteral("entry.pep"));
        test::FileDialogAnswers names;
        names.Answer(pep);
        QVERIFY(program.frame->Execute(cmd::kSave));
        QCOMPARE(test::ReadBytes(entry), whole);
        core::PropertyRecord saved;
        const core::PepLoadResult loaded =
            core::LoadSequenceBytes(test::ReadBytes(pep).toStdString(), saved);
        QVERIFY(loaded.hasSketch);
        QCOMPARE(domainNames(saved), domainNames(program.Document()->Record()));
    }

    void importReadsAnEntryAsOpenDoes()
    {
        RunningProgram program;
        test::FileDialogAnswers names;
        names.Answer(test::DataPath("uniprot/old-layout.dat"));
        QVERIFY(program.frame->Execute(cmd::kImport));
        QVERIFY(program.messages.Requests().isEmpty());
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.Name(), std::string("MEMB1_SYNTH"));
        QCOMPARE(record.remarks, std::string("Accession Q9ZZZ1 RecName: Full=Synthetic membrane "
                                             "protein 1; AltName: Full=Test transporter;"));
        QCOMPARE(record.sketch.domains.size(), std::size_t(9));
        QCOMPARE(program.frame->WindowCount(WindowKind::Sketch, program.Document()), 1);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::FeatureWindowTest)
#include "FeatureWindowTest.moc"
