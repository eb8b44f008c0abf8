#include "plots/ui/CPathyDialog.h"

#include "core/ui/Help.h"
#include "core/ui/UiTestSupport.h"
#include "plots/DemoPlot.h"
#include "plots/Hydropathy.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace quorin;
using namespace quorin::plots;
using namespace quorin::plots::ui;

namespace {

/// The demo sequence (50 residues) with both built-in scales, the first one
/// current, and the dialog on it.
struct DialogOn
{
    explicit DialogOn(const PendingPlotRequest& request)
    {
        test::FillDemoRecord(record);
        dialog = std::make_unique<CPathyDialog>(record, request);
        dialog->show();
    }
    DialogOn(const DialogOn&) = delete;
    DialogOn& operator=(const DialogOn&) = delete;

    QLineEdit* edit(const char* name) const
    {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QListWidget* scales() const
    {
        return dialog->findChild<QListWidget*>(QStringLiteral("scales"));
    }
    void type(const QString& from, const QString& to, const QString& window,
              const QString& threshold) const
    {
        edit("from")->setText(from);
        edit("to")->setText(to);
        edit("window")->setText(window);
        edit("threshold")->setText(threshold);
    }

    core::PropertyRecord record;
    test::MessageRecorder messages;
    std::unique_ptr<CPathyDialog> dialog;
};

const PendingPlotRequest kNewPlot{0, 0, 0, 1.6};

} // namespace

class CPathyDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void opensWithTheRequestOrItsDefaults();
    void okChecksTheFieldsInOrder_data();
    void okChecksTheFieldsInOrder();
    void okWritesTheRequestAndMakesTheScaleCurrent();
    void theThresholdIsEditableForTheFirstScaleOnly();
    void positionsCountXAndO();
    void cancelClampsTheRequestOnly_data();
    void cancelClampsTheRequestOnly();
    void helpOpensTheHydropathyTopic();
    void aLongNameIsCutAndTheDialogKeepsItsSize();
    void topologyIsAnOptionOffUnlessTheRequestAsks();
};

void CPathyDialogTest::opensWithTheRequestOrItsDefaults()
{
    {
        DialogOn on(kNewPlot);
        QCOMPARE(on.dialog->windowTitle(), QStringLiteral("Properties for Hydropathy Plot"));
        QCOMPARE(on.dialog->findChild<QLabel*>(QStringLiteral("usePart"))->text(),
                 QStringLiteral("Use a part of demo (50 aa)"));
        QCOMPARE(on.edit("from")->text(), QStringLiteral("1"));
        QCOMPARE(on.edit("to")->text(), QStringLiteral("50"));
        QCOMPARE(on.edit("window")->text(), QStringLiteral("11"));
        QCOMPARE(on.edit("threshold")->text(), QStringLiteral("1.6"));
        QCOMPARE(on.scales()->count(), 2);
        QCOMPARE(on.scales()->item(1)->text(), QStringLiteral("Eisenberg Consensus Scale (1983)"));
        QCOMPARE(on.scales()->currentRow(), 0);
        QVERIFY(on.edit("scaleName")->isReadOnly());
        QCOMPARE(on.edit("scaleName")->text(), QStringLiteral("Kyte and Doolittle (1982)"));
    }
    {
        // An open plot's values; the threshold with three significant digits.
        DialogOn on(PendingPlotRequest{12, 40, 7, 1.23456});
        QCOMPARE(on.edit("from")->text(), QStringLiteral("12"));
        QCOMPARE(on.edit("to")->text(), QStringLiteral("40"));
        QCOMPARE(on.edit("window")->text(), QStringLiteral("7"));
        QCOMPARE(on.edit("threshold")->text(), QStringLiteral("1.23"));
    }
}

void CPathyDialogTest::okChecksTheFieldsInOrder_data()
{
    QTest::addColumn<QStringList>("typed"); // from, to, window, threshold
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // the edit selected, empty: focus stays

    const auto row = [](const char* name, QStringList typed, const char* message,
                        const char* focus) {
        QTest::newRow(name) << typed << QString::fromLatin1(message) << QString::fromLatin1(focus);
    };
    row("every field bad: start first", {"a", "x", "12", ","}, "Enter a valid start value!",
        "from");
    row("blank before the start", {" 1", "50", "11", "1.6"}, "Enter a valid start value!", "from");
    row("letter O in the end", {"1", "5O", "11", "1.6"}, "Enter a valid end value!", "to");
    row("start 0", {"0", "50", "11", "1.6"}, "Entered value is outside the limits.", "");
    row("empty start", {"", "50", "11", "1.6"}, "Entered value is outside the limits.", "");
    row("start equals end", {"7", "7", "11", "1.6"}, "Entered value is outside the limits.", "");
    row("end before start", {"8", "7", "11", "1.6"}, "Entered value is outside the limits.", "");
    row("end past the sequence", {"1", "51", "11", "1.6"}, "Entered value is outside the limits.",
        "");
    row("limits before the window", {"0", "50", "-1", "x"}, "Entered value is outside the limits.",
        "");
    row("minus before the window", {"1", "50", "-3", "1.6"},
        "Enter a valid value for sliding window!", "window");
    row("even window", {"1", "50", "12", "1.6"},
        "Entered value for sliding window is outside the limits!", "window");
    row("empty window", {"1", "50", "", "1.6"},
        "Entered value for sliding window is outside the limits!", "window");
    row("decimal comma", {"1", "50", "11", "1,6"}, "Enter a valid hydropathy threshold!",
        "threshold");
    row("negative threshold", {"1", "50", "11", "-1"}, "Enter a valid hydropathy threshold!",
        "threshold");
    row("valid", {"1", "50", "11", "1.6"}, "", "");
    row("empty threshold is 0", {"1", "50", "11", ""}, "", "");
    row("window longer than the sequence", {"1", "50", "101", "2"}, "", "");
}

void CPathyDialogTest::okChecksTheFieldsInOrder()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    DialogOn on(kNewPlot);
    on.type(typed[0], typed[1], typed[2], typed[3]);
    on.scales()->setFocus();
    on.dialog->accept();
    if (message.isEmpty()) {
        QVERIFY(on.messages.Requests().isEmpty());
        QCOMPARE(on.dialog->result(), int(QDialog::Accepted));
        return;
    }
    QCOMPARE(on.messages.Requests().size(), 1);
    QCOMPARE(on.messages.LastText(), message);
    QCOMPARE(on.messages.Requests()[0].caption, QStringLiteral("Error"));
    QVERIFY(on.dialog->isVisible());
    QCOMPARE(on.dialog->result(), int(QDialog::Rejected));
    // Nothing changed: the request is still the one the launcher made.
    QCOMPARE(on.dialog->Request().from, 0);
    QCOMPARE(on.dialog->Request().threshold, 1.6);
    if (focus.isEmpty()) {
        QCOMPARE(on.dialog->focusWidget(), static_cast<QWidget*>(on.scales()));
    } else {
        QLineEdit* offending = on.edit(focus.toLatin1().constData());
        QCOMPARE(on.dialog->focusWidget(), static_cast<QWidget*>(offending));
        QCOMPARE(offending->selectedText(), offending->text());
    }
}

void CPathyDialogTest::okWritesTheRequestAndMakesTheScaleCurrent()
{
    DialogOn on(kNewPlot);
    on.scales()->setCurrentRow(1);
    QCOMPARE(on.edit("scaleName")->text(), QStringLiteral("Eisenberg Consensus Scale (1983)"));
    on.type(QStringLiteral("3"), QStringLiteral("40"), QStringLiteral("5"), QStringLiteral("0.5"));
    on.dialog->accept();
    QCOMPARE(on.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(on.dialog->Request().from, 3);
    QCOMPARE(on.dialog->Request().to, 40);
    QCOMPARE(on.dialog->Request().window, 5);
    QCOMPARE(on.dialog->Request().threshold, 0.5);
    QCOMPARE(on.record.plots.currentScale, 1);
    QVERIFY(on.record.plots.hydropathy == on.record.scales[1].values);
}

void CPathyDialogTest::theThresholdIsEditableForTheFirstScaleOnly()
{
    DialogOn on(kNewPlot);
    QVERIFY(on.edit("threshold")->isEnabled());
    on.scales()->setCurrentRow(1);
    QVERIFY(!on.edit("threshold")->isEnabled());
    on.scales()->setCurrentRow(0);
    QVERIFY(on.edit("threshold")->isEnabled());

    // A dialog opened while the second scale is current starts disabled.
    SelectScale(on.record, 1);
    CPathyDialog second(on.record, kNewPlot);
    QVERIFY(!second.findChild<QLineEdit*>(QStringLiteral("threshold"))->isEnabled());
    QCOMPARE(second.findChild<QListWidget*>(QStringLiteral("scales"))->currentRow(), 1);
}

void CPathyDialogTest::positionsCountXAndO()
{
    core::PropertyRecord record;
    test::FillDemoRecord(record);
    record.SetSequence("KKKXIIIIIOKKK");
    test::MessageRecorder messages;
    CPathyDialog dialog(record, kNewPlot);
    // The length shown counts the twenty residues; the stretch runs over all.
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("usePart"))->text(),
             QStringLiteral("Use a part of demo (11 aa)"));
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("to"))->text(), QStringLiteral("13"));
    dialog.findChild<QLineEdit*>(QStringLiteral("window"))->setText(QStringLiteral("3"));
    dialog.accept();
    QVERIFY(messages.Requests().isEmpty());
    QCOMPARE(dialog.Request().to, 13);
}

void CPathyDialogTest::cancelClampsTheRequestOnly_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("clampedFrom");
    QTest::addColumn<int>("clampedTo");
    QTest::newRow("a new plot") << 0 << 0 << 1 << 1;
    QTest::newRow("end past the sequence") << 5 << 80 << 5 << 50;
    QTest::newRow("start below 1") << -2 << 3 << 1 << 3;
    QTest::newRow("end before start") << 30 << 10 << 30 << 30;
    QTest::newRow("inside") << 4 << 9 << 4 << 9;
}

void CPathyDialogTest::cancelClampsTheRequestOnly()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, clampedFrom);
    QFETCH(int, clampedTo);
    DialogOn on(PendingPlotRequest{from, to, 11, 1.6});
    on.scales()->setCurrentRow(1);
    on.type(QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("3"), QStringLiteral("2"));
    on.dialog->reject();
    QCOMPARE(on.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(on.dialog->Request().from, clampedFrom);
    QCOMPARE(on.dialog->Request().to, clampedTo);
    QCOMPARE(on.dialog->Request().window, 11);
    QCOMPARE(on.dialog->Request().threshold, 1.6);
    QCOMPARE(on.record.plots.currentScale, 0); // the scale chosen is not taken
    QVERIFY(on.messages.Requests().isEmpty());
}

void CPathyDialogTest::helpOpensTheHydropathyTopic()
{
    DialogOn on(kNewPlot);
    QString opened;
    auto previous =
        core::ui::SetHelpHandler([&opened](const QString& keyword) { opened = keyword; });
    auto* help = on.dialog->findChild<QPushButton*>(QStringLiteral("help"));
    QCOMPARE(help->text(), QStringLiteral("?"));
    help->click();
    core::ui::SetHelpHandler(std::move(previous));
    QCOMPARE(opened, QStringLiteral("HYDROPATHY PLOT"));
    QVERIFY(on.dialog->isVisible());
}

void CPathyDialogTest::aLongNameIsCutAndTheDialogKeepsItsSize()
{
    core::PropertyRecord record;
    test::FillDemoRecord(record);
    // A FASTA header as name, with a "%2" that must not take the length's place.
    record.SetName("sp|P99999|LONG_HUMAN 100%2 " + std::string(300, 'x'));
    CPathyDialog dialog(record, kNewPlot);
    QVERIFY2(dialog.sizeHint().width() < 600,
             qPrintable(QString::number(dialog.sizeHint().width())));
    const QString shown = dialog.findChild<QLabel*>(QStringLiteral("usePart"))->text();
    QVERIFY2(shown.startsWith(QStringLiteral("Use a part of sp|P99999|LONG_HUMAN 100%2 x")),
             qPrintable(shown));
    QVERIFY2(shown.endsWith(QStringLiteral("\u2026 (50 aa)")), qPrintable(shown));
}

void CPathyDialogTest::topologyIsAnOptionOffUnlessTheRequestAsks()
{
    for (const bool asked : {false, true}) {
        PendingPlotRequest request{1, 50, 11, 1.6};
        request.topology = asked;
        DialogOn on(request);
        auto* topology = on.dialog->findChild<QCheckBox*>(QStringLiteral("topology"));
        QVERIFY(topology != nullptr);
        QCOMPARE(topology->isChecked(), asked);
        QTest::mouseClick(topology, Qt::LeftButton);
        on.dialog->accept();
        QCOMPARE(on.dialog->result(), int(QDialog::Accepted));
        QCOMPARE(on.dialog->Request().topology, !asked);
        QCOMPARE(on.dialog->Request().window, 11);
    }
}

QTEST_MAIN(CPathyDialogTest)
#include "CPathyDialogTest.moc"
