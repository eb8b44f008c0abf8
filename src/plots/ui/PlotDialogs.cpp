#include "plots/ui/PlotDialogs.h"

#include "plots/ui/PageFonts.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace quorin::plots::ui {
namespace {

MessageHandler& handler()
{
    static MessageHandler current;
    return current;
}

MessageAnswer showBox(QWidget* parent, const QString& text, const QString& caption,
                      MessageButtons buttons)
{
    if (buttons == MessageButtons::YesNo) {
        return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
                       QMessageBox::Yes
                   ? MessageAnswer::Yes
                   : MessageAnswer::No;
    }
    const bool error = caption == QLatin1String("Error");
    QMessageBox box(error ? QMessageBox::Warning : QMessageBox::Information, caption, text,
                    QMessageBox::Ok, parent);
    box.exec();
    return MessageAnswer::Ok;
}

} // namespace

MessageAnswer ShowPlotMessage(QWidget* parent, const QString& text, const QString& caption,
                              MessageButtons buttons)
{
    if (handler()) {
        return handler()(parent, text, caption, buttons);
    }
    return showBox(parent, text, caption, buttons);
}

MessageHandler SetPlotMessageHandler(MessageHandler next)
{
    MessageHandler previous = std::move(handler());
    handler() = std::move(next);
    return previous;
}

PlotChoosers StandardChoosers()
{
    PlotChoosers choosers;
    choosers.saveFile = [](QWidget* parent, const QString& caption, const QString& filter,
                           const QString& name) {
        return QFileDialog::getSaveFileName(parent, caption, name, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    choosers.font = [](QWidget* parent, const ChosenFont& current) -> std::optional<ChosenFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, ToQFont(current.font), parent);
        if (!ok) {
            return std::nullopt;
        }
        // Qt's font dialog has no colour; the colour dialog follows it.
        const QColor colour =
            QColorDialog::getColor(ToQColor(current.colour), parent, QStringLiteral("Text Color"));
        return ChosenFont{FromQFont(font), colour.isValid() ? ToColorRef(colour) : current.colour};
    };
    choosers.colour = [](QWidget* parent, core::COLORREF current) -> std::optional<core::COLORREF> {
        const QColor colour = QColorDialog::getColor(ToQColor(current), parent);
        if (!colour.isValid()) {
            return std::nullopt;
        }
        return ToColorRef(colour);
    };
    choosers.run = [](QDialog& dialog) { return dialog.exec(); };
    return choosers;
}

PlotChoosers& Choosers()
{
    static PlotChoosers choosers = StandardChoosers();
    return choosers;
}

} // namespace quorin::plots::ui
