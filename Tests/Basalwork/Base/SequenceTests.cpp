#include "Basalwork/Base/Sequence.hpp"

#include "Platform/Foundation/String.hpp"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <optional>
#include <ranges>
#include <stdexcept>
#include <vector>

using namespace Basalwork;
using Foundation::String;

namespace {
struct Login {
    String site;
    String user;
    friend bool operator==(const Login&, const Login&) = default;
};
} // namespace

TEST(SequenceSum, StartsFromZeroAndStopsOnIntegerOverflow)
{
    EXPECT_EQ(sum(std::vector<std::int64_t> {}), 0);
    EXPECT_EQ(sum(std::vector<int> {1, 2, 3}), 6);
    EXPECT_DOUBLE_EQ(sum(std::vector<double> {0.5, 0.25}), 0.75);
    EXPECT_EQ(sum(std::views::iota(1, 5)), 10);
    EXPECT_DEATH(sum(std::vector<std::int64_t> {std::numeric_limits<std::int64_t>::max(), 1}), "overflow");
    EXPECT_DEATH(sum(std::vector<std::int8_t> {100, 100}), "overflow");
}

TEST(SequenceMembership, NegationsAndContainsAll)
{
    const std::vector<String> words {"alpha", "beta"};
    EXPECT_TRUE(doesNotContain(words, "gamma"));
    EXPECT_FALSE(doesNotContain(words, "beta"));
    EXPECT_TRUE(doesNotContain(words, [](const String& word) { return word.isEmpty(); }));
    EXPECT_FALSE(doesNotContain(words, [](const String& word) { return word.hasPrefix("al"); }));
    EXPECT_TRUE(containsAll(words, std::vector<String> {"beta", "alpha", "beta"}));
    EXPECT_FALSE(containsAll(words, std::vector<String> {"beta", "gamma"}));
    EXPECT_TRUE(containsAll(words, std::vector<String> {}));
}

TEST(SequenceRemovingDuplicates, KeepsFirstOccurrencesByTheElementsOwnEquality)
{
    EXPECT_EQ(removingDuplicates(std::vector {3, 1, 3, 2, 1}), (std::vector {3, 1, 2}));
    EXPECT_TRUE(removingDuplicates(std::vector<int> {}).empty());
    // Text is equal by canonical equivalence, not by its bytes: the decomposed é is a duplicate.
    const std::vector<String> names {"caf\u00e9", "cafe\u0301", "cafe"};
    EXPECT_EQ(removingDuplicates(names).size(), 2u);
    // Types with equality but no hash work too.
    const std::vector<Login> logins {{"a", "x"}, {"b", "x"}, {"a", "x"}};
    EXPECT_EQ(removingDuplicates(logins), (std::vector<Login> {{"a", "x"}, {"b", "x"}}));

    EXPECT_EQ(uniqueMap(logins, [](const Login& login) { return login.user; }), (std::vector<String> {"x"}));
}

TEST(SequenceRemovingDuplicates, MovesOutOfAnArrayHandedOverButNeverOutOfOneTheCallerKeeps)
{
    std::vector<std::unique_ptr<int>> owned;
    owned.push_back(std::make_unique<int>(1));
    owned.push_back(std::make_unique<int>(2));
    const int* first = owned[0].get();
    auto moved = asArray(std::move(owned));
    EXPECT_EQ(moved[0].get(), first);

    std::vector<String> kept {"x", "y", "x"};
    auto unique = removingDuplicates(kept);
    EXPECT_EQ(unique, (std::vector<String> {"x", "y"}));
    EXPECT_EQ(kept, (std::vector<String> {"x", "y", "x"}));
}

TEST(SequenceSearch, MapFirstAndPrefixStopAsSoonAsTheyHaveTheirAnswer)
{
    int calls = 0;
    auto firstEven = mapFirst(std::vector {1, 4, 6}, [&](int n) -> std::optional<int> {
        ++calls;
        return n % 2 == 0 ? std::optional(n * 10) : std::nullopt;
    });
    EXPECT_EQ(firstEven, 40);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(mapFirst(std::vector {1, 3}, [](int) { return std::optional<int>(); }), std::nullopt);

    calls = 0;
    auto evens = prefix(std::vector {1, 2, 3, 4, 6, 8}, [&](int n) {
        ++calls;
        return n % 2 == 0;
    }, 2);
    EXPECT_EQ(evens, (std::vector {2, 4}));
    EXPECT_EQ(calls, 4);
    EXPECT_TRUE(prefix(std::vector {2, 4}, [](int) { return true; }, 0).empty());
    EXPECT_EQ(prefix(std::vector {2, 4}, [](int) { return true; }, 5).size(), 2u);
}

TEST(SequenceBatches, FullBatchesThenAlwaysTheRemainder)
{
    auto batchSizes = [](int elements, std::int64_t batchOf) {
        std::vector<std::size_t> sizes;
        forEach(std::views::iota(0, elements), batchOf, [&](const std::vector<int>& batch) { sizes.push_back(batch.size()); });
        return sizes;
    };
    EXPECT_EQ(batchSizes(5, 2), (std::vector<std::size_t> {2, 2, 1}));
    EXPECT_EQ(batchSizes(4, 2), (std::vector<std::size_t> {2, 2}));
    EXPECT_EQ(batchSizes(0, 2), (std::vector<std::size_t> {0}));
    EXPECT_TRUE(batchSizes(3, 0).empty());

    std::vector<int> seen;
    EXPECT_THROW(forEach(std::vector {1, 2, 3, 4, 5}, 2,
                         [&](const std::vector<int>& batch) {
                             seen.insert(seen.end(), batch.begin(), batch.end());
                             throw std::runtime_error("stop");
                         }),
                 std::runtime_error);
    EXPECT_EQ(seen, (std::vector {1, 2}));
}

TEST(SequenceDictionaries, LaterElementsWinAndGroupsKeepTheirOrder)
{
    const std::vector<Login> logins {{"a", "x"}, {"b", "y"}, {"a", "z"}, {"", "w"}};
    auto bySite = mapToDictionary(logins, [](const Login& login) { return login.site; });
    EXPECT_EQ(bySite.size(), 3u);
    EXPECT_EQ(bySite.at("a").user, "z");

    auto named = compactMapToDictionary(logins, [](const Login& login) {
        return login.site.isEmpty() ? std::nullopt : std::optional(login.site);
    });
    EXPECT_EQ(named.size(), 2u);
    EXPECT_FALSE(named.contains(""));

    auto groups = grouped(logins, [](const Login& login) { return login.site; });
    EXPECT_EQ(groups.at("a"), (std::vector<Login> {{"a", "x"}, {"a", "z"}}));
    EXPECT_EQ(groups.at("b").size(), 1u);

    auto repeated = duplicatesByKey(logins, [](const Login& login) { return login.site; });
    EXPECT_EQ(repeated.size(), 1u);
    EXPECT_TRUE(repeated.contains("a"));
    EXPECT_EQ(duplicates(logins, [](const Login& login) { return login.site; }),
              (std::vector<std::vector<Login>> {{{"a", "x"}, {"a", "z"}}}));
    EXPECT_TRUE(duplicates(std::vector {1, 2}, [](int n) { return n; }).empty());
}
