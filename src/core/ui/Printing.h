#pragma once

#include <functional>

class QPrinter;

namespace quorin::core::ui {

/// Shows the print dialog for printer; true when the user chose to print.
/// Every print command goes through here. The printer may be a PDF file.
bool ChoosePrinter(QPrinter& printer);

using PrinterChooser = std::function<bool(QPrinter&)>;

/// Replaces the print dialog (tests print to a PDF file this way); an empty
/// chooser restores the real dialog. Returns the chooser it replaced.
PrinterChooser SetPrinterChooser(PrinterChooser chooser);

} // namespace quorin::core::ui
