#include "analysis/ui/DigestOutput.h"

#include "analysis/Digest.h"
#include "core/ui/Printing.h"

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
    return core::ui::PrintTextSheets(printer, font, [&](core::ui::TextPagePrinter& pages) {
        const std::size_t lines = DigestReportLineCount(record);
        std::size_t line = 0;
        if (progress) {
            pages.SetBeforeNextSheet([&] { return progress(percentOf(line, lines)); });
        }
        for (; line < lines; ++line) {
            if (!pages.PrintLine(DigestReportLine(record, line))) {
                break;
            }
        }
    });
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
