#include "analysis/Motifs.h"
#include "analysis/ui/CMotifDialog.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Help.h"
#include "core/ui/UiTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace quorin::analysis::ui {

using core::ui::CPeptideDoc;

/// The motif dialog through its checks on bacteriorhodopsin (the motif
/// window is tested with the other report windows).
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
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::MotifWindowTest)
#include "MotifWindowTest.moc"
