#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchGroup.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/Foundation/WorkerPool.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

using namespace Foundation;

namespace {

constexpr auto patience = std::chrono::seconds(30);

// Blocks that each take 50 ms of the manual clock: they hold their worker until the test has moved the
// clock past their end. The pool cannot tell them from real work.
class TimedBlocks {
public:
    void run(double seconds)
    {
        std::unique_lock lock(m_mutex);
        double end = Clock::uptime() + seconds;
        m_threads.insert(std::this_thread::get_id());
        ++m_running;
        m_peakRunning = std::max(m_peakRunning, m_running);
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_released || Clock::uptime() >= end; });
        --m_running;
        ++m_finished;
        m_changed.notify_all();
    }

    // Waits until at least `running` blocks run (or every block left does), then moves the clock on.
    bool step(int running, int total, double seconds)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, patience, [&] { return m_running >= std::min(running, total - m_finished); }))
            return false;
        Clock::advance(seconds);
        m_changed.notify_all();
        return true;
    }

    // Lets every block end at once, so that a failing test never leaves blocks behind that point at it.
    void release()
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

    int finished()
    {
        std::lock_guard lock(m_mutex);
        return m_finished;
    }
    int peakRunning()
    {
        std::lock_guard lock(m_mutex);
        return m_peakRunning;
    }
    std::size_t threads()
    {
        std::lock_guard lock(m_mutex);
        return m_threads.size();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::set<std::thread::id> m_threads;
    int m_running = 0;
    int m_peakRunning = 0;
    int m_finished = 0;
    bool m_released = false;
};

struct TimedRun {
    bool keptPace = true;
    int peakRunning = 0;
    std::size_t threads = 0;
};

// Runs `total` blocks of 50 ms each, moving the clock once as many run as the pool may run at once.
// Returns only once every block has ended, whatever happened.
TimedRun runTimedBlocks(int total)
{
    auto& pool = WorkerPool::shared();
    const auto limit = static_cast<int>(pool.activeLimit());
    TimedBlocks blocks;
    auto group = make<DispatchGroup>();
    for (int i = 0; i < total; ++i)
        DispatchQueue::global()->async(group, [&blocks] { blocks.run(0.05); });
    TimedRun run;
    while (blocks.finished() < total) {
        if (!blocks.step(limit, total, 0.05)) {
            run.keptPace = false;
            blocks.release();
            break;
        }
    }
    group->wait();
    run.peakRunning = blocks.peakRunning();
    run.threads = blocks.threads();
    return run;
}

// Every worker the limit allows waits for a signal that only one more block gives.
bool waitForOtherWorkOnEveryWorker()
{
    const auto limit = WorkerPool::shared().activeLimit();
    auto gate = make<DispatchSemaphore>(0);
    auto group = make<DispatchGroup>();
    for (std::size_t i = 0; i < limit; ++i)
        DispatchQueue::global()->async(group, [gate] { gate->wait(); });
    DispatchQueue::global()->async(group, [gate, limit] {
        for (std::size_t i = 0; i < limit; ++i)
            gate->signal();
    });
    return group->wait(DispatchTime::now() + 30) == DispatchTimeoutResult::success;
}

bool retireIdleWorkers()
{
    auto& pool = WorkerPool::shared();
    const double timeout = pool.idleTimeout();
    pool.setIdleTimeout(0.01);
    bool retired = pool.waitForThreadCount(0, 30);
    pool.setIdleTimeout(timeout);
    return retired;
}

} // namespace

TEST(WorkerPool, ManyLongBlocksRunOnABoundedSetOfThreadsThatRetireWhenIdle)
{
    auto& pool = WorkerPool::shared();
    ASSERT_TRUE(retireIdleWorkers());
    pool.resetPeakThreadCount();
    auto run = runTimedBlocks(1000);
    EXPECT_TRUE(run.keptPace) << "the pool ran fewer blocks at once than it may";
    EXPECT_EQ(run.peakRunning, static_cast<int>(pool.activeLimit()));
    EXPECT_LE(pool.peakThreadCount(), pool.activeLimit());
    EXPECT_LE(run.threads, pool.activeLimit());
    EXPECT_TRUE(retireIdleWorkers());
}

TEST(WorkerPool, WorkersWaitingForOtherWorkMakeRoomForItAndTheBoundHoldsAfterwards)
{
    // The waiting workers must not count against the limit, or the last block never runs.
    EXPECT_TRUE(waitForOtherWorkOnEveryWorker());
    // The workers started in their place are still there, idle: they must not all take work at once.
    auto run = runTimedBlocks(200);
    EXPECT_TRUE(run.keptPace);
    EXPECT_EQ(run.peakRunning, static_cast<int>(WorkerPool::shared().activeLimit()));
}

TEST(WorkerPool, IsIdleOnlyOnceNoTaskIsQueuedOrRunningNorWaitingForOtherWork)
{
    auto& pool = WorkerPool::shared();
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool released = false;
    auto semaphore = make<DispatchSemaphore>(0);
    pool.submit([&] {
        {
            std::unique_lock lock(mutex);
            started = true;
            changed.notify_all();
            changed.wait(lock, [&] { return released; });
        }
        // Waiting inside a dispatch wait still counts as work in flight.
        semaphore->wait();
    });
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, patience, [&] { return started; }));
    }
    EXPECT_FALSE(pool.waitUntilIdle(0));
    {
        std::lock_guard lock(mutex);
        released = true;
    }
    changed.notify_all();
    EXPECT_FALSE(pool.waitUntilIdle(0));
    semaphore->signal();
    EXPECT_TRUE(pool.waitUntilIdle(30));
}
