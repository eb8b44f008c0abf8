#include "core/CommandIds.h"
#include "core/ui/Printing.h"
#include "core/ui/UiTestSupport.h"
#include "plots/ui/CMarkDialog.h"
#include "plots/ui/CSchemeView.h"
#include "plots/ui/CSketchDialog.h"
#include "plots/ui/CSketchDomainDialog.h"
#include "plots/ui/PlotDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace quorin;
using namespace quorin::plots;
using namespace quorin::plots::ui;

namespace {

namespace cmd = core::cmd;

core::DOMAINE domain(int start, int end, const std::string& name)
{
    core::DOMAINE made;
    made.start = static_cast<std::uint16_t>(start);
    made.end = static_cast<std::uint16_t>(end);
    made.name = name;
    made.font = core::ReportFontA();
    made.displayName = 1;
    made.colour = 0x00FFFF;
    return made;
}

/// 100 residues at scale 2 with domains core 10..60, tail 40..90 and tiny
/// 30..35, a mark at 80 and a text item over the left end of core, shown in
/// a view; dialogs answered by fill.
class SketchWindow
{
public:
    SketchWindow()
    {
        record.SetName("demo");
        record.SetSequence(std::string(100, 'K'));
        record.sketch.scale = 2.0;
        record.sketch.labelMarks = 1;
        record.sketch.domains = {domain(10, 60, "core"), domain(40, 90, "tail"),
                                 domain(30, 35, "tiny")};
        core::MARK mark;
        mark.position = 80;
        mark.font = core::ReportFontA();
        record.sketch.marks = {mark};
        core::TEXTITEM item;
        item.x = 62;
        item.y = 95;
        item.text = "note";
        item.font = core::ReportFontA();
        record.sketch.texts = {item};
        document = std::make_unique<CSchemeDoc>(record, 1);
        view = std::make_unique<CSchemeView>(*document);
        view->resize(700, 420);
        view->show();
        Choosers().run = [this](QDialog& dialog) {
            if (fill) {
                fill(dialog);
            }
            return dialog.result();
        };
    }
    ~SketchWindow() { Choosers() = StandardChoosers(); }
    SketchWindow(const SketchWindow&) = delete;
    SketchWindow& operator=(const SketchWindow&) = delete;

    bool enabled(int id)
    {
        const auto state = view->CommandStateOf(id);
        return state && state->enabled;
    }
    void click(QPoint at) { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at); }

    core::PropertyRecord record;
    std::unique_ptr<CSchemeDoc> document;
    std::unique_ptr<CSchemeView> view;
    test::MessageRecorder messages;
    std::function<void(QDialog&)> fill;
};

QLineEdit* edit(QWidget& dialog, const char* name)
{
    return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

} // namespace

class SketchViewTest : public QObject
{
    Q_OBJECT

private slots:
    void structureDialogChecksTheScaleAndEditsTheListInPlace();
    void domainDialogRefusesWithTheOffendingFieldSelected();
    void clicksSelectTextThenDomainThenMarkAndDeleteRemovesIt();
    void printingDrawsTheTitleAndTheNames();
    void addPredictedTopologyAppendsTheHelicesOnceFromTheWindowsSequence();
};

void SketchViewTest::structureDialogChecksTheScaleAndEditsTheListInPlace()
{
    SketchWindow window;
    std::vector<core::DOMAINE>& domains = window.record.sketch.domains;
    CSketchDialog dialog(domains, 2.0, 100);
    dialog.show();
    QLineEdit* scale = edit(dialog, "scale");
    QCOMPARE(scale->text(), QStringLiteral("2"));
    QCOMPARE(edit(dialog, "start")->text(), QStringLiteral("10"));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("displayCaption"))->text(),
             QStringLiteral("Name will be displayed."));

    scale->setText(QStringLiteral("1,5"));
    dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    QCOMPARE(window.messages.LastText(), QStringLiteral("Enter a valid scaling value!"));
    QCOMPARE(window.messages.Requests().last().caption, QStringLiteral("Error"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(scale));
    QCOMPARE(scale->selectedText(), QStringLiteral("1,5"));
    dialog.findChild<QPushButton*>(QStringLiteral("default"))->click();
    QCOMPARE(scale->text(), QStringLiteral("2"));

    // Delete acts at once; the next domain is shown.
    dialog.findChild<QListWidget*>(QStringLiteral("domains"))->setCurrentRow(1);
    dialog.findChild<QPushButton*>(QStringLiteral("delete"))->click();
    QCOMPARE(domains.size(), std::size_t(2));
    QCOMPARE(domains[1].name, std::string("tiny"));
    QCOMPARE(edit(dialog, "end")->text(), QStringLiteral("35"));
    dialog.reject();
    QCOMPARE(domains.size(), std::size_t(2));

    // From the window: an empty scale is 0 and draws no box, and says nothing.
    window.fill = [](QDialog& shown) {
        edit(shown, "scale")->clear();
        shown.accept();
    };
    window.messages.Clear();
    QVERIFY(window.view->OnCommand(cmd::kModifySketch));
    QCOMPARE(window.record.sketch.scale, 0.0);
    QVERIFY(window.messages.Requests().isEmpty());
    window.view->viewport()->grab();
    QCOMPARE(window.document->DomainAt(QPoint(100, 100)), -1);
}

void SketchViewTest::domainDialogRefusesWithTheOffendingFieldSelected()
{
    SketchWindow window;
    struct Row
    {
        const char* what;
        QString name, start, end, message;
        const char* field;
    };
    const Row rows[] = {
        {"another domain's name", "tail", "10", "60", "Name already in use!", "name"},
        {"start equal to end", "core", "60", "60", "Start must be smaller than End!", "start"},
        {"past 16 bits", "core", "10", "65536", "Enter a valid sequence position!", "end"},
        {"empty name", "", "10", "60", "", "name"},
    };
    for (const Row& row : rows) {
        window.messages.Clear();
        CSketchDomainDialog dialog(window.record.sketch.domains, 0, 100);
        dialog.show();
        edit(dialog, "name")->setText(row.name);
        edit(dialog, "start")->setText(row.start);
        edit(dialog, "end")->setText(row.end);
        dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        QVERIFY2(dialog.result() != QDialog::Accepted, row.what);
        QCOMPARE(window.messages.LastText(), row.message);
        QLineEdit* field = edit(dialog, row.field);
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(field));
        QCOMPARE(field->selectedText(), field->text());
    }

    // Its own name is no clash; OK overwrites the domain in the window.
    window.fill = [](QDialog& dialog) {
        QCOMPARE(edit(dialog, "name")->text(), QStringLiteral("core"));
        edit(dialog, "end")->setText(QStringLiteral("65"));
        dialog.accept();
    };
    window.click(QPoint(80, 92));
    QCOMPARE(window.document->SelectedDomain(), 0);
    QVERIFY(window.view->OnCommand(cmd::kDomainProperties));
    QCOMPARE(window.record.sketch.domains[0].end, 65);
    QVERIFY(window.messages.Requests().isEmpty());
}

void SketchViewTest::clicksSelectTextThenDomainThenMarkAndDeleteRemovesIt()
{
    SketchWindow window;
    CSchemeDoc& document = *window.document;
    QVERIFY(!window.enabled(cmd::kDeleteSketchItem));
    QVERIFY(!window.enabled(cmd::kDomainProperties));
    // The text item lies over core's box and wins; where core, tail and tiny
    // overlap, the box painted last is chosen. Left clicks, then right clicks,
    // select alike; the context menu follows the item.
    const struct
    {
        QPoint at;
        int text, domain, mark, menu;
    } rows[] = {
        {{64, 100}, 0, -1, -1, cmd::kTextProperties},
        {{110, 100}, -1, 2, -1, cmd::kDomainProperties},
        {{130, 100}, -1, 1, -1, cmd::kDomainProperties},
        {{40 + 80 * 2, 80}, -1, -1, 0, cmd::kMarkProperties},
        {{600, 300}, -1, -1, -1, cmd::kModifySketch},
    };
    for (const bool right : {false, true}) {
        for (const auto& row : rows) {
            const QByteArray at = QByteArray::number(row.at.x()) + (right ? " right" : " left");
            if (right) {
                QCOMPARE(window.view->ContextMenuAt(row.at).front().id, row.menu);
            } else {
                window.click(row.at);
            }
            QVERIFY2(document.Selection().SelectedText() == row.text, at);
            QVERIFY2(document.SelectedDomain() == row.domain, at);
            QVERIFY2(document.Selection().SelectedMark() == row.mark, at);
            QVERIFY2(window.enabled(cmd::kDeleteSketchItem) == document.HasSelection(), at);
            QVERIFY2(window.enabled(cmd::kDomainProperties) == (row.domain >= 0), at);
        }
    }

    // Delete takes the selected item only and keeps the others in order.
    window.click(QPoint(130, 100));
    QTest::keyClick(window.view.get(), Qt::Key_Delete);
    const auto& sketch = window.record.sketch;
    QCOMPARE(sketch.domains.size(), std::size_t(2));
    QCOMPARE(sketch.domains[0].name + sketch.domains[1].name, std::string("coretiny"));
    QCOMPARE(sketch.marks.size() + sketch.texts.size(), std::size_t(2));
    QVERIFY(!window.enabled(cmd::kDeleteSketchItem));
    window.click(QPoint(64, 100));
    QVERIFY(window.view->OnCommand(cmd::kDeleteSketchItem));
    QVERIFY(sketch.texts.empty());
    QCOMPARE(sketch.domains.size(), std::size_t(2));

    // The mark's properties refuse a position past 16 bits, never wrapped.
    window.view->ContextMenuAt(QPoint(200, 80));
    QVERIFY(window.enabled(cmd::kMarkProperties));
    window.fill = [](QDialog& dialog) {
        QVERIFY(qobject_cast<CMarkDialog*>(&dialog) != nullptr);
        edit(dialog, "position")->setText(QStringLiteral("65536"));
        dialog.accept();
        QVERIFY(dialog.result() != QDialog::Accepted);
        edit(dialog, "position")->setText(QStringLiteral("70"));
        dialog.accept();
    };
    QVERIFY(window.view->OnCommand(cmd::kMarkProperties));
    QCOMPARE(window.messages.LastText(), QStringLiteral("Enter a valid sequence position!"));
    QCOMPARE(sketch.marks[0].position, 70);
}

void SketchViewTest::printingDrawsTheTitleAndTheNames()
{
    SketchWindow window;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sketch.pdf"));
    QString job;
    auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    });
    QVERIFY(window.view->OnCommand(cmd::kPrint));
    core::ui::SetPrinterChooser(std::move(previous));
    QVERIFY(window.messages.Requests().isEmpty());
    const QString printed = test::PdfText(path);
    QVERIFY(printed.contains(QStringLiteral("Sketch of domains of demo")));
    QVERIFY(printed.contains(QString(25, QLatin1Char('*'))));
    for (const char* name : {"core", "tail", "tiny", "note", "K80"}) {
        QVERIFY2(printed.contains(QString::fromLatin1(name)), name);
    }
    QCOMPARE(window.document->PrintJobName(), QStringLiteral("Sketch of Domains"));
}

void SketchViewTest::addPredictedTopologyAppendsTheHelicesOnceFromTheWindowsSequence()
{
    // Without a sequence the command is off.
    {
        std::vector<core::DOMAINE> domains;
        CSketchDialog dialog(domains, 2.0, 100);
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("addTopology"))->isEnabled());
    }
    SketchWindow window;
    // A sequence whose one hydrophobic stretch (45..66) between charged loops is
    // a helix.
    window.record.SetSequence("MSKRKKGSKRRPSGKKRSAKRQSEKPSNGRTEKKSDRPQSPKRN" +
                              std::string(22, 'L') + "DGSENGTDSGSEDSTNGSQESGDNST");
    const std::size_t before = window.record.sketch.domains.size();
    int shownRow = -1;
    window.fill = [&shownRow](QDialog& shown) {
        auto* add = shown.findChild<QPushButton*>(QStringLiteral("addTopology"));
        QTest::mouseClick(add, Qt::LeftButton);
        QTest::mouseClick(add, Qt::LeftButton);
        shownRow = shown.findChild<QListWidget*>(QStringLiteral("domains"))->currentRow();
        shown.accept();
    };
    QVERIFY(window.view->OnCommand(cmd::kModifySketch));
    const auto& domains = window.record.sketch.domains;
    QCOMPARE(domains.size(), before + 1);
    QCOMPARE(domains.back().name, std::string("TM 1"));
    QCOMPARE(int(domains.back().start), 45);
    QCOMPARE(int(domains.back().end), 66);
    QCOMPARE(shownRow, int(domains.size()) - 1);
}

QTEST_MAIN(SketchViewTest)
#include "SketchViewTest.moc"
