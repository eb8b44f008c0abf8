#pragma once

#include "core/PropertyRecord.h"

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

class QFont;
class QPrinter;

namespace quorin::analysis::ui {

/// Told how far an output has come (0..100) now and then; answering false
/// stops it. May be empty. Outputs run on any thread: they only read the
/// record.
using OutputProgress = std::function<bool(int percent)>;

/// Report lines first..last (0-based, inclusive), each ending with CR LF, in
/// the report's bytes; nothing when stopped. The whole report is written in
/// large pieces, so that ten million lines take seconds, not minutes.
/// Precondition: first <= last < DigestReportLineCount(record).
std::optional<QByteArray> DigestReportBytes(const core::PropertyRecord& record, std::size_t first,
                                            std::size_t last, const OutputProgress& progress = {});

/// Prints the whole report in font (core::ui::PrintTextSheets sizes it);
/// a line wider than the page goes on in the next row, broken after a blank
/// where it has one. Returns the pages printed, 0 when the printer could not
/// start (nothing is shown; callers report it), or -1 when stopped (the pages
/// so far are printed).
int PrintDigestReport(const core::PropertyRecord& record, QPrinter& printer, const QFont& font,
                      const OutputProgress& progress = {});

/// A printer set up as printer (destination, paper, copies, duplex, colour),
/// for a printout on a worker while the program's own printer stays free.
std::unique_ptr<QPrinter> CopyOfPrinter(const QPrinter& printer);

} // namespace quorin::analysis::ui
