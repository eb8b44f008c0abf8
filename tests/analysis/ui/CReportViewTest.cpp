#include "analysis/ui/CReportView.h"

#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "analysis/Motifs.h"
#include "analysis/ui/CModView.h"
#include "analysis/ui/CMotView.h"
#include "core/CommandIds.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/UiTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace quorin::analysis::ui {

using core::ui::Application;
using core::ui::CPeptideDoc;
namespace cmd = core::cmd;

/// The two report windows, ModFinder and motifs, over the one report view:
/// their commands, Copy, the printout and how the page draws each line.
class CReportViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestHome> m_home;
    std::unique_ptr<Application> m_app;

    /// Bacteriorhodopsin after a Trypsin digest, searched at 2600 +/- 600 Da
    /// for two modifications (matches on complete fragments and on fragments
    /// with missed cleavages), and for the motifs GX and LL.
    static std::unique_ptr<CPeptideDoc> searched()
    {
        auto doc = std::make_unique<CPeptideDoc>();
        core::PropertyRecord& record = doc->Record();
        const std::string text =
            test::ReadBytes(test::DataPath("proteins/P02945.fasta")).toStdString();
        core::ParseSequenceText(record, core::FirstFastaRecord(text));
        record.SetName("BR");
        record.modifications = {{"Oxidation", "M", 16.0}, {"Methylation", "K,R", 14.02}};
        Digest(record, "K!;R!");
        SelectModifications(record, {"Oxidation", "Methylation"});
        FindModifications(record, 2600.0, 600.0);
        SearchMotifs(record, "GX;LL");
        return doc;
    }

    static std::unique_ptr<CReportView> windowOf(const QString& kind, CPeptideDoc& doc)
    {
        if (kind == QStringLiteral("modfinder")) {
            return std::make_unique<CModView>(doc);
        }
        return std::make_unique<CMotView>(doc);
    }

private slots:
    void init()
    {
        m_home = std::make_unique<test::TestHome>();
        m_app = std::make_unique<Application>(m_home->Path().toStdString());
    }

    void cleanup()
    {
        m_app.reset();
        m_home.reset();
    }

    void commandsCopyAndPrintShowTheReport_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("toggle");  // the window's own command, 0: none
        QTest::addColumn<int>("checked"); // the command whose check mark it sets
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("notPrinted");
        QTest::newRow("modfinder") << "modfinder" << 0 << 0 << "239"
                                   << "";
        // 239..262 has a missed cleavage after 240.
        QTest::newRow("modfinder, complete digest")
            << "modfinder" << int(cmd::kCompleteDigest) << int(cmd::kCompleteDigest) << "241"
            << "239";
        QTest::newRow("motifs by position") << "motifs" << int(cmd::kSortByPosition)
                                            << int(cmd::kSortByPosition) << "List of occuring sites"
                                            << "----";
        QTest::newRow("motifs by motif") << "motifs" << int(cmd::kSortByMotif)
                                         << int(cmd::kSortByMotif) << "# of Motif | Position"
                                         << "----";
    }

    void commandsCopyAndPrintShowTheReport()
    {
        QFETCH(QString, kind);
        QFETCH(int, toggle);
        QFETCH(int, checked);
        QFETCH(QString, printed);
        QFETCH(QString, notPrinted);
        auto doc = searched();
        std::unique_ptr<CReportView> view = windowOf(kind, *doc);
        const auto report = [&](bool variant) {
            return kind == QStringLiteral("modfinder") ? ModReportText(doc->Record(), variant)
                                                       : MotifReportText(doc->Record(), !variant);
        };
        const bool variant = toggle == cmd::kCompleteDigest || toggle == cmd::kSortByMotif;
        if (kind == QStringLiteral("motifs")) {
            // From the other order, so that the command changes something.
            QVERIFY(view->OnCommand(variant ? cmd::kSortByPosition : cmd::kSortByMotif));
            QCOMPARE(view->ReportText(), QString::fromStdString(report(!variant)));
        }
        if (toggle != 0) {
            QVERIFY(view->OnCommand(toggle));
        }
        const QString expected = QString::fromStdString(report(variant));
        QVERIFY(expected != QString::fromStdString(report(!variant)));
        QCOMPARE(view->ReportText(), expected);
        if (checked != 0) {
            QVERIFY(view->CommandStateOf(checked)->checkable);
            QVERIFY(view->CommandStateOf(checked)->checked);
        }
        if (kind == QStringLiteral("modfinder")) {
            QCOMPARE(view->CommandStateOf(cmd::kCompleteDigest)->checked, variant);
        } else {
            QCOMPARE(view->CommandStateOf(cmd::kSortByPosition)->checked, !variant);
            QCOMPARE(view->CommandStateOf(cmd::kSortByMotif)->checked, variant);
        }

        QString shown;
        QString copied;
        QApplication::clipboard()->setText(QStringLiteral("before"));
        test::ModalAnswer answer([&](QWidget& modal) {
            auto* dialog = qobject_cast<core::ui::CTempDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            copied = QApplication::clipboard()->text();
            shown = dialog->findChild<QPlainTextEdit*>(QStringLiteral("text"))->toPlainText();
            dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
        });
        QVERIFY(view->OnCommand(cmd::kCopy));
        QVERIFY(answer.Answered());
        QCOMPARE(shown, QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(copied, shown);

        const QString pdf = m_home->Path(QStringLiteral("report.pdf"));
        auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        QVERIFY(view->OnCommand(cmd::kPrint));
        core::ui::SetPrinterChooser(std::move(previous));
        const QString text = test::PdfText(pdf);
        QVERIFY2(text.contains(QStringLiteral("page 1")), qPrintable(text));
        QVERIFY(text.contains(expected.left(expected.indexOf(QStringLiteral("\r\n")))));
        QVERIFY(text.contains(printed));
        if (!notPrinted.isEmpty()) {
            QVERIFY(!text.contains(notPrinted));
        }
        if (kind == QStringLiteral("motifs")) {
            // The title's row of "*" stays; the first G with a residue after
            // it is a site of motif 1.
            QVERIFY(text.contains(QStringLiteral("*****")));
            const int firstG = static_cast<int>(doc->Record().CleanSequence().find('G')) + 1;
            QVERIFY(
                text.contains(QRegularExpression(QStringLiteral("\\b1 +\\| +%1\\b").arg(firstG))));
        }
    }

    void pageDrawsEachLineByItsRows_data()
    {
        QTest::addColumn<bool>("modFinder"); // the ModFinder page's style, else the motifs'
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("looks"); // per line: -1 hidden, else underlines + 10 * red
        const QStringList modFinder = {"Search for modifications of sp|P02945|BACR",
                                       "*******",
                                       "",
                                       "Selected",
                                       "--------",
                                       " Start | End",
                                       "------------",
                                       " 178   | 185"};
        QTest::newRow("modfinder") << true << modFinder << QList<int>{12, -1, 0, 11, -1, 1, -1, 0};
        const QStringList motifs = {"Search for Sequence Motifs in sp|P02945|BACR",
                                    "*******",
                                    "",
                                    "Selected Motifs:",
                                    "----------------",
                                    "",
                                    "1   GX",
                                    " # of Motif | Position",
                                    "----------------------",
                                    "      1     |  4"};
        QTest::newRow("motifs") << false << motifs << QList<int>{10, 0, 0, 11, -1, 0, 0, 1, -1, 0};
        // A row of dashes under nothing is text.
        QTest::newRow("lone rule")
            << true << QStringList{"Title", "", "---"} << QList<int>{10, 0, 0};
    }

    /// The title is red whatever the name holds: a "|" of a FASTA name does
    /// not make it a column header.
    void pageDrawsEachLineByItsRows()
    {
        QFETCH(bool, modFinder);
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, looks);
        const ReportPageStyle style = modFinder ? CModView::Style() : CMotView::Style();
        for (int i = 0; i < lines.size(); ++i) {
            const ReportLineLook look = CReportView::LookOf(style, lines, i);
            const int seen = look.shown ? look.underlines + (look.red ? 10 : 0) : -1;
            QVERIFY2(seen == looks[i], qPrintable(QStringLiteral("line %1: %2").arg(i).arg(seen)));
        }
    }

    void screenshot()
    {
        const QByteArray dir = qgetenv("QUORIN_SCREENSHOT_DIR");
        if (dir.isEmpty()) {
            QSKIP("QUORIN_SCREENSHOT_DIR not set");
        }
        auto doc = searched();
        CModView view(*doc);
        view.resize(640, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/CModView.png"));
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::CReportViewTest)
#include "CReportViewTest.moc"
