#pragma once

#include "core/LogFont.h"
#include "core/Residue.h"

#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

namespace quorin::plots::ui {

enum class MessageButtons
{
    Ok,
    YesNo,
};

enum class MessageAnswer
{
    Ok,
    Yes,
    No,
};

/// The message boxes of the plot pages, with the program's texts and the
/// captions "Error", "Note" or "Result". Tests replace the handler to read
/// what would have been shown and to answer it.
MessageAnswer ShowPlotMessage(QWidget* parent, const QString& text, const QString& caption,
                              MessageButtons buttons = MessageButtons::Ok);

using MessageHandler = std::function<MessageAnswer(QWidget* parent, const QString& text,
                                                   const QString& caption, MessageButtons buttons)>;
/// Installs handler (an empty one restores the message boxes); returns the
/// previous one.
MessageHandler SetPlotMessageHandler(MessageHandler handler);

/// A font with its text colour, as the pages' font choosers return them.
struct ChosenFont
{
    core::LOGFONT font;
    core::COLORREF colour = 0;
};

/// The common dialogs and modal runs the pages use, replaceable by tests.
struct PlotChoosers
{
    /// A file name to save to, or empty when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& name)>
        saveFile;
    std::function<std::optional<ChosenFont>(QWidget* parent, const ChosenFont& current)> font;
    std::function<std::optional<core::COLORREF>(QWidget* parent, core::COLORREF current)> colour;
    /// Runs a dialog modally and returns its result (QDialog::exec).
    std::function<int(QDialog& dialog)> run;
};

/// The choosers in use; assign members to replace them.
PlotChoosers& Choosers();
/// The standard choosers (file, font then colour, colour dialogs; exec).
PlotChoosers StandardChoosers();

} // namespace quorin::plots::ui
