#include "Basalwork/Base/Timer.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;

TEST(TimerAdditions, ScheduledOnTheGivenRunLoop)
{
    int fires = 0;
    Foundation::Timer* fired = nullptr;
    auto timer = Timers::scheduledTimer(2.0, *Foundation::RunLoop::main(), true, [&](Foundation::Timer& timer) {
        ++fires;
        fired = &timer;
    });
    EXPECT_TRUE(timer->isValid());

    TestSupport::advanceClock(1.9);
    EXPECT_EQ(fires, 0);
    TestSupport::advanceClock(0.1);
    EXPECT_EQ(fires, 1);
    EXPECT_EQ(fired, timer.get());
    TestSupport::advanceClock(4.0);
    EXPECT_EQ(fires, 3);

    timer->invalidate();
    TestSupport::advanceClock(4.0);
    EXPECT_EQ(fires, 3);
}
