#include "Basalwork/Base/AsyncOperation.hpp"
#include "Basalwork/Base/OperationQueue.hpp"

#include "Platform/Foundation/OperationQueue.hpp"

#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace Basalwork;
using Foundation::make;
using Foundation::Operation;
using Foundation::OperationQueue;

namespace {

// Starts its work in main() and leaves completing it to the test.
class PendingLoad : public AsyncOperation<int> {
public:
    std::atomic<int> mainCalls {0};
    void main() override { ++mainCalls; }

protected:
    friend Foundation::Construct;
    PendingLoad() = default;
};

class Recorded : public Operation {
public:
    void main() override
    {
        std::lock_guard lock(*m_mutex);
        m_log->push_back(m_name);
    }

protected:
    friend Foundation::Construct;
    Recorded(std::vector<std::string>& log, std::mutex& mutex, std::string name)
        : m_log(&log)
        , m_mutex(&mutex)
        , m_name(std::move(name))
    {
    }

private:
    std::vector<std::string>* m_log;
    std::mutex* m_mutex;
    std::string m_name;
};

const AsyncOperationError* asyncError(const Foundation::Result<int>& result)
{
    auto error = result.failureError();
    return dynamic_cast<const AsyncOperationError*>(error.get());
}

} // namespace

TEST(AsyncOperation, FinishesWhenItsWorkCompletesNotWhenMainReturns)
{
    auto queue = make<OperationQueue>();
    auto load = make<PendingLoad>();
    queue->addOperation(load);
    while (load->mainCalls == 0)
        std::this_thread::yield();

    EXPECT_TRUE(load->isExecuting());
    EXPECT_FALSE(load->isFinished());
    ASSERT_NE(asyncError(load->result()), nullptr);
    EXPECT_NE(asyncError(load->result())->as<AsyncOperationError::OperationNotComplete>(), nullptr);
    EXPECT_EQ(queue->operationCount(), 1);

    load->completeOperation(Foundation::Result<int>::success(42));
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_FALSE(load->isExecuting());
    EXPECT_TRUE(load->isFinished());
    EXPECT_EQ(load->result().get(), 42);
}

TEST(AsyncOperation, CancelledBeforeItsQueueStartsItFinishesWithoutRunning)
{
    auto queue = make<OperationQueue>();
    queue->setIsSuspended(true);
    auto load = make<PendingLoad>();
    queue->addOperation(load);
    load->cancel();
    EXPECT_FALSE(load->isExecuting());
    EXPECT_FALSE(load->isFinished());

    queue->setIsSuspended(false);
    queue->waitUntilAllOperationsAreFinished();
    EXPECT_EQ(load->mainCalls, 0);
    EXPECT_TRUE(load->isFinished());
    ASSERT_NE(asyncError(load->result()), nullptr);
    EXPECT_NE(asyncError(load->result())->as<AsyncOperationError::OperationCancelled>(), nullptr);
    EXPECT_EQ(asyncError(load->result())->code(), 2);
}

TEST(AsyncOperation, CancelledWhileRunningLetsItsQueueMoveOnAndALaterCompletionStillCounts)
{
    auto queue = OperationQueues::withName("loads", 1, Foundation::QualityOfService::utility);
    EXPECT_EQ(queue->name(), "loads");
    EXPECT_EQ(queue->maxConcurrentOperationCount(), 1);
    auto first = make<PendingLoad>();
    auto second = make<PendingLoad>();
    queue->addOperations({first, second}, false);
    while (first->mainCalls == 0)
        std::this_thread::yield();

    first->cancel();
    while (second->mainCalls == 0)
        std::this_thread::yield();
    EXPECT_TRUE(first->isFinished());

    // Finishing twice must not free a second place in the one-at-a-time queue.
    first->completeOperation(Foundation::Result<int>::success(7));
    EXPECT_EQ(first->result().get(), 7);
    auto third = make<PendingLoad>();
    queue->addOperation(third);
    EXPECT_EQ(third->mainCalls, 0);
    EXPECT_FALSE(third->isExecuting());
    second->completeOperation(Foundation::Result<int>::success(2));
    while (third->mainCalls == 0)
        std::this_thread::yield();
    third->completeOperation(Foundation::Result<int>::success(3));
    queue->waitUntilAllOperationsAreFinished();
}

TEST(OperationQueueAdditions, EveryOperationWaitsForEveryGivenDependency)
{
    std::vector<std::string> log;
    std::mutex mutex;
    auto gate = make<OperationQueue>();
    gate->setIsSuspended(true);
    auto a1 = make<Recorded>(log, mutex, "a1");
    auto a2 = make<Recorded>(log, mutex, "a2");
    auto b = make<Recorded>(log, mutex, "b");
    auto c = make<Recorded>(log, mutex, "c");
    auto queue = make<OperationQueue>();
    add(*queue, {b, c}, std::vector<std::shared_ptr<Operation>> {a1, a2}, false);
    EXPECT_EQ(b->dependencies(), (std::vector<std::shared_ptr<Operation>> {a1, a2}));
    EXPECT_EQ(c->dependencies(), (std::vector<std::shared_ptr<Operation>> {a1, a2}));

    gate->addOperation(a1);
    gate->addOperation(a2);
    gate->setIsSuspended(false);
    queue->waitUntilAllOperationsAreFinished();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(std::set<std::string>(log.begin(), log.begin() + 2), (std::set<std::string> {"a1", "a2"}));

    auto d = make<Recorded>(log, mutex, "d");
    add(*queue, {d}, nullptr, true);
    EXPECT_TRUE(d->dependencies().empty());
    EXPECT_EQ(log.back(), "d");
}
