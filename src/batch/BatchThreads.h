#pragma once

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace quorin::batch {

/// Starts a thread that runs work, as std::thread's constructor does: throws
/// std::system_error when the system cannot (its limit of threads or
/// processes reached, no address space left for another stack).
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

/// Puts starter in place for every thread the batch starts from now on (an
/// empty one: std::thread's constructor) and returns the one it replaces.
/// Tests make starting fail as a system out of threads does; it is not to be
/// changed while a run goes on.
ThreadStarter SetThreadStarter(ThreadStarter starter);

/// The threads of one piece of parallel work: as many as the system lets
/// start, every one joined with the object (or by JoinAll), whatever
/// happens meanwhile.
class WorkerThreads
{
public:
    WorkerThreads() = default;
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    /// Starts a thread that runs work; false, with work not run, when the
    /// system refuses another thread.
    bool Start(std::function<void()> work);
    /// The threads started.
    std::size_t Count() const { return m_threads.size(); }
    void JoinAll();

private:
    std::vector<std::thread> m_threads;
};

/// Runs part(p) for p = 0 .. parts - 1 at once: part 0, and every part no
/// thread could be started for, on the calling thread. Returns when all are
/// done.
void RunParts(std::size_t parts, const std::function<void(std::size_t part)>& part);

} // namespace quorin::batch
