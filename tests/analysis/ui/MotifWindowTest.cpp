#include "analysis/Motifs.h"
#include "analysis/ui/CMotView.h"
#include "analysis/ui/CMotifDialog.h"
#include "core/CommandIds.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Help.h"
#include "core/ui/Printing.h"
#include "core/ui/UiTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <memory>

namespace quorin::analysis::ui {

using core::ui::CPeptideDoc;

/// The motif dialog through its checks, and the motif window's orders, Copy
/// and printout, on bacteriorhodopsin.
class MotifWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestHome> m_home;
    std::unique_ptr<core::ui::Application> m_app;

    std::unique_ptr<CPeptideDoc> bacteriorhodopsin()
    {
        auto doc = std::make_unique<CPeptideDoc>();
        const std::string text =
            test::ReadBytes(test::DataPath("proteins/P02945.fasta")).toStdString();
        core::ParseSequenceText(doc->Record(), core::FirstFastaRecord(text));
        doc->Record().SetName("BR");
        return doc;
    }

private slots:
    void init()
    {
        m_home = std::make_unique<test::TestHome>();
        m_app = std::make_unique<core::ui::Application>(m_home->Path().toStdString());
    }

    void cleanup()
    {
        m_app.reset();
        m_home.reset();
    }

    void okChecksTheSearchString_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QStringList>("motifs");
        QTest::newRow("empty") << ""
                               << "Enter a sequence motif!" << QStringList{};
        QTest::newRow("blanks only") << "   "
                                     << "Enter a sequence motif!" << QStringList{};
        QTest::newRow("B refused") << "ab"
                                   << "B is not a valid amino acid !" << QStringList{};
        QTest::newRow("last failing named") << "B1;A"
                                            << "1 is not a valid amino acid !" << QStringList{};
        QTest::newRow("blank and lower case")
            << "AS; at"
            << "" << QStringList{QStringLiteral("AS"), QStringLiteral("AT")};
        QTest::newRow("empty motifs skipped")
            << ";gx;;LL;"
            << "" << QStringList{QStringLiteral("GX"), QStringLiteral("LL")};
    }

    void okChecksTheSearchString()
    {
        QFETCH(QString, input);
        QFETCH(QString, message);
        QFETCH(QStringList, motifs);
        auto doc = bacteriorhodopsin();
        test::MessageRecorder messages;
        CMotifDialog dialog(doc->Record());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("search"));
        QCOMPARE(edit->maxLength(), 258);
        edit->setText(input);
        edit->setCursorPosition(0);
        dialog.findChild<QPushButton*>(QStringLiteral("ok"))->setFocus();
        dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        if (message.isEmpty()) {
            QVERIFY(messages.Requests().isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QStringList searched;
            for (const std::string& motif : doc->Record().motifs.motifs) {
                searched << QString::fromStdString(motif);
            }
            QCOMPARE(searched, motifs);
            return;
        }
        QCOMPARE(messages.Requests().size(), 1);
        QCOMPARE(messages.Requests()[0].text, message);
        QCOMPARE(messages.Requests()[0].caption, QStringLiteral("Error"));
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), input);
        QVERIFY(doc->Record().motifs.motifs.empty());
    }

    void helpOpensTheDialogsTopic()
    {
        QStringList keywords;
        auto previous =
            core::ui::SetHelpHandler([&](const QString& keyword) { keywords << keyword; });
        auto doc = bacteriorhodopsin();
        CMotifDialog dialog(doc->Record());
        dialog.show();
        dialog.findChild<QPushButton*>(QStringLiteral("help"))->click();
        QCOMPARE(keywords, QStringList{QStringLiteral("SEQUENCE MOTIF SEARCH")});
        core::ui::SetHelpHandler(std::move(previous));
    }

    void sortCommandsCarryTheirCheckMarksAndCopyCopiesTheListing()
    {
        auto doc = bacteriorhodopsin();
        SearchMotifs(doc->Record(), "GX;LL");
        CMotView view(*doc);
        struct Order
        {
            int command;
            bool byPosition;
        };
        for (const Order order :
             {Order{core::cmd::kSortByMotif, false}, Order{core::cmd::kSortByPosition, true}}) {
            if (order.byPosition) {
                QVERIFY(view.OnCommand(core::cmd::kSortByMotif)); // from the other order
            }
            QVERIFY(view.OnCommand(order.command));
            QVERIFY(view.CommandStateOf(core::cmd::kSortByPosition)->checkable);
            QCOMPARE(view.CommandStateOf(core::cmd::kSortByPosition)->checked, order.byPosition);
            QCOMPARE(view.CommandStateOf(core::cmd::kSortByMotif)->checked, !order.byPosition);
            const QString report =
                QString::fromStdString(MotifReportText(doc->Record(), order.byPosition));
            QCOMPARE(view.MotifReportText(), report);

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
            QVERIFY(view.OnCommand(core::cmd::kCopy));
            QVERIFY(answer.Answered());
            QCOMPARE(shown, QString(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QCOMPARE(copied, shown);
        }
    }

    void printsThePageWithItsHeaderAndUnderlinesForDashes()
    {
        auto doc = bacteriorhodopsin();
        SearchMotifs(doc->Record(), "GX;LL");
        CMotView view(*doc);
        const QString pdf = m_home->Path(QStringLiteral("motifs.pdf"));
        auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        QVERIFY(view.OnCommand(core::cmd::kPrint));
        core::ui::SetPrinterChooser(std::move(previous));
        const QString text = test::PdfText(pdf);
        QVERIFY2(!text.isEmpty(), "no PDF or no pdftotext (poppler-utils)");
        QVERIFY(text.contains(QStringLiteral("page 1")));
        QVERIFY(text.contains(QStringLiteral("Search for Sequence Motifs in BR")));
        QVERIFY(text.contains(QStringLiteral("*****")));
        QVERIFY(text.contains(QStringLiteral("List of occuring sites")));
        QVERIFY(text.contains(QStringLiteral("# of Motif | Position")));
        // The first G with a residue after it, and no row of dashes: the page
        // underlines its headings instead.
        const int firstG = static_cast<int>(doc->Record().CleanSequence().find('G')) + 1;
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("\\b1 +\\| +%1\\b").arg(firstG))));
        QVERIFY(!text.contains(QStringLiteral("----")));
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::MotifWindowTest)
#include "MotifWindowTest.moc"
