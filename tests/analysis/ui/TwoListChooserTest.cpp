#include "analysis/ui/TwoListChooser.h"

#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace quorin::analysis::ui {

class TwoListChooserTest : public QObject
{
    Q_OBJECT

private slots:
    /// Any run of Select and Unselect over names with repeats: a name never
    /// stands twice among the chosen, and the chosen keep the order they
    /// were chosen in (what a plain list of names would give).
    void aNameIsChosenOnceInTheOrderChosen()
    {
        // "Trypsin" twice, and one name in two encodings that look alike on
        // screen but are two names.
        const std::vector<std::string> names = {"Trypsin", "Lys-C",     "Trypsin",
                                                "Asp-N",   "M\xe9thyl", "M\xc3\xa9thyl"};
        QRandomGenerator random(25);
        for (int run = 0; run < 50; ++run) {
            QWidget parent;
            auto* available = new QListWidget(&parent);
            auto* chosen = new QListWidget(&parent);
            auto* select = new QPushButton(&parent);
            auto* unselect = new QPushButton(&parent);
            TwoListChooser chooser(names, *available, *chosen, *select, *unselect);
            QCOMPARE(available->count(), static_cast<int>(names.size()));
            std::vector<std::string> expected;
            for (int step = 0; step < 40; ++step) {
                if (random.bounded(3) != 0) {
                    const int row = random.bounded(static_cast<int>(names.size()) + 1) - 1;
                    available->setCurrentRow(row);
                    if (row >= 0 &&
                        std::find(expected.begin(), expected.end(),
                                  names[static_cast<std::size_t>(row)]) == expected.end()) {
                        expected.push_back(names[static_cast<std::size_t>(row)]);
                    }
                    select->click();
                } else if (chosen->count() > 0) {
                    const int row = random.bounded(chosen->count());
                    chosen->setCurrentRow(row);
                    expected.erase(expected.begin() + row);
                    unselect->click();
                }
                QVERIFY2(chooser.ChosenNames() == expected,
                         qPrintable(QStringLiteral("run %1 step %2").arg(run).arg(step)));
                QCOMPARE(chosen->count(), static_cast<int>(expected.size()));
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    QCOMPARE(names[chooser.ChosenIndices()[i]], expected[i]);
                }
            }
        }
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::TwoListChooserTest)
#include "TwoListChooserTest.moc"
