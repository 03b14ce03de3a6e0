#include "Shared/Model/TimeStepNotifier.hpp"
#include "Shared/Model/TOTP.hpp"
#include "Shared/Model/TimeStepObserving.hpp"
#include "Shared/Screens/TimeStepView.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Foundation::make;
using Foundation::String;
using Shared::TimeStepNotifier;
using Shared::TimeStepView;
using Shared::TOTP;

namespace {

// The RFC 6238 test secret ("12345678901234567890") in Base32.
const char* const secret = "GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";

class Counter : public Foundation::NSObject, public Shared::TimeStepObserving {
public:
    std::vector<double> firedAt;
    void timeStepNotifierDidBeginTimeStep(TimeStepNotifier&) override
    {
        firedAt.push_back(Foundation::Date::now().timeIntervalSince1970());
    }

protected:
    friend Foundation::Construct;
    Counter() = default;
};

class TimeStepViewTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Start 10 seconds into a 30-second period, wherever earlier tests left the clock.
        double now = Foundation::Date::now().timeIntervalSince1970();
        TestSupport::advanceClock(30 - std::fmod(now, 30) + 10);
    }
};

} // namespace

TEST_F(TimeStepViewTests, TheNotifierFiresAtEachPeriodBoundaryAndNotBefore)
{
    auto notifier = make<TimeStepNotifier>();
    auto counter = make<Counter>();
    notifier->addObserver(counter);
    notifier->setTOTP(TOTP(String(secret)));
    double start = Foundation::Date::now().timeIntervalSince1970();
    ASSERT_EQ(notifier->secondsRemaining(), 20.0);

    TestSupport::advanceClock(19.9);
    EXPECT_TRUE(counter->firedAt.empty());
    TestSupport::advanceClock(0.1);
    ASSERT_EQ(counter->firedAt.size(), 1u);
    EXPECT_DOUBLE_EQ(counter->firedAt[0], start + 20);
    TestSupport::advanceClock(60);
    ASSERT_EQ(counter->firedAt.size(), 3u);
    EXPECT_DOUBLE_EQ(counter->firedAt[2], start + 80);

    // The code itself changes exactly at those moments.
    auto totp = *notifier->totp();
    auto now = Foundation::Date::now();
    EXPECT_EQ(totp.generate(Foundation::Date(now.timeIntervalSinceReferenceDate() - 0.001)), totp.generate(Foundation::Date(now.timeIntervalSinceReferenceDate() - 29.999)));
    EXPECT_NE(totp.generate(Foundation::Date(now.timeIntervalSinceReferenceDate() - 0.001)), totp.generate(now));
}

TEST_F(TimeStepViewTests, WithoutAValidCodeOrAfterRemovalNothingFires)
{
    auto notifier = make<TimeStepNotifier>();
    auto counter = make<Counter>();
    notifier->addObserver(counter);
    notifier->setTOTP(TOTP(String("not base32 !")));
    EXPECT_EQ(notifier->secondsRemaining(), std::nullopt);
    TestSupport::advanceClock(90);
    EXPECT_TRUE(counter->firedAt.empty());

    notifier->setTOTP(TOTP(String(secret)));
    notifier->removeObserver(*counter);
    TestSupport::advanceClock(90);
    EXPECT_TRUE(counter->firedAt.empty());

    // An observer that went away is dropped, not called.
    notifier->addObserver(make<Counter>());
    TestSupport::advanceClock(90);
}

TEST_F(TimeStepViewTests, TheCountdownShownInAWindowFollowsTheClock)
{
    auto scene = make<UIKit::UIWindowScene>();
    auto window = make<UIKit::UIWindow>(scene);
    auto view = make<TimeStepView>();
    view->timeStepNotifier()->setTOTP(TOTP(String(secret)));
    EXPECT_EQ(view->text(), String());
    view->setMode(TimeStepView::Mode::running);
    window->addSubview(view);
    window->makeKeyAndVisible();
    EXPECT_EQ(view->text(), String("20"));
    TestSupport::advanceClock(0.5);
    EXPECT_EQ(view->text(), String("20"));
    TestSupport::advanceClock(0.5);
    EXPECT_EQ(view->text(), String("19"));
    TestSupport::advanceClock(19);
    EXPECT_EQ(view->text(), String("30"));
    EXPECT_EQ(view->accessibilityValue(), String("30 seconds left"));

    view->setMode(TimeStepView::Mode::noCode);
    EXPECT_EQ(view->text(), String());
    view->setMode(TimeStepView::Mode::running);
    view->timeStepNotifier()->setTOTP(std::nullopt);
    view->setMode(TimeStepView::Mode::running);
    EXPECT_EQ(view->text(), String());
}
