#include "Platform/Foundation/WorkerPool.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace Foundation {
namespace {

thread_local bool t_isWorker = false;

using Seconds = std::chrono::duration<double>;

} // namespace

struct WorkerPool::State {
    std::mutex mutex;
    std::condition_variable available;
    mutable std::condition_variable threadsChanged;
    std::deque<std::function<void()>> tasks;
    std::size_t threads = 0;
    std::size_t idleThreads = 0;
    std::size_t blockedThreads = 0;
    std::size_t peakThreads = 0;
    double idleTimeout = 5;
    const std::size_t activeLimit = std::max(2u, std::thread::hardware_concurrency());

    // Workers that would take work now: neither idle nor waiting for other work.
    std::size_t runnable() const { return threads - idleThreads - blockedThreads; }
    // Whether an idle worker may take the next task: only while fewer than the limit run. Workers that
    // waited for other work and run again can fill the limit without a single new task.
    bool canTakeTask() const { return !tasks.empty() && runnable() < activeLimit; }
    // Queued work that no idle worker is about to take, while there is room for another runner.
    bool needsWorker() const
    {
        return tasks.size() > idleThreads && threads - blockedThreads < activeLimit;
    }
};

WorkerPool& WorkerPool::shared()
{
    // Never destroyed: detached workers still wait on it while the process exits.
    static auto* pool = new WorkerPool;
    return *pool;
}

WorkerPool::State& WorkerPool::state() const
{
    static auto* state = new State;
    return *state;
}

std::size_t WorkerPool::activeLimit() const
{
    return state().activeLimit;
}

std::size_t WorkerPool::threadCount() const
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.threads;
}

std::size_t WorkerPool::peakThreadCount() const
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.peakThreads;
}

void WorkerPool::resetPeakThreadCount()
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.peakThreads = s.threads;
}

double WorkerPool::idleTimeout() const
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.idleTimeout;
}

void WorkerPool::setIdleTimeout(double seconds)
{
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        s.idleTimeout = std::max(seconds, 0.0);
    }
    s.available.notify_all(); // idle workers measure again
}

bool WorkerPool::waitForThreadCount(std::size_t atMost, double realSeconds) const
{
    auto& s = state();
    std::unique_lock lock(s.mutex);
    return s.threadsChanged.wait_for(lock, Seconds(realSeconds), [&] { return s.threads <= atMost; });
}

bool WorkerPool::waitUntilIdle(double realSeconds) const
{
    auto& s = state();
    std::unique_lock lock(s.mutex);
    return s.threadsChanged.wait_for(lock, Seconds(realSeconds), [&] { return s.tasks.empty() && s.threads == s.idleThreads; });
}

void WorkerPool::submit(std::function<void()> task)
{
    auto& s = state();
    std::unique_lock lock(s.mutex);
    s.tasks.push_back(std::move(task));
    if (s.needsWorker()) {
        startWorker();
        return;
    }
    lock.unlock();
    s.available.notify_one();
}

// Called with the state locked.
void WorkerPool::startWorker()
{
    auto& s = state();
    ++s.threads;
    s.peakThreads = std::max(s.peakThreads, s.threads);
    std::thread([this] { workerLoop(); }).detach();
}

void WorkerPool::workerLoop()
{
    t_isWorker = true;
    auto& s = state();
    std::unique_lock lock(s.mutex);
    for (;;) {
        if (s.tasks.empty()) {
            ++s.idleThreads;
            s.threadsChanged.notify_all(); // the pool may have gone quiet
            auto idleSince = std::chrono::steady_clock::now();
            while (!s.canTakeTask()) {
                auto retireAt = idleSince + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                Seconds(s.idleTimeout));
                if (std::chrono::steady_clock::now() >= retireAt)
                    break;
                s.available.wait_until(lock, retireAt);
            }
            bool canTake = s.canTakeTask();
            --s.idleThreads;
            if (!canTake) {
                --s.threads;
                s.threadsChanged.notify_all();
                return;
            }
        }
        auto task = std::move(s.tasks.front());
        s.tasks.pop_front();
        lock.unlock();
        task();
        task = nullptr; // what the task captured goes before the pool's lock is taken again
        lock.lock();
        // Workers that waited for other work run again when it arrives, which can leave more runners than
        // the limit: the first to finish steps down.
        if (s.runnable() > s.activeLimit) {
            --s.threads;
            s.threadsChanged.notify_all();
            return;
        }
    }
}

WorkerPool::BlockingScope::BlockingScope()
    : m_counted(t_isWorker)
{
    if (!m_counted)
        return;
    auto& pool = shared();
    auto& s = pool.state();
    std::lock_guard lock(s.mutex);
    ++s.blockedThreads;
    if (s.needsWorker())
        pool.startWorker();
    else if (!s.tasks.empty())
        s.available.notify_one(); // an idle worker held back by the limit may run in this one's place
}

WorkerPool::BlockingScope::~BlockingScope()
{
    if (!m_counted)
        return;
    auto& s = shared().state();
    std::lock_guard lock(s.mutex);
    --s.blockedThreads;
}

} // namespace Foundation
