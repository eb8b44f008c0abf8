#include "analysis/ui/CPhysChemView.h"

#include "analysis/Titration.h"
#include "analysis/ui/ParameterSheetPane.h"
#include "core/CommandIds.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/CTempDialog.h"
#include "core/ui/Printing.h"
#include "core/ui/QtText.h"
#include "core/ui/UiTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>

#include <functional>
#include <memory>

namespace quorin::analysis::ui {

using core::ui::Application;
using core::ui::CPeptideDoc;

/// A paint device that keeps where each run of text was drawn.
class TextRunRecorder : public QPaintDevice
{
public:
    struct Run
    {
        double x;
        QString text;
    };

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<Run>& Runs() const { return m_engine.runs; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return 4000;
        case PdmHeight:
            return 100;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    struct Engine : QPaintEngine
    {
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            runs.append({p.x(), item.text()});
        }
        Type type() const override { return QPaintEngine::User; }
        QList<Run> runs;
    };
    mutable Engine m_engine;
};

class CPhysChemViewTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::TestHome> m_home;
    std::unique_ptr<Application> m_app;

    /// A document holding the first record of a FASTA file, renamed when name is given.
    std::unique_ptr<CPeptideDoc> document(const QString& fasta, const QString& name = {})
    {
        auto doc = std::make_unique<CPeptideDoc>();
        const std::string text = test::ReadBytes(test::DataPath(fasta)).toStdString();
        core::ParseSequenceText(doc->Record(), core::FirstFastaRecord(text));
        if (!name.isEmpty()) {
            doc->Record().SetName(name.toStdString());
        }
        return doc;
    }

    /// The golden report with its entries' blanks collapsed, as pdftotext shows them.
    static QStringList goldenEntries()
    {
        const QString golden =
            QString::fromLatin1(test::ReadBytes(test::DataPath("golden/props-P02945.txt")));
        QStringList entries;
        const QRegularExpression entry(QStringLiteral("([A-Z]): (\\d+) +(\\([0-9.]+%\\))"));
        for (auto it = entry.globalMatch(golden); it.hasNext();) {
            const auto match = it.next();
            entries << match.captured(1) + QStringLiteral(": ") + match.captured(2) +
                           QStringLiteral(" ") + match.captured(3);
        }
        return entries;
    }

    static QString collapsed(QString text)
    {
        return text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    }

    /// Prints view into a PDF file of the given page size; returns its text.
    QString printToPdf(CPhysChemView& view, const QPageSize& size, int* pages)
    {
        const QString pdf = m_home->Path(QStringLiteral("page.pdf"));
        QFile::remove(pdf);
        auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(size);
            return true;
        });
        if (pages != nullptr) {
            QPrinter& printer = Application::Instance().Printer();
            core::ui::ChoosePrinter(printer);
            *pages = view.Print(printer);
        } else {
            view.OnCommand(core::cmd::kPrint);
        }
        core::ui::SetPrinterChooser(std::move(previous));
        return test::PdfText(pdf);
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

    void copyPutsTheCommandLineReportOnTheClipboardAndInTheTextDialog()
    {
        auto doc = document(QStringLiteral("proteins/P02945.fasta"));
        CPhysChemView view(*doc);
        const QByteArray golden = test::ReadBytes(test::DataPath("golden/props-P02945.txt"));
        QCOMPARE(view.ReportText().toLatin1(), golden);

        QString shown;
        QString caption;
        QString button;
        QString copied;
        QApplication::clipboard()->setText(QStringLiteral("before"));
        test::ModalAnswer answer([&](QWidget& modal) {
            auto* dialog = qobject_cast<core::ui::CTempDialog*>(&modal);
            QVERIFY(dialog != nullptr);
            // On the clipboard already while the box shows it.
            copied = QApplication::clipboard()->text();
            shown = dialog->findChild<QPlainTextEdit*>(QStringLiteral("text"))->toPlainText();
            caption = dialog->windowTitle();
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("ok"));
            button = ok->text();
            ok->click();
        });
        QVERIFY(view.CommandStateOf(core::cmd::kCopy)->enabled);
        QVERIFY(view.OnCommand(core::cmd::kCopy));
        QVERIFY(answer.Answered());
        QCOMPARE(caption, QStringLiteral("Temporary Helpbox"));
        QCOMPARE(button, QStringLiteral("&OK"));
        QCOMPARE(shown,
                 QString::fromLatin1(golden).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(copied, shown);
        QCOMPARE(QApplication::clipboard()->text(), shown);
    }

    void theSheetPageCopiesWhatTheCommandLinePrints()
    {
        auto doc = document(QStringLiteral("proteins/P02945.fasta"));
        CPhysChemView view(*doc);
        QProcess cli;
        cli.start(QStringLiteral(QUORIN_CLI),
                  {QStringLiteral("params"), QStringLiteral("--settings"),
                   m_home->Path(QStringLiteral("none.ini")),
                   test::DataPath(QStringLiteral("proteins/P02945.fasta"))});
        QVERIFY(cli.waitForFinished());
        QCOMPARE(cli.exitCode(), 0);
        const QString printed = QString::fromUtf8(cli.readAllStandardOutput());
        QVERIFY2(printed.contains(QStringLiteral("\nformula: C")), qPrintable(printed));
        QCOMPARE(view.SheetText(), printed);

        // Copy copies the page on top: the report first, the sheet once chosen,
        // by the Edit menu's command and by the sheet's own button alike.
        const auto shownBy = [](const std::function<void()>& copy) {
            QString shown;
            test::ModalAnswer answer([&](QWidget& modal) {
                shown = qobject_cast<core::ui::CTempDialog*>(&modal)->Text();
                modal.findChild<QPushButton*>(QStringLiteral("ok"))->click();
            });
            copy();
            return answer.Answered() ? shown : QStringLiteral("(no dialog)");
        };
        QVERIFY(shownBy([&] {
                    view.OnCommand(core::cmd::kCopy);
                }).startsWith(QStringLiteral("Physico-chemical Properties of ")));
        view.setCurrentIndex(CPhysChemView::kSheetPage);
        QCOMPARE(shownBy([&] { view.OnCommand(core::cmd::kCopy); }), printed);
        QCOMPARE(QApplication::clipboard()->text(), printed);
        QApplication::clipboard()->clear();
        auto* button = view.findChild<QPushButton*>(QStringLiteral("copySheet"));
        QCOMPARE(shownBy([&] { button->click(); }), printed);
        QCOMPARE(QApplication::clipboard()->text(), printed);

        // One row per named set, the pI with 4 decimals as the text has it.
        auto* pane = view.findChild<ParameterSheetPane*>();
        auto* table = pane->findChild<QTableWidget*>(QStringLiteral("isoelectricPoints"));
        QCOMPARE(table->rowCount(), static_cast<int>(kPKaSets.size()));
        QStringList pIs;
        for (int row = 0; row < table->rowCount(); ++row) {
            QCOMPARE(table->item(row, 0)->text(),
                     core::ui::ToQString(PKaSetName(kPKaSets[static_cast<std::size_t>(row)])));
            pIs << table->item(row, 0)->text() + QLatin1Char(' ') + table->item(row, 1)->text();
        }
        QVERIFY2(printed.contains(QStringLiteral("\nisoelectric_point: ") +
                                  pIs.join(QStringLiteral(", ")) + QLatin1Char('\n')),
                 qPrintable(pIs.join(QLatin1Char(','))));
        QCOMPARE(pane->ValueText(QStringLiteral("length")), QStringLiteral("262 residues"));

        // A changed sequence shows on the sheet at once.
        doc->Record().SetSequence("MKWC");
        doc->UpdateAllViews();
        QCOMPARE(pane->ValueText(QStringLiteral("length")), QStringLiteral("4 residues"));
        QCOMPARE(pane->ValueText(QStringLiteral("extinction_280_reduced")),
                 QStringLiteral("5500 M\u207B\u00B9 cm\u207B\u00B9"));
    }

    void theScreenPageHasRedLabelsAndADoubleUnderline()
    {
        auto doc = document(QStringLiteral("proteins/P02945.fasta"), QStringLiteral("BR"));
        CPhysChemView view(*doc);
        view.resize(640, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QWidget* canvas = view.findChild<QWidget*>(QStringLiteral("physChemPage"));
        QVERIFY(canvas != nullptr);
        const QImage image = canvas->grab().toImage();
        const PhysChemLayout layout = view.Page().ScreenLayout(canvas, canvas->width());

        // Red in the title line, nothing red far right of it.
        const int titleY = 6 + layout.lineHeight / 2;
        int red = 0;
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, titleY);
            red += (c.red() > 200 && c.green() < 80 && c.blue() < 80) ? 1 : 0;
        }
        QVERIFY(red > 10);
        // The two underlines: black at 1.25 and 1.4 line heights below the top.
        for (const double below : {1.25, 1.4}) {
            const int y = 6 + static_cast<int>(below * layout.lineHeight);
            QCOMPARE(image.pixelColor(layout.left + 5, y), QColor(Qt::black));
        }
        QCOMPARE(image.pixelColor(layout.left + 5, 6 + layout.lineHeight * 2 + 2),
                 QColor(Qt::white));
        // The page is as tall as its lines: title block, values, composition rows.
        PhysChemLayout rows = layout;
        for (const auto& [perRow, lines] : {std::pair{4, 16}, {5, 15}, {20, 12}}) {
            rows.entriesPerRow = perRow;
            QCOMPARE(view.Page().LineCount(rows), lines);
        }
    }

    void screenRowsHoldATenthOfTheLineButNeverMoreThanFit()
    {
        auto doc = document(QStringLiteral("proteins/P02945.fasta"));
        CPhysChemView view(*doc);
        const PhysChemPage& page = view.Page();
        const PhysChemLayout narrow = page.ScreenLayout(&view, 640);
        QVERIFY(narrow.entriesPerRow >= 1);
        QVERIFY(narrow.entriesPerRow <= narrow.charsPerLine / 10);
        QVERIFY(narrow.left + narrow.entriesPerRow * page.EntryPitch() * narrow.advance <= 640);
        const PhysChemLayout wide = page.ScreenLayout(&view, 4000);
        QCOMPARE(wide.entriesPerRow,
                 std::min(wide.charsPerLine / 10,
                          int((4000 - wide.left) / (page.EntryPitch() * wide.advance))));
        QVERIFY(wide.entriesPerRow > narrow.entriesPerRow);

        // A wide row keeps the entries in their columns, as a row of text in
        // the fixed-pitch font would place them: "L: 39 (14.9%)  M:".
        TextRunRecorder device;
        const PhysChemLayout row = page.ScreenLayout(&device, 4000);
        {
            QPainter painter(&device);
            page.DrawLine(painter, row, page.LineCount(row) - 1, 0); // all 20 entries
        }
        const QFontMetricsF metrics(row.font, &device);
        const auto columnsWidth = [&](int columns) {
            return metrics.horizontalAdvance(QString(columns, QLatin1Char(' ')));
        };
        const QList<TextRunRecorder::Run>& runs = device.Runs();
        QCOMPARE(row.entriesPerRow >= 20, true);
        QCOMPARE(runs.size(), 3 * 20);
        for (int i = 0; i < runs.size(); i += 3) {
            const double column = runs[i].x - runs[0].x;
            QVERIFY2(qAbs(column - columnsWidth(i / 3 * page.EntryPitch())) < 0.5,
                     qPrintable(runs[i].text));
            QVERIFY(qAbs(runs[i + 1].x - runs[i].x - columnsWidth(3)) < 0.5);
        }
    }

    void thePrintoutHoldsTheReportAndThePageHeader()
    {
        auto doc = document(QStringLiteral("proteins/P02945.fasta"), QStringLiteral("BR"));
        CPhysChemView view(*doc);
        const QString text = collapsed(printToPdf(view, QPageSize(QPageSize::A4), nullptr));
        QVERIFY2(text.contains(QStringLiteral("page 1")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("page 2")));
        for (const QString& line :
             {QStringLiteral("Physico-chemical Properties of BR"),
              QStringLiteral("Isoelectric Point: 4.54"),
              QStringLiteral("Molecular Weight: 28257 Da"),
              QStringLiteral("Molar absorption coefficient (280 nm):"),
              QStringLiteral("denatured (6M GdnHCl): 59.6 (mM*cm)"), QStringLiteral("nativ: 60.4"),
              QStringLiteral("AA Composition:")}) {
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" in\n") + text));
        }
        const QStringList entries = goldenEntries();
        QCOMPARE(entries.size(), 20);
        for (const QString& entry : entries) {
            QVERIFY2(text.contains(entry), qPrintable(entry + QStringLiteral(" in\n") + text));
        }
        // Five entries to a row on paper: A C D E F, then G starts the next.
        const QString rowOfA =
            text.section(QStringLiteral("A: 30"), 1).section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(rowOfA.contains(QStringLiteral("F: 13")) &&
                     !rowOfA.contains(QStringLiteral("G: 26")),
                 qPrintable(rowOfA));
    }

    void aPrintJobThatCannotStartIsReported()
    {
        auto doc = document(QStringLiteral("proteins/P01308.fasta"));
        CPhysChemView view(*doc);
        test::MessageRecorder messages;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_home->Path(QStringLiteral("no such folder/page.pdf")));
        QCOMPARE(view.Print(printer), 0);
        QCOMPARE(messages.LastText(), QStringLiteral("The page could not be printed."));
    }

    void aShortPageContinuesOnTheNextWithItsOwnHeader()
    {
        auto doc = document(QStringLiteral("proteins/P02945.fasta"), QStringLiteral("BR"));
        CPhysChemView view(*doc);
        int pages = 0;
        const QString text = printToPdf(
            view,
            QPageSize(QSizeF(210, 60), QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
            &pages);
        QVERIFY(pages >= 2);
        const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        QVERIFY(pageTexts.size() >= pages);
        for (int i = 0; i < pages; ++i) {
            const QString first = pageTexts[i].trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
            QCOMPARE(first, QStringLiteral("page %1").arg(i + 1));
        }
        const QString all = collapsed(text);
        QVERIFY2(all.contains(QStringLiteral("Y: 11 (4.2%)")), qPrintable(text));
        QVERIFY(all.contains(QStringLiteral("Isoelectric Point: 4.54")));
    }
};

} // namespace quorin::analysis::ui

QTEST_MAIN(quorin::analysis::ui::CPhysChemViewTest)
#include "CPhysChemViewTest.moc"
