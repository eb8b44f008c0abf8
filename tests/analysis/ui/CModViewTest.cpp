#include "analysis/ui/CModView.h"

#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "core/CommandIds.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/UiTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace quorin::analysis::ui {

using core::ui::Application;
using core::ui::CPeptideDoc;

class CModViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestHome> m_home;
    std::unique_ptr<Application> m_app;

    /// Bacteriorhodopsin after a Trypsin digest, searched at 2600 +/- 600 Da
    /// for two modifications: matches on complete fragments and on fragments
    /// with missed cleavages.
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
        return doc;
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

    void completeDigestCopyAndPrint()
    {
        auto doc = searched();
        CModView view(*doc);
        view.resize(640, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        if (const QByteArray dir = qgetenv("QUORIN_SCREENSHOT_DIR"); !dir.isEmpty()) {
            view.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/CModView.png"));
        }

        const std::string all = ModReportText(doc->Record(), false);
        const std::string complete = ModReportText(doc->Record(), true);
        QVERIFY(complete.size() < all.size());
        QCOMPARE(view.ReportText(), all);
        QVERIFY(!view.CommandStateOf(core::cmd::kCompleteDigest)->checked);
        QVERIFY(view.CommandStateOf(core::cmd::kCompleteDigest)->checkable);
        QVERIFY(view.OnCommand(core::cmd::kCompleteDigest));
        QVERIFY(view.CommandStateOf(core::cmd::kCompleteDigest)->checked);
        QCOMPARE(view.ReportText(), complete);

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
        QCOMPARE(shown, QString::fromStdString(complete).replace(QStringLiteral("\r\n"),
                                                                 QStringLiteral("\n")));
        QCOMPARE(copied, shown);

        const QString pdf = m_home->Path(QStringLiteral("mod.pdf"));
        auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        });
        QVERIFY(view.OnCommand(core::cmd::kPrint));
        core::ui::SetPrinterChooser(std::move(previous));
        const QString printed = test::PdfText(pdf);
        QVERIFY2(printed.contains(QStringLiteral("page 1")), qPrintable(printed));
        QVERIFY(printed.contains(QStringLiteral("Search for modifications of BR")));
        QVERIFY(printed.contains(QStringLiteral("Methylation")));
        // The complete digest only: 239..262 has a missed cleavage after 240.
        QVERIFY(!printed.contains(QStringLiteral("239")));
        QVERIFY(printed.contains(QStringLiteral("241")));
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::CModViewTest)
#include "CModViewTest.moc"
