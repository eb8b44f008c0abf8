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

void RunParts(std::size_t parts, const std::function<void(std::size_t part)>& part)
{
    if (parts == 0) {
        return;
    }
    WorkerThreads threads;
    std::vector<std::size_t> here = {0};
    for (std::size_t p = 1; p < parts; ++p) {
        if (!threads.Start([&part, p] { part(p); })) {
            here.push_back(p);
        }
    }
    for (const std::size_t p : here) {
        part(p);
    }
    threads.JoinAll();
}

} // namespace quorin::batch
