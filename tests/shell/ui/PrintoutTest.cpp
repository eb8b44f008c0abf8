#include "analysis/Digest.h"
#include "analysis/ModFinder.h"
#include "analysis/Motifs.h"
#include "analysis/ui/CDigView.h"
#include "analysis/ui/CModView.h"
#include "analysis/ui/CMotView.h"
#include "analysis/ui/CPhysChemView.h"
#include "core/CommandIds.h"
#include "core/SequenceText.h"
#include "core/ui/Application.h"
#include "core/ui/CPeptideDoc.h"
#include "core/ui/Printing.h"
#include "core/ui/UiTestSupport.h"
#include "shell/ui/CPepEditView.h"

#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <memory>

namespace quorin::shell::ui {

/// The text printouts, printed to PDF through the Print command and
/// read back word by word: where the words lie on the paper and how each
/// sheet is headed.
class PrintoutTest : public QObject
{
    Q_OBJECT

private:
    struct Word
    {
        QRectF box; ///< points, y downwards
        QString text;
    };
    using Page = QList<Word>;

    /// The words of each page of a PDF file (pdftotext -bbox).
    static QList<Page> pdfWords(const QString& pdf)
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        QProcess process;
        process.start(tool, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
        if (tool.isEmpty() || !process.waitForFinished(30000) || process.exitCode() != 0) {
            return {};
        }
        const QString html = QString::fromUtf8(process.readAllStandardOutput());
        static const QRegularExpression item(
            QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                           "yMax=\"([\\d.]+)\">([^<]*)</word>"));
        QList<Page> pages;
        for (auto it = item.globalMatch(html); it.hasNext();) {
            const auto match = it.next();
            if (match.captured(0).startsWith(QStringLiteral("<page"))) {
                pages.append(Page{});
            } else if (!pages.isEmpty()) {
                pages.last().append(
                    {QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                            QPointF(match.captured(3).toDouble(), match.captured(4).toDouble())),
                     match.captured(5)});
            }
        }
        return pages;
    }

private slots:
    /// A window's page font keeps on paper the size it has on screen,
    /// whatever the printer's resolution: in pixels as tall as on a 96 dpi
    /// screen, in points as it is.
    void printingFontKeepsThePageFontsSize_data()
    {
        QTest::addColumn<bool>("pixels");
        QTest::addColumn<double>("inches"); // the font's height on paper
        QTest::newRow("pixels") << true << 14.0 / 96.0;
        QTest::newRow("points") << false << 10.0 / 72.0;
    }

    void printingFontKeepsThePageFontsSize()
    {
        QFETCH(bool, pixels);
        QFETCH(double, inches);
        QFont pageFont(QStringLiteral("Courier New"));
        pixels ? pageFont.setPixelSize(14) : pageFont.setPointSizeF(10);
        for (const int dpi : {96, 300, 1200}) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setResolution(dpi);
            const QFont font = core::ui::PrintingFont(printer, pageFont);
            const double height =
                (font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi / 72.0) / dpi;
            QVERIFY2(qAbs(height - inches) < 0.01 * inches, qPrintable(QString::number(dpi)));
        }
    }

    /// Without a page font (the editor) the hard-copy size of the settings
    /// decides: twice the size, twice the font.
    void printingFontFollowsTheHardCopySize()
    {
        test::TestHome home;
        core::ui::Application app(home.Path().toStdString());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        app.Settings().outputFontSize = 8;
        const int small = core::ui::PrintingFont(printer).pixelSize();
        app.Settings().outputFontSize = 16;
        const int large = core::ui::PrintingFont(printer).pixelSize();
        QVERIFY2(small > 0 && qAbs(large - 2 * small) <= 1, qPrintable(QString::number(large)));
    }

    void printedPagesKeepTheirMarginsAndHeaders_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("starRow"); // a row of "*" under the title
        QTest::newRow("editor") << QStringLiteral("editor") << true;
        QTest::newRow("properties") << QStringLiteral("properties") << false;
        QTest::newRow("digest") << QStringLiteral("digest") << true;
        QTest::newRow("modfinder") << QStringLiteral("modfinder") << true;
        QTest::newRow("motifs") << QStringLiteral("motifs") << true;
    }

    void printedPagesKeepTheirMarginsAndHeaders()
    {
        QFETCH(QString, kind);
        QFETCH(bool, starRow);
        test::TestHome home;
        core::ui::Application app(home.Path().toStdString());
        core::ui::CPeptideDoc doc;
        const std::string fasta =
            test::ReadBytes(test::DataPath(QStringLiteral("proteins/P01308.fasta"))).toStdString();
        core::ParseSequenceText(doc.Record(), core::FirstFastaRecord(fasta));
        // A name far wider than the sheet: the titles and rows of "*" wrap.
        const std::string name =
            "insulin precursor of a header much longer than a line " + std::string(150, 'N');
        doc.Record().SetName(name);

        const QString pdf = home.Path(QStringLiteral("printout.pdf"));
        QRectF printable; // points
        const auto previous = core::ui::SetPrinterChooser([&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printable = printer.pageLayout().paintRect(QPageLayout::Point);
            return true;
        });
        std::unique_ptr<QWidget> view;
        int titleLength = static_cast<int>(name.size());
        if (kind == QStringLiteral("editor")) {
            auto editor = std::make_unique<CPepEditView>(doc);
            QVERIFY(editor->OnCommand(core::cmd::kPrint));
            view = std::move(editor);
        } else if (kind == QStringLiteral("properties")) {
            auto properties = std::make_unique<analysis::ui::CPhysChemView>(doc);
            QVERIFY(properties->OnCommand(core::cmd::kPrint));
            view = std::move(properties);
        } else if (kind == QStringLiteral("modfinder")) {
            doc.Record().modifications = {{"Oxidation", "M", 16.0}};
            analysis::Digest(doc.Record(), "K!;R!");
            analysis::SelectModifications(doc.Record(), {"Oxidation"});
            analysis::FindModifications(doc.Record(), 2000.0, 1000.0);
            auto report = std::make_unique<analysis::ui::CModView>(doc);
            QVERIFY(report->OnCommand(core::cmd::kPrint));
            view = std::move(report);
            titleLength += 28; // "Search for modifications of "
        } else if (kind == QStringLiteral("motifs")) {
            analysis::SearchMotifs(doc.Record(), "C;GX");
            auto report = std::make_unique<analysis::ui::CMotView>(doc);
            QVERIFY(report->OnCommand(core::cmd::kPrint));
            view = std::move(report);
            titleLength += 30; // "Search for Sequence Motifs in "
        } else {
            doc.Record().digest.selectedAgents = {{"Trypsin", "K!;R!"}};
            analysis::Digest(doc.Record(), "K!;R!");
            auto digest = std::make_unique<analysis::ui::CDigView>(doc);
            QVERIFY(digest->OnCommand(core::cmd::kPrint));
            QTRY_VERIFY(!digest->Busy());
            view = std::move(digest);
            titleLength += 33; // "Pattern of proteolytic digest of "
        }
        core::ui::SetPrinterChooser(previous);

        const QList<Page> pages = pdfWords(pdf);
        QVERIFY2(!pages.isEmpty(), "no PDF or no pdftotext (poppler-utils)");
        const double margin = core::ui::kPageMarginMm * 72 / 25.4;
        const QRectF area = printable.adjusted(margin, margin, -margin, -margin);
        int starCount = 0;
        for (int p = 0; p < pages.size(); ++p) {
            QVERIFY(pages[p].size() >= 2);
            // "page N" heads the sheet, centred over the text area.
            const Word& top = pages[p][0];
            const Word& number = pages[p][1];
            QCOMPARE(top.text + QLatin1Char(' ') + number.text,
                     QStringLiteral("page %1").arg(p + 1));
            QVERIFY(qAbs(top.box.united(number.box).center().x() - area.center().x()) < 2.0);
            for (const Word& word : pages[p]) {
                QVERIFY2(area.adjusted(-0.5, -0.5, 0.5, 0.5).contains(word.box),
                         qPrintable(word.text));
                QVERIFY(word.box.top() >= top.box.top());
                starCount += static_cast<int>(word.text.count(QLatin1Char('*')));
            }
        }
        // Every "*" of the title's row is on the paper.
        if (starRow) {
            QCOMPARE(starCount, titleLength);
        }
    }
};

} // namespace quorin::shell::ui

QTEST_MAIN(quorin::shell::ui::PrintoutTest)
#include "PrintoutTest.moc"
