#include "Platform/Foundation/WorkerPool.hpp"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace Foundation {

struct WorkerPool::State {
    std::mutex mutex;
    std::condition_variable available;
    std::deque<std::function<void()>> tasks;
    std::size_t idleThreads = 0;
    std::size_t threads = 0;
};

WorkerPool& WorkerPool::shared()
{
    // Never destroyed: detached workers still wait on it while the process exits.
    static auto* pool = new WorkerPool;
    return *pool;
}

WorkerPool::State& WorkerPool::state()
{
    static auto* state = new State;
    return *state;
}

void WorkerPool::submit(std::function<void()> task)
{
    auto& s = state();
    std::unique_lock lock(s.mutex);
    s.tasks.push_back(std::move(task));
    if (s.tasks.size() > s.idleThreads) {
        ++s.threads;
        lock.unlock();
        std::thread([this] { workerLoop(); }).detach();
    } else {
        lock.unlock();
        s.available.notify_one();
    }
}

void WorkerPool::workerLoop()
{
    auto& s = state();
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(s.mutex);
            ++s.idleThreads;
            s.available.wait(lock, [&] { return !s.tasks.empty(); });
            --s.idleThreads;
            task = std::move(s.tasks.front());
            s.tasks.pop_front();
        }
        task();
    }
}

} // namespace Foundation
