#include "analysis/ui/DigestOutput.h"

#include "analysis/Digest.h"
#include "core/ui/QtText.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <string_view>

namespace quorin::analysis::ui {
namespace {

/// Leaves WriteDigestReport when the output is stopped.
struct Stopped
{};

int percentOf(std::size_t done, std::size_t total)
{
    return total == 0 ? 100 : static_cast<int>(done * 100 / total);
}

/// A report line in the pieces that fit width on paper: as much as fits,
/// broken after its last blank when there is one, else inside a word. A long
/// sequence name makes the title (and its row of "*") wider than any sheet.
QStringList printedRows(const QString& line, const QFontMetrics& metrics, int width)
{
    QStringList rows;
    QString rest = line;
    while (rest.size() > 1 && static_cast<qsizetype>(metrics.maxWidth()) * rest.size() > width &&
           metrics.horizontalAdvance(rest) > width) {
        // The longest head that fits, at least one character.
        qsizetype low = 1;
        qsizetype high = rest.size() - 1;
        while (low < high) {
            const qsizetype middle = (low + high + 1) / 2;
            if (metrics.horizontalAdvance(rest.left(middle)) <= width) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), low - 1);
        const qsizetype cut = blank > 0 ? blank + 1 : low;
        rows << rest.left(cut);
        rest = rest.mid(cut);
    }
    rows << rest;
    return rows;
}

} // namespace

std::optional<QByteArray> DigestReportBytes(const core::PropertyRecord& record, std::size_t first,
                                            std::size_t last, const OutputProgress& progress)
{
    const std::size_t lines = DigestReportLineCount(record);
    QByteArray bytes;
    if (first == 0 && last + 1 >= lines) {
        // About 45 characters a line: one reservation, no regrowth.
        bytes.reserve(static_cast<qsizetype>(record.digest.reportHead.size() + 48 * lines));
        std::size_t estimate = std::max<std::size_t>(1, 45 * lines);
        try {
            WriteDigestReport(record, [&](std::string_view piece) {
                bytes.append(piece.data(), static_cast<qsizetype>(piece.size()));
                const std::size_t done = static_cast<std::size_t>(bytes.size());
                if (progress && !progress(percentOf(std::min(done, estimate), estimate))) {
                    throw Stopped{};
                }
            });
        } catch (const Stopped&) {
            return std::nullopt;
        }
        return bytes;
    }
    const std::size_t count = last - first + 1;
    for (std::size_t line = first; line <= last; ++line) {
        const std::string text = DigestReportLine(record, line);
        bytes.append(text.data(), static_cast<qsizetype>(text.size()));
        bytes.append("\r\n", 2);
        if ((line - first) % 65536 == 65535 && progress &&
            !progress(percentOf(line - first, count))) {
            return std::nullopt;
        }
    }
    return bytes;
}

int PrintDigestReport(const core::PropertyRecord& record, QPrinter& printer, const QFont& font,
                      const OutputProgress& progress)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        return 0;
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font, &printer);
    const int lineHeight = std::max(1, metrics.lineSpacing());
    // The header, a blank line, then the text.
    const int linesPerPage = std::max(1, printer.height() / lineHeight - 2);
    const std::size_t lines = DigestReportLineCount(record);
    const int width = printer.width();
    int page = 0;
    int row = linesPerPage;
    // Starts the next sheet with its header; false when the output is stopped.
    const auto nextPage = [&](std::size_t line) {
        if (page > 0) {
            if (progress && !progress(percentOf(line, lines))) {
                return false;
            }
            printer.newPage();
        }
        ++page;
        row = 0;
        const QString header = QStringLiteral("page ") + QString::number(page);
        painter.drawText((width - metrics.horizontalAdvance(header)) / 2, metrics.ascent(), header);
        return true;
    };
    for (std::size_t line = 0; line < lines; ++line) {
        const QStringList rows =
            printedRows(core::ui::ToQString(DigestReportLine(record, line)), metrics, width);
        for (const QString& text : rows) {
            if (row == linesPerPage && !nextPage(line)) {
                painter.end();
                return -1;
            }
            painter.drawText(0, (row + 2) * lineHeight + metrics.ascent(), text);
            ++row;
        }
    }
    if (page == 0) {
        nextPage(0);
    }
    painter.end();
    return page;
}

std::unique_ptr<QPrinter> CopyOfPrinter(const QPrinter& printer)
{
    auto copy = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        copy->setOutputFormat(QPrinter::PdfFormat);
    } else {
        copy->setPrinterName(printer.printerName());
    }
    if (!printer.outputFileName().isEmpty()) {
        copy->setOutputFileName(printer.outputFileName());
    }
    copy->setResolution(printer.resolution());
    copy->setPageLayout(printer.pageLayout());
    copy->setFullPage(printer.fullPage());
    copy->setCopyCount(printer.copyCount());
    copy->setCollateCopies(printer.collateCopies());
    copy->setDuplex(printer.duplex());
    copy->setColorMode(printer.colorMode());
    copy->setPageOrder(printer.pageOrder());
    copy->setDocName(printer.docName());
    copy->setCreator(printer.creator());
    return copy;
}

} // namespace quorin::analysis::ui
