#include "MainFrameFixture.h"
#include "core/CommandIds.h"
#include "core/PepFile.h"
#include "core/ui/FileDialogs.h"
#include "shell/ui/Launchers.h"
#include "shell/ui/SketchWindow.h"
#include "shell/ui/WindowFactories.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using core::ui::FileDialogRequest;
using core::ui::MessageAnswer;
using test::Fasta;
using test::RunningProgram;

/// New, Open, the recent files, Save, Save As, Import, Export and Close as a
/// user drives them, with every answer to the save question.
class DocumentLifeCycleTest : public QObject
{
    Q_OBJECT

private:
    /// A .pep file written by the sequence-file engine.
    static QString pepFile(const RunningProgram& program, const QString& name,
                           const std::string& sequenceName, const std::string& sequence,
                           const std::string& remarks = {})
    {
        core::PropertyRecord record;
        record.SetName(sequenceName);
        record.SetSequence(sequence);
        record.remarks = remarks;
        const QString path = program.home.Path(name);
        if (!core::SaveSequenceFile(path.toStdString(), record, false)) {
            QTest::qFail("cannot write the .pep fixture", __FILE__, __LINE__);
        }
        return path;
    }

    /// The record stored in a .pep file.
    static core::PropertyRecord loaded(const QString& path)
    {
        core::PropertyRecord record;
        const QByteArray bytes = test::ReadBytes(path);
        const auto result = core::LoadSequenceBytes(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), record);
        if (result.status != core::PepLoadStatus::Ok) {
            QTest::qFail(qPrintable(path + QStringLiteral(" does not load")), __FILE__, __LINE__);
        }
        return record;
    }

    static void open(RunningProgram& program, const QString& path)
    {
        program.dialogs.Answer(path);
        QVERIFY(program.frame->Execute(cmd::kOpen));
        QVERIFY(program.Document() != nullptr);
    }

private slots:
    void newAsksAboutChangesAndHonoursEachAnswer()
    {
        RunningProgram program;
        open(program, program.File(QStringLiteral("p1.fasta"), Fasta("P1", "MKVLW")));
        QVERIFY(program.frame->Execute(cmd::kPhysChem));
        core::ui::CPeptideDoc* first = program.Document();
        first->SetModifiedFlag(true);

        program.messages.Answer(MessageAnswer::Cancel);
        QVERIFY(program.frame->Execute(cmd::kNew));
        QCOMPARE(program.messages.LastText(), QStringLiteral("Save changes to p1.fasta?"));
        QCOMPARE(program.Document(), first);
        QCOMPARE(program.frame->Frames().size(), 2);
        QVERIFY(first->IsModified());

        // Yes with the name dialog cancelled: nothing is lost, nothing closes.
        program.messages.Answer(MessageAnswer::Yes);
        program.dialogs.Cancel();
        QVERIFY(program.frame->Execute(cmd::kNew));
        QCOMPARE(program.Document(), first);
        QCOMPARE(program.frame->Frames().size(), 2);

        program.messages.Answer(MessageAnswer::No);
        QVERIFY(program.frame->Execute(cmd::kNew));
        QVERIFY(program.Document() != nullptr);
        QVERIFY(program.Document()->Title().startsWith(QStringLiteral("Quorin")));
        QCOMPARE(program.Document()->Record().Name(), std::string("untitled"));
        QTRY_COMPARE(program.frame->Frames().size(), 1);
        QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
        QVERIFY(!QFile::exists(program.home.Path(QStringLiteral("p1.pep"))));

        // Yes saves the new document under the name asked for, then goes on.
        program.Document()->Record().SetName("typed");
        program.Document()->Record().SetSequence("ACDEFGHIK");
        program.Document()->SetModifiedFlag(true);
        const QString title = program.Document()->Title();
        const QString saved = program.home.Path(QStringLiteral("typed.pep"));
        program.messages.Answer(MessageAnswer::Yes);
        program.dialogs.Answer(saved);
        QVERIFY(program.frame->Execute(cmd::kNew));
        QCOMPARE(program.messages.LastText(), QStringLiteral("Save changes to %1?").arg(title));
        const FileDialogRequest& asked = program.dialogs.Requests().last();
        QCOMPARE(asked.title, QStringLiteral("Save As"));
        QCOMPARE(asked.filters, QStringList{QStringLiteral("PEP Type (*.pep)")});
        QCOMPARE(asked.fileName, QDir(program.start).filePath(title + QStringLiteral(".pep")));
        QCOMPARE(loaded(saved).Name(), std::string("typed"));
        QCOMPARE(loaded(saved).CleanSequence(), std::string("ACDEFGHIK"));
        QVERIFY(program.Document()->Title() != title);
        QVERIFY(!program.Document()->IsModified());
    }

    void aNonFiniteSettingsNumberIsReportedOnceAndNotUsed()
    {
        RunningProgram program;
        test::WriteBytes(QDir(program.start).filePath(QStringLiteral("quorin.ini")),
                         "[AA-Properties]\r\npKa-Values=nan;7.5;\r\n");
        program.messages.Clear();
        QVERIFY(program.frame->Execute(cmd::kNew));
        QCOMPARE(program.messages.Requests().size(), 1);
        QCOMPARE(program.messages.LastText(),
                 QStringLiteral("The setting \"pKa-Values\" in [AA-Properties] holds a number "
                                "that is not finite; its default is used instead."));
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.pKa[0], record.defaultPKa[0]);
        QCOMPARE(record.pKa[1], 7.5);
        // The next document reads the same entry without a second message.
        QVERIFY(program.frame->Execute(cmd::kNew));
        QCOMPARE(program.messages.Requests().size(), 1);
    }

    void openReadsAPepFileAndSaveWritesItBackInPlace()
    {
        RunningProgram program;
        QVERIFY(!program.Enabled(cmd::kSave));
        const QString path =
            pepFile(program, QStringLiteral("kinase.pep"), "Kinase", "MGSSHHHHHHX", "His tag");
        open(program, path);
        const FileDialogRequest& asked = program.dialogs.Requests().last();
        QCOMPARE(asked.title, QStringLiteral("Open"));
        QCOMPARE(asked.mode, FileDialogRequest::Mode::Open);
        // FASTA texts open too: the dialog lists them after the program's type.
        QCOMPARE(asked.filters, QStringList({QStringLiteral("Quorin Type (*.pep)"),
                                             QStringLiteral("FASTA (*.fasta *.fa *.faa *.txt)"),
                                             QStringLiteral("All files (*)")}));
        QCOMPARE(asked.directory, program.start);

        core::ui::CPeptideDoc* doc = program.Document();
        QCOMPARE(doc->Record().Name(), std::string("Kinase"));
        QCOMPARE(doc->Record().remarks, std::string("His tag"));
        QCOMPARE(doc->Record().CleanSequence(), std::string("MGSSHHHHHHX"));
        QVERIFY(!doc->IsModified());
        QVERIFY(doc->IsOpen());
        QCOMPARE(doc->Title(), QStringLiteral("kinase.pep"));
        QCOMPARE(program.frame->windowTitle(), QStringLiteral("Quorin - kinase.pep"));
        QVERIFY(program.Enabled(cmd::kSave));
        QVERIFY(program.Enabled(cmd::kSaveAs));

        doc->Record().remarks = "His tag, cleaved";
        doc->SetModifiedFlag(true);
        const qsizetype dialogsBefore = program.dialogs.Requests().size();
        QVERIFY(program.frame->Execute(cmd::kSave));
        QCOMPARE(program.dialogs.Requests().size(), dialogsBefore); // no name asked
        QVERIFY(!doc->IsModified());
        QCOMPARE(loaded(path).remarks, std::string("His tag, cleaved"));
        QCOMPARE(loaded(path).CleanSequence(), std::string("MGSSHHHHHHX"));
        // No sketch window: saved without a sketch block.
        QCOMPARE(test::ReadBytes(path).at(19), '\0');

        const QString copy = program.home.Path(QStringLiteral("copy.pep"));
        program.dialogs.Answer(copy);
        QVERIFY(program.frame->Execute(cmd::kSaveAs));
        QCOMPARE(program.dialogs.Requests().last().fileName, path);
        QCOMPARE(doc->Title(), QStringLiteral("copy.pep"));
        QCOMPARE(doc->PathName(), copy);
        QCOMPARE(program.app->RecentFiles().Entries().at(0), copy.toStdString());
        QCOMPARE(program.app->RecentFiles().Entries().at(1), path.toStdString());
        QCOMPARE(test::ReadBytes(copy), test::ReadBytes(path));

        // The recent-file entry reopens the first file.
        QVERIFY(program.frame->Execute(cmd::kRecentFirst + 1));
        QCOMPARE(program.Document()->PathName(), path);

        // Loading into a document empties what its hydropathy plot had put on the page.
        core::PropertyRecord& record = program.Document()->Record();
        record.plots.pathy.marks.resize(2);
        record.plots.pathy.texts.resize(1);
        QCOMPARE(program.Document()->OnOpenDocument(path),
                 core::ui::CPeptideDoc::LoadOutcome::Loaded);
        QVERIFY(record.plots.pathy.marks.empty());
        QVERIFY(record.plots.pathy.texts.empty());
        QCOMPARE(record.Name(), std::string("Kinase"));
    }

    void openingCancelledChangesNothingAndAFailedOneLeavesNoSequence()
    {
        RunningProgram program;
        open(program, program.File(QStringLiteral("a.fasta"), Fasta("A", "MKV")));
        core::ui::CPeptideDoc* current = program.Document();
        current->SetModifiedFlag(true);
        const QString other = program.File(QStringLiteral("b.fasta"), Fasta("B", "MKV"));
        // The dialog comes first, the save question only for a file chosen;
        // Cancel in either leaves the sequence as it was.
        for (const bool chooses : {false, true}) {
            program.messages.Clear();
            if (chooses) {
                program.dialogs.Answer(other);
            } else {
                program.dialogs.Cancel();
            }
            QVERIFY(program.frame->Execute(cmd::kOpen));
            QCOMPARE(program.messages.Requests().size(), chooses ? 1 : 0);
            QCOMPARE(program.Document(), current);
            QVERIFY(current->IsModified());
            QCOMPARE(program.frame->Frames().size(), 1);
        }
        QCOMPARE(program.messages.LastText(), QStringLiteral("Save changes to a.fasta?"));
        current->SetModifiedFlag(false);

        struct Case
        {
            QString path;
            QString message;
            QString caption;
        };
        QByteArray truncated =
            test::ReadBytes(pepFile(program, QStringLiteral("full.pep"), "Full", "MKVLAAGIWYCDE"));
        truncated.chop(5);
        const QList<Case> cases = {
            {program.File(QStringLiteral("notes.txt"), "just some notes, no zero byte anywhere"),
             QStringLiteral("File corrupted or not Quorin-format !"), QStringLiteral("Error")},
            {program.File(QStringLiteral("cut.pep"), truncated),
             QString::fromLatin1(core::kTruncatedFileMessage.data(),
                                 qsizetype(core::kTruncatedFileMessage.size())),
             QStringLiteral("Error")},
            {program.home.Path(QStringLiteral("missing.pep")),
             QStringLiteral("Cannot open the file %1: No such file or directory.")
                 .arg(QDir::toNativeSeparators(program.home.Path(QStringLiteral("missing.pep")))),
             QStringLiteral("Quorin")},
            {program.home.MakeDirectory(QStringLiteral("folder.pep")),
             QStringLiteral("Cannot open the file %1: Is a directory.")
                 .arg(QDir::toNativeSeparators(program.home.Path(QStringLiteral("folder.pep")))),
             QStringLiteral("Quorin")},
        };
        for (const Case& c : cases) {
            program.messages.Clear();
            program.dialogs.Answer(c.path);
            QVERIFY(program.frame->Execute(cmd::kOpen));
            QCOMPARE(program.messages.Requests().size(), 1);
            QCOMPARE(program.messages.LastText(), c.message);
            QCOMPARE(program.messages.Requests().last().caption, c.caption);
            QTRY_VERIFY(program.Document() == nullptr);
            QTRY_VERIFY(program.frame->Frames().isEmpty());
        }

        // A recent file that has gone is reported and leaves the list.
        const QString gone = program.File(QStringLiteral("gone.fasta"), Fasta("G", "MKV"));
        open(program, gone);
        QVERIFY(program.frame->CloseSequenceDocument());
        QFile::remove(gone);
        program.messages.Clear();
        QCOMPARE(program.app->RecentFiles().Entries().front(), gone.toStdString());
        QVERIFY(program.frame->Execute(cmd::kRecentFirst));
        QCOMPARE(program.messages.Requests().size(), 1);
        QVERIFY(program.app->RecentFiles().Entries().front() != gone.toStdString());
    }

    void importTakesTheTextAndSaveAsksForAPepName()
    {
        RunningProgram program;
        const QByteArray text = "Insulin B chain\r\n\r\nFVNQHLCGSH LVEALYLVCG\r\nERGFFYTPKT\r\n";
        const QString path = program.File(QStringLiteral("insulin.txt"), text);
        program.dialogs.Answer(path);
        QVERIFY(program.frame->Execute(cmd::kImport));
        const FileDialogRequest& asked = program.dialogs.Requests().last();
        QCOMPARE(asked.title, QStringLiteral("Import"));
        QCOMPARE(asked.fileName, QStringLiteral("*.txt"));
        QCOMPARE(asked.filters,
                 (QStringList{QStringLiteral("All (*)"), QStringLiteral("Text (*.txt)")}));
        QCOMPARE(asked.directory, program.start);

        core::ui::CPeptideDoc* doc = program.Document();
        QVERIFY(doc != nullptr);
        QCOMPARE(doc->Record().Name(),
                 std::string("nsulin B chain")); // first character is the marker
        QCOMPARE(doc->Record().CleanSequence(), std::string("FVNQHLCGSHLVEALYLVCGERGFFYTPKT"));
        QVERIFY(doc->IsModified());
        QVERIFY(doc->IsOpen());
        QCOMPARE(doc->Title(), QStringLiteral("insulin.txt"));
        QCOMPARE(program.app->RecentFiles().Entries().front(), path.toStdString());
        QVERIFY(program.messages.Requests().isEmpty());

        // Save does not write the binary format over the text file.
        const QString pep = program.home.Path(QStringLiteral("insulin.pep"));
        program.dialogs.Answer(pep);
        QVERIFY(program.frame->Execute(cmd::kSave));
        QCOMPARE(program.dialogs.Requests().last().title, QStringLiteral("Save As"));
        QCOMPARE(program.dialogs.Requests().last().fileName, pep);
        QCOMPARE(test::ReadBytes(path), text);
        QCOMPARE(loaded(pep).CleanSequence(), std::string("FVNQHLCGSHLVEALYLVCGERGFFYTPKT"));
        QCOMPARE(doc->Title(), QStringLiteral("insulin.pep"));
        QVERIFY(!doc->IsModified());

        // From now on Save writes there without asking.
        doc->SetModifiedFlag(true);
        const qsizetype asks = program.dialogs.Requests().size();
        QVERIFY(program.frame->Execute(cmd::kSave));
        QCOMPARE(program.dialogs.Requests().size(), asks);
    }

    void anOpenedFastaTextIsNeverOverwrittenBySave()
    {
        RunningProgram program;
        const QByteArray text = Fasta("P1", "MKV");
        const QString path = program.File(QStringLiteral("p1.fa"), text);
        open(program, path);
        program.Document()->SetModifiedFlag(true);
        program.dialogs.Answer(program.home.Path(QStringLiteral("p1.pep")));
        QVERIFY(program.frame->Execute(cmd::kSave));
        QCOMPARE(program.dialogs.Requests().last().title, QStringLiteral("Save As"));
        QCOMPARE(test::ReadBytes(path), text);
    }

    void importWithoutALineBreakReportsAndKeepsAnEmptyDocument()
    {
        RunningProgram program;
        const QString path = program.File(QStringLiteral("bare.txt"), "MKVLAAGIW");
        program.dialogs.Answer(path);
        QVERIFY(program.frame->Execute(cmd::kImport));
        QCOMPARE(program.messages.Requests().size(), 1);
        QCOMPARE(program.messages.LastText(), QStringLiteral("File not found!"));
        QCOMPARE(program.messages.Requests().last().caption, QStringLiteral("Quorin"));
        QCOMPARE(program.messages.Requests().last().buttons, core::ui::MessageButtons::Ok);
        core::ui::CPeptideDoc* doc = program.Document();
        QVERIFY(doc != nullptr);
        QCOMPARE(doc->Record().CleanSequence(), std::string());
        QVERIFY(doc->IsModified());
        QCOMPARE(doc->Title(), QStringLiteral("bare.txt"));
    }

    void cancellingImportLeavesNothingOpen()
    {
        RunningProgram program;
        program.dialogs.Cancel();
        QVERIFY(program.frame->Execute(cmd::kImport));
        QTRY_VERIFY(program.Document() == nullptr);
        QTRY_VERIFY(program.frame->Frames().isEmpty());
        QCOMPARE(program.frame->ActiveKind(), WindowKind::Empty);

        // A sequence open: Cancel in the dialog asks nothing; Cancel in the
        // save question after a file was chosen keeps the sequence too.
        open(program, program.File(QStringLiteral("a.fasta"), Fasta("A", "MKV")));
        core::ui::CPeptideDoc* current = program.Document();
        current->SetModifiedFlag(true);
        program.dialogs.Cancel();
        QVERIFY(program.frame->Execute(cmd::kImport));
        QVERIFY(program.messages.Requests().isEmpty());
        program.dialogs.Answer(program.File(QStringLiteral("b.txt"), "B\r\nMKV\r\n"));
        QVERIFY(program.frame->Execute(cmd::kImport));
        QCOMPARE(program.messages.LastText(), QStringLiteral("Save changes to a.fasta?"));
        QCOMPARE(program.Document(), current);
        QCOMPARE(current->Record().Name(), std::string("A"));
        QCOMPARE(program.frame->Frames().size(), 1);
    }

    void exportWritesTheFastaBytesAndImportReadsThemBack()
    {
        RunningProgram program;
        open(program, program.File(QStringLiteral("p1.fasta"), Fasta("P1", "mkv 12 x")));
        const QString target = program.File(QStringLiteral("out.txt"), "an older, longer file");
        program.dialogs.Answer(target);
        QVERIFY(program.frame->Execute(cmd::kExport));
        const FileDialogRequest& asked = program.dialogs.Requests().last();
        QCOMPARE(asked.title, QStringLiteral("Export sequence"));
        QCOMPARE(asked.mode, FileDialogRequest::Mode::Save);
        QCOMPARE(asked.fileName, QStringLiteral("*.txt"));
        QCOMPARE(asked.filters, QStringList{QStringLiteral("FASTA (*)")});
        QVERIFY(!asked.confirmOverwrite);
        QCOMPARE(test::ReadBytes(target), QByteArray(">P1\r\nMKVX"));
        QVERIFY(!program.Document()->IsModified());

        program.Document()->SetModifiedFlag(true);
        program.dialogs.Answer(target);
        QVERIFY(program.frame->Execute(cmd::kExport));
        QVERIFY(program.Document()->IsModified());

        program.messages.Answer(MessageAnswer::No);
        program.dialogs.Answer(target);
        QVERIFY(program.frame->Execute(cmd::kImport));
        QCOMPARE(program.Document()->Record().Name(), std::string("P1"));
        QCOMPARE(program.Document()->Record().CleanSequence(), std::string("MKVX"));
    }

    void aFailedSaveKeepsTheDocumentAndTheOldFile()
    {
        RunningProgram program;
        open(program, program.File(QStringLiteral("p1.fasta"), Fasta("P1", "MKV")));
        program.Document()->SetModifiedFlag(true);
        const QString nowhere = program.home.Path(QStringLiteral("no such folder/p1.pep"));
        program.messages.Answer(MessageAnswer::Yes);
        program.dialogs.Answer(nowhere);
        QVERIFY(!program.frame->CloseSequenceDocument());
        QCOMPARE(program.messages.Requests().size(), 2);
        QCOMPARE(program.messages.LastText(),
                 QStringLiteral("Cannot save the file %1: No such file or directory. Nothing was "
                                "changed.")
                     .arg(QDir::toNativeSeparators(nowhere)));
        QVERIFY(program.Document() != nullptr);
        QVERIFY(program.Document()->IsModified());
        QCOMPARE(program.frame->Frames().size(), 1);
    }

    void aSketchReadFromAFileSurvivesASaveWithoutASketchWindow()
    {
        // A sketch window that cannot be made.
        SetWindowFactory(WindowKind::Sketch, {});
        RunningProgram program;
        core::PropertyRecord record;
        record.SetName("Domains");
        record.SetSequence("MKVLAAGIWYCDEFGH");
        record.sketch.domains.resize(2);
        record.sketch.domains[1].name = "kinase";
        record.sketch.scale = 25.0;
        const QString path = program.home.Path(QStringLiteral("domains.pep"));
        QVERIFY(core::SaveSequenceFile(path.toStdString(), record, true));

        open(program, path);
        QVERIFY(program.Document()->Analyses().sketch.isNull());
        program.Document()->Record().remarks = "edited";
        program.Document()->SetModifiedFlag(true);
        QVERIFY(program.frame->Execute(cmd::kSave));
        // No window shows the sketch, so Save keeps it rather than drop the domains.
        QCOMPARE(test::ReadBytes(path).at(19), '\1');
        QCOMPARE(loaded(path).sketch.domains.size(), std::size_t(2));
        QCOMPARE(loaded(path).sketch.domains[1].name, std::string("kinase"));
        QCOMPARE(loaded(path).remarks, std::string("edited"));

        // A new document has no sketch to keep.
        program.messages.Answer(MessageAnswer::No);
        QVERIFY(program.frame->Execute(cmd::kNew));
        const QString fresh = program.home.Path(QStringLiteral("fresh.pep"));
        program.dialogs.Answer(fresh);
        QVERIFY(program.frame->Execute(cmd::kSaveAs));
        QCOMPARE(test::ReadBytes(fresh).at(19), '\0');
        SetWindowFactory(WindowKind::Sketch, MakeSketchWindow);
    }

    void saveInAPlotWindowSavesTheSequence()
    {
        SetWindowFactory(WindowKind::Sketch, [](core::ui::CPeptideDoc&, const std::any&) {
            return WindowContent{new QLabel(QStringLiteral("sketch")), nullptr, new QObject,
                                 nullptr};
        });
        SetLauncher(cmd::kDomainSketch, [](LaunchContext& context) {
            ChildFrame* frame = context.host.OpenWindow(WindowKind::Sketch, context.document);
            context.document.Record().sketch.domains.resize(1);
            context.document.Record().sketch.domains[0].name = "core";
            context.document.Analyses().sketch = frame->PlotDocument();
            context.document.AnalysesChanged();
        });
        {
            RunningProgram program;
            const QString path = pepFile(program, QStringLiteral("s.pep"), "S", "MKVLAAGIWYCDEFGH");
            open(program, path);
            QVERIFY(program.frame->Execute(cmd::kDomainSketch));
            QCOMPARE(program.frame->ActiveKind(), WindowKind::Sketch);
            program.Document()->SetModifiedFlag(true);
            const qsizetype asks = program.dialogs.Requests().size();
            QVERIFY(program.frame->Execute(cmd::kSave));
            QCOMPARE(program.dialogs.Requests().size(), asks);
            QVERIFY(!program.Document()->IsModified());
            // The sketch window is open, so the file carries the sketch.
            QCOMPARE(test::ReadBytes(path).at(19), '\1');
            QCOMPARE(loaded(path).sketch.domains.size(), std::size_t(1));

            // Reopening the file opens the sketch window with it.
            QVERIFY(program.frame->OpenDocumentFile(path));
            QCOMPARE(program.frame->Frames().size(), 2);
            QCOMPARE(program.frame->Frames().last()->Kind(), WindowKind::Sketch);
            QVERIFY(!program.Document()->Analyses().sketch.isNull());
        }
        SetWindowFactory(WindowKind::Sketch, MakeSketchWindow);
        SetLauncher(cmd::kDomainSketch, LaunchDomainSketch);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::DocumentLifeCycleTest)
#include "DocumentLifeCycleTest.moc"
