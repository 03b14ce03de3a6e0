#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchGroup.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/DispatchScheduler.hpp"
#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/Foundation/DispatchWorkItem.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Foundation;
using TestSupport::advanceClock;
using TestSupport::runMainLoopUntilIdle;

TEST(DispatchQueue, MainQueueRunsOnlyWhenTheLoopTurnsAndInOrder)
{
    std::vector<int> order;
    DispatchQueue::main()->async([&] { order.push_back(1); });
    DispatchQueue::main()->async([&] {
        order.push_back(2);
        DispatchQueue::main()->async([&] { order.push_back(4); });
    });
    DispatchQueue::main()->async([&] { order.push_back(3); });
    EXPECT_TRUE(order.empty());

    // One turn runs what was queued when it began; work added meanwhile waits for the next turn.
    RunLoop::main()->runOnce();
    EXPECT_EQ(order, (std::vector<int> {1, 2, 3}));
    runMainLoopUntilIdle();
    EXPECT_EQ(order, (std::vector<int> {1, 2, 3, 4}));
}

TEST(DispatchQueue, MainQueueIsCurrentOnTheMainThreadOnly)
{
    EXPECT_TRUE(DispatchQueue::main()->isCurrent());
    auto done = make<DispatchSemaphore>(0);
    std::atomic<bool> currentOnWorker {true};
    DispatchQueue::global()->async([&] {
        currentOnWorker = DispatchQueue::main()->isCurrent() || !DispatchQueue::global()->isCurrent();
        done->signal();
    });
    done->wait();
    EXPECT_FALSE(currentOnWorker);
}

TEST(DispatchQueue, SerialQueueRunsOneItemAtATimeInSubmissionOrder)
{
    auto queue = DispatchQueue::create("serial");
    std::vector<int> order;
    std::atomic<int> running {0};
    std::atomic<bool> overlapped {false};
    for (int i = 0; i < 200; ++i)
        queue->async([&, i] {
            if (++running > 1)
                overlapped = true;
            order.push_back(i);
            --running;
        });
    queue->sync([] {});
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    EXPECT_FALSE(overlapped);
}

TEST(DispatchQueue, SyncReturnsValuesAndPropagatesExceptions)
{
    auto queue = DispatchQueue::create("sync");
    EXPECT_EQ(queue->sync<int>([] { return 42; }), 42);
    EXPECT_THROW(queue->sync([] { throw std::runtime_error("boom"); }), std::runtime_error);
    // The queue keeps working after an item threw into its caller.
    EXPECT_EQ(queue->sync<int>([] { return 7; }), 7);
}

TEST(DispatchQueue, SyncOntoMainFromAWorkerWaitsForTheLoop)
{
    std::atomic<bool> ranOnMain {false};
    auto finished = make<DispatchSemaphore>(0);
    DispatchQueue::global()->async([&] {
        DispatchQueue::main()->sync([&] { ranOnMain = DispatchQueue::main()->isCurrent(); });
        finished->signal();
    });
    while (!ranOnMain)
        RunLoop::main()->runOnce();
    finished->wait();
    EXPECT_TRUE(ranOnMain);
}

TEST(DispatchQueueDeathTest, SyncOntoTheCurrentSerialQueueStops)
{
    EXPECT_DEATH(DispatchQueue::main()->sync([] {}), "would never return");
}

TEST(DispatchQueue, ConcurrentQueueRunsItemsInParallel)
{
    // Two items that each wait for the other can only finish when they run at the same time.
    auto queue = DispatchQueue::create("concurrent", DispatchQueue::Attributes::concurrent);
    auto first = make<DispatchSemaphore>(0);
    auto second = make<DispatchSemaphore>(0);
    auto group = make<DispatchGroup>();
    queue->async(group, [&] {
        first->signal();
        second->wait();
    });
    queue->async(group, [&] {
        second->signal();
        first->wait();
    });
    group->wait();
}

TEST(DispatchQueue, AsyncAfterRunsWhenTheClockReachesTheDeadline)
{
    std::vector<std::string> fired;
    auto now = DispatchTime::now();
    DispatchQueue::main()->asyncAfter(now + 2, [&] { fired.push_back("two"); });
    DispatchQueue::main()->asyncAfter(now + 1, [&] { fired.push_back("one"); });
    DispatchQueue::main()->asyncAfter(now + 0, [&] { fired.push_back("zero"); });
    EXPECT_TRUE(fired.empty());

    runMainLoopUntilIdle();
    EXPECT_EQ(fired, (std::vector<std::string> {"zero"}));
    advanceClock(0.999);
    EXPECT_EQ(fired.size(), 1u);
    advanceClock(0.001);
    EXPECT_EQ(fired, (std::vector<std::string> {"zero", "one"}));
    advanceClock(5);
    EXPECT_EQ(fired, (std::vector<std::string> {"zero", "one", "two"}));
}

TEST(DispatchQueue, WorkScheduledByDueWorkFallsDueInTurnWhileAdvancing)
{
    std::vector<double> times;
    const double start = Clock::uptime();
    std::function<void()> tick = [&] {
        times.push_back(Clock::uptime() - start);
        if (times.size() < 3)
            DispatchQueue::main()->asyncAfter(DispatchTime::now() + 1, tick);
    };
    DispatchQueue::main()->asyncAfter(DispatchTime::now() + 1, tick);
    advanceClock(10);
    EXPECT_EQ(times, (std::vector<double> {1, 2, 3}));
}

TEST(DispatchQueue, CancelledWorkItemDoesNotRun)
{
    bool ran = false;
    auto item = make<DispatchWorkItem>([&] { ran = true; });
    DispatchQueue::main()->asyncAfter(DispatchTime::now() + 1, item);
    item->cancel();
    advanceClock(2);
    EXPECT_FALSE(ran);

    // A cancelled deadline is forgotten before it comes, so the clock need not stop there.
    auto far = make<DispatchWorkItem>([] {});
    const double deadline = Clock::uptime() + 1000;
    DispatchQueue::main()->asyncAfter(DispatchTime {deadline}, far);
    EXPECT_EQ(DispatchScheduler::nextDeadline(), deadline);
    far->cancel();
    EXPECT_NE(DispatchScheduler::nextDeadline(), deadline);
}

TEST(DispatchGroup, NotifiesOnceAllWorkHasLeft)
{
    auto group = make<DispatchGroup>();
    bool notified = false;
    group->enter();
    group->enter();
    group->notify(DispatchQueue::main(), [&] { notified = true; });
    group->leave();
    runMainLoopUntilIdle();
    EXPECT_FALSE(notified);
    group->leave();
    EXPECT_FALSE(notified); // delivered on the queue, not inside leave()
    runMainLoopUntilIdle();
    EXPECT_TRUE(notified);
    EXPECT_EQ(group->wait(DispatchTime::now()), DispatchTimeoutResult::success);
}

// A waiter commonly owns the semaphore or group and drops it as soon as its wait returns, while the thread
// that woke it may still be inside signal() or leave().
TEST(DispatchSemaphore, AWaiterMayDestroyItAsSoonAsItsWaitReturns)
{
    for (int round = 0; round < 200; ++round) {
        auto done = make<DispatchSemaphore>(0);
        DispatchQueue::global()->async([&done] { done->signal(); });
        done->wait();
        done.reset();
    }
}

TEST(DispatchGroup, AWaiterMayDestroyItAsSoonAsItsWaitReturns)
{
    for (int round = 0; round < 200; ++round) {
        auto group = make<DispatchGroup>();
        group->enter();
        DispatchQueue::global()->async([&group] { group->leave(); });
        group->wait();
        group.reset();
    }
}

// A deadline too far off for the system's clock still means waiting, not giving up at once.
TEST(DispatchSemaphore, WaitingUntilTheDistantFutureWaitsForTheSignal)
{
    auto gate = make<DispatchSemaphore>(0);
    auto done = make<DispatchSemaphore>(0);
    auto group = make<DispatchGroup>();
    group->enter();
    auto finished = make<DispatchGroup>();
    DispatchQueue::global()->async(finished, [&] {
        gate->wait();
        done->signal();
        group->leave();
    });
    gate->signal();
    EXPECT_EQ(done->wait(DispatchTime::distantFuture()), DispatchTimeoutResult::success);
    EXPECT_EQ(group->wait(DispatchTime::now() + 1e12), DispatchTimeoutResult::success);
    finished->wait();
}

TEST(DispatchQueueDeathTest, AnyExceptionEscapingQueuedWorkStopsTheProgram)
{
    // Not only standard exceptions: anything thrown out of async work is a programming error.
    EXPECT_DEATH(
        {
            DispatchQueue::main()->async([] { throw 42; });
            runMainLoopUntilIdle();
        },
        "Uncaught exception on queue \"com.apple.main-thread\"");
}

// A program ending while a worker is stuck in long work does not wait for it: the process ends with the
// program's status once the bound has passed (a quit stays prompt), and the work is left unfinished.
TEST(DispatchQueueDeathTest, AProgramEndingLeavesWorkThatOutlastsTheBoundAndEndsWithItsStatus)
{
    EXPECT_EXIT(
        {
            static std::atomic<bool> release{false};
            DispatchQueue::global()->async([] {
                while (!release)
                    std::this_thread::yield();
            });
            const auto started = std::chrono::steady_clock::now();
            RunLoop::main()->endBackgroundWorkBeforeExit(7, 0.05);
            // Reached only if the stuck work was waited for.
            std::exit(std::chrono::steady_clock::now() - started < std::chrono::seconds(1) ? 3 : 4);
        },
        ::testing::ExitedWithCode(7), "");
}
