#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Operation.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/Thread.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <algorithm>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

using namespace Foundation;
using TestSupport::runMainLoopUntilIdle;

namespace {

// Records the order in which operations ran, from any thread.
class Log {
public:
    void add(std::string entry)
    {
        std::lock_guard lock(m_mutex);
        m_entries.push_back(std::move(entry));
    }
    std::vector<std::string> entries() const
    {
        std::lock_guard lock(m_mutex);
        return m_entries;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_entries;
};

class Step : public Operation {
public:
    void main() override { m_body(); }

protected:
    friend Construct;
    explicit Step(std::function<void()> body)
        : m_body(std::move(body))
    {
    }

private:
    std::function<void()> m_body;
};

std::shared_ptr<Step> step(Log& log, std::string name)
{
    return make<Step>([&log, name] { log.add(name); });
}

} // namespace

TEST(OperationQueue, AnOperationWaitsForItsDependenciesEvenOnAnotherQueue)
{
    Log log;
    auto first = make<OperationQueue>();
    auto second = make<OperationQueue>();
    first->setIsSuspended(true);
    auto a = step(log, "a");
    auto b = step(log, "b");
    b->addDependency(a);
    second->addOperation(b);
    first->addOperation(a);

    EXPECT_FALSE(b->isReady());
    EXPECT_EQ(second->operationCount(), 1);
    first->setIsSuspended(false);
    second->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(log.entries(), (std::vector<std::string> {"a", "b"}));
    EXPECT_TRUE(a->isFinished());
    EXPECT_EQ(first->operationCount(), 0);
}

TEST(OperationQueue, OneAtATimeRunsInTheOrderAddedAndNeverOverlaps)
{
    Log log;
    auto queue = make<OperationQueue>();
    queue->setMaxConcurrentOperationCount(1);
    std::atomic<int> running {0};
    std::atomic<int> mostAtOnce {0};
    std::vector<std::shared_ptr<Operation>> operations;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        operations.push_back(make<Step>([&, i] {
            int now = ++running;
            mostAtOnce = std::max(mostAtOnce.load(), now);
            log.add(std::to_string(i));
            --running;
        }));
        expected.push_back(std::to_string(i));
    }
    queue->addOperations(operations, true);
    EXPECT_EQ(log.entries(), expected);
    EXPECT_EQ(mostAtOnce.load(), 1);
}

TEST(OperationQueue, ACancelledOperationFinishesWithoutRunningAndReleasesItsDependents)
{
    Log log;
    auto queue = make<OperationQueue>();
    queue->setIsSuspended(true);
    auto cancelled = step(log, "cancelled");
    auto dependent = step(log, "dependent");
    dependent->addDependency(cancelled);
    queue->addOperations({cancelled, dependent}, false);
    cancelled->cancel();
    queue->setIsSuspended(false);
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(log.entries(), (std::vector<std::string> {"dependent"}));
    EXPECT_TRUE(cancelled->isFinished());
    EXPECT_TRUE(cancelled->isCancelled());
}

TEST(OperationQueue, AQueueNobodyHoldsStillRunsWhatItWasGiven)
{
    Log log;
    auto gate = make<OperationQueue>();
    gate->setIsSuspended(true);
    auto opener = step(log, "opener");
    auto work = step(log, "work");
    work->addDependency(opener);
    std::weak_ptr<OperationQueue> released;
    {
        auto queue = make<OperationQueue>();
        released = queue;
        queue->addOperation(work);
    }
    EXPECT_FALSE(released.expired());
    gate->addOperation(opener);
    gate->setIsSuspended(false);
    work->waitUntilFinished();
    EXPECT_EQ(log.entries(), (std::vector<std::string> {"opener", "work"}));
}

TEST(OperationQueue, MainQueueRunsOperationsOnLaterTurnsAndIsCurrentThere)
{
    std::vector<int> order;
    std::shared_ptr<OperationQueue> currentInside;
    OperationQueue::main()->addOperation([&] {
        order.push_back(1);
        currentInside = OperationQueue::current();
    });
    OperationQueue::main()->addOperation([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    runMainLoopUntilIdle();
    EXPECT_EQ(order, (std::vector<int> {1, 2}));
    EXPECT_EQ(currentInside, OperationQueue::main());

    auto background = make<OperationQueue>();
    std::shared_ptr<OperationQueue> currentInBackground;
    background->addOperation([&] { currentInBackground = OperationQueue::current(); });
    background->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(currentInBackground, background);
}

TEST(OperationQueue, AnOperationJoinsOneQueueOnce)
{
    auto queue = make<OperationQueue>();
    queue->setIsSuspended(true);
    auto operation = make<Step>([] {});
    queue->addOperation(operation);
    EXPECT_DEATH(queue->addOperation(operation), "operation is already enqueued on a queue");
    queue->setIsSuspended(false);
    queue->waitUntilAllOperationsAreFinished();

    OperationQueue::main()->addOperation([] {});
    EXPECT_DEATH(OperationQueue::main()->waitUntilAllOperationsAreFinished(), "would never return");
    runMainLoopUntilIdle();
}

TEST(DispatchQueue, AQueueAimedAtTheMainQueueRunsThereWhenTheLoopTurns)
{
    auto queue = DispatchQueue::create("aimed", DispatchQoS::QoSClass::utility, DispatchQueue::Attributes::serial,
                                       DispatchQueue::AutoreleaseFrequency::inherit, DispatchQueue::main());
    std::vector<bool> onMainThread;
    queue->async([&] { onMainThread.push_back(Thread::isMainThread() && queue->isCurrent()); });
    queue->async([&] { onMainThread.push_back(Thread::isMainThread()); });
    EXPECT_TRUE(onMainThread.empty());
    runMainLoopUntilIdle();
    EXPECT_EQ(onMainThread, (std::vector<bool> {true, true}));
    // Waiting on it from the main thread would wait on the main queue itself.
    EXPECT_DEATH(queue->sync([] {}), "would never return");
}
