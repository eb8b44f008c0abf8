#include "analysis/ui/CDigestDialog.h"

#include "core/ui/Help.h"
#include "core/ui/UiTestSupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace quorin::analysis::ui {

using core::ENZYME;

class CDigestDialogTest : public QObject
{
    Q_OBJECT

private:
    static const std::vector<ENZYME>& agents()
    {
        // Two agents share a name: the first of them is the one that counts.
        static const std::vector<ENZYME> list = {
            {"Trypsin", "K!;R!"}, {"CNBr", "M"}, {"Asp-N", "X!D"}, {"Trypsin", "K!P"}};
        return list;
    }

    static QListWidget* available(CDigestDialog& dialog)
    {
        return dialog.findChild<QListWidget*>(QStringLiteral("availableAgents"));
    }
    static QListWidget* chosen(CDigestDialog& dialog)
    {
        return dialog.findChild<QListWidget*>(QStringLiteral("selectedAgents"));
    }
    static QString specificity(CDigestDialog& dialog)
    {
        return dialog.findChild<QLineEdit*>(QStringLiteral("specificity"))->text();
    }
    static void click(CDigestDialog& dialog, const char* name)
    {
        dialog.findChild<QPushButton*>(QLatin1String(name))->click();
    }
    static QStringList names(QListWidget* list)
    {
        QStringList result;
        for (int i = 0; i < list->count(); ++i) {
            result << list->item(i)->text();
        }
        return result;
    }
    /// Selects row of the available list and presses "&Select >>".
    static void selectRow(CDigestDialog& dialog, int row)
    {
        available(dialog)->setCurrentRow(row);
        click(dialog, "select");
    }

private slots:
    void opensWithTheFirstAgentAndItsSpecificity()
    {
        CDigestDialog dialog(agents());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Sequence specific cleavage"));
        QCOMPARE(names(available(dialog)),
                 QStringList({QStringLiteral("Trypsin"), QStringLiteral("CNBr"),
                              QStringLiteral("Asp-N"), QStringLiteral("Trypsin")}));
        QCOMPARE(available(dialog)->currentRow(), 0);
        QCOMPARE(specificity(dialog), QStringLiteral("K!;R!"));
        QVERIFY(chosen(dialog)->count() == 0);
        available(dialog)->setCurrentRow(2);
        QCOMPARE(specificity(dialog), QStringLiteral("X!D"));
        QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("specificity"))->isReadOnly());

        const QStringList buttons = {QStringLiteral("&Select >>"), QStringLiteral("<< &Unselect"),
                                     QStringLiteral("&Analyse"), QStringLiteral("&Cancel"),
                                     QStringLiteral("?")};
        QStringList shown;
        for (const char* name : {"select", "unselect", "analyse", "cancel", "help"}) {
            shown << dialog.findChild<QPushButton*>(QLatin1String(name))->text();
        }
        QCOMPARE(shown, buttons);

        CDigestDialog empty({});
        QCOMPARE(available(empty)->count(), 0);
        QCOMPARE(specificity(empty), QString());
        click(empty, "select");
        QCOMPARE(chosen(empty)->count(), 0);
    }

    void selectAppendsANameOnceAndUnselectRemovesTheChosenOne()
    {
        CDigestDialog dialog(agents());
        selectRow(dialog, 2);
        selectRow(dialog, 0);
        selectRow(dialog, 2);
        // The second "Trypsin" has the name of one already chosen.
        selectRow(dialog, 3);
        QCOMPARE(names(chosen(dialog)),
                 QStringList({QStringLiteral("Asp-N"), QStringLiteral("Trypsin")}));
        selectRow(dialog, 1);
        chosen(dialog)->setCurrentRow(1);
        click(dialog, "unselect");
        QCOMPARE(names(chosen(dialog)),
                 QStringList({QStringLiteral("Asp-N"), QStringLiteral("CNBr")}));
        chosen(dialog)->setCurrentRow(-1);
        click(dialog, "unselect");
        QCOMPARE(chosen(dialog)->count(), 2);
    }

    void analyseNeedsAnAgentAndJoinsTheSpecificitiesInSelectionOrder()
    {
        test::MessageRecorder messages;
        CDigestDialog dialog(agents());
        dialog.show();
        click(dialog, "analyse");
        QCOMPARE(messages.Requests().size(), 1);
        QCOMPARE(messages.Requests().first().text, QStringLiteral("Select an agent!"));
        QCOMPARE(messages.Requests().first().caption, QStringLiteral("Error"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        selectRow(dialog, 1);
        selectRow(dialog, 3); // "Trypsin": the first agent of that name is taken
        selectRow(dialog, 2);
        click(dialog, "analyse");
        QCOMPARE(messages.Requests().size(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Specificity(), std::string("M;K!;R!;X!D"));
        const std::vector<ENZYME> selected = {
            {"CNBr", "M"}, {"Trypsin", "K!;R!"}, {"Asp-N", "X!D"}};
        QCOMPARE(dialog.SelectedAgents().size(), selected.size());
        for (std::size_t i = 0; i < selected.size(); ++i) {
            QCOMPARE(dialog.SelectedAgents()[i].name, selected[i].name);
            QCOMPARE(dialog.SelectedAgents()[i].specificity, selected[i].specificity);
        }
    }

    void helpOpensItsTopicAndCancelLeavesNothing()
    {
        QStringList keywords;
        auto previous =
            core::ui::SetHelpHandler([&](const QString& keyword) { keywords << keyword; });
        CDigestDialog dialog(agents());
        dialog.show();
        click(dialog, "help");
        QCOMPARE(keywords, QStringList{QStringLiteral("SELECT CLEAVAGE ^ BOX")});
        QVERIFY(dialog.isVisible());
        selectRow(dialog, 0);
        click(dialog, "cancel");
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.SelectedAgents().empty());
        QVERIFY(dialog.Specificity().empty());
        core::ui::SetHelpHandler(std::move(previous));
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::CDigestDialogTest)
#include "CDigestDialogTest.moc"
