#include "core/ui/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace quorin::core::ui {
namespace {

MessageHandler& handlerSlot()
{
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton buttonOf(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

MessageAnswer showBox(const MessageRequest& request)
{
    QMessageBox::StandardButtons buttons;
    MessageAnswer escape = MessageAnswer::Ok;
    switch (request.buttons) {
    case MessageButtons::Ok:
        buttons = QMessageBox::Ok;
        break;
    case MessageButtons::OkCancel:
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
        escape = MessageAnswer::Cancel;
        break;
    case MessageButtons::YesNo:
        buttons = QMessageBox::Yes | QMessageBox::No;
        escape = MessageAnswer::No;
        break;
    case MessageButtons::YesNoCancel:
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = MessageAnswer::Cancel;
        break;
    }
    QMessageBox box(iconOf(request.icon), request.caption, request.text, buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(buttonOf(request.defaultAnswer));
    box.setEscapeButton(buttonOf(escape));
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

MessageAnswer ShowMessage(const MessageRequest& request)
{
    if (handlerSlot()) {
        return handlerSlot()(request);
    }
    return showBox(request);
}

MessageAnswer ShowMessage(const QString& text, const QString& caption, MessageIcon icon,
                          MessageButtons buttons)
{
    MessageRequest request{text, caption, icon, buttons, MessageAnswer::Ok};
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel) {
        request.defaultAnswer = MessageAnswer::Yes;
    }
    return ShowMessage(request);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    return std::exchange(handlerSlot(), std::move(handler));
}

} // namespace quorin::core::ui
