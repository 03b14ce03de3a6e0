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
        m_changed.wait(lock, [&] { return Clock::uptime() >= end; });
        --m_running;
        ++m_finished;
        m_changed.notify_all();
    }

    // Waits until `running` blocks run (or every block left has finished), then moves the clock on.
    bool step(int running, int total, double seconds)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, patience, [&] { return m_running == std::min(running, total - m_finished); }))
            return false;
        Clock::advance(seconds);
        m_changed.notify_all();
        return true;
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
};

} // namespace

TEST(WorkerPool, ManyLongBlocksRunOnABoundedSetOfThreadsThatRetireWhenIdle)
{
    auto& pool = WorkerPool::shared();
    const auto limit = static_cast<int>(pool.activeLimit());
    const int total = 1000;
    pool.resetPeakThreadCount();
    TimedBlocks blocks;
    auto group = make<DispatchGroup>();
    for (int i = 0; i < total; ++i)
        DispatchQueue::global()->async(group, [&blocks] { blocks.run(0.05); });

    while (blocks.finished() < total)
        ASSERT_TRUE(blocks.step(limit, total, 0.05)) << "the pool ran fewer blocks at once than it may";
    group->wait();

    EXPECT_EQ(blocks.peakRunning(), limit);
    EXPECT_LE(pool.peakThreadCount(), pool.activeLimit());
    EXPECT_LE(blocks.threads(), pool.activeLimit());

    const double timeout = pool.idleTimeout();
    pool.setIdleTimeout(0.01);
    EXPECT_TRUE(pool.waitForThreadCount(0, 30));
    pool.setIdleTimeout(timeout);
}

TEST(WorkerPool, WorkersWaitingForOtherWorkMakeRoomForIt)
{
    // Every worker the limit allows waits for a signal that only one more block gives: the waiting
    // workers must not count against the limit, or the last block never runs.
    auto& pool = WorkerPool::shared();
    const auto limit = pool.activeLimit();
    auto gate = make<DispatchSemaphore>(0);
    auto group = make<DispatchGroup>();
    for (std::size_t i = 0; i < limit; ++i)
        DispatchQueue::global()->async(group, [gate] { gate->wait(); });
    DispatchQueue::global()->async(group, [gate, limit] {
        for (std::size_t i = 0; i < limit; ++i)
            gate->signal();
    });
    EXPECT_EQ(group->wait(DispatchTime::now() + 30), DispatchTimeoutResult::success);
}
