#include "Basalwork/Base/Progress.hpp"

#include <gtest/gtest.h>
#include <limits>

using namespace Basalwork;
using Foundation::make;
using Foundation::Progress;

TEST(Progress, IncrementingStaysWithinAKnownTotalAndCountsOnWithoutOne)
{
    auto known = make<Progress>(10);
    known->setCompletedUnitCount(9);
    incrementCompletedUnitCount(*known);
    EXPECT_EQ(known->completedUnitCount(), 10);
    incrementCompletedUnitCount(*known);
    EXPECT_EQ(known->completedUnitCount(), 10);

    auto empty = make<Progress>(0);
    incrementCompletedUnitCount(*empty);
    EXPECT_EQ(empty->completedUnitCount(), 0);

    auto indeterminate = make<Progress>(-1);
    indeterminate->setCompletedUnitCount(41);
    incrementCompletedUnitCount(*indeterminate);
    EXPECT_EQ(indeterminate->completedUnitCount(), 42);
    indeterminate->setCompletedUnitCount(std::numeric_limits<std::int64_t>::max());
    incrementCompletedUnitCount(*indeterminate);
    EXPECT_EQ(indeterminate->completedUnitCount(), std::numeric_limits<std::int64_t>::max());
}
