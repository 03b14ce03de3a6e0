#include "Basalwork/Base/ArrayActor.hpp"
#include "Basalwork/Base/AsyncSequence.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

using namespace Basalwork;
using Foundation::make;

namespace {

// Hands out its elements, then ends or fails.
struct Feed {
    std::vector<int> elements;
    bool failsAtEnd = false;

    struct Iterator {
        const Feed* feed;
        std::size_t position = 0;
        std::optional<int> next()
        {
            if (position < feed->elements.size())
                return feed->elements[position++];
            if (feed->failsAtEnd)
                throw GeneralError::failedWithMessage("feed broke");
            return std::nullopt;
        }
    };
    Iterator makeAsyncIterator() const { return Iterator {this}; }
};

static_assert(AsyncSequence<Feed>);

} // namespace

TEST(AsyncSequence, CollectAndMapsKeepArrivalOrder)
{
    Feed feed {{3, 1, 2}};
    EXPECT_EQ(collect(feed), (std::vector<int> {3, 1, 2}));
    EXPECT_EQ(mapToSyncArray(feed, [](int value) { return std::to_string(value); }), (std::vector<std::string> {"3", "1", "2"}));
    auto odd = [](int value) { return value % 2 ? std::optional<int>(value * 10) : std::nullopt; };
    EXPECT_EQ(compactMapToSyncArray(feed, odd), (std::vector<int> {30, 10}));
}

TEST(AsyncSequence, ASequenceThatFailsPartWayTransformsNothing)
{
    Feed feed {{1, 2}, true};
    int transformCalls = 0;
    EXPECT_THROW(mapToSyncArray(feed, [&](int value) { return ++transformCalls, value; }), GeneralError);
    EXPECT_THROW(compactMapToSyncArray(feed, [&](int value) { return ++transformCalls, std::optional<int>(value); }), GeneralError);
    EXPECT_EQ(transformCalls, 0);

    Feed fine {{1, 2, 3}};
    auto failOnTwo = [](int value) {
        if (value == 2)
            throw GeneralError::noResult();
        return value;
    };
    EXPECT_THROW(mapToSyncArray(fine, failOnTwo), GeneralError);
}

TEST(ArrayActor, KeepsEveryAppendFromManyThreads)
{
    auto array = make<ArrayActor<int>>(std::vector<int> {});
    std::vector<std::thread> writers;
    for (int writer = 0; writer < 4; ++writer) {
        writers.emplace_back([&array, writer] {
            for (int i = 0; i < 250; ++i)
                array->append(writer * 1000 + i);
        });
    }
    for (auto& writer : writers)
        writer.join();
    EXPECT_EQ(array->count(), 1000);
}

TEST(ArrayActor, RemoveClosesTheGapAndRefusesABadIndex)
{
    auto array = make<ArrayActor<std::string>>(std::initializer_list<std::string> {"a", "b", "c"});
    EXPECT_EQ(array->remove(1), "b");
    EXPECT_EQ(array->count(), 2);
    EXPECT_EQ(array->remove(1), "c");
    EXPECT_EQ(array->remove(0), "a");
    EXPECT_DEATH(array->remove(0), "Index out of range");
}
