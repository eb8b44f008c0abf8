#include "batch/ui/BatchRunner.h"

#include "../../shell/ui/MainFrameFixture.h"
#include "batch/BatchOptions.h"
#include "batch/ui/CBatchOptionsDialog.h"
#include "core/ProfileFile.h"
#include "core/Settings.h"
#include "core/ui/Messages.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <optional>

namespace quorin::batch::ui {

namespace cmd = core::cmd;
using test::RunningProgram;

class BatchRunnerTest : public QObject
{
    Q_OBJECT

private:
    static QString percentPane(RunningProgram& program)
    {
        return program.frame->statusBar()
            ->findChild<QLabel*>(QStringLiteral("percentPane"))
            ->text();
    }

    /// Runs Batch analysis and presses Proceed in its options dialog.
    static bool runBatch(RunningProgram& program)
    {
        const test::ModalAnswer answer([](QWidget& modal) {
            QVERIFY(qobject_cast<CBatchOptionsDialog*>(&modal) != nullptr);
            modal.findChild<QPushButton*>(QStringLiteral("proceed"))->click();
        });
        return program.frame->Execute(cmd::kBatch) && answer.Answered();
    }

    static QLabel* statusText(RunningProgram& program)
    {
        return program.frame->statusBar()->findChild<QLabel*>(QStringLiteral("batchProgressText"));
    }

    static QProgressBar* statusBar(RunningProgram& program)
    {
        return program.frame->statusBar()->findChild<QProgressBar*>(
            QStringLiteral("batchProgressBar"));
    }

    static QStringList outputs(const QString& directory)
    {
        return QDir(directory).entryList(
            {QStringLiteral("*_results*"), QStringLiteral("*_log*"), QStringLiteral("custom*")},
            QDir::Files);
    }

private slots:
    void initTestCase() { RegisterBatchCommands(); }

    // Every control reaches its key; a threshold of other characters keeps the
    // dialog open with the field selected; Batch digest needs agents.
    void optionsDialogWritesEveryKey()
    {
        test::TestHome home;
        test::MessageRecorder messages;
        core::ProfileFile settings(home.Path(QStringLiteral("quorin.ini")).toStdString());
        core::PropertyRecord record;
        record.scales = record.builtinScales;
        CBatchOptionsDialog dialog(settings, record);
        dialog.show();
        const QList<QCheckBox*> boxes = dialog.findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 15);
        // The denatured absorption as the properties window names it.
        QVERIFY(dialog.findChild<QCheckBox*>(QStringLiteral("check343"))
                    ->text()
                    .remove(QLatin1Char('&'))
                    .contains(QStringLiteral("denatured, 6M GdnHCl")));
        for (QCheckBox* box : boxes) {
            box->click();
        }
        auto* threshold = dialog.findChild<QLineEdit*>(QStringLiteral("threshold300"));
        QVERIFY(!threshold->isEnabled());
        dialog.findChild<QCheckBox*>(QStringLiteral("check348"))->click();
        QVERIFY(threshold->isEnabled());
        dialog.findChild<QListWidget*>(QStringLiteral("scales306"))->setCurrentRow(1);
        dialog.findChild<QRadioButton*>(QStringLiteral("radio100"))->click();
        dialog.findChild<QRadioButton*>(QStringLiteral("radio332"))->click();

        threshold->setText(QStringLiteral("1,8"));
        dialog.findChild<QPushButton*>(QStringLiteral("proceed"))->click();
        QCOMPARE(messages.LastText(), QStringLiteral("Enter a valid number as threshold !"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(threshold->selectedText(), QStringLiteral("1,8"));
        QVERIFY(!settings.Lookup(core::kBatchSection, "Length"));

        dialog.findChild<QPushButton*>(QStringLiteral("button109"))->click();
        QCOMPARE(messages.LastText(), QStringLiteral("No cleaving agents defined!"));
        QVERIFY(dialog.isVisible());

        threshold->setText(QStringLiteral("1.8"));
        dialog.findChild<QPushButton*>(QStringLiteral("proceed"))->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const auto key = [&](std::string_view name) {
            return QString::fromStdString(
                settings.Lookup(core::kBatchSection, name).value_or("missing"));
        };
        // Flipped from their defaults; the helices box was clicked twice.
        for (const char* off : {"Length", "Rel. Composition", "Abs. Composition", "MW", "IEP",
                                "GRAVY", "Mean", "Standard Deviation", "Minimum", "Maximum",
                                "Median", "Default Log Name", "Default Results Name"}) {
            QCOMPARE(key(off), QStringLiteral("0"));
        }
        for (const char* on :
             {"Helices", "Eps (urea)", "Eps (native)", "Standard Error", "NoLog"}) {
            QCOMPARE(key(on), QStringLiteral("1"));
        }
        QCOMPARE(key("Hydropathy scale"), QStringLiteral("1"));
        QCOMPARE(key("Threshold for Helices"), QStringLiteral("1.8"));
        QVERIFY(!dialog.Options().batchDigest);
    }

    // A long run shows its progress bar and count and leaves the program
    // usable. Terminate stops it while its notice is still on screen, and it
    // then says so, writes nothing and a second run starts at once; custom
    // names are asked for, and a cancelled name ends the output.
    void runTerminateAndRunAgain()
    {
        RunningProgram program;
        const QString directory = program.home.MakeDirectory(QStringLiteral("runs"));
        QByteArray many;
        for (int n = 0; n < 150000; ++n) {
            many += ">p" + QByteArray::number(n) +
                    "\nMKWVTFISLLFLFSSAYSRGVFRRDTHKSEIAHRFKDLGEEHFKGLVLIAF"
                    "SQYLQQCPFDEHVKLVNELTEFAKTCVADESHAGCEKSLHTLFGDELCKVASLRETYGDMADCCEKQEP\n";
        }
        const QString big = directory + QStringLiteral("/many.fa");
        test::WriteBytes(big, many);

        program.dialogs.Answer(big);
        QVERIFY(runBatch(program));
        QCOMPARE(program.dialogs.Requests().at(0).filters.at(0),
                 QStringLiteral("FASTA (*.fasta *.fa *.faa *.txt)"));
        QVERIFY(BatchRunner::Instance().Running());
        QTRY_COMPARE(percentPane(program), QStringLiteral("0%"));
        QVERIFY(!program.Enabled(cmd::kBatch));
        QVERIFY(program.Enabled(cmd::kTerminateBatch));
        QVERIFY(statusBar(program)->isVisible());
        QTRY_VERIFY(statusText(program)->text().endsWith(QStringLiteral(" of 150000 sequences")));
        QVERIFY(program.frame->Execute(cmd::kNew) && program.Document()); // still usable

        // The notice is read for as long as the run takes to stop.
        QStringList shown;
        bool endedUnderTheNotice = false;
        const auto recorder =
            core::ui::SetMessageHandler([&](const core::ui::MessageRequest& request) {
                shown << request.text;
                if (request.text == QStringLiteral("Cancel may not be immediate")) {
                    endedUnderTheNotice =
                        QTest::qWaitFor([] { return !BatchRunner::Instance().Running(); }, 20000);
                }
                return core::ui::MessageAnswer::Ok;
            });
        QVERIFY(program.frame->Execute(cmd::kTerminateBatch));
        core::ui::SetMessageHandler(recorder);
        QVERIFY(endedUnderTheNotice);
        QCOMPARE(shown, (QStringList{QStringLiteral("Cancel may not be immediate"),
                                     QStringLiteral("The batch analysis was terminated; no file "
                                                    "was written.")}));
        QCOMPARE(outputs(directory), QStringList());
        QVERIFY(percentPane(program) != QStringLiteral("100%"));
        QVERIFY(statusText(program)->text().startsWith(
            QStringLiteral("Batch analysis terminated after ")));
        QVERIFY(!statusBar(program)->isVisible());
        QVERIFY(program.Enabled(cmd::kBatch));

        // Custom names: the results under the name chosen, the log dialog cancelled.
        for (const char* key : {"Default Results Name", "Default Log Name"}) {
            program.app->SettingsFile().WriteString(core::kBatchSection, key, "0");
        }
        const QString two = directory + QStringLiteral("/two.txt");
        test::WriteBytes(two, ">a\r\nMKV\r\n>b\r\nAC\r\n");
        program.dialogs.Answer(two);
        program.dialogs.Answer(directory + QStringLiteral("/custom.txt"));
        program.dialogs.Cancel();
        QVERIFY(runBatch(program));
        QTRY_VERIFY_WITH_TIMEOUT(!BatchRunner::Instance().Running(), 60000);
        QCOMPARE(program.dialogs.Requests().at(2).title, QStringLiteral("Save results"));
        QCOMPARE(program.dialogs.Requests().at(2).fileName, directory + "/two_results.txt");
        QCOMPARE(program.dialogs.Requests().at(3).title, QStringLiteral("Save log of execution"));
        QCOMPARE(outputs(directory), QStringList{QStringLiteral("custom.txt")});
        QCOMPARE(program.messages.LastText(), QStringLiteral("2 sequences analyzed."));
        QCOMPARE(percentPane(program), QStringLiteral("100%"));
        QCOMPARE(statusText(program)->text(), QStringLiteral("2 sequences analyzed."));

        // The results dialog cancelled: no file, no run.
        program.dialogs.Answer(two);
        program.dialogs.Cancel();
        QVERIFY(runBatch(program));
        QVERIFY(!BatchRunner::Instance().Running());
        QCOMPARE(outputs(directory), QStringList{QStringLiteral("custom.txt")});
    }

    void cancelAnywhereLeavesTheSequenceOpen_data()
    {
        QTest::addColumn<QString>("step");
        for (const char* step :
             {"input", "options", "agents", "results name", "replace results", "save question"}) {
            QTest::newRow(step) << QString::fromLatin1(step);
        }
    }

    // Every question of Batch analysis comes before the current sequence is
    // closed, its save question last: Cancel at any of them leaves the
    // sequence open and runs nothing.
    void cancelAnywhereLeavesTheSequenceOpen()
    {
        QFETCH(QString, step);
        RunningProgram program;
        const QString input = program.File(QStringLiteral("two.txt"), ">a\r\nMKV\r\n>b\r\nAC\r\n");
        const QString results = program.home.Path(QStringLiteral("two_results.txt"));
        QVERIFY(program.frame->OpenDocumentFile(
            program.File(QStringLiteral("seq.fasta"), test::Fasta("P1", "MKVLAAGIWYC"))));
        core::ui::CPeptideDoc* document = program.Document();
        core::ProfileFile& settings = program.app->SettingsFile();
        settings.WriteString(core::kAgentsSection, "0", "Trypsin:K!;R!");
        if (step == QStringLiteral("results name")) {
            settings.WriteString(core::kBatchSection, "Default Results Name", "0");
        } else if (step == QStringLiteral("replace results")) {
            test::WriteBytes(results, "mine");
            program.messages.Answer(core::ui::MessageAnswer::No);
        } else if (step == QStringLiteral("save question")) {
            document->SetModifiedFlag(true);
            program.messages.Answer(core::ui::MessageAnswer::Cancel);
        }

        if (step == QStringLiteral("input")) {
            program.dialogs.Cancel();
            QVERIFY(program.frame->Execute(cmd::kBatch));
        } else {
            program.dialogs.Answer(input);
            if (step == QStringLiteral("results name")) {
                program.dialogs.Cancel();
            }
            std::optional<test::ModalAnswer> agents;
            const test::ModalAnswer options([&](QWidget& modal) {
                if (step == QStringLiteral("agents")) {
                    agents.emplace(
                        [](QWidget& dialog) { qobject_cast<QDialog*>(&dialog)->reject(); });
                    modal.findChild<QPushButton*>(QStringLiteral("button109"))->click();
                } else if (step != QStringLiteral("options")) {
                    modal.findChild<QPushButton*>(QStringLiteral("proceed"))->click();
                }
            });
            QVERIFY(program.frame->Execute(cmd::kBatch));
            QVERIFY(options.Answered());
            QVERIFY(!agents || agents->Answered());
        }

        QVERIFY(!BatchRunner::Instance().Running());
        QCOMPARE(program.Document(), document);
        QCOMPARE(program.frame->Frames().size(), 1);
        QCOMPARE(outputs(program.home.Path()), step == QStringLiteral("replace results")
                                                   ? QStringList{QStringLiteral("two_results.txt")}
                                                   : QStringList());
        if (step == QStringLiteral("replace results")) {
            QCOMPARE(test::ReadBytes(results), QByteArray("mine"));
            QCOMPARE(program.messages.LastText(),
                     results + QStringLiteral("\nFile exists. Overwrite?"));
        }
        if (step == QStringLiteral("save question")) {
            QVERIFY(program.messages.LastText().startsWith(QStringLiteral("Save changes to ")));
        }
    }

    // A results file under the default name is replaced only after a Yes; a
    // log answered No is not written, and the results are.
    void replacingAnExistingOutputAsksFirst()
    {
        RunningProgram program;
        const QString input = program.File(QStringLiteral("two.txt"), ">a\r\nMKV\r\n>b\r\nAC\r\n");
        test::WriteBytes(program.home.Path(QStringLiteral("two_results.txt")), "old results");
        test::WriteBytes(program.home.Path(QStringLiteral("two_results_log.txt")), "old log");
        program.messages.Answer(core::ui::MessageAnswer::Yes);
        program.messages.Answer(core::ui::MessageAnswer::No);
        program.dialogs.Answer(input);
        QVERIFY(runBatch(program));
        QTRY_VERIFY_WITH_TIMEOUT(!BatchRunner::Instance().Running(), 60000);
        QCOMPARE(program.messages.Requests().size(), 3);
        QVERIFY(program.messages.Requests().at(1).text.startsWith(
            program.home.Path(QStringLiteral("two_results_log.txt"))));
        QVERIFY(test::ReadBytes(program.home.Path(QStringLiteral("two_results.txt")))
                    .startsWith("Length\tMW\t"));
        QCOMPARE(test::ReadBytes(program.home.Path(QStringLiteral("two_results_log.txt"))),
                 QByteArray("old log"));
    }

    // No record: "File not found!", then the header line alone and the log.
    void emptyInputWritesTheHeaderAlone()
    {
        RunningProgram program;
        const QString input = program.home.Path(QStringLiteral("blank.txt"));
        test::WriteBytes(input, "\n>a\nMKV\n");
        program.dialogs.Answer(input);
        QVERIFY(runBatch(program));
        QTRY_VERIFY_WITH_TIMEOUT(!BatchRunner::Instance().Running(), 60000);
        QCOMPARE(program.messages.Requests().size(), 2);
        QCOMPARE(program.messages.Requests().at(0).text, QStringLiteral("File not found!"));
        QCOMPARE(program.messages.Requests().at(1).text, QStringLiteral("0 sequences analyzed."));
        const QByteArray results = test::ReadBytes(program.home.Path("blank_results.txt"));
        QVERIFY(results.startsWith("Length\tMW\tIEP\t"));
        QCOMPARE(results.count("\r\n"), 1);
        QVERIFY(test::ReadBytes(program.home.Path("blank_results_log.txt"))
                    .contains("# of Sequences: 0\r\n"));
    }
};

} // namespace quorin::batch::ui

QTEST_MAIN(quorin::batch::ui::BatchRunnerTest)
#include "BatchRunnerTest.moc"
