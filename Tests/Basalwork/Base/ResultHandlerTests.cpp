#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/Result.hpp"
#include "Basalwork/Base/ResultHandler.hpp"
#include "Basalwork/Base/ThrowingResultHandler.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/DispatchSemaphore.hpp"

#include <atomic>
#include <gtest/gtest.h>
#include <vector>

using namespace Basalwork;
using Foundation::DispatchQueue;
using Foundation::Result;
using TestSupport::advanceClock;
using TestSupport::runMainLoopUntilIdle;

TEST(ResultHandler, AsynchronousDeliveryOnTheMainQueueReturnsBeforeTheHandlerRuns)
{
    std::vector<int> received;
    ResultHandler<int> handler(DispatchQueue::main(), [&](int value) { received.push_back(value); });
    handler.invokeAsynchronously(1);
    EXPECT_TRUE(received.empty());
    runMainLoopUntilIdle();
    EXPECT_EQ(received, (std::vector<int> {1}));
}

TEST(ResultHandler, DeliversInCallOrderOnASerialQueueWithTheValueCopiedAtTheCall)
{
    auto queue = DispatchQueue::create("results");
    std::vector<std::string> received;
    ResultHandler<std::string> handler(queue, [&](std::string value) { received.push_back(value); });
    std::string value = "first";
    handler.invokeAsynchronously(value);
    value = "second";
    handler.invokeAsynchronously(value);
    value = "changed afterwards";
    queue->sync([] {});
    EXPECT_EQ(received, (std::vector<std::string> {"first", "second"}));
}

TEST(ResultHandler, SynchronousDeliveryHasRunWhenTheCallReturns)
{
    auto queue = DispatchQueue::create("sync-results");
    std::atomic<bool> ranOnQueue {false};
    ResultHandler<Result<void>> handler(queue, [&](Result<void>) { ranOnQueue = queue->isCurrent(); });
    handler.invokeSynchronously(Result<void>::success());
    EXPECT_TRUE(ranOnQueue);
}

TEST(ThrowingResultHandler, TheHandlersErrorReachesTheCaller)
{
    auto queue = DispatchQueue::create("throwing");
    ThrowingResultHandler<int> handler(queue, [](int) { throw GeneralError::noResult(); });
    try {
        handler.invokeSynchronously(3);
        FAIL() << "expected the handler's error";
    } catch (const GeneralError& error) {
        EXPECT_NE(error.as<GeneralError::NoResult>(), nullptr);
    }
}

TEST(AsyncAfter, ZeroSecondsRunsOnALaterTurnNeverInsideTheCall)
{
    int runs = 0;
    asyncAfter(*DispatchQueue::main(), 0, [&] { ++runs; });
    EXPECT_EQ(runs, 0);
    runMainLoopUntilIdle();
    EXPECT_EQ(runs, 1);
    advanceClock(10);
    EXPECT_EQ(runs, 1);
}

TEST(AsyncAfter, IntegerAndFractionalDelaysRunAtTheirDeadlines)
{
    std::vector<std::string> fired;
    asyncAfter(*DispatchQueue::main(), 2, [&] { fired.push_back("2"); });
    asyncAfter(*DispatchQueue::main(), 0.5, [&] { fired.push_back("0.5"); });
    advanceClock(0.4);
    EXPECT_TRUE(fired.empty());
    advanceClock(0.1);
    EXPECT_EQ(fired, (std::vector<std::string> {"0.5"}));
    advanceClock(1.5);
    EXPECT_EQ(fired, (std::vector<std::string> {"0.5", "2"}));
}

TEST(ResultAdditions, ValueAndErrorAreEachPresentOnlyOnTheirSide)
{
    auto success = Result<int>::success(4);
    auto failure = Result<int>::failure(GeneralError::userDidCancel());
    EXPECT_EQ(value(success), 4);
    EXPECT_EQ(error(success), nullptr);
    EXPECT_EQ(value(failure), std::nullopt);
    ASSERT_NE(error(failure), nullptr);
    EXPECT_EQ(error(failure)->code(), 6);
}
