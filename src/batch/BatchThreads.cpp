#include "batch/BatchThreads.h"

#include <new>
#include <system_error>
#include <utility>

namespace quorin::batch {
namespace {

ThreadStarter& currentStarter()
{
    static ThreadStarter starter;
    return starter;
}

} // namespace

ThreadStarter SetThreadStarter(ThreadStarter starter)
{
    return std::exchange(currentStarter(), std::move(starter));
}

WorkerThreads::~WorkerThreads()
{
    JoinAll();
}

bool WorkerThreads::Start(std::function<void()> work)
{
    try {
        // Room first, so that a thread once started is always kept for joining.
        m_threads.reserve(m_threads.size() + 1);
        const ThreadStarter& starter = currentStarter();
        m_threads.push_back(starter ? starter(std::move(work)) : std::thread(std::move(work)));
        return true;
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void WorkerThreads::JoinAll()
{
    for (std::thread& thread : m_threads) {
        if (thread.joinable()) {
            thread.join();
        }
    }
    m_threads.clear();
}

} // namespace quorin::batch
