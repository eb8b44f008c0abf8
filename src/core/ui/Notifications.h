#pragma once

class QObject;

namespace quorin::core::ui {

/// The notifications that workers send to the main window.
/// MSG_PROGRESS carries a percentage (111: a download finished; 4: repaint
/// only); MSG_BYTES_RECEIVED carries the bytes received so far (4: ignored).
inline constexpr int MSG_PROGRESS = 0x01F8;
inline constexpr int MSG_BYTES_RECEIVED = 0x01F9;

/// The main window's side: it is told every notification on the GUI thread.
class NotificationReceiver
{
public:
    virtual ~NotificationReceiver() = default;
    virtual void OnNotification(int message, int value) = 0;
};

/// Registers the receiver (the main window; nullptr when it goes). The object
/// is both the QObject that lives on the GUI thread and the receiver.
void SetNotificationReceiver(QObject* object, NotificationReceiver* receiver);

/// Queues a notification from any thread; it is handled on the GUI thread in
/// the order posted. Without a receiver it is dropped.
void PostNotification(int message, int value);

/// Delivers a notification and returns when it was handled: at once on the GUI
/// thread, else the calling thread waits for the GUI thread.
void SendNotification(int message, int value);

} // namespace quorin::core::ui
