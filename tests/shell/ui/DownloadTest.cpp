#include "MainFrameFixture.h"
#include "shell/GenPept.h"

#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

namespace quorin::shell::ui {

namespace cmd = core::cmd;

/// The Download command against the stand-in E-utilities server
/// (tests/tools/genpept_server.py) on 127.0.0.1. QUORIN_TEST_LOOPBACK_ONLY is
/// set, so that a request anywhere else aborts the program.
class DownloadTest : public QObject
{
    Q_OBJECT

private:
    QProcess m_server;
    QString m_url;

    /// Points the program's settings at the stand-in, with a one-second limit.
    void useStandIn(test::RunningProgram& program)
    {
        core::ProfileFile& settings = program.app->SettingsFile();
        QVERIFY(settings.WriteString(kDownloadSection, kServerKey, m_url.toStdString()));
        QVERIFY(settings.WriteString(kDownloadSection, kTimeoutKey, "1"));
        QVERIFY(DownloadServer(settings).starts_with("http://127.0.0.1:"));
    }

    static QString bytesPane(const test::RunningProgram& program)
    {
        return program.frame->findChild<QLabel*>(QStringLiteral("bytesPane"))->text();
    }

    /// Types an accession and presses OK.
    static void ask(QWidget& dialog, const QString& accession)
    {
        dialog.findChild<QLineEdit*>(QStringLiteral("accession"))->setText(accession);
        dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORIN_TEST_LOOPBACK_ONLY", "1");
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(QStringLiteral(QUORIN_PYTHON),
                       {QStringLiteral(QUORIN_GENPEPT_SERVER),
                        QStringLiteral(QUORIN_TEST_DATA_DIR "/genpept")});
        QVERIFY(m_server.waitForStarted());
        QVERIFY(m_server.waitForReadyRead(10000));
        const int port = m_server.readLine().trimmed().toInt();
        QVERIFY(port > 0);
        m_url = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    }

    void cleanupTestCase()
    {
        m_server.closeWriteChannel();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished();
        }
    }

    void failuresAskAgainAndSuccessOpensAModifiedDocument()
    {
        test::RunningProgram program;
        useStandIn(program);
        const QString port = m_url.section(QLatin1Char(':'), 2).chopped(1);
        QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
        const QPointer<core::ui::CPeptideDoc> before = program.Document();

        const QString failed = QStringLiteral("Could not retrieve sequence data!");
        const struct
        {
            QString accession;
            QStringList messages;
        } rows[] = {
            {QStringLiteral("XP_UNKNOWN"), {failed}},
            {QStringLiteral("HTML"), {failed}},
            {QStringLiteral("CLOSE"),
             {QStringLiteral("Could not receive data from server!\n127.0.0.1:%1: the server "
                             "closed the connection before its reply was complete.")
                  .arg(port),
              failed}},
            {QStringLiteral("SILENT"),
             {QStringLiteral("The server did not answer in time!\n127.0.0.1:%1 sent no "
                             "complete reply within 1 second.")
                  .arg(port),
              failed}},
        };
        test::ModalAnswer answer([&](QWidget& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Retrieve Sequence from GenBank (NCBI)"));
            QVERIFY(dialog.findChild<QLabel*>()->text() == QStringLiteral("Accession number:"));
            QVERIFY(!before); // closed before the dialog showed
            for (const auto& row : rows) {
                program.messages.Clear();
                ask(dialog, row.accession);
                QTRY_COMPARE(program.messages.Requests().size(), row.messages.size());
                for (qsizetype i = 0; i < row.messages.size(); ++i) {
                    QCOMPARE(program.messages.Requests()[i].text, row.messages[i]);
                    QCOMPARE(program.messages.Requests()[i].caption, QStringLiteral("Error"));
                }
                QVERIFY(dialog.isVisible() && dialog.findChild<QLineEdit*>()->text().isEmpty());
                QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("ok"))->isEnabled());
            }
            ask(dialog, QStringLiteral("NP_416719"));
            QTRY_VERIFY(!dialog.isVisible());
        });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(answer.Answered());

        QTRY_VERIFY(program.Document() != nullptr);
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.Name(), std::string("outer membrane porin protein C [Escherichia coli "
                                            "str. K-12 substr. MG1655]."));
        QCOMPARE(record.CleanSequence().size(), std::size_t(367));
        QVERIFY(record.CleanSequence().starts_with("MKVKVLSLLVPALLVAGAANAAEV"));
        QVERIFY(program.Document()->IsModified() && program.Document()->IsOpen());
        QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
        QTRY_COMPARE(bytesPane(program), QStringLiteral(" "));
    }

    void cancelEndsADownloadUnderWay()
    {
        test::RunningProgram program;
        useStandIn(program);
        // The stand-in's slow reply trickles for longer than a test may wait.
        program.app->SettingsFile().WriteString(kDownloadSection, kTimeoutKey, "60");
        test::ModalAnswer answer([&](QWidget& dialog) {
            ask(dialog, QStringLiteral("SLOW"));
            const QRegularExpression counting(QStringLiteral("^(\\d+) bytes received$"));
            QTRY_VERIFY(counting.match(bytesPane(program)).captured(1).toInt() >= 80);
            dialog.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
            QVERIFY(!dialog.isVisible());
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(answer.Answered());
        QVERIFY(clock.elapsed() < 30000);
        QTRY_COMPARE(bytesPane(program), QStringLiteral(" "));
        QCoreApplication::processEvents();
        QVERIFY(program.messages.Requests().isEmpty() && program.Document() == nullptr);
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::DownloadTest)
#include "DownloadTest.moc"
