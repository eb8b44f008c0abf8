#include "plots/DemoPlot.h"
#include "plots/Hydropathy.h"
#include "plots/ui/CMarkDialog.h"
#include "plots/ui/CPathyDoc.h"
#include "plots/ui/CTextDialog.h"
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
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using namespace quorin;
using namespace quorin::plots;
using namespace quorin::plots::ui;

namespace {

struct Shown
{
    QString text;
    QString caption;
};

/// A hydropathy plot of the demo sequence (1..50, window 1) in a view, with
/// the message boxes and dialogs answered by the test.
class PlotWindow
{
public:
    PlotWindow()
    {
        test::FillDemoRecord(record);
        PendingRequest() = PendingPlotRequest{1, 50, 1, 1.6};
        document = std::make_unique<CPathyDoc>(record, 1);
        view = std::make_unique<CPathyView>(*document);
        view->resize(700, 420);
        view->show();
        SetPlotMessageHandler(
            [this](QWidget*, const QString& text, const QString& caption, MessageButtons) {
                shown.push_back({text, caption});
                return answer;
            });
        Choosers().run = [this](QDialog& dialog) {
            if (fill) {
                fill(dialog);
            }
            return dialog.result();
        };
        paint();
    }
    ~PlotWindow()
    {
        SetPlotMessageHandler({});
        Choosers() = StandardChoosers();
    }
    PlotWindow(const PlotWindow&) = delete;
    PlotWindow& operator=(const PlotWindow&) = delete;

    /// Draws the view once, which places the items for hit tests.
    void paint() { view->viewport()->grab(); }

    QWidget* viewport() const { return view->viewport(); }

    void press(QPoint at) { QTest::mousePress(viewport(), Qt::LeftButton, {}, at); }
    void release(QPoint at) { QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at); }
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
    std::vector<Shown> shown;
    MessageAnswer answer = MessageAnswer::Ok;
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
    void creationTakesThePendingRequestAndTheLegend();
    void modeCommandsAreExclusiveAndShowTheirCursor();
    void markDialogChecksThePosition_data();
    void markDialogChecksThePosition();
    void textItemsAreSelectedDraggedAndDeleted();
    void insertTextModeAddsAnItemWhereClicked();
    void doubleClickEditsTextItemsAndMarks();
    void deleteKeyDeletesTheSelectedMark();
    void saveMetafileAsksBeforeOverwriting();
    void printingToPdfDrawsTheTitle();
    void copyPutsThePageOnTheClipboard();
};

void PageViewTest::creationTakesThePendingRequestAndTheLegend()
{
    PlotWindow window;
    const core::HydropathyPlotSettings& settings = window.record.plots.pathy;
    QCOMPARE(settings.from, 1);
    QCOMPARE(settings.to, 50);
    QCOMPARE(settings.window, 1);
    QCOMPARE(settings.threshold, 1.6);
    QCOMPARE(settings.labelMarks, std::uint8_t{1});
    QCOMPARE(settings.helixDisplay, 1);
    QCOMPARE(PendingRequest().from, 0);
    QCOMPARE(PendingRequest().threshold, 0.0);
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
    earlier.font = FixedPageFont();
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
        QCOMPARE(window.shown.size(), std::size_t{1});
        QCOMPARE(window.shown[0].text, QStringLiteral("Enter a valid sequence position!"));
        QCOMPARE(window.shown[0].caption, QStringLiteral("Error"));
        QCOMPARE(selected, typed); // the field's text is selected again
    } else {
        QVERIFY(window.shown.empty());
    }
    QCOMPARE(window.marks().size(), added != 0 ? std::size_t{2} : std::size_t{1});
    if (added != 0) {
        const core::MARK& mark = window.marks().back();
        QCOMPARE(int{mark.position}, added);
        // A new mark looks like the last one.
        QCOMPARE(mark.lineColour, 0x00FF00u);
        QCOMPARE(mark.labelColour, 0xFF0000u);
        QVERIFY(mark.font == FixedPageFont());
    }
}

void PageViewTest::textItemsAreSelectedDraggedAndDeleted()
{
    PlotWindow window;
    const QPoint onGravy(45, 20); // the first legend item at (40, 14)
    window.press(onGravy);
    QCOMPARE(window.document->Items().SelectedText(), 0);
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
    QVERIFY(!window.document->Items().HasSelection());
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
    QVERIFY(item.font == DefaultPageFont());

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
    window.paint();
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
    window.paint();
    window.press(markArrow(27));
    window.release(markArrow(27));
    QCOMPARE(window.document->Items().SelectedMark(), 1);
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
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QString caption;
    QString filter;
    Choosers().saveFile = [&](QWidget*, const QString& c, const QString& f, const QString&) {
        caption = c;
        filter = f;
        return path;
    };
    window.answer = MessageAnswer::No;
    window.view->SaveMetafile();
    QCOMPARE(caption, QStringLiteral("Save As Metafile"));
    QVERIFY(filter.contains(QStringLiteral("*.emf")));
    QCOMPARE(window.shown.size(), std::size_t{1});
    QCOMPARE(window.shown[0].text, QStringLiteral("File exists. Overwrite?"));
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("old"));
    kept.close();

    window.answer = MessageAnswer::Yes;
    window.view->SaveMetafile();
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QCOMPARE(bytes.mid(40, 4), QByteArray(" EMF"));
    const QString description =
        QStringLiteral("Quorin/Vestrin") + QChar(0) + QStringLiteral("Hydropathy Plot") + QChar(0);
    QVERIFY(bytes.contains(
        QByteArray(reinterpret_cast<const char*>(description.utf16()), description.size() * 2)));

    // Cancelling the file dialog writes nothing.
    Choosers().saveFile = [](QWidget*, const QString&, const QString&, const QString&) {
        return QString();
    };
    window.shown.clear();
    window.view->SaveMetafile();
    QVERIFY(window.shown.empty());
}

void PageViewTest::printingToPdfDrawsTheTitle()
{
    PlotWindow window;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printed.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    window.view->PrintTo(printer);
    QVERIFY(QFile::exists(path));
    QCOMPARE(printer.docName(), QStringLiteral("Hydropathy Plot"));

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(), "pdftotext (poppler-utils) is needed");
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(printed.contains(QStringLiteral("Hydropathy Plot of Residues 1-50 of demo")));
    QVERIFY(printed.contains(QString(40, QLatin1Char('*'))));
    QVERIFY(printed.contains(QStringLiteral("Residue Number")));
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
