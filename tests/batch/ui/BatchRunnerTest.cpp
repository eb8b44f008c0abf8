#include "batch/ui/BatchRunner.h"

#include "../../shell/ui/MainFrameFixture.h"
#include "batch/BatchOptions.h"
#include "batch/ui/CBatchOptionsDialog.h"
#include "core/Settings.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

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

    // A long run shows its progress and leaves the program usable; terminated
    // it writes nothing and a second run starts at once; custom names are
    // asked for, and a cancelled name ends the output.
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
        QVERIFY(BatchRunner::Instance().Running());
        QCOMPARE(percentPane(program), QStringLiteral("0%"));
        QVERIFY(!program.Enabled(cmd::kBatch));
        QVERIFY(program.Enabled(cmd::kTerminateBatch));
        QVERIFY(program.frame->Execute(cmd::kNew) && program.Document()); // still usable

        program.messages.Clear();
        QVERIFY(program.frame->Execute(cmd::kTerminateBatch));
        QCOMPARE(program.messages.LastText(), QStringLiteral("Cancel may not be immediate"));
        QTRY_VERIFY_WITH_TIMEOUT(!BatchRunner::Instance().Running(), 60000);
        QCOMPARE(outputs(directory), QStringList());
        QCOMPARE(program.messages.Requests().size(), 1);
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

        // The results dialog cancelled: no file, no run.
        program.dialogs.Answer(two);
        program.dialogs.Cancel();
        QVERIFY(runBatch(program));
        QVERIFY(!BatchRunner::Instance().Running());
        QCOMPARE(outputs(directory), QStringList{QStringLiteral("custom.txt")});
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
