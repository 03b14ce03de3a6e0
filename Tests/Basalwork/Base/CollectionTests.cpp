#include "Basalwork/Base/Collection.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <forward_list>
#include <gtest/gtest.h>
#include <limits>
#include <list>
#include <ranges>
#include <span>
#include <unordered_map>
#include <vector>

using namespace Basalwork;

namespace {

constexpr auto maxInt = std::numeric_limits<std::int64_t>::max();
constexpr auto minInt = std::numeric_limits<std::int64_t>::min();

template <class Slice>
std::vector<char> letters(const Slice& slice)
{
    return {slice.begin(), slice.end()};
}

enum class Flavour { sweet, sour };

} // namespace

template <>
struct Foundation::RawRepresentation<Flavour> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Flavour, const char*> cases[] = {{Flavour::sweet, "sweet"}, {Flavour::sour, "sour"}};
};

TEST(CollectionSafeAccess, AnswersNothingOutsideTheIndicesAndPointsIntoTheCollectionInside)
{
    std::vector<int> numbers {10, 20, 30};
    EXPECT_EQ(elementAtIndex(numbers, 1), &numbers[1]);
    EXPECT_EQ(safe(numbers, 2), &numbers[2]);
    for (std::int64_t bad : {std::int64_t {-1}, std::int64_t {3}, minInt, maxInt})
        EXPECT_EQ(elementAtIndex(numbers, bad), nullptr) << bad;
    *elementAtIndex(numbers, 0) = 11;
    EXPECT_EQ(numbers[0], 11);

    // A temporary container or a range that computes its elements cannot be pointed into: a copy comes back.
    EXPECT_EQ(elementAtIndex(std::vector<int> {1, 2}, 1), std::optional<int>(2));
    EXPECT_EQ(elementAtIndex(std::views::iota(5, 8), 2), std::optional<int>(7));
    EXPECT_EQ(elementAtIndex(std::views::iota(5, 8), 3), std::nullopt);

    const std::list<char> list {'a', 'b'};
    EXPECT_EQ(*elementAtIndex(list, 1), 'b');
    EXPECT_EQ(elementAtIndex(list, 2), nullptr);
}

TEST(CollectionSafeAccess, NeighbouringIndicesStopAtTheEnds)
{
    const std::vector<char> abc {'a', 'b', 'c'};
    EXPECT_EQ(safeIndexAfter(abc, 2), 3);
    EXPECT_EQ(elementAfterIndex(abc, 2), nullptr);
    EXPECT_EQ(safeIndexAfter(abc, 3), std::nullopt);
    EXPECT_EQ(safeIndexAfter(abc, maxInt), std::nullopt);
    EXPECT_EQ(safeIndexBefore(abc, 3), 2);
    EXPECT_EQ(*elementBeforeIndex(abc, 3), 'c');
    EXPECT_EQ(elementBeforeIndex(abc, 0), nullptr);
    EXPECT_EQ(safeIndexBefore(abc, 4), std::nullopt);
    EXPECT_EQ(*elementAfterIndex(abc, 0), 'b');
    EXPECT_EQ(elementAfterIndex(abc, -1), nullptr);
    EXPECT_EQ(lastValidSubscriptIndex(abc), 2);
    EXPECT_EQ(lastValidSubscriptIndex(std::vector<int> {}), std::nullopt);
}

TEST(CollectionSafeAccess, ElementsBetweenBoundsAreClampedAndInclusiveOnlyWithinTheCollection)
{
    const std::vector<char> five {'a', 'b', 'c', 'd', 'e'};
    const std::vector<char> three {'a', 'b', 'c'};
    EXPECT_EQ(letters(elements(five, 1, 3, true)), (std::vector {'b', 'c', 'd'}));
    EXPECT_EQ(letters(elements(five, 1, 3, false)), (std::vector {'b', 'c'}));
    EXPECT_EQ(letters(elements(three, 1, 3, true)), (std::vector {'b', 'c'}));
    EXPECT_EQ(letters(elements(five, -4, 9, true)), five);
    EXPECT_TRUE(elements(five, 2, 2, true).empty());
    EXPECT_TRUE(elements(five, 4, 1, true).empty());
    // The slice is the collection's own storage.
    EXPECT_EQ(&elements(five, 1, 3, true).front(), &five[1]);
}

TEST(CollectionSafeAccess, SafeSuffixIsEmptyForAnyIndexOutsideTheCollection)
{
    const std::vector<char> abc {'a', 'b', 'c'};
    EXPECT_EQ(letters(safeSuffix(abc, 1)), (std::vector {'b', 'c'}));
    EXPECT_EQ(letters(safeSuffix(abc, 0)), abc);
    for (std::int64_t bad : {std::int64_t {3}, std::int64_t {4}, std::int64_t {-1}, minInt})
        EXPECT_TRUE(safeSuffix(abc, bad).empty()) << bad;
}

TEST(CollectionShapes, CountsWalkNoFurtherThanNeeded)
{
    const std::forward_list<int> one {7};
    EXPECT_TRUE(hasElements(one));
    EXPECT_TRUE(hasExactlyOneElement(one));
    EXPECT_FALSE(hasMoreThanOneElement(one));
    EXPECT_FALSE(hasElements(std::vector<int> {}));
    EXPECT_FALSE(hasOneOrMoreElements(std::vector<int> {}));
    EXPECT_TRUE(hasMoreThanOneElement(std::views::iota(0, 2)));
    EXPECT_FALSE(hasExactlyOneElement(std::views::iota(0, 2)));
    // An endless range answers without walking it all.
    EXPECT_TRUE(hasMoreThanOneElement(std::views::iota(0)));
}

TEST(CollectionShapes, OverlappingSubSequencesAndNonOverlappingGroups)
{
    const std::vector<char> abc {'a', 'b', 'c'};
    auto windows = subSequences(abc, 2);
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(letters(windows[0]), (std::vector {'a', 'b'}));
    EXPECT_EQ(letters(windows[1]), (std::vector {'b', 'c'}));
    EXPECT_EQ(subSequences(abc, 3).size(), 1u);
    EXPECT_TRUE(subSequences(abc, 4).empty());
    EXPECT_TRUE(subSequences(abc, 0).empty());

    auto twos = groups(abc, 2);
    ASSERT_EQ(twos.size(), 2u);
    EXPECT_EQ(letters(twos[0]), (std::vector {'a', 'b'}));
    EXPECT_EQ(letters(twos[1]), (std::vector {'c'}));
    EXPECT_EQ(groups(abc, 5).size(), 1u);
    EXPECT_TRUE(groups(abc, 0).empty());
    EXPECT_TRUE(groups(abc, -2).empty());
    const std::vector<char> none;
    EXPECT_TRUE(groups(none, 2).empty());
}

TEST(CollectionShapes, PairsAndTripletsLeaveTheMissingPlacesOfTheLastWindowEmpty)
{
    const std::vector<char> abc {'a', 'b', 'c'};
    auto twos = pairs(abc);
    ASSERT_EQ(twos.size(), 2u);
    EXPECT_EQ(twos[0], std::pair(&abc[0], &abc[1]));
    EXPECT_EQ(twos[1], std::pair(&abc[2], static_cast<const char*>(nullptr)));

    const std::vector<char> abcd {'a', 'b', 'c', 'd'};
    auto threes = triplets(abcd);
    ASSERT_EQ(threes.size(), 2u);
    EXPECT_EQ(threes[0], (Triplet<const char*> {&abcd[0], &abcd[1], &abcd[2]}));
    EXPECT_EQ(threes[1], (Triplet<const char*> {&abcd[3], nullptr, nullptr}));

    // Bounds are clamped into the collection; a window may reach past `to` but never past the end.
    auto middle = pairs(abcd, 1, 2);
    ASSERT_EQ(middle.size(), 1u);
    EXPECT_EQ(middle[0], std::pair(&abcd[1], &abcd[2]));
    EXPECT_EQ(pairs(abcd, -5, 99).size(), 2u);
    EXPECT_TRUE(pairs(abcd, 3, 1).empty());
    EXPECT_TRUE(triplets(std::vector<int> {}).empty());
}

TEST(CollectionShapes, StrideStepsEitherWayWithoutOverflow)
{
    const std::vector<int> any;
    auto indices = [](auto view) {
        std::vector<std::int64_t> result;
        for (auto index : view)
            result.push_back(index);
        return result;
    };
    EXPECT_EQ(indices(stride(any, 0, 7, 3)), (std::vector<std::int64_t> {0, 3, 6}));
    EXPECT_EQ(indices(stride(any, 5, 0, -2)), (std::vector<std::int64_t> {5, 3, 1}));
    EXPECT_TRUE(indices(stride(any, 0, 5, -1)).empty());
    EXPECT_TRUE(indices(stride(any, 0, 5, 0)).empty());
    EXPECT_EQ(indices(stride(any, minInt, maxInt, maxInt)), (std::vector<std::int64_t> {minInt, -1, maxInt - 1}));
}

TEST(CollectionStatistics, FrequenciesKeepEveryTie)
{
    using Foundation::String;
    const std::vector<String> words {"a", "b", "a", "b", "c"};
    EXPECT_EQ(frequencyOfEachElement(words), (std::unordered_map<String, std::int64_t> {{"a", 2}, {"b", 2}, {"c", 1}}));
    auto most = mostFrequentlyOccuringElements(words);
    std::ranges::sort(most);
    EXPECT_EQ(most, (std::vector<String> {"a", "b"}));
    EXPECT_EQ(leastFrequentlyOccuringElements(words), (std::vector<String> {"c"}));
    EXPECT_TRUE(mostFrequentlyOccuringElements(std::vector<int> {}).empty());
    EXPECT_TRUE(frequencyOfEachElement(std::vector<int> {}).empty());
}

TEST(CollectionStatistics, AverageAndRawValues)
{
    EXPECT_DOUBLE_EQ(average(std::vector<double> {1, 2, 6}), 3.0);
    EXPECT_TRUE(std::isnan(average(std::vector<double> {})));
    EXPECT_TRUE(std::isnan(average(std::vector<float> {})));
    EXPECT_EQ(rawValues(std::vector {Flavour::sour, Flavour::sweet}), (std::vector<Foundation::String> {"sour", "sweet"}));
}
