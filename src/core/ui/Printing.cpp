#include "core/ui/Printing.h"

#include "core/LogFont.h"
#include "core/MessageTexts.h"
#include "core/ui/Application.h"
#include "core/ui/GdiTypes.h"
#include "core/ui/Messages.h"
#include "core/ui/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace quorin::core::ui {
namespace {

PrinterChooser& chooserSlot()
{
    static PrinterChooser chooser;
    return chooser;
}

/// The printer of a window tested without the program; it goes with the
/// QApplication, not after it.
std::unique_ptr<QPrinter>& ownPrinter()
{
    static std::unique_ptr<QPrinter> own;
    static const bool cleanedUp = [] {
        qAddPostRoutine([] { ownPrinter().reset(); });
        return true;
    }();
    (void)cleanedUp;
    return own;
}

} // namespace

bool ChoosePrinter(QPrinter& printer)
{
    if (chooserSlot()) {
        return chooserSlot()(printer);
    }
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

PrinterChooser SetPrinterChooser(PrinterChooser chooser)
{
    return std::exchange(chooserSlot(), std::move(chooser));
}

QPrinter* AskForPrinter()
{
    QPrinter* printer = nullptr;
    if (Application::Exists()) {
        printer = &Application::Instance().Printer();
    } else {
        ownPrinter() = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = ownPrinter().get();
    }
    return ChoosePrinter(*printer) ? printer : nullptr;
}

int AskAndPrint(const QString& docName, const std::function<int(QPrinter&)>& print)
{
    QPrinter* printer = AskForPrinter();
    if (printer == nullptr) {
        return 0;
    }
    printer->setDocName(docName);
    return print(*printer);
}

void ShowCannotPrint()
{
    ShowMessage(ToQString(msg::kCannotPrint), ToQString(msg::kProgramTitle));
}

TextPagePrinter::TextPagePrinter(QPrinter& printer, const QFont& font)
    : m_printer(printer), m_metrics(font, &printer)
{
    if (!m_painter.begin(&printer)) {
        return;
    }
    // The painter's origin is the printable area's corner; the text area lies
    // a margin inside it, so that no sheet is printed up to the paper's edge.
    const int marginX = static_cast<int>(std::ceil(kPageMarginMm * printer.logicalDpiX() / 25.4));
    const int marginY = static_cast<int>(std::ceil(kPageMarginMm * printer.logicalDpiY() / 25.4));
    m_geometry.width = std::max(1, printer.width() - 2 * marginX);
    m_geometry.height = std::max(1, printer.height() - 2 * marginY);
    m_geometry.lineHeight = std::max(1, QFontMetrics(font, &printer).lineSpacing());
    m_geometry.charWidth = std::max(1.0, m_metrics.averageCharWidth());
    m_paginator = TextPaginator(m_geometry.RowsPerPage());
    m_painter.translate(marginX, marginY);
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

TextPagePrinter::~TextPagePrinter()
{
    if (m_painter.isActive()) {
        m_painter.end();
    }
}

std::optional<int> TextPagePrinter::NextRow()
{
    if (m_stopped || !m_painter.isActive()) {
        return std::nullopt;
    }
    const TextPaginator::Place place = m_paginator.Next();
    if (place.startsPage) {
        if (place.page > 1) {
            if (m_proceed && !m_proceed()) {
                m_stopped = true;
                return std::nullopt;
            }
            m_printer.newPage();
        }
        // The header keeps the printout's font and colour whatever a row
        // drawn by the window left set.
        m_painter.save();
        m_painter.setPen(Qt::black);
        const QString header = ToQString(PageHeader(place.page));
        m_painter.drawText(QPointF((m_geometry.width - m_metrics.horizontalAdvance(header)) / 2,
                                   m_metrics.ascent()),
                           header);
        m_painter.restore();
    }
    return m_geometry.RowTop(place.row);
}

bool TextPagePrinter::PrintLine(std::string_view text, std::string_view breakAfter)
{
    const int columns = m_geometry.Columns();
    const double width = m_geometry.width;
    const double widest = m_metrics.maxWidth();
    // Rows of a fixed-pitch font within the columns fit without measuring;
    // a proportional font's wide letters are measured.
    const auto fits = [&](std::string_view row) {
        const auto length = static_cast<double>(row.size());
        return row.size() <= static_cast<std::size_t>(columns) &&
               (length * widest <= width || m_metrics.horizontalAdvance(ToQString(row)) <= width);
    };
    for (const std::string& row : WrapText(text, fits, breakAfter)) {
        const std::optional<int> top = NextRow();
        if (!top) {
            return false;
        }
        m_painter.drawText(QPointF(0, *top + m_metrics.ascent()), ToQString(row));
    }
    return true;
}

int TextPagePrinter::Finish()
{
    if (!m_painter.isActive()) {
        return 0;
    }
    if (m_paginator.Pages() == 0) {
        NextRow();
    }
    m_painter.end();
    return m_stopped ? -1 : m_paginator.Pages();
}

QFont PrintingFont(const QPaintDevice& printer, const std::optional<QFont>& pageFont)
{
    if (pageFont) {
        QFont font = *pageFont;
        if (font.pixelSize() > 0) {
            const double scale = printer.logicalDpiY() / 96.0;
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale))));
        }
        return font;
    }
    // The hard-copy size counts in pixels of a 600-pixel-wide sheet, so that
    // the printout keeps its size on paper whatever the printer's resolution.
    const int scale = std::max(1, printer.width() / 600);
    LOGFONT hardCopy = ReportFontA();
    const int size = Application::Exists() ? Application::Instance().Settings().outputFontSize : 0;
    hardCopy.lfHeight = std::max(1, size) * scale;
    return FontFromLogFont(hardCopy);
}

int PrintTextSheets(QPrinter& printer, const std::optional<QFont>& pageFont,
                    const TextPrintout& printout)
{
    TextPagePrinter pages(printer, PrintingFont(printer, pageFont));
    if (pages.IsActive()) {
        printout(pages);
    }
    return pages.Finish();
}

int PrintTextPages(QPrinter& printer, const std::optional<QFont>& pageFont,
                   const TextPrintout& printout)
{
    const int pages = PrintTextSheets(printer, pageFont, printout);
    if (pages == 0) {
        ShowCannotPrint();
    }
    return pages;
}

int PrintTextPages(const QString& docName, const std::optional<QFont>& pageFont,
                   const TextPrintout& printout)
{
    return AskAndPrint(
        docName, [&](QPrinter& printer) { return PrintTextPages(printer, pageFont, printout); });
}

} // namespace quorin::core::ui
