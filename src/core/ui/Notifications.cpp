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

} // namespace

void SetNotificationReceiver(QObject* object, NotificationReceiver* receiver)
{
    std::lock_guard lock(slot().mutex);
    slot().object = object;
    slot().receiver = receiver;
}

void PostNotification(int message, int value)
{
    std::lock_guard lock(slot().mutex);
    QObject* object = slot().object.data();
    if (object == nullptr) {
        return;
    }
    NotificationReceiver* receiver = slot().receiver;
    QPointer<QObject> guard(object);
    QMetaObject::invokeMethod(
        object,
        [guard, receiver, message, value] {
            if (guard) {
                receiver->OnNotification(message, value);
            }
        },
        Qt::QueuedConnection);
}

void SendNotification(int message, int value)
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
    if (QThread::currentThread() == object->thread()) {
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
        Qt::BlockingQueuedConnection);
}

} // namespace quorin::core::ui
