#include "core/ui/Printing.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

#include <utility>

namespace quorin::core::ui {
namespace {

PrinterChooser& chooserSlot()
{
    static PrinterChooser chooser;
    return chooser;
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

} // namespace quorin::core::ui
