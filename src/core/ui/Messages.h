#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quorin::core::ui {

enum class MessageIcon
{
    None,
    Information,
    Exclamation,
    Stop,
    Question,
};

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No,
};

/// One message box as the program asks for it.
struct MessageRequest
{
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    /// The button Enter presses; the first button unless a dialog says otherwise.
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

/// Shows a modal message box over the active window and returns the button
/// pressed (Escape and the close box answer Cancel, or No / Ok where there is
/// no Cancel). Every message box of the program goes through here.
MessageAnswer ShowMessage(const MessageRequest& request);

/// Shorthand for the common forms; Yes is the default button of a question.
MessageAnswer ShowMessage(const QString& text, const QString& caption,
                          MessageIcon icon = MessageIcon::Exclamation,
                          MessageButtons buttons = MessageButtons::Ok);

using MessageHandler = std::function<MessageAnswer(const MessageRequest&)>;

/// Replaces what ShowMessage does (tests read and answer the boxes this way);
/// an empty handler restores the real box. Returns the handler it replaced.
MessageHandler SetMessageHandler(MessageHandler handler);

} // namespace quorin::core::ui
