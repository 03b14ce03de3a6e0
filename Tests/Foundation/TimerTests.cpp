#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Foundation/Timer.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <vector>

using namespace Foundation;
using TestSupport::advanceClock;
using TestSupport::runMainLoopUntilIdle;

namespace {

using testing::DoubleNear;
using testing::Pointwise;

// Times pass through the manual clock's sums; they are compared to well under a microsecond.
constexpr double tolerance = 1e-6;

// Fire times in seconds after the test's start.
class TimerTest : public testing::Test {
protected:
    void TearDown() override
    {
        for (auto& timer : timers)
            timer->invalidate();
    }
    Timer::Block recorder()
    {
        return [this](Timer&) { fires.push_back(Date::now() - start); };
    }
    Date start = Date::now();
    std::vector<double> fires;
    std::vector<std::shared_ptr<Timer>> timers;
};

} // namespace

TEST_F(TimerTest, AOneShotTimerFiresOnceAtItsFireDateAndIsThenInvalid)
{
    auto timer = Timer::scheduledTimer(2.0, false, recorder());
    EXPECT_EQ(timer->fireDate(), start + 2.0);
    advanceClock(1.5);
    EXPECT_TRUE(fires.empty());
    EXPECT_TRUE(timer->isValid());
    advanceClock(10);
    EXPECT_THAT(fires, Pointwise(DoubleNear(tolerance), std::vector<double> {2.0}));
    EXPECT_FALSE(timer->isValid());
}

TEST_F(TimerTest, TheRunLoopHoldsAScheduledTimerUntilItIsDone)
{
    std::weak_ptr<Timer> weak = Timer::scheduledTimer(1.0, false, recorder());
    EXPECT_FALSE(weak.expired());
    advanceClock(1.0);
    EXPECT_EQ(fires.size(), 1u);
    EXPECT_TRUE(weak.expired());
}

TEST_F(TimerTest, ARepeatingTimerKeepsToItsGrid)
{
    auto timer = Timer::scheduledTimer(1.0, true, recorder());
    timers.push_back(timer);
    for (int step = 0; step < 8; ++step)
        advanceClock(0.75);
    EXPECT_THAT(fires, Pointwise(DoubleNear(tolerance), std::vector<double> {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(timer->fireDate(), start + 7.0);

    // A turn of the loop that comes late fires once; the missed fire dates are skipped, not caught up.
    Clock::advance(3.5); // now 9.5
    runMainLoopUntilIdle();
    EXPECT_EQ(fires.size(), 7u);
    EXPECT_NEAR(fires.back(), 9.5, tolerance);
    EXPECT_EQ(timer->fireDate(), start + 10.0);
    advanceClock(0.5);
    EXPECT_NEAR(fires.back(), 10.0, tolerance);
}

TEST_F(TimerTest, InvalidateStopsATimerAlsoFromInsideItsBlock)
{
    auto outside = Timer::scheduledTimer(1.0, true, recorder());
    advanceClock(1.0);
    outside->invalidate();
    advanceClock(5.0);
    EXPECT_EQ(fires.size(), 1u);

    int calls = 0;
    auto inside = Timer::scheduledTimer(1.0, true, [&](Timer& timer) {
        if (++calls == 2)
            timer.invalidate();
    });
    advanceClock(5.0);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(inside->isValid());
}

TEST_F(TimerTest, FireCallsTheBlockWithoutMovingTheSchedule)
{
    auto repeating = Timer::scheduledTimer(2.0, true, recorder());
    timers.push_back(repeating);
    advanceClock(0.5);
    repeating->fire();
    EXPECT_TRUE(repeating->isValid());
    advanceClock(1.5);
    EXPECT_THAT(fires, Pointwise(DoubleNear(tolerance), std::vector<double> {0.5, 2.0}));

    // Fired early, a one-shot timer is spent: it does not fire again at its fire date.
    auto oneShot = Timer::scheduledTimer(5.0, false, recorder());
    oneShot->fire();
    EXPECT_FALSE(oneShot->isValid());
    advanceClock(6.0);
    oneShot->fire();
    EXPECT_THAT(fires, Pointwise(DoubleNear(tolerance), std::vector<double> {0.5, 2, 2, 4, 6, 8}));
}

TEST_F(TimerTest, AnUnscheduledTimerWaitsForItsRunLoop)
{
    auto timer = make<Timer>(1.0, false, recorder());
    advanceClock(2.0);
    EXPECT_TRUE(fires.empty());
    EXPECT_TRUE(timer->isValid());

    // Its fire date has passed, so it fires on the next turn; adding it twice changes nothing.
    RunLoop::main()->add(timer, RunLoop::Mode::default_());
    RunLoop::main()->add(timer, RunLoop::Mode::common());
    runMainLoopUntilIdle();
    EXPECT_THAT(fires, Pointwise(DoubleNear(tolerance), std::vector<double> {2.0}));
}

TEST_F(TimerTest, AZeroIntervalRepeatingTimerDoesNotSpin)
{
    int calls = 0;
    auto timer = Timer::scheduledTimer(0, true, [&](Timer&) { ++calls; });
    timers.push_back(timer);
    runMainLoopUntilIdle();
    EXPECT_LE(calls, 1);
    advanceClock(0.001);
    EXPECT_GE(calls, 9);
    EXPECT_LE(calls, 11);
}
