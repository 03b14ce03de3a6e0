#include "Corvendale/App/InAppNotification.hpp"
#include "Corvendale/App/InAppNotificationC.hpp"
#include "Corvendale/App/InAppNotificationV.hpp"
#include "Corvendale/App/InAppNotificationVC.hpp"
#include "Corvendale/App/InAppNotificationW.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.Level.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using namespace Corvendale;
using Foundation::make;

namespace {

class Banners : public testing::Test {
protected:
    void SetUp() override
    {
        scene = make<UIKit::UIWindowScene>();
        mainWindow = make<UIKit::UIWindow>(scene);
        mainWindow->setFrame({0, 0, 800, 600});
        mainWindow->setRootViewController(make<UIKit::UIViewController>());
        mainWindow->makeKeyAndVisible();
        window = make<InAppNotificationW>(scene);
        window->setFrame({0, 0, 800, 600});
        coordinator = make<InAppNotificationC>(window);
        coordinator->view()->layoutIfNeeded();
    }

    std::shared_ptr<InAppNotificationVC> controller() const { return coordinator->inAppNotificationVC(); }
    std::optional<Foundation::String> shownTitle() const
    {
        return controller()->isShowing() ? controller()->inAppNotificationV()->titleLabel()->text() : std::nullopt;
    }

    std::shared_ptr<UIKit::UIWindowScene> scene;
    std::shared_ptr<UIKit::UIWindow> mainWindow;
    std::shared_ptr<InAppNotificationW> window;
    std::shared_ptr<InAppNotificationC> coordinator;
};

TEST(InAppNotification, EqualityAndDescriptionTellAMissingSubtitleFromAnEmptyOne)
{
    InAppNotification plain {"Copied Password", std::nullopt};
    InAppNotification empty {"Copied Password", Foundation::String("")};
    EXPECT_NE(plain, empty);
    EXPECT_EQ(plain, (InAppNotification {"Copied Password", std::nullopt}));
    EXPECT_EQ(plain.description(), Foundation::String("Copied Password (nil)"));
    EXPECT_EQ(empty.description(), Foundation::String("Copied Password ()"));
}

TEST_F(Banners, TheWindowSitsBetweenTheMainWindowAndTheLockScreenAndStartsHidden)
{
    EXPECT_EQ(window->windowLevel().rawValue, 490);
    EXPECT_EQ(window->accessibilityIdentifier(), Foundation::String("inAppNotificationWindow"));
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(coordinator->view()->accessibilityIdentifier(), Foundation::String("InAppNotificationC"));
    EXPECT_FALSE(controller()->isShowing());
    EXPECT_EQ(controller()->inAppNotificationV()->alpha(), 0);
}

TEST_F(Banners, ANewerBannerReplacesTheShownOneAndKeepsItsOwnTime)
{
    coordinator->present({"Copied Username", std::nullopt}, true, 3);
    EXPECT_EQ(shownTitle(), Foundation::String("Copied Username"));
    EXPECT_TRUE(controller()->inAppNotificationV()->subtitleLabel()->isHidden());
    TestSupport::advanceClock(1);
    coordinator->present({"Copied Password", Foundation::String("Automatically clears in 1 minute or on Quit")}, true, 3);
    EXPECT_FALSE(controller()->inAppNotificationV()->subtitleLabel()->isHidden());
    TestSupport::advanceClock(2.5);
    EXPECT_EQ(shownTitle(), Foundation::String("Copied Password")) << "the first banner's time does not hide the second";
    TestSupport::advanceClock(0.5);
    EXPECT_FALSE(controller()->isShowing());
    EXPECT_EQ(controller()->inAppNotificationV()->alpha(), 0);
}

TEST_F(Banners, APanHidesTheBannerAtOnceAndItsTimerThenDoesNothing)
{
    coordinator->present({"Copied Password", std::nullopt}, false, 3);
    controller()->inAppNotificationV()->didPanOrScrollUp();
    EXPECT_FALSE(controller()->isShowing());
    coordinator->present({"Copied Username", std::nullopt}, false, 3);
    TestSupport::advanceClock(3);
    EXPECT_FALSE(controller()->isShowing());
}

TEST_F(Banners, OnlyTheBannerTakesTouches)
{
    coordinator->present({"Copied Password", std::nullopt}, false, 3);
    window->layoutIfNeeded();
    const auto& banner = controller()->inAppNotificationV();
    auto frame = banner->convertTo(banner->bounds(), window);
    ASSERT_GT(frame.size.width, 0);
    UIKit::CGPoint onBanner {frame.origin.x + frame.size.width / 2, frame.origin.y + frame.size.height / 2};
    auto hit = window->hitTest(onBanner, nullptr);
    EXPECT_EQ(hit, banner) << "the labels do not take touches themselves";
    EXPECT_EQ(window->hitTest({400, 500}, nullptr), nullptr) << "elsewhere touches reach the windows below";
}

} // namespace
