#pragma once

#include <QFuture>

#include <functional>

class QObject;

namespace quorin::core::ui {

/// Runs work on a thread of the program's worker pool and then done on the
/// thread of context (the GUI thread for widgets and documents). done is
/// dropped when context is destroyed before work ends, so work must own or
/// outlive everything it touches. work must not throw. The program waits for
/// running work when it ends. The future tells when work has ended.
QFuture<void> RunInBackground(QObject* context, std::function<void()> work,
                              std::function<void()> done);

/// Posts MSG_PROGRESS for each new percentage; one per thread of work.
class ProgressPoster
{
public:
    void operator()(int percent);

private:
    int m_last = -1;
};

} // namespace quorin::core::ui
