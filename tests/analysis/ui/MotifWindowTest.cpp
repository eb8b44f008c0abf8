#include "analysis/Motifs.h"
#include "analysis/Prosite.h"
#include "analysis/ui/CMotifDialog.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Help.h"
#include "core/ui/UiTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

    void aPrositePatternIsCheckedAndSearched()
    {
        // Refused with the parser's message and the character at fault
        // selected; accepted, the pattern stands as the one motif and its
        // sites are the pattern matcher's starts.
        auto doc = bacteriorhodopsin();
        test::MessageRecorder messages;
        CMotifDialog dialog(doc->Record());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.findChild<QRadioButton*>(QStringLiteral("prositePattern"))->click();
        QVERIFY(dialog.PrositePattern());
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("search"));
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ok"));
        edit->setText(QStringLiteral("L-x(2,1)-W"));
        ok->click();
        QCOMPARE(messages.Requests().size(), 1);
        QVERIFY(messages.Requests()[0].text.contains(QStringLiteral("at character 4")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(edit->selectedText(), QStringLiteral("("));
        QVERIFY(doc->Record().motifs.motifs.empty());

        edit->setText(QStringLiteral("[LIV]-x(2,3)-W"));
        ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(doc->Record().motifs.motifs, std::vector<std::string>{"[LIV]-x(2,3)-W"});
        const auto parse = ParsePrositePattern("[LIV]-x(2,3)-W");
        std::vector<std::int32_t> expected;
        for (const PrositeMatch& match :
             FindPrositeMatches(parse.pattern, doc->Record().CleanSequence())) {
            expected.push_back(static_cast<std::int32_t>(match.start + 1));
        }
        std::vector<std::int32_t> found;
        for (const core::MotifHit& hit : doc->Record().motifs.hits) {
            found.push_back(hit.position);
        }
        QVERIFY(!expected.empty());
        QCOMPARE(found, expected);
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
