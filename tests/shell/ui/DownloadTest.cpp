#include "MainFrameFixture.h"
#include "core/MessageTexts.h"
#include "shell/GenPept.h"
#include "shell/UniProtFetch.h"
#include "shell/ui/COptionsPropSheet.h"
#include "shell/ui/PreferencePages.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTcpServer>

namespace quorin::shell::ui {

namespace cmd = core::cmd;
using core::ui::MessageAnswer;

/// The Download command against the stand-in E-utilities server
/// (tests/tools/genpept_server.py) on 127.0.0.1, which logs every request it
/// is sent. QUORIN_TEST_LOOPBACK_ONLY is set, so that a request anywhere else
/// aborts the program.
class DownloadTest : public QObject
{
    Q_OBJECT

private:
    QProcess m_server;
    QTemporaryDir m_dir;
    QString m_url;

    /// Points the program's settings at the stand-in, with a one-second limit.
    void useStandIn(test::RunningProgram& program)
    {
        core::ProfileFile& settings = program.app->SettingsFile();
        QVERIFY(settings.WriteString(kDownloadSection, kServerKey, m_url.toStdString()));
        QVERIFY(settings.WriteString(kDownloadSection, kTimeoutKey, "1"));
        QVERIFY(DownloadServer(settings).starts_with("http://127.0.0.1:"));
    }

    /// The requests the stand-in was sent so far, in order.
    QStringList requests() const
    {
        QFile log(m_dir.filePath(QStringLiteral("requests.log")));
        if (!log.open(QIODevice::ReadOnly)) {
            return {};
        }
        return QString::fromLatin1(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static QString search(const QString& term)
    {
        return QStringLiteral("/esearch.fcgi?db=protein&term=") + term;
    }

    static QString bytesPane(const test::RunningProgram& program)
    {
        return program.frame->findChild<QLabel*>(QStringLiteral("bytesPane"))->text();
    }

    static QLineEdit* accessionField(QWidget& dialog)
    {
        return dialog.findChild<QLineEdit*>(QStringLiteral("accession"));
    }

    /// Types an accession and presses OK.
    static void ask(QWidget& dialog, const QString& accession)
    {
        accessionField(dialog)->setText(accession);
        dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    }

    /// Sets the server and time limit on the Preferences' download page and
    /// confirms the sheet; the messages it showed.
    static QStringList setOnPreferences(test::RunningProgram& program, const QString& server,
                                        const QString& timeout)
    {
        program.messages.Clear();
        COptionsPropSheet sheet(*program.app, program.Document(), program.frame.get());
        CDownloadPage* page = nullptr;
        for (CPreferencePage* candidate : sheet.Pages()) {
            page = page ? page : qobject_cast<CDownloadPage*>(candidate);
        }
        auto* serverField = page->findChild<QLineEdit*>(QStringLiteral("server"));
        auto* timeoutField = page->findChild<QLineEdit*>(QStringLiteral("timeout"));
        serverField->setText(server);
        timeoutField->setText(timeout);
        page->SetModified();
        sheet.Apply();
        QStringList shown;
        for (const core::ui::MessageRequest& request : program.messages.Requests()) {
            shown << request.text;
        }
        return shown;
    }

private slots:
    void initTestCase()
    {
        qputenv("QUORIN_TEST_LOOPBACK_ONLY", "1");
        QVERIFY(m_dir.isValid());
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(QStringLiteral(QUORIN_PYTHON),
                       {QStringLiteral(QUORIN_GENPEPT_SERVER),
                        QStringLiteral(QUORIN_TEST_DATA_DIR "/genpept"), QStringLiteral("--log"),
                        m_dir.filePath(QStringLiteral("requests.log"))});
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

        // One message each, the accession kept; one search request each
        // (none for an empty field). A server that closes the connection
        // before any reply is the exception: Qt itself sends a GET once more
        // then, as HTTP allows.
        const struct
        {
            QString accession;
            QString message;
            int searches;
        } rows[] = {
            {QStringLiteral("XP_UNKNOWN"), QStringLiteral("Accession XP_UNKNOWN was not found."),
             1},
            {QStringLiteral("NOID"), QStringLiteral("Could not retrieve sequence data!"), 1},
            {QStringLiteral("HTML"), QStringLiteral("Could not retrieve sequence data!"), 1},
            {QStringLiteral("CLOSE"),
             QStringLiteral("Could not receive data from server!\n127.0.0.1:%1: the server "
                            "closed the connection before its reply was complete.")
                 .arg(port),
             -1},
            {QStringLiteral("SILENT"),
             QStringLiteral("The server did not answer in time!\n127.0.0.1:%1 sent no "
                            "complete reply within 1 second.")
                 .arg(port),
             1},
            {QStringLiteral("  "), QStringLiteral("Enter an accession number!"), 0},
        };
        test::ModalAnswer answer([&](QWidget& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Retrieve Sequence from GenBank (NCBI)"));
            QVERIFY(dialog.findChild<QLabel*>()->text() == QStringLiteral("Accession number:"));
            QVERIFY(before); // the current sequence stays while the dialog asks
            for (const auto& row : rows) {
                const qsizetype asked = requests().size();
                program.messages.Clear();
                ask(dialog, row.accession);
                QTRY_COMPARE(program.messages.Requests().size(), 1);
                QCOMPARE(program.messages.Requests()[0].text, row.message);
                QCOMPARE(program.messages.Requests()[0].caption, QStringLiteral("Error"));
                QVERIFY(dialog.isVisible());
                QCOMPARE(accessionField(dialog)->text(), row.accession);
                QTRY_VERIFY(dialog.findChild<QPushButton*>(QStringLiteral("ok"))->isEnabled());
                if (row.searches >= 0) {
                    QCOMPARE(requests().mid(asked).count(search(row.accession.trimmed())),
                             row.searches);
                }
            }
            ask(dialog, QStringLiteral("NP_416719"));
            QTRY_VERIFY(!dialog.isVisible());
        });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(answer.Answered());

        QTRY_VERIFY(program.Document() != nullptr);
        QVERIFY(!before);
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.Name(), std::string("outer membrane porin protein C [Escherichia coli "
                                            "str. K-12 substr. MG1655]."));
        QCOMPARE(record.CleanSequence().size(), std::size_t(367));
        QVERIFY(record.CleanSequence().starts_with("MKVKVLSLLVPALLVAGAANAAEV"));
        QCOMPARE(record.remarks, std::string("Accession NP_416719"));
        QVERIFY(program.Document()->IsModified() && program.Document()->IsOpen());
        QCOMPARE(program.frame->ActiveKind(), WindowKind::SequenceEditor);
        QTRY_COMPARE(bytesPane(program), QStringLiteral(" "));
    }

    void theCurrentSequenceGoesOnlyForARecordInHand()
    {
        // dialog: the accession to download, empty for Cancel; save: the
        // answer to the save question of the modified current sequence.
        const struct
        {
            const char* what;
            QString accession;
            std::optional<MessageAnswer> save;
            bool replaced;
        } rows[] = {
            {"Cancel in the dialog", QString(), std::nullopt, false},
            {"Cancel in the save question", QStringLiteral("P01485"), MessageAnswer::Cancel, false},
            {"No in the save question", QStringLiteral("P01485"), MessageAnswer::No, true},
        };
        for (const auto& row : rows) {
            test::RunningProgram program;
            useStandIn(program);
            QVERIFY(program.frame->OpenDocumentFile(test::DataPath("proteins/P01501.fasta")));
            program.Document()->SetModifiedFlag(true);
            const QPointer<core::ui::CPeptideDoc> current = program.Document();
            if (row.save) {
                program.messages.Answer(*row.save);
            }
            test::ModalAnswer answer([&](QWidget& dialog) {
                QVERIFY(program.messages.Requests().isEmpty()); // no question before
                if (row.accession.isEmpty()) {
                    dialog.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
                } else {
                    ask(dialog, row.accession);
                }
                QTRY_VERIFY(!dialog.isVisible());
            });
            QVERIFY(program.frame->Execute(cmd::kDownload));
            QVERIFY2(answer.Answered(), row.what);
            QCoreApplication::processEvents();
            QCOMPARE(program.messages.Requests().size(), row.save ? 1 : 0);
            if (!row.replaced) {
                QVERIFY2(current && program.Document() == current && current->IsModified(),
                         row.what);
                continue;
            }
            QTRY_VERIFY(program.Document() != nullptr && !current);
            QCOMPARE(program.Document()->Record().Name(), std::string("Neurotoxin III."));
            QCOMPARE(program.Document()->Record().remarks, std::string("Accession P01485"));
        }
    }

    void thePreferencesSetTheServerForTheNextDownload()
    {
        test::RunningProgram program;
        core::ProfileFile& settings = program.app->SettingsFile();
        // A stored limit past Qt's timer is not used, and said so once.
        QVERIFY(settings.WriteString(kDownloadSection, kTimeoutKey, "4294968"));
        test::ModalAnswer cancelled([](QWidget& dialog) { dialog.close(); });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(cancelled.Answered());
        QCOMPARE(program.messages.Requests().size(), 1);
        QVERIFY(program.messages.LastText().startsWith(
            QStringLiteral("The setting \"Timeout\" in [Download] holds 4294968")));

        const struct
        {
            QString server, timeout, message;
        } refused[] = {
            {QStringLiteral("ftp://127.0.0.1/"), QStringLiteral("5"),
             QStringLiteral("Enter a server address beginning with http:// or https:// !")},
            {QStringLiteral("http://"), QStringLiteral("5"),
             QStringLiteral("Enter a server address beginning with http:// or https:// !")},
            {m_url, QStringLiteral("0"),
             QStringLiteral("Enter a time limit of 1 to 86400 seconds !")},
            {m_url, QStringLiteral("86401"),
             QStringLiteral("Enter a time limit of 1 to 86400 seconds !")},
        };
        for (const auto& row : refused) {
            QCOMPARE(setOnPreferences(program, row.server, row.timeout),
                     QStringList({row.message}));
        }
        QCOMPARE(DownloadTimeout(settings), kDefaultTimeout);

        // A refused connection: one message. The server then changes on the
        // page, and the next download asks the new one, once.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 closedPort = closed.serverPort();
        closed.close();
        QVERIFY(setOnPreferences(program, QStringLiteral("http://127.0.0.1:%1/").arg(closedPort),
                                 QStringLiteral("5"))
                    .isEmpty());
        program.messages.Clear();
        test::ModalAnswer refusedConnection([&](QWidget& dialog) {
            ask(dialog, QStringLiteral("P01485"));
            QTRY_COMPARE(program.messages.Requests().size(), 1);
            QCOMPARE(program.messages.LastText(),
                     QStringLiteral("Could not connect to server!\n127.0.0.1:%1: Connection "
                                    "refused.")
                         .arg(closedPort));
            dialog.close();
        });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(refusedConnection.Answered());

        QVERIFY(setOnPreferences(program, m_url, QStringLiteral("5")).isEmpty());
        QCOMPARE(DownloadServer(settings), m_url.toStdString());
        QCOMPARE(DownloadTimeout(settings), std::chrono::seconds(5));
        const qsizetype asked = requests().size();
        test::ModalAnswer downloaded([&](QWidget& dialog) {
            ask(dialog, QStringLiteral("P01485"));
            QTRY_VERIFY(!dialog.isVisible());
        });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(downloaded.Answered());
        QTRY_VERIFY(program.Document() != nullptr);
        QCOMPARE(requests().mid(asked),
                 QStringList({search(QStringLiteral("P01485")),
                              QStringLiteral("/efetch.fcgi?db=protein&id=134354&rettype=gp&"
                                             "retmode=text")}));
    }

    void uniProtEntriesComeWithTheirFeatures()
    {
        test::RunningProgram program;
        core::ProfileFile& settings = program.app->SettingsFile();
        QCOMPARE(UniProtServer(settings), std::string(kDefaultUniProtServer));
        // The page checks the UniProt server as it checks the other one.
        program.messages.Clear();
        {
            COptionsPropSheet sheet(*program.app, program.Document(), program.frame.get());
            CDownloadPage* page = nullptr;
            for (CPreferencePage* candidate : sheet.Pages()) {
                page = page ? page : qobject_cast<CDownloadPage*>(candidate);
            }
            auto* field = page->findChild<QLineEdit*>(QStringLiteral("uniProtServer"));
            QCOMPARE(field->text(), QStringLiteral("https://rest.uniprot.org"));
            field->setText(QStringLiteral("ftp://127.0.0.1/"));
            page->SetModified();
            sheet.Apply();
            QCOMPARE(program.messages.LastText(),
                     QStringLiteral("Enter a server address beginning with http:// or https:// !"));
            field->setText(m_url);
            sheet.Apply();
        }
        QCOMPARE(UniProtServer(settings), m_url.toStdString());
        QVERIFY(settings.WriteString(kDownloadSection, kTimeoutKey, "5"));

        program.messages.Clear();
        test::ModalAnswer answer([&](QWidget& dialog) {
            auto* source = dialog.findChild<QComboBox*>(QStringLiteral("source"));
            source->setCurrentIndex(1);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Retrieve Sequence from UniProt"));
            ask(dialog, QStringLiteral("NOSUCH"));
            QTRY_COMPARE(program.messages.Requests().size(), 1);
            QCOMPARE(program.messages.LastText(),
                     QStringLiteral("Accession NOSUCH was not found."));
            QTRY_VERIFY(dialog.findChild<QPushButton*>(QStringLiteral("ok"))->isEnabled());
            // Busy at first: asked again after the second it says.
            ask(dialog, QStringLiteral("BUSY429"));
            QVERIFY(!source->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 10000);
        });
        QVERIFY(program.frame->Execute(cmd::kDownload));
        QVERIFY(answer.Answered());
        QTRY_VERIFY(program.Document() != nullptr);
        QCOMPARE(requests().count(QStringLiteral("/uniprotkb/BUSY429.txt")), 2);
        const core::PropertyRecord& record = program.Document()->Record();
        QCOMPARE(record.Name(), std::string("MEMB1_SYNTH"));
        QVERIFY(record.remarks.starts_with("Accession Q9ZZZ1 RecName:"));
        QCOMPARE(record.features.size(), std::size_t(9));
        QCOMPARE(record.sketch.domains.size(), std::size_t(9));
        QVERIFY(program.Document()->IsModified());
        QCOMPARE(program.frame->WindowCount(WindowKind::Sketch, program.Document()), 1);
        QVERIFY(program.Enabled(cmd::kFeatures));
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
