#include "core/ui/BackgroundWork.h"

#include "core/ui/Notifications.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QThreadPool>

#include <memory>

namespace quorin::core::ui {

QFuture<void> RunInBackground(QObject* context, std::function<void()> work,
                              std::function<void()> done)
{
    auto promise = std::make_shared<QPromise<void>>();
    QFuture<void> future = promise->future();
    // The watcher lives with context: when context goes, so does the call of done.
    auto* watcher = new QFutureWatcher<void>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         if (done) {
                             done();
                         }
                     });
    watcher->setFuture(future);
    // The global pool is waited for when the application object goes.
    QThreadPool::globalInstance()->start([promise, work = std::move(work)] {
        promise->start();
        work();
        promise->finish();
    });
    return future;
}

void ProgressPoster::operator()(int percent)
{
    if (percent != m_last) {
        m_last = percent;
        PostNotification(MSG_PROGRESS, percent);
    }
}

} // namespace quorin::core::ui
