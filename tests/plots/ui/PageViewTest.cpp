#include "core/CommandIds.h"
#include "core/ui/Printing.h"
#include "core/ui/UiTestSupport.h"
#include "plots/DemoPlot.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CMarkDialog.h"
#include "plots/ui/CPathyView.h"
#include "plots/ui/CTextDialog.h"
#include "plots/ui/PageOutput.h"
#include "plots/ui/PlotDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace quorin;
using namespace quorin::plots;
using namespace quorin::plots::ui;

namespace {

/// A hydropathy plot of the demo sequence (1..50, window 1) in a view, with
/// the message boxes and dialogs answered by the test.
class PlotWindow
{
public:
    PlotWindow()
    {
        test::FillDemoRecord(record);
        document = std::make_unique<CPathyDoc>(record, PendingPlotRequest{1, 50, 1, 1.6}, 1);
        view = std::make_unique<CPathyView>(*document);
        view->resize(700, 420);
        view->show();
        Choosers().run = [this](QDialog& dialog) {
            if (fill) {
                fill(dialog);
            }
            return dialog.result();
        };
        paint();
    }
    ~PlotWindow() { Choosers() = StandardChoosers(); }
    PlotWindow(const PlotWindow&) = delete;
    PlotWindow& operator=(const PlotWindow&) = delete;

    /// Draws the view once.
    void paint() { view->viewport()->grab(); }

    QWidget* viewport() const { return view->viewport(); }

    void press(QPoint at) { QTest::mousePress(viewport(), Qt::LeftButton, {}, at); }
    void release(QPoint at) { QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at); }
    void hover(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
    }
    void dragTo(QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, at, viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
    }

    std::vector<core::TEXTITEM>& texts() { return record.plots.pathy.texts; }
    std::vector<core::MARK>& marks() { return record.plots.pathy.marks; }

    core::PropertyRecord record;
    std::unique_ptr<CPathyDoc> document;
    std::unique_ptr<CPathyView> view;
    test::MessageRecorder messages;
    test::FileDialogAnswers files;
    std::function<void(QDialog&)> fill;
};

/// Types text into the text dialog and presses OK.
std::function<void(QDialog&)> typeText(const QString& text)
{
    return [text](QDialog& dialog) {
        dialog.findChild<QPlainTextEdit*>(QStringLiteral("text"))->setPlainText(text);
        dialog.accept();
    };
}

QPoint markArrow(int position)
{
    return QPoint(static_cast<int>(40 + (position - 1) * 590.0 / 49), 100);
}

} // namespace

class PageViewTest : public QObject
{
    Q_OBJECT

private slots:
    void creationTakesTheRequestAndTheLegend();
    void modeCommandsAreExclusiveAndShowTheirCursor();
    void markDialogChecksThePosition_data();
    void markDialogChecksThePosition();
    void textItemsAreSelectedDraggedAndDeleted();
    void insertTextModeAddsAnItemWhereClicked();
    void doubleClickEditsTextItemsAndMarks();
    void deleteKeyDeletesTheSelectedMark();
    void saveMetafileAsksBeforeOverwriting();
    void printingDrawsTheTitleTheScreenDoesNotShow();
    void draggingAlongTheChartZooms();
    void wheelModeOpensAWheelUnlessFiveAreOpen();
    void pageCommandsFollowMarksAndSelection();
    void contextMenusFollowWhatIsUnderThePointer();
    void exportWritesTheCurveAfterTheDelimiter();
    void aStretchThatNoLongerFitsAsksBeforeDrawing();
    void theProfileIsComputedOncePerChange();
    void copyPutsThePageOnTheClipboard();
};

void PageViewTest::creationTakesTheRequestAndTheLegend()
{
    PlotWindow window;
    const core::HydropathyPlotSettings& settings = window.record.plots.pathy;
    QCOMPARE(settings.from, 1);
    QCOMPARE(settings.to, 50);
    QCOMPARE(settings.window, 1);
    QCOMPARE(settings.threshold, 1.6);
    QCOMPARE(settings.labelMarks, std::uint8_t{1});
    QCOMPARE(settings.helixDisplay, 1);
    QCOMPARE(window.texts().size(), std::size_t{4});
    QCOMPARE(window.texts()[2].text, std::string("W = 1"));
    QCOMPARE(window.view->windowTitle(),
             QStringLiteral("Hydropathy Plot of residues 1-50 of demo"));

    window.document->ResizeToFull();
    window.record.plots.pathy.from = 11;
    window.document->Changed();
    QCOMPARE(window.view->windowTitle(),
             QStringLiteral("Hydropathy Plot of residues 11-50 of demo"));
}

void PageViewTest::modeCommandsAreExclusiveAndShowTheirCursor()
{
    PlotWindow window;
    QCOMPARE(window.view->EditMode(), PageView::Mode::Select);
    QVERIFY(window.view->ModeAction(PageView::Mode::Select)->isChecked());
    window.view->ModeAction(PageView::Mode::InsertText)->trigger();
    QCOMPARE(window.view->EditMode(), PageView::Mode::InsertText);
    QVERIFY(!window.view->ModeAction(PageView::Mode::Select)->isChecked());
    QCOMPARE(window.viewport()->cursor().shape(), Qt::IBeamCursor);
    window.view->ModeAction(PageView::Mode::HelicalWheel)->trigger();
    QVERIFY(window.viewport()->cursor().shape() != Qt::ArrowCursor);
    QVERIFY(window.viewport()->cursor().shape() != Qt::IBeamCursor);
    window.view->SetEditMode(PageView::Mode::Select);
    QVERIFY(window.view->ModeAction(PageView::Mode::Select)->isChecked());
    QCOMPARE(window.viewport()->cursor().shape(), Qt::ArrowCursor);
}

void PageViewTest::markDialogChecksThePosition_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("added");
    QTest::newRow("position") << "27" << false << 27;
    QTest::newRow("last residue") << "50" << false << 50;
    QTest::newRow("past the end") << "51" << true << 0;
    QTest::newRow("letters") << "K27" << true << 0;
    QTest::newRow("sign") << "-3" << true << 0;
    QTest::newRow("zero adds nothing") << "0" << false << 0;
    QTest::newRow("empty adds nothing") << "" << false << 0;
}

void PageViewTest::markDialogChecksThePosition()
{
    QFETCH(QString, typed);
    QFETCH(bool, refused);
    QFETCH(int, added);
    PlotWindow window;
    core::MARK earlier;
    earlier.position = 3;
    earlier.lineColour = 0x00FF00;
    earlier.labelColour = 0xFF0000;
    earlier.font = core::ReportFontB();
    window.marks().push_back(earlier);

    QString selected;
    window.fill = [&selected, typed](QDialog& dialog) {
        auto* position = dialog.findChild<QLineEdit*>(QStringLiteral("position"));
        QVERIFY(position->text().isEmpty());
        position->setText(typed);
        dialog.accept();
        selected = position->selectedText();
    };
    window.view->AddMarkWithDialog();
    if (refused) {
        QCOMPARE(window.messages.Requests().size(), 1);
        QCOMPARE(window.messages.LastText(), QStringLiteral("Enter a valid sequence position!"));
        QCOMPARE(window.messages.Requests()[0].caption, QStringLiteral("Error"));
        QCOMPARE(selected, typed); // the field's text is selected again
    } else {
        QVERIFY(window.messages.Requests().isEmpty());
    }
    QCOMPARE(window.marks().size(), added != 0 ? std::size_t{2} : std::size_t{1});
    if (added != 0) {
        const core::MARK& mark = window.marks().back();
        QCOMPARE(int{mark.position}, added);
        // A new mark looks like the last one.
        QCOMPARE(mark.lineColour, 0x00FF00u);
        QCOMPARE(mark.labelColour, 0xFF0000u);
        QVERIFY(mark.font == core::ReportFontB());
    }
}

void PageViewTest::textItemsAreSelectedDraggedAndDeleted()
{
    PlotWindow window;
    const QPoint onGravy(45, 20); // the first legend item at (40, 14)
    window.press(onGravy);
    QCOMPARE(window.document->Selection().SelectedText(), 0);
    QCOMPARE(window.texts()[0].selected, std::uint8_t{1});
    QCOMPARE(window.viewport()->cursor().shape(), Qt::SizeAllCursor);
    window.dragTo(onGravy + QPoint(100, 200));
    window.release(onGravy + QPoint(100, 200));
    QCOMPARE(window.texts()[0].x, 140);
    QCOMPARE(window.texts()[0].y, 214);
    QCOMPARE(window.texts()[0].legend, std::uint8_t{0}); // keeps its text from now on
    QCOMPARE(window.viewport()->cursor().shape(), Qt::ArrowCursor);

    // A click on nothing clears the selection; Delete then does nothing.
    window.paint();
    window.press(QPoint(600, 340));
    window.release(QPoint(600, 340));
    QVERIFY(!window.document->Selection().HasSelection());
    QTest::keyClick(window.view.get(), Qt::Key_Delete);
    QCOMPARE(window.texts().size(), std::size_t{4});

    window.press(QPoint(145, 220));
    window.release(QPoint(145, 220));
    QTest::keyClick(window.view.get(), Qt::Key_Delete);
    QCOMPARE(window.texts().size(), std::size_t{3});
    QVERIFY(window.texts()[0].text.rfind("Scale: ", 0) == 0);
}

void PageViewTest::insertTextModeAddsAnItemWhereClicked()
{
    PlotWindow window;
    window.view->SetEditMode(PageView::Mode::InsertText);
    window.fill = typeText(QStringLiteral("hello\nworld"));
    window.press(QPoint(300, 30));
    QCOMPARE(window.texts().size(), std::size_t{5});
    const core::TEXTITEM& item = window.texts().back();
    QCOMPARE(item.text, std::string("hello\r\nworld"));
    QCOMPARE(item.x, 300);
    QCOMPARE(item.y, 30);
    QCOMPARE(item.legend, std::uint8_t{0});
    QVERIFY(item.font == core::ReportFontA());

    // Cancel adds nothing.
    window.fill = [](QDialog& dialog) { dialog.reject(); };
    window.press(QPoint(300, 60));
    QCOMPARE(window.texts().size(), std::size_t{5});
}

void PageViewTest::doubleClickEditsTextItemsAndMarks()
{
    PlotWindow window;
    window.fill = typeText(QStringLiteral("my scale"));
    QTest::mouseDClick(window.viewport(), Qt::LeftButton, {}, QPoint(45, 40));
    QCOMPARE(window.texts()[1].text, std::string("my scale"));
    QCOMPARE(window.texts()[1].legend, std::uint8_t{0});

    core::MARK mark = NewMarkDefaults({});
    mark.position = 27;
    window.marks().push_back(mark);
    window.document->Changed();
    window.fill = [](QDialog& dialog) {
        auto* position = dialog.findChild<QLineEdit*>(QStringLiteral("position"));
        QCOMPARE(position->text(), QStringLiteral("27"));
        position->setText(QStringLiteral("30"));
        dialog.accept();
    };
    QTest::mouseDClick(window.viewport(), Qt::LeftButton, {}, markArrow(27));
    QCOMPARE(window.marks().size(), std::size_t{1});
    QCOMPARE(int{window.marks()[0].position}, 30);
}

void PageViewTest::deleteKeyDeletesTheSelectedMark()
{
    PlotWindow window;
    for (const std::uint16_t position : {std::uint16_t{20}, std::uint16_t{27}}) {
        core::MARK mark = NewMarkDefaults({});
        mark.position = position;
        window.marks().push_back(mark);
    }
    window.document->Changed();
    window.press(markArrow(27));
    window.release(markArrow(27));
    QCOMPARE(window.document->Selection().SelectedMark(), 1);
    QTest::keyClick(window.view.get(), Qt::Key_Delete);
    QCOMPARE(window.marks().size(), std::size_t{1});
    QCOMPARE(int{window.marks()[0].position}, 20);

    window.document->DeleteAllMarks();
    QVERIFY(window.marks().empty());
}

void PageViewTest::saveMetafileAsksBeforeOverwriting()
{
    PlotWindow window;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.emf"));
    test::WriteBytes(path, "old");
    window.files.Answer(path);
    window.messages.Answer(core::ui::MessageAnswer::No);
    QVERIFY(window.view->OnCommand(core::cmd::kSaveMetafile));
    const core::ui::FileDialogRequest& asked = window.files.Requests().last();
    QCOMPARE(asked.title, QStringLiteral("Save As Metafile"));
    QCOMPARE(asked.filters, QStringList{QStringLiteral("Enhanced Metafile (*.emf)")});
    QCOMPARE(asked.fileName, QStringLiteral("*.emf"));
    QVERIFY(!asked.confirmOverwrite); // the page asks, once
    QCOMPARE(window.messages.Requests().size(), 1);
    QCOMPARE(window.messages.LastText(), QStringLiteral("File exists. Overwrite?"));
    QCOMPARE(window.messages.Requests()[0].buttons, core::ui::MessageButtons::YesNo);
    QCOMPARE(test::ReadBytes(path), QByteArray("old"));

    window.files.Answer(path);
    window.messages.Answer(core::ui::MessageAnswer::Yes);
    window.view->SaveMetafile();
    const QByteArray bytes = test::ReadBytes(path);
    QCOMPARE(bytes.mid(40, 4), QByteArray(" EMF"));
    const QString description =
        QStringLiteral("Quorin/Vestrin") + QChar(0) + QStringLiteral("Hydropathy Plot") + QChar(0);
    QVERIFY(bytes.contains(
        QByteArray(reinterpret_cast<const char*>(description.utf16()), description.size() * 2)));

    // Cancelling the file dialog writes nothing and asks nothing.
    window.files.Cancel();
    window.messages.Clear();
    window.view->SaveMetafile();
    QVERIFY(window.messages.Requests().isEmpty());

    // A folder that cannot be written is reported; nothing is left behind.
    window.files.Answer(dir.filePath(QStringLiteral("missing/page.emf")));
    window.view->SaveMetafile();
    QCOMPARE(window.messages.Requests().size(), 1);
    QVERIFY(window.messages.LastText().startsWith(QStringLiteral("Cannot save the file ")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing"))));
}

void PageViewTest::printingDrawsTheTitleTheScreenDoesNotShow()
{
    PlotWindow window;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    QString output = path;
    int asked = 0;
    auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        return !output.isEmpty();
    });
    QVERIFY(window.view->OnCommand(core::cmd::kPrint));
    QCOMPARE(asked, 1);
    QVERIFY(window.messages.Requests().isEmpty());
    const QString printed = test::PdfText(path);
    const QString title = QStringLiteral("Hydropathy Plot of Residues 1-50 of demo");
    QVERIFY(printed.contains(title));
    QVERIFY(printed.contains(QString(title.size(), QLatin1Char('*'))));
    QVERIFY(!printed.contains(QString(title.size() + 1, QLatin1Char('*'))));
    QVERIFY(printed.contains(QStringLiteral("Residue Number")));
    QVERIFY(printed.contains(QStringLiteral("Mean Hydropathy (GRAVY) =")));

    // The same page on screen has neither the title nor its underline.
    const QByteArray screen = RenderPage(window.document->Source(), OutputFormat::Svg, false);
    QVERIFY(screen.contains("Residue Number"));
    QVERIFY(!screen.contains("Hydropathy Plot of Residues"));
    QVERIFY(!screen.contains("***"));

    // Cancel in the print dialog prints nothing; a printer that cannot be
    // opened is reported.
    QFile::remove(path);
    output.clear();
    window.view->Print();
    QVERIFY(!QFile::exists(path));
    QVERIFY(window.messages.Requests().isEmpty());
    output = dir.filePath(QStringLiteral("missing/printed.pdf"));
    window.view->Print();
    QCOMPARE(window.messages.LastText(), QStringLiteral("The page could not be printed."));
    core::ui::SetPrinterChooser(std::move(previous));
}

void PageViewTest::draggingAlongTheChartZooms()
{
    PlotWindow window;
    const auto xOf = [](int residue, int from, int to) {
        return static_cast<int>(40 + (residue - from) * 590.0 / (to - from));
    };
    const core::HydropathyPlotSettings& settings = window.record.plots.pathy;

    window.hover(QPoint(xOf(27, 1, 50), 150));
    QCOMPARE(window.view->StatusText(), QStringLiteral("Position: 27"));

    window.press(QPoint(xOf(30, 1, 50), 200));
    window.dragTo(QPoint(xOf(10, 1, 50), 250));
    QCOMPARE(window.view->StatusText(), QStringLiteral("Position: 30 - 10"));
    QCOMPARE(window.view->RubberBand(),
             QRect(QPoint(xOf(10, 1, 50), 90), QPoint(xOf(30, 1, 50), 290)));
    window.release(QPoint(xOf(10, 1, 50), 250));
    QCOMPARE(settings.from, 10);
    QCOMPARE(settings.to, 30);
    QVERIFY(window.view->RubberBand().isNull());
    QCOMPARE(window.view->windowTitle(),
             QStringLiteral("Hydropathy Plot of residues 10-30 of demo"));

    // A click without movement changes nothing.
    window.paint();
    window.press(QPoint(300, 200));
    window.release(QPoint(300, 200));
    QCOMPARE(settings.from, 10);
    QCOMPARE(settings.to, 30);

    // Beyond the frame the pointer counts as at its edge.
    window.press(QPoint(2, 200));
    window.dragTo(QPoint(xOf(20, 10, 30), 200));
    QCOMPARE(window.view->StatusText(), QStringLiteral("Position: 10 - 20"));
    window.release(QPoint(xOf(20, 10, 30), 200));
    QCOMPARE(settings.from, 10);
    QCOMPARE(settings.to, 20);
}

void PageViewTest::wheelModeOpensAWheelUnlessFiveAreOpen()
{
    PlotWindow window;
    int open = 5;
    QList<QPair<int, int>> opened;
    window.view->SetWheelHooks({[&open] { return open; },
                                [&opened](int from, int to) {
                                    opened.append({from, to});
                                }});
    QVERIFY(window.view->OnCommand(core::cmd::kSelectionAsWheel));
    QCOMPARE(window.view->EditMode(), PageView::Mode::HelicalWheel);
    const QPoint from(static_cast<int>(40 + 11 * 590.0 / 49), 200);
    const QPoint to(static_cast<int>(40 + 28 * 590.0 / 49), 200);
    const auto select = [&] {
        window.press(to);
        window.dragTo(from);
        window.release(from);
    };
    select();
    QVERIFY(opened.isEmpty());
    QCOMPARE(window.messages.LastText(), QStringLiteral("Only 5 Helical Wheels may be displayed!"));
    QCOMPARE(window.messages.Requests().last().caption, QStringLiteral("Note"));

    open = 4;
    window.messages.Clear();
    select();
    QCOMPARE(opened, (QList<QPair<int, int>>{{12, 29}}));
    QVERIFY(window.messages.Requests().isEmpty());
    // The wheel mode does not zoom.
    QCOMPARE(window.record.plots.pathy.from, 1);
    QCOMPARE(window.record.plots.pathy.to, 50);
}

void PageViewTest::pageCommandsFollowMarksAndSelection()
{
    PlotWindow window;
    CPathyView& view = *window.view;
    const auto state = [&view](int id) {
        const auto s = view.CommandStateOf(id);
        return s ? QStringLiteral("%1%2%3")
                       .arg(s->enabled ? QStringLiteral("on") : QStringLiteral("off"))
                       .arg(s->checkable ? QStringLiteral(" check") : QString())
                       .arg(s->checked ? QStringLiteral("ed") : QString())
                 : QStringLiteral("none");
    };
    namespace cmd = core::cmd;
    // (The menus of the plot window show the other states.)
    QCOMPARE(state(cmd::kDeleteSketchItem), QStringLiteral("off"));
    QCOMPARE(state(cmd::kTextProperties), QStringLiteral("off"));
    QCOMPARE(state(cmd::kMarkProperties), QStringLiteral("off"));
    QCOMPARE(state(cmd::kSave), QStringLiteral("none"));

    QVERIFY(view.OnCommand(cmd::kTransmembrane));
    QCOMPARE(window.record.plots.pathy.helixDisplay, 0);

    window.fill = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("position"))->setText(QStringLiteral("27"));
        dialog.accept();
    };
    QVERIFY(view.OnCommand(cmd::kMarkPositions));
    QCOMPARE(window.marks().size(), std::size_t{1});
    QVERIFY(view.OnCommand(cmd::kNumbersOrLabels));
    QCOMPARE(window.record.plots.pathy.labelMarks, std::uint8_t{0});

    window.press(QPoint(45, 40)); // the scale's legend line
    window.release(QPoint(45, 40));
    QCOMPARE(state(cmd::kDeleteSketchItem), QStringLiteral("on"));
    QCOMPARE(state(cmd::kTextProperties), QStringLiteral("on"));
    window.fill = typeText(QStringLiteral("edited"));
    QVERIFY(view.OnCommand(cmd::kTextProperties));
    QCOMPARE(window.texts()[1].text, std::string("edited"));
    QVERIFY(view.OnCommand(cmd::kDeleteSketchItem));
    QCOMPARE(window.texts().size(), std::size_t{3});
    QCOMPARE(state(cmd::kDeleteSketchItem), QStringLiteral("off"));

    QVERIFY(view.OnCommand(cmd::kDeleteAllMarks));
    QVERIFY(window.marks().empty());

    window.record.plots.pathy.from = 11;
    window.record.plots.pathy.to = 20;
    QVERIFY(view.OnCommand(cmd::kResizeTo100));
    QCOMPARE(window.record.plots.pathy.from, 1);
    QCOMPARE(window.record.plots.pathy.to, 50);
}

void PageViewTest::contextMenusFollowWhatIsUnderThePointer()
{
    PlotWindow window;
    core::MARK mark = NewMarkDefaults({});
    mark.position = 27;
    window.marks().push_back(mark);
    window.document->Changed();
    const auto texts = [](const std::vector<PageView::ContextEntry>& entries) {
        QStringList shown;
        for (const auto& entry : entries) {
            shown << (entry.id == 0 ? QStringLiteral("---") : entry.text);
        }
        return shown.join(QStringLiteral(" | "));
    };
    QCOMPARE(texts(window.view->ContextMenuAt(QPoint(45, 20))),
             QStringLiteral("&Text Properties... | &Delete | --- | &Copy All"));
    QCOMPARE(window.document->Selection().SelectedText(), 0);
    QCOMPARE(texts(window.view->ContextMenuAt(markArrow(27))),
             QStringLiteral("&Mark Properties... | &Delete | &Delete All Marks | &Label Marks | "
                            "--- | &Copy All"));
    QCOMPARE(window.document->Selection().SelectedMark(), 0);
    QCOMPARE(texts(window.view->ContextMenuAt(QPoint(300, 200))),
             QStringLiteral("&Resize to 100% | &Modify displayed part of sequence... | --- | "
                            "&Mark Positions... | &Delete All Marks | --- | &Select Objects | "
                            "Display Selection as Helical &Wheel | &Insert Text... | --- | "
                            "&Copy All"));
    QVERIFY(!window.document->Selection().HasSelection());

    // A right click shows the menu; its first entry resizes the page.
    window.record.plots.pathy.from = 5;
    window.document->Changed();
    test::ModalAnswer menu([](QWidget& popup) {
        QTest::keyClick(&popup, Qt::Key_Down);
        QTest::keyClick(&popup, Qt::Key_Return);
    });
    QTest::mousePress(window.viewport(), Qt::RightButton, {}, QPoint(300, 200));
    QVERIFY(menu.Answered());
    QCOMPARE(window.record.plots.pathy.from, 1);
}

void PageViewTest::exportWritesTheCurveAfterTheDelimiter()
{
    PlotWindow window;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("values.txt"));
    test::WriteBytes(path, "kept");

    // Cancelling the delimiter leaves the file that was there as it was.
    window.files.Answer(path);
    window.fill = [](QDialog& dialog) { dialog.reject(); };
    QVERIFY(window.view->OnCommand(core::cmd::kExportHydropathy));
    const core::ui::FileDialogRequest& asked = window.files.Requests().last();
    QCOMPARE(asked.title, QStringLiteral("Export hydropythy values"));
    QCOMPARE(asked.filters,
             (QStringList{QStringLiteral("All (*.*)"), QStringLiteral("Text (*.TXT)")}));
    QCOMPARE(asked.fileName, QStringLiteral("*.txt"));
    QCOMPARE(window.messages.LastText(), QStringLiteral("File exists. Overwrite?"));
    QCOMPARE(test::ReadBytes(path), QByteArray("kept"));

    // No to the question ends the command before the delimiter.
    bool delimiterAsked = false;
    window.fill = [&delimiterAsked](QDialog& dialog) {
        delimiterAsked = true;
        dialog.reject();
    };
    window.files.Answer(path);
    window.messages.Answer(core::ui::MessageAnswer::No);
    window.view->OnCommand(core::cmd::kExportHydropathy);
    QVERIFY(!delimiterAsked);
    QCOMPARE(test::ReadBytes(path), QByteArray("kept"));

    // ";" from the list.
    window.fill = [](QDialog& dialog) {
        auto* other = dialog.findChild<QLineEdit*>(QStringLiteral("otherDelimiter"));
        QVERIFY(!other->isEnabled());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Choose Delimiter!"));
        for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
            if (button->text() == QStringLiteral(";")) {
                button->setChecked(true);
            }
        }
        dialog.accept();
    };
    window.files.Answer(path);
    window.view->OnCommand(core::cmd::kExportHydropathy);
    const QByteArray written = test::ReadBytes(path);
    QVERIFY(written.startsWith("Hydropathyplot of demo\r\n\r\nScale:  Kyte and Doolittle (1982);"
                               "    W = 1\r\n\r\nResidue / Hydropathyvalue\r\n\r\n1;-3.9\r\n"
                               "2;-3.9\r\n"));
    QVERIFY(written.endsWith("\r\n50;-3.9\r\n"));
    QCOMPARE(written.count("\r\n"), 6 + 50);

    // "other" with an empty field keeps the dialog open; its text is taken.
    window.fill = [](QDialog& dialog) {
        auto* other = dialog.findChild<QLineEdit*>(QStringLiteral("otherDelimiter"));
        dialog.findChild<QRadioButton*>(QStringLiteral("delimiter5"))->setChecked(true);
        QVERIFY(other->isEnabled());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        other->setText(QStringLiteral(" | "));
        dialog.accept();
    };
    const QString fresh = dir.filePath(QStringLiteral("fresh.txt"));
    window.files.Answer(fresh);
    window.messages.Clear();
    window.view->OnCommand(core::cmd::kExportHydropathy);
    QVERIFY(window.messages.Requests().isEmpty()); // a new file: no question
    QVERIFY(test::ReadBytes(fresh).contains("\r\n11 | 4.5\r\n"));
}

void PageViewTest::aStretchThatNoLongerFitsAsksBeforeDrawing()
{
    PlotWindow window;
    int asked = 0;
    window.fill = [&asked](QDialog& dialog) {
        ++asked;
        auto* to = dialog.findChild<QLineEdit*>(QStringLiteral("to"));
        QCOMPARE(to->text(), QStringLiteral("50"));
        to->setText(QStringLiteral("30"));
        dialog.accept();
    };
    window.record.SetSequence(test::kDemoSequence.substr(0, 30));
    window.document->Changed();
    window.paint();
    QTRY_COMPARE(asked, 1);
    QCOMPARE(window.record.plots.pathy.to, 30);

    // A stretch the user confirms or lets stand is not asked about at every
    // paint.
    window.fill = [&asked](QDialog& dialog) {
        ++asked;
        dialog.findChild<QLineEdit*>(QStringLiteral("from"))->setText(QStringLiteral("25"));
        dialog.accept();
    };
    window.record.plots.pathy.from = 20;
    window.record.plots.pathy.window = 15; // 11 residues shown, fewer than the window
    window.paint();
    QTRY_COMPARE(asked, 2);
    QCOMPARE(window.record.plots.pathy.from, 25); // 6 residues, confirmed
    window.paint();
    QCoreApplication::processEvents();
    QCOMPARE(asked, 2);

    window.fill = [&asked](QDialog& dialog) {
        ++asked;
        dialog.reject();
    };
    window.record.plots.pathy.window = 17;
    window.paint();
    QTRY_COMPARE(asked, 3);
    window.paint();
    QCoreApplication::processEvents();
    QCOMPARE(asked, 3);
    QCOMPARE(window.record.plots.pathy.window, 17);

    // Printing asks, before the print dialog's job starts, when the sequence
    // became shorter than the stretch.
    window.record.SetSequence(test::kDemoSequence.substr(0, 28));
    QTemporaryDir dir;
    auto previous = core::ui::SetPrinterChooser([&dir](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        return true;
    });
    window.view->Print();
    core::ui::SetPrinterChooser(std::move(previous));
    QCOMPARE(asked, 4);
}

void PageViewTest::theProfileIsComputedOncePerChange()
{
    PlotWindow window;
    HydropathyPage& page = window.document->Page();
    const int computed = page.ProfileComputations();
    window.paint();
    window.view->Copy();
    window.view->OnCommand(core::cmd::kNumbersOrLabels);
    window.paint();
    QCOMPARE(page.ProfileComputations(), computed);
    window.record.plots.pathy.window = 3;
    window.paint();
    window.paint();
    QCOMPARE(page.ProfileComputations(), computed + 1);
}

void PageViewTest::copyPutsThePageOnTheClipboard()
{
    PlotWindow window;
    window.view->Copy();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied != nullptr);
    QVERIFY(copied->hasImage());
    QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), QSize(635, 360));
    QVERIFY(copied->data(QStringLiteral("image/png")).startsWith("\x89PNG"));
    QVERIFY(copied->data(QStringLiteral("image/svg+xml")).contains("Residue Number"));
    QCOMPARE(copied->data(QStringLiteral("image/x-emf")).mid(40, 4), QByteArray(" EMF"));
}

QTEST_MAIN(PageViewTest)
#include "PageViewTest.moc"
