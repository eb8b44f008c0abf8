#pragma once

#include "core/TextPages.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPrinter;

namespace quorin::core::ui {

/// Shows the print dialog for printer; true when the user chose to print.
/// Every print command goes through here. The printer may be a PDF file.
bool ChoosePrinter(QPrinter& printer);

using PrinterChooser = std::function<bool(QPrinter&)>;

/// Replaces the print dialog (tests print to a PDF file this way); an empty
/// chooser restores the real dialog. Returns the chooser it replaced.
PrinterChooser SetPrinterChooser(PrinterChooser chooser);

/// The program's printer (the one Print Setup sets up) after the print
/// dialog; nullptr when the user cancelled. Without the program (a window
/// tested alone) a printer of its own serves, kept until the next call.
QPrinter* AskForPrinter();

/// Asks for a printer, names the job docName and runs print on it. Returns
/// what print returns (the sheets printed, by custom); 0 when cancelled.
int AskAndPrint(const QString& docName, const std::function<int(QPrinter&)>& print);

/// "The page could not be printed." in the program's message box.
void ShowCannotPrint();

/// The margin a printed page keeps inside the printer's printable area on
/// every side, in millimetres.
inline constexpr double kPageMarginMm = 10.0;

/// Prints a text printout on a printer: the text area lies kPageMarginMm
/// inside the printable area, each sheet is headed by "page N" centred over
/// it with two blank rows below, and rows follow in one font (see
/// TextPageGeometry). A window hands it lines (PrintLine, wrapped to the
/// width) or draws rows of its own at NextRow. Works on any thread.
class TextPagePrinter
{
public:
    /// Starts the job; IsActive() is false when the printer cannot start.
    /// font is taken as it is, its size as it comes out on printer.
    TextPagePrinter(QPrinter& printer, const QFont& font);
    ~TextPagePrinter();
    TextPagePrinter(const TextPagePrinter&) = delete;
    TextPagePrinter& operator=(const TextPagePrinter&) = delete;

    bool IsActive() const { return m_painter.isActive(); }
    const TextPageGeometry& Geometry() const { return m_geometry; }
    /// Draws in the text area: its origin is the area's top-left corner.
    QPainter& Painter() { return m_painter; }

    /// Asked before every sheet after the first; answering false stops the
    /// printout (the sheets so far are printed).
    void SetBeforeNextSheet(std::function<bool()> proceed) { m_proceed = std::move(proceed); }

    /// The top of the next row in the painter's coordinates, beginning a
    /// sheet with its header when the last is full; nothing when stopped.
    std::optional<int> NextRow();

    /// Prints text in the rows it needs to fit the width: cut after the last
    /// character of breakAfter that lets a row fit, inside a word when there
    /// is none. False when stopped.
    bool PrintLine(std::string_view text, std::string_view breakAfter = kBreakAfterBlank);

    /// Ends the job; a printout without rows still gives its first sheet.
    /// The sheets printed; 0 when the printer did not start, -1 when stopped.
    int Finish();

private:
    QPrinter& m_printer;
    QPainter m_painter;
    QFontMetricsF m_metrics;
    TextPageGeometry m_geometry;
    TextPaginator m_paginator{1};
    std::function<bool()> m_proceed;
    bool m_stopped = false;
};

/// The one rule for the font of a text printout on printer. A window's page
/// font keeps on paper the size it has on screen: a size in pixels, drawn
/// for a 96 dpi screen, grows with the printer's resolution; a size in
/// points stays. Without a page font (the sequence editor's printout) it is
/// report font A at the settings' hard-copy font size, in pixels of a sheet
/// 600 pixels wide.
QFont PrintingFont(const QPaintDevice& printer,
                   const std::optional<QFont>& pageFont = std::nullopt);

/// What a text window puts on the sheets: its rows, through pages.
using TextPrintout = std::function<void(TextPagePrinter& pages)>;

/// Prints printout in PrintingFont(printer, pageFont); works on any thread.
/// The sheets printed; 0 when the printer did not start, -1 when stopped.
int PrintTextSheets(QPrinter& printer, const std::optional<QFont>& pageFont,
                    const TextPrintout& printout);

/// What a text window's Print does on printer: prints as PrintTextSheets
/// does and says so when the printer does not start.
int PrintTextPages(QPrinter& printer, const std::optional<QFont>& pageFont,
                   const TextPrintout& printout);

/// The same after asking for a printer, the job named docName; 0 when
/// cancelled.
int PrintTextPages(const QString& docName, const std::optional<QFont>& pageFont,
                   const TextPrintout& printout);

} // namespace quorin::core::ui
