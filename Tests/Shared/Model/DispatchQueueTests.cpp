#include "Shared/Model/DispatchQueue.hpp"

#include "Platform/Foundation/DispatchGroup.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

TEST(ConcurrentPerform, RunsEveryIndexOnceAndRethrowsTheFirstFailure)
{
    for (std::size_t iterations : {0u, 1u, 7u, 10007u}) {
        std::vector<std::atomic<int>> runs(iterations);
        Shared::concurrentPerform(iterations, [&](std::size_t i) { ++runs[i]; });
        for (std::size_t i = 0; i < iterations; ++i)
            ASSERT_EQ(runs[i].load(), 1) << i << " of " << iterations;
    }
    std::atomic<int> ran = 0;
    EXPECT_THROW(Shared::concurrentPerform(1000,
                                           [&](std::size_t i) {
                                               if (i == 500)
                                                   throw std::runtime_error("one failed");
                                               ++ran;
                                           }),
                 std::runtime_error);
    // Only what shared the failing batch was skipped.
    EXPECT_GT(ran.load(), 900);
}

TEST(ConcurrentPerform, FinishesWhenEveryWorkerIsBusyWithTheSame)
{
    // Each outer index runs an inner perform from a worker: callers do the work themselves when no
    // worker is free.
    std::atomic<int> total = 0;
    auto group = Foundation::make<Foundation::DispatchGroup>();
    for (int outer = 0; outer < 32; ++outer) {
        Foundation::DispatchQueue::global()->async(group, [&] { Shared::concurrentPerform(100, [&](std::size_t) { ++total; }); });
    }
    group->wait();
    EXPECT_EQ(total.load(), 3200);
}

TEST(ConcurrentPipeline, RunsEveryPieceOnceWhileMoreAreAddedAndRethrowsTheFirstFailure)
{
    std::vector<std::atomic<int>> runs(500);
    {
        Shared::ConcurrentPipeline pipeline;
        for (std::size_t i = 0; i < runs.size(); ++i)
            pipeline.add([&runs, i] { ++runs[i]; });
        pipeline.finish();
    }
    for (std::size_t i = 0; i < runs.size(); ++i)
        ASSERT_EQ(runs[i].load(), 1) << i;

    std::atomic<int> ran = 0;
    Shared::ConcurrentPipeline failing;
    for (int i = 0; i < 100; ++i) {
        failing.add([&ran, i] {
            if (i % 10 == 3)
                throw std::runtime_error("one failed");
            ++ran;
        });
    }
    EXPECT_THROW(failing.finish(), std::runtime_error);
    EXPECT_EQ(ran.load(), 90) << "the other pieces still ran";

    // Left without finishing (its maker threw), it still waits for the pieces that use the maker's data.
    std::atomic<int> late = 0;
    {
        Shared::ConcurrentPipeline abandoned;
        for (int i = 0; i < 50; ++i)
            abandoned.add([&late] { ++late; });
    }
    EXPECT_EQ(late.load(), 50);
}

} // namespace
