#include "analysis/ui/CModFinderDialog.h"

#include "analysis/Digest.h"
#include "core/ui/UiTestSupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace quorin::analysis::ui {

class CModFinderDialogTest : public QObject
{
    Q_OBJECT

private:
    template <typename T>
    static T* child(CModFinderDialog& dialog, const char* name)
    {
        return dialog.findChild<T*>(QLatin1String(name));
    }
    static void click(CModFinderDialog& dialog, const char* name)
    {
        child<QPushButton>(dialog, name)->click();
    }

private slots:
    /// A modification named in an older encoding (Latin-1 bytes) is searched
    /// for: its name is taken as stored, not as the list shows it.
    void searchesForANameInAnOlderEncoding()
    {
        core::PropertyRecord record;
        record.ResetCurrentTables();
        record.SetName("pep");
        record.SetSequence("MKSAKGGR");
        record.modifications = {{"M\xe9thyl", "K", 14.02}};
        Digest(record, "K!;R!");
        CModFinderDialog dialog(record);
        click(dialog, "select");
        QCOMPARE(child<QListWidget>(dialog, "selectedModifications")->item(0)->text(),
                 QStringLiteral("M\u00e9thyl"));
        child<QLineEdit>(dialog, "weight")->setText(QStringLiteral("500"));
        click(dialog, "analyse");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(record.modFinder.selected.size(), std::size_t{1});
        QCOMPARE(record.modFinder.selected[0].name, std::string("M\xe9thyl"));
    }

    void checksEveryEntryThenSearches()
    {
        core::PropertyRecord record;
        record.ResetCurrentTables();
        record.SetName("pep");
        record.SetSequence("MKSAKGGR");
        // Two of one name: the first counts.
        record.modifications = {
            {"Phospho", "S,T,Y", 79.97}, {"Acetyl", "K", 42.01}, {"Phospho", "H", 1.0}};
        Digest(record, "K!;R!");

        CModFinderDialog dialog(record);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* available = child<QListWidget>(dialog, "availableModifications");
        auto* chosen = child<QListWidget>(dialog, "selectedModifications");
        auto* weight = child<QLineEdit>(dialog, "weight");
        auto* uncertainty = child<QLineEdit>(dialog, "uncertainty");
        QCOMPARE(available->currentRow(), 0);
        QCOMPARE(child<QLineEdit>(dialog, "specificity")->text(), QStringLiteral("S,T,Y"));
        QCOMPARE(child<QLineEdit>(dialog, "mass")->text(), QStringLiteral("80"));
        QCOMPARE(uncertainty->text(), QStringLiteral("1.0"));

        test::MessageRecorder messages;
        click(dialog, "analyse");
        QCOMPARE(messages.LastText(), QStringLiteral("Select an modification!"));
        QCOMPARE(messages.Requests().last().caption, QStringLiteral("Error"));

        available->setCurrentRow(1);
        click(dialog, "select");
        available->setCurrentRow(2);
        click(dialog, "select");
        click(dialog, "select");
        available->setCurrentRow(1);
        click(dialog, "select");
        QCOMPARE(chosen->count(), 2);
        chosen->setCurrentRow(0);
        click(dialog, "unselect");
        available->setCurrentRow(1);
        click(dialog, "select");
        QCOMPARE(chosen->item(0)->text(), QStringLiteral("Phospho"));
        QCOMPARE(chosen->item(1)->text(), QStringLiteral("Acetyl"));

        struct Case
        {
            QString weight;
            QString uncertainty;
            QLineEdit* refused;
        };
        for (const Case& c :
             {Case{"", "1.0", weight}, Case{"-5", "1.0", weight}, Case{"1e3", "1.0", weight},
              Case{"500", "", uncertainty}, Case{"500", "e", uncertainty}}) {
            weight->setText(c.weight);
            uncertainty->setText(c.uncertainty);
            messages.Clear();
            click(dialog, "analyse");
            QCOMPARE(messages.LastText(), QStringLiteral("Enter a valid number as weight !"));
            QTRY_VERIFY(c.refused->hasFocus());
            QCOMPARE(c.refused->selectedText(), c.refused->text());
            QVERIFY(dialog.isVisible());
        }

        // MKSAK (18.02 + 588.76) with a phosphate; "1.2.3"-like texts read
        // up to the second point.
        const double mksak = record.StretchWeight(0, 4);
        weight->setText(QString::number(mksak + 79.97, 'f', 2) + QStringLiteral(".9"));
        uncertainty->setText(QStringLiteral("0.5"));
        messages.Clear();
        click(dialog, "analyse");
        QCOMPARE(messages.Requests().size(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(record.modFinder.selected.size(), std::size_t{2});
        QCOMPARE(record.modFinder.selected[0].specificity, std::string("S,T,Y"));
        QCOMPARE(record.modFinder.uncertainty, 0.5);
        QVERIFY(!record.modFinder.matches.empty());
        QCOMPARE(record.modFinder.matches[0].start, 0);
        QCOMPARE(record.modFinder.matches[0].end, 4);
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::CModFinderDialogTest)
#include "CModFinderDialogTest.moc"
