#include "Tests/Corvendale/App/AppFixture.hpp"

#include "Corvendale/App/InAppNotificationC.hpp"
#include "Corvendale/App/InAppNotificationV.hpp"
#include "Corvendale/App/InAppNotificationVC.hpp"
#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/MainCoordinatorDelegate.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Settings.Clipboard.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using namespace Corvendale;
using Foundation::make;

namespace {

class BannerDelegate : public MainCoordinatorDelegate {
public:
    std::shared_ptr<InAppNotificationC> inAppNotificationC() const override { return banners; }
    void didSelectReplaceExistingDataWithiCloudData(MainCoordinator&) override { ++replaceRequests; }

    std::shared_ptr<InAppNotificationC> banners;
    int replaceRequests = 0;
};

class MainCoordinatorTests : public testing::Test {
protected:
    void SetUp() override
    {
        CorvendaleTests::inMemoryDependencies();
        Foundation::UserDefaults::standard()->removeObject(MainCoordinator::mostRecentPrimaryColumnWidthKey);
        scene = make<UIKit::UIWindowScene>();
        window = make<UIKit::UIWindow>(scene);
        window->setFrame({0, 0, 1000, 700});
        bannerWindow = make<UIKit::UIWindow>(scene);
        bannerWindow->setFrame({0, 0, 1000, 700});
        delegate = std::make_shared<BannerDelegate>();
        delegate->banners = make<InAppNotificationC>(bannerWindow);
    }

    std::shared_ptr<MainCoordinator> show()
    {
        auto coordinator = make<MainCoordinator>();
        coordinator->setCoordinatingDelegate(delegate);
        window->setRootViewController(coordinator);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        return coordinator;
    }

    std::optional<Foundation::String> bannerTitle() const
    {
        const auto& controller = delegate->banners->inAppNotificationVC();
        return controller->isShowing() ? controller->inAppNotificationV()->titleLabel()->text() : std::nullopt;
    }
    std::optional<Foundation::String> bannerSubtitle() const
    {
        return delegate->banners->inAppNotificationVC()->inAppNotificationV()->subtitleLabel()->text();
    }

    std::shared_ptr<UIKit::UIWindowScene> scene;
    std::shared_ptr<UIKit::UIWindow> window;
    std::shared_ptr<UIKit::UIWindow> bannerWindow;
    std::shared_ptr<BannerDelegate> delegate;
};

TEST_F(MainCoordinatorTests, TheSplitViewShowsBothColumnsAndRemembersTheListWidth)
{
    Foundation::UserDefaults::standard()->set(Foundation::PropertyListValue(321.0), MainCoordinator::mostRecentPrimaryColumnWidthKey);
    auto coordinator = show();
    EXPECT_EQ(coordinator->view()->accessibilityIdentifier(), Foundation::String("MainCoordinator"));
    EXPECT_EQ(coordinator->preferredDisplayMode(), UIKit::UISplitViewController::DisplayMode::oneBesideSecondary);
    EXPECT_EQ(coordinator->preferredPrimaryColumnWidth(), std::optional<UIKit::CGFloat>(321));
    EXPECT_EQ(coordinator->minimumPrimaryColumnWidth(), std::optional<UIKit::CGFloat>(200));
    EXPECT_EQ(coordinator->maximumPrimaryColumnWidth(), std::optional<UIKit::CGFloat>(10000));
    EXPECT_EQ(Foundation::UserDefaults::standard()->double_(MainCoordinator::mostRecentPrimaryColumnWidthKey),
              coordinator->primaryColumnWidth())
        << "every layout stores the width";
}

TEST_F(MainCoordinatorTests, AStoredWidthThatIsNoUsableNumberGivesTheAutomaticWidth)
{
    auto defaults = Foundation::UserDefaults::standard();
    defaults->set(Foundation::PropertyListValue(Foundation::String("wide")), MainCoordinator::mostRecentPrimaryColumnWidthKey);
    auto coordinator = make<MainCoordinator>();
    EXPECT_EQ(coordinator->mostRecentPrimaryColumnWidth(), std::nullopt);
    defaults->set(Foundation::PropertyListValue(-5.0), MainCoordinator::mostRecentPrimaryColumnWidthKey);
    EXPECT_EQ(coordinator->mostRecentPrimaryColumnWidth(), std::nullopt);
    defaults->set(Foundation::PropertyListValue(std::int64_t(250)), MainCoordinator::mostRecentPrimaryColumnWidthKey);
    EXPECT_EQ(coordinator->mostRecentPrimaryColumnWidth(), std::optional<double>(250));
}

TEST_F(MainCoordinatorTests, TheClipboardSubtitleFollowsTheAutoClearPreference)
{
    auto coordinator = make<MainCoordinator>();
    const auto& preferences = CorvendaleTests::inMemoryDependencies().preferenceStore;
    using AutoClear = Shared::Settings::Clipboard::AutoClear;
    preferences->setAutoClear(AutoClear::thirtySeconds);
    EXPECT_EQ(coordinator->autoClearSubtitle(), Foundation::String("Automatically clears in 30 seconds or on Quit"));
    preferences->setAutoClear(AutoClear::oneMinute);
    EXPECT_EQ(coordinator->autoClearSubtitle(), Foundation::String("Automatically clears in 1 minute or on Quit"));
    preferences->setAutoClear(AutoClear::fiveMinutes);
    EXPECT_EQ(coordinator->autoClearSubtitle(), Foundation::String("Automatically clears in 5 minutes or on Quit"));
    preferences->setAutoClear(AutoClear::never);
    EXPECT_EQ(coordinator->autoClearSubtitle(), std::nullopt);
}

TEST_F(MainCoordinatorTests, CopyingAPasswordShowsTheBannerForThreeSecondsAndThePasteboardClearsAfterTheChosenTime)
{
    const auto& dependencies = CorvendaleTests::inMemoryDependencies();
    CorvendaleTests::unlockVault();
    dependencies.preferenceStore->setAutoClear(Shared::Settings::Clipboard::AutoClear::thirtySeconds);
    auto entry = Shared::Entry::make(Shared::Entry::Category::login, Foundation::Date::now());
    entry.title = "Mail";
    entry.username = "ada";
    entry.password = "s3cret-pass";
    dependencies.recordStore->insertEntries({entry}, {});
    auto coordinator = show();

    coordinator->copyPassword(entry.id);
    EXPECT_EQ(UIKit::UIPasteboard::general()->string(), Foundation::String("s3cret-pass"));
    EXPECT_EQ(bannerTitle(), Foundation::String("Copied Password"));
    EXPECT_EQ(bannerSubtitle(), Foundation::String("Automatically clears in 30 seconds or on Quit"));
    TestSupport::advanceClock(2.9);
    EXPECT_TRUE(bannerTitle());
    TestSupport::advanceClock(0.1);
    EXPECT_FALSE(bannerTitle());
    TestSupport::advanceClock(27);
    EXPECT_FALSE(UIKit::UIPasteboard::general()->hasStrings());

    coordinator->copyUsername(entry.id);
    EXPECT_EQ(UIKit::UIPasteboard::general()->string(), Foundation::String("ada"));
    EXPECT_EQ(bannerTitle(), Foundation::String("Copied Username"));
    coordinator->copyOneTimePassword(entry.id);
    EXPECT_EQ(bannerTitle(), Foundation::String("Copied Username")) << "an item without a one-time password copies nothing";
    coordinator->copyPassword("no-such-item");
    EXPECT_EQ(UIKit::UIPasteboard::general()->string(), Foundation::String("ada"));
}

TEST_F(MainCoordinatorTests, LockingClosesWhatTheCoordinatorPresents)
{
    const auto& dependencies = CorvendaleTests::inMemoryDependencies();
    CorvendaleTests::unlockVault();
    auto coordinator = show();
    coordinator->present(make<UIKit::UIViewController>(), false);
    TestSupport::runMainLoopUntilIdle();
    ASSERT_NE(coordinator->presentedViewController(), nullptr);
    dependencies.authenticationStore->lock(Shared::AuthenticationStore::LockKind::allowBiometry, true, false, "test");
    TestSupport::advanceClock(1);
    EXPECT_EQ(coordinator->presentedViewController(), nullptr);
}

} // namespace
