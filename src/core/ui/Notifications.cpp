#include "core/ui/Notifications.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>

#include <mutex>

namespace quorin::core::ui {
namespace {

struct Slot
{
    std::mutex mutex;
    QPointer<QObject> object;
    NotificationReceiver* receiver = nullptr;
};

Slot& slot()
{
    static Slot s;
    return s;
}

/// Hands the notification to the receiver on its thread, by connection kind.
void deliver(int message, int value, Qt::ConnectionType connection)
{
    QObject* object = nullptr;
    NotificationReceiver* receiver = nullptr;
    {
        std::lock_guard lock(slot().mutex);
        object = slot().object.data();
        receiver = slot().receiver;
    }
    if (object == nullptr) {
        return;
    }
    if (connection == Qt::BlockingQueuedConnection &&
        QThread::currentThread() == object->thread()) {
        receiver->OnNotification(message, value);
        return;
    }
    QPointer<QObject> guard(object);
    QMetaObject::invokeMethod(
        object,
        [guard, receiver, message, value] {
            if (guard) {
                receiver->OnNotification(message, value);
            }
        },
        connection);
}

} // namespace

void SetNotificationReceiver(QObject* object, NotificationReceiver* receiver)
{
    std::lock_guard lock(slot().mutex);
    slot().object = object;
    slot().receiver = receiver;
}

void PostNotification(int message, int value)
{
    deliver(message, value, Qt::QueuedConnection);
}

void SendNotification(int message, int value)
{
    deliver(message, value, Qt::BlockingQueuedConnection);
}

} // namespace quorin::core::ui
