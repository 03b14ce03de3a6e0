#include "Platform/Foundation/IndexPath.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <unordered_set>
#include <vector>

using Foundation::IndexPath;

TEST(IndexPath, RowsAndItemsAreOneIndexOrderedAfterTheSection)
{
    EXPECT_EQ(IndexPath::withRow(3, 1), IndexPath::withItem(3, 1));
    EXPECT_EQ(IndexPath::withRow(3, 1).section(), 1);
    EXPECT_EQ(IndexPath::withRow(3, 1).item(), 3);

    std::vector paths {IndexPath::withRow(0, 2), IndexPath::withRow(5, 0), IndexPath::withRow(1, 2)};
    std::ranges::sort(paths);
    EXPECT_EQ(paths, (std::vector {IndexPath::withRow(5, 0), IndexPath::withRow(0, 2), IndexPath::withRow(1, 2)}));

    std::unordered_set<IndexPath> seen {IndexPath::withRow(1, 2), IndexPath::withRow(2, 1)};
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(IndexPath::withRow(1, 2).description(), "[2, 1]");
}
