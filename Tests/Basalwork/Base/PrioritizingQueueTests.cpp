#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/PrioritizingQueue.hpp"

#include "Platform/Foundation/DispatchSemaphore.hpp"

#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

using namespace Basalwork;
using Foundation::DispatchQueue;
using Foundation::DispatchSemaphore;
using Foundation::DispatchTime;
using Foundation::DispatchTimeoutResult;
using Foundation::make;

TEST(PrioritizingQueue, RunsWorkOnTheWorkQueueInCallOrderAndHandsBackValuesAndErrors)
{
    auto workQueue = DispatchQueue::create("given work queue");
    auto queue = make<PrioritizingQueue>(workQueue);
    std::vector<int> order;
    queue->async([&] { order.push_back(workQueue->isCurrent() ? 1 : -1); });
    queue->async([&] { order.push_back(workQueue->isCurrent() ? 2 : -2); });
    EXPECT_EQ(queue->sync([&] { return static_cast<int>(order.size()); }), 2);
    EXPECT_EQ(order, (std::vector<int> {1, 2}));
    EXPECT_THROW(queue->sync([]() -> int { throw GeneralError::noResult(); }), GeneralError);
}

// A background caller holding its entry (and the serial work queue) must not keep the main thread from
// handing over its work.
TEST(PrioritizingQueue, TheMainThreadDoesNotWaitBehindABackgroundCaller)
{
    auto queue = make<PrioritizingQueue>("shared work");
    auto backgroundEntered = make<DispatchSemaphore>(0);
    auto mainSubmitted = make<DispatchSemaphore>(0);
    bool mainWasHeldUp = false;
    std::vector<std::string> order;
    std::thread background([&] {
        queue->sync([&] {
            backgroundEntered->signal();
            // A real-time bound only for the failing case: the main thread signals at once when it works.
            if (mainSubmitted->wait(DispatchTime::now() + 10) == DispatchTimeoutResult::timedOut)
                mainWasHeldUp = true;
            order.push_back("background");
        });
    });
    backgroundEntered->wait();
    queue->async([&] { order.push_back("main"); });
    mainSubmitted->signal();
    background.join();
    queue->sync([] {});
    EXPECT_FALSE(mainWasHeldUp);
    EXPECT_EQ(order, (std::vector<std::string> {"background", "main"}));
}
