#include "Basalwork/Interface/Notification.Name.hpp"
#include "Basalwork/Interface/UserInteractionMonitor.hpp"
#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"

#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIEvent.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UIKey.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UITextView.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <vector>

using namespace Basalwork;
using Foundation::Date;
using Foundation::make;
using Foundation::NotificationCenter;
using TestSupport::advanceClock;
using UIKit::UIEventDriver;

namespace {

using testing::DoubleNear;
using testing::Pointwise;

// Times pass through the manual clock's sums; they are compared to well under a microsecond.
constexpr double tolerance = 1e-6;

class Lock : public Foundation::NSObject, public UserInteractionMonitorDelegate {
public:
    void didExceedInactivityTimeoutThreshold(UserInteractionMonitor& monitor) override
    {
        times.push_back(Date::now());
        monitors.push_back(&monitor);
    }
    std::vector<Date> times;
    std::vector<const UserInteractionMonitor*> monitors;

protected:
    friend Foundation::Construct;
    Lock() = default;
};

class InactivityMonitoring : public testing::Test {
protected:
    void SetUp() override
    {
        // The time of the last post is class-wide: begin more than a second after anything before.
        advanceClock(2.0);
        start = Date::now();
        window->setFrame({0, 0, 100, 100});
        window->makeKeyAndVisible();
        token = NotificationCenter::defaultCenter()->addObserver(
            uiInteractionDidOccur(), nullptr, nullptr, [this](const Foundation::Notification& notification) {
                posts.push_back(elapsed());
                senders.push_back(notification.object());
            });
    }
    void TearDown() override { NotificationCenter::defaultCenter()->removeObserver(token); }

    double elapsed() const { return Date::now() - start; }
    std::vector<double> lockTimes() const
    {
        std::vector<double> result;
        for (auto time : lock->times)
            result.push_back(time - start);
        return result;
    }
    void tap() { UIEventDriver::tap(window, {10, 10}); }
    // Moves the clock in one step, so that the distance between two dates is exactly the one given;
    // nothing due on the way runs before the end.
    void exactly(double seconds)
    {
        Foundation::Clock::advance(seconds);
        TestSupport::runMainLoopUntilIdle();
    }
    // Another poster of the notification, to reach the monitor without the window's throttle.
    void interaction() { NotificationCenter::defaultCenter()->post(uiInteractionDidOccur()); }

    Date start;
    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UserInteractionNotifyingWindow> window = make<UserInteractionNotifyingWindow>(scene);
    std::shared_ptr<Lock> lock = make<Lock>();
    std::shared_ptr<Foundation::NSObject> token;
    std::vector<double> posts;
    std::vector<std::shared_ptr<Foundation::NSObject>> senders;
};

} // namespace

TEST_F(InactivityMonitoring, TheFirstEventPostsAndArmsTheMonitorOnce)
{
    auto monitor = make<UserInteractionMonitor>(10.0, lock);
    advanceClock(30); // no timer before the first interaction
    EXPECT_TRUE(lock->times.empty());

    start = Date::now();
    tap();
    EXPECT_THAT(posts, Pointwise(DoubleNear(tolerance), std::vector<double> {0}));
    EXPECT_EQ(senders.front(), UserInteractionNotifyingWindow::classObject());
    EXPECT_EQ(UserInteractionNotifyingWindow::lastInteractionPostedAt(), start);

    advanceClock(9.5);
    EXPECT_TRUE(lock->times.empty());
    advanceClock(30);
    EXPECT_THAT(lockTimes(), Pointwise(DoubleNear(tolerance), std::vector<double> {10}));
    EXPECT_EQ(lock->monitors.front(), monitor.get());
}

TEST_F(InactivityMonitoring, AnEventStormPostsAboutOnceASecondAndNeverTwiceWithinOne)
{
    for (int step = 0; step <= 20; ++step) {
        step % 2 ? UIEventDriver::scroll(window) : tap();
        exactly(0.5);
    }
    EXPECT_THAT(posts, Pointwise(DoubleNear(tolerance), std::vector<double> {0, 1.5, 3, 4.5, 6, 7.5, 9}));
}

TEST_F(InactivityMonitoring, PostingNeedsMoreThanASecondButCountingOnlyOne)
{
    auto monitor = make<UserInteractionMonitor>(10.0, lock);
    tap();
    exactly(1.0);
    UIEventDriver::hover(window); // exactly one second after the post: not posted
    EXPECT_EQ(posts.size(), 1u);
    exactly(0.25);
    UIEventDriver::hover(window);
    EXPECT_EQ(posts.size(), 2u);

    // The monitor counted both posts; an interaction exactly a second after the last one counts too.
    exactly(1.0);
    interaction();
    advanceClock(11.0);
    EXPECT_THAT(lockTimes(), Pointwise(DoubleNear(tolerance), std::vector<double> {12.25}));

    // Interactions within a second of the last counted one do not move the deadline.
    lock->times.clear();
    start = Date::now();
    interaction();
    exactly(0.5);
    interaction();
    advanceClock(20);
    EXPECT_THAT(lockTimes(), Pointwise(DoubleNear(tolerance), std::vector<double> {10}));
}

TEST_F(InactivityMonitoring, HoveringKeepsTheApplicationUnlockedShakingDoesNot)
{
    auto monitor = make<UserInteractionMonitor>(5.0, lock);
    for (int i = 0; i < 10; ++i) {
        UIEventDriver::hover(window);
        advanceClock(2);
    }
    EXPECT_TRUE(lock->times.empty());

    std::size_t postsBefore = posts.size();
    for (int i = 0; i < 5; ++i) {
        UIEventDriver::shake();
        UIEventDriver::send(make<UIKit::UIEvent>(UIKit::UIEvent::EventType::transform,
                                                 std::vector<std::shared_ptr<UIKit::UITouch>> {},
                                                 std::vector<std::shared_ptr<UIKit::UIPress>> {}, window));
        advanceClock(2);
    }
    EXPECT_EQ(posts.size(), postsBefore);
    EXPECT_THAT(lockTimes(), Pointwise(DoubleNear(tolerance), std::vector<double> {23})); // five seconds after the last hover, at 18
}

TEST_F(InactivityMonitoring, TypingCountsAndKeysStillReachTheField)
{
    auto monitor = make<UserInteractionMonitor>(5.0, lock);
    auto field = make<UIKit::UITextField>();
    window->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    UIEventDriver::pressKey(make<UIKit::UIKey>("k", "k", UIKit::UIKeyModifierFlags {}, UIKit::UIKeyboardHIDUsage {14}));
    EXPECT_EQ(field->text(), "k");
    EXPECT_EQ(posts.size(), 1u);

    // Text that changes without any event through the window counts too.
    auto detached = make<UIKit::UITextView>();
    for (int i = 0; i < 4; ++i) {
        advanceClock(3);
        detached->insertText("x");
    }
    EXPECT_THAT(posts, Pointwise(DoubleNear(tolerance), std::vector<double> {0, 3, 6, 9, 12}));
    EXPECT_TRUE(lock->times.empty());
    advanceClock(5);
    EXPECT_THAT(lockTimes(), Pointwise(DoubleNear(tolerance), std::vector<double> {17}));
}

TEST_F(InactivityMonitoring, ChangingTheThreshold)
{
    auto monitor = make<UserInteractionMonitor>(10.0, lock);
    monitor->set(10.0); // unchanged: still no timer
    advanceClock(30);
    EXPECT_TRUE(lock->times.empty());

    start = Date::now();
    monitor->set(20.0); // a change arms it without any interaction
    advanceClock(5);
    monitor->set(20.0); // unchanged: the deadline stays
    advanceClock(15);
    EXPECT_THAT(lockTimes(), Pointwise(DoubleNear(tolerance), std::vector<double> {20}));

    tap();
    monitor->set(std::nullopt); // no threshold: no lock at all
    advanceClock(100);
    tap();
    advanceClock(100);
    EXPECT_EQ(lock->times.size(), 1u);
}

TEST_F(InactivityMonitoring, AMonitorReleasedWhileArmedNeverCallsItsDelegate)
{
    auto monitor = make<UserInteractionMonitor>(3.0, lock);
    std::weak_ptr<UserInteractionMonitor> weak = monitor;
    tap();
    monitor.reset();
    EXPECT_TRUE(weak.expired());
    advanceClock(2);
    interaction();
    advanceClock(10);
    EXPECT_TRUE(lock->times.empty());
}

TEST_F(InactivityMonitoring, ADelegateGoneWhenTheTimerFiresIsNoMatter)
{
    auto monitor = make<UserInteractionMonitor>(3.0, lock);
    tap();
    std::weak_ptr<Lock> weak = lock;
    lock.reset();
    EXPECT_TRUE(weak.expired()); // the monitor does not keep its delegate
    advanceClock(10);
    EXPECT_EQ(monitor->delegate(), nullptr);
    monitor->inactivityThresholdExceeded();
}

TEST_F(InactivityMonitoring, ScreensReportActivityTheWindowCannotSee)
{
    auto monitor = make<UserInteractionMonitor>(4.0, lock);
    UserInteractionNotifyingWindow::handleUserInteractionEvent();
    UserInteractionNotifyingWindow::handleUserInteractionEvent();
    EXPECT_THAT(posts, Pointwise(DoubleNear(tolerance), std::vector<double> {0}));
    monitor->inactivityThresholdExceeded(); // the delegate call on demand
    advanceClock(4);
    EXPECT_THAT(lockTimes(), Pointwise(DoubleNear(tolerance), std::vector<double> {0, 4}));
}
