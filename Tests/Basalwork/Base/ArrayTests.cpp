#include "Basalwork/Base/Array.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <list>
#include <stdexcept>
#include <vector>

using namespace Basalwork;
using Foundation::String;
using Mode = Array::OxfordCommaMode;

TEST(ArrayCopies, PrependingAndAppendingElementsOrArrays)
{
    const std::vector<int> numbers {2, 3};
    EXPECT_EQ(prepending(numbers, 1), (std::vector {1, 2, 3}));
    EXPECT_EQ(appending(numbers, 4), (std::vector {2, 3, 4}));
    EXPECT_EQ(prepending(numbers, std::list {0, 1}), (std::vector {0, 1, 2, 3}));
    EXPECT_EQ(appending(numbers, std::vector {4, 5}), (std::vector {2, 3, 4, 5}));
    EXPECT_EQ(appending(std::vector<int> {}, 1), (std::vector {1}));
    EXPECT_EQ(prepending(numbers, std::vector<int> {}), numbers);
    EXPECT_EQ(numbers, (std::vector {2, 3}));

    // Text is one element, though it is also a sequence of characters.
    const std::vector<String> words {"b"};
    EXPECT_EQ(appending(words, String("cd")), (std::vector<String> {"b", "cd"}));
    EXPECT_EQ(prepending(words, "a"), (std::vector<String> {"a", "b"}));

    EXPECT_EQ(appending(numbers, 9, false), numbers);
    EXPECT_EQ(appendingIf(numbers, true, 9), (std::vector {2, 3, 9}));
}

TEST(ArrayReplacing, AsksThePredicateOncePerElementFrontToBack)
{
    std::vector<int> asked;
    auto result = replacing(std::vector {1, 5, 2, 7}, [&](int n) {
        asked.push_back(n);
        return n > 4;
    }, 0);
    EXPECT_EQ(result, (std::vector {1, 0, 2, 0}));
    EXPECT_EQ(asked, (std::vector {1, 5, 2, 7}));
}

TEST(ArrayReplacing, AFailingPredicateLeavesTheArrayAsItWas)
{
    std::vector numbers {9, 1, 9, 2};
    auto failOnTwo = [](int n) {
        if (n == 2)
            throw std::runtime_error("no");
        return n == 9;
    };
    EXPECT_THROW(replace(numbers, failOnTwo, 0), std::runtime_error);
    EXPECT_EQ(numbers, (std::vector {9, 1, 9, 2}));
    replace(numbers, [](int n) { return n == 9; }, 0);
    EXPECT_EQ(numbers, (std::vector {0, 1, 0, 2}));
}

TEST(ArrayRemovingDuplicates, KeepsTheFirstOfEachGroupAndAsksKeptThenCandidate)
{
    const std::vector<String> words {"apple", "avocado", "banana", "blueberry", "cherry", "apricot"};
    auto sameFirstLetter = [](const String& kept, const String& candidate) { return kept.first() == candidate.first(); };
    EXPECT_EQ(removingDuplicates(words, sameFirstLetter), (std::vector<String> {"apple", "banana", "cherry"}));
    EXPECT_TRUE(removingDuplicates(std::vector<String> {}, sameFirstLetter).empty());

    std::vector<std::pair<int, int>> asked;
    removingDuplicates(std::vector {1, 2}, [&](int kept, int candidate) {
        asked.emplace_back(kept, candidate);
        return false;
    });
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>> {{1, 2}}));

    std::vector<String> inPlace {"apple", "avocado", "banana"};
    removeDuplicates(inPlace, sameFirstLetter);
    EXPECT_EQ(inPlace, (std::vector<String> {"apple", "banana"}));

    std::vector numbers {1, 1, 2, 3};
    EXPECT_THROW(removeDuplicates(numbers,
                                  [](int kept, int candidate) {
                                      if (candidate == 3)
                                          throw std::runtime_error("no");
                                      return kept == candidate;
                                  }),
                 std::runtime_error);
    EXPECT_EQ(numbers, (std::vector {1, 1, 2, 3}));
}

TEST(ArrayNeighbours, CircularIndicesWrapBothWays)
{
    const std::vector<char> xyz {'x', 'y', 'z'};
    EXPECT_EQ(*elementAtCircularIndex(xyz, -1), 'z');
    EXPECT_EQ(*elementAtCircularIndex(xyz, 3), 'x');
    EXPECT_EQ(*circular(xyz, 7), 'y');
    EXPECT_EQ(*circular(xyz, -7), 'z');
    EXPECT_EQ(*circular(xyz, std::numeric_limits<std::int64_t>::min()), 'y');
    EXPECT_EQ(elementAtCircularIndex(std::vector<char> {}, 0), std::nullopt);
}

TEST(ArrayNeighbours, ElementsBeforeAndAfterTheFirstOccurrence)
{
    const std::vector<char> letters {'a', 'b', 'a', 'c'};
    EXPECT_EQ(*elementAfter(letters, 'a'), 'b');
    EXPECT_EQ(*elementBefore(letters, 'c'), 'a');
    EXPECT_EQ(elementBefore(letters, 'a'), nullptr);
    EXPECT_EQ(elementAfter(letters, 'c'), nullptr);
    EXPECT_EQ(elementAfter(letters, 'z'), nullptr);

    std::vector<String> items {"y", "q", "y"};
    insert(items, "x", "y");
    EXPECT_EQ(items, (std::vector<String> {"y", "x", "q", "y"}));
    insert(items, "x", "absent");
    EXPECT_EQ(items.size(), 4u);
}

TEST(ArrayJoined, OxfordCommaStandsBeforeTheWordFromThreeItemsOn)
{
    EXPECT_EQ(joined(std::vector<String> {}, Mode::and_), "");
    EXPECT_EQ(joined(std::vector<String> {"x"}, Mode::or_), "x");
    EXPECT_EQ(joined(std::vector<String> {"x", "y"}, Mode::and_), "x and y");
    EXPECT_EQ(joined(std::vector<String> {"x", "y", "z"}, Mode::or_), "x, y, or z");
    EXPECT_EQ(joined(std::vector<String> {"w", "", " z "}, Mode::and_), "w, , and  z ");
    EXPECT_EQ(describe(Mode::and_), "and");
}
