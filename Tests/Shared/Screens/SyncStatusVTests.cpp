#include "Tests/Support/Driver.hpp"

#include "Shared/Screens/SyncStatusV.hpp"
#include "Shared/Screens/SyncStatusVDelegate.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

using namespace Shared;
using Foundation::make;
using Syncwright::SyncStatus;

namespace {

class ActionCounter : public SyncStatusVDelegate, public Foundation::NSObject {
public:
    int actions = 0;
    void didSelectAction(SyncStatusV&) override { ++actions; }

protected:
    friend Foundation::Construct;
    ActionCounter() = default;
};

} // namespace

TEST(SyncStatusVTests, EachStatusOffersItsOneAction)
{
    auto date = Foundation::Date(800'000'000);
    EXPECT_EQ(SyncStatusV::Config::make(SyncStatus::syncing(SyncStatus::Activity::pushing)).actionTitle, Foundation::String("Stop"));
    auto upToDate = SyncStatusV::Config::make(SyncStatus::upToDate(date));
    EXPECT_EQ(upToDate.actionTitle, Foundation::String("Sync Now"));
    EXPECT_TRUE(upToDate.lastSyncText->hasPrefix("Last synced "));
    EXPECT_FALSE(SyncStatusV::Config::make(SyncStatus::Disabled {}).actionTitle) << "nothing to do while iCloud is off";
    auto repair = SyncStatusV::Config::make(SyncStatus::failed(SyncStatus::Failure::multipleRecordsUsingTheSameID("x"), std::nullopt));
    EXPECT_EQ(repair.actionTitle, Foundation::String("Repair and Sync"));
    EXPECT_FALSE(repair.lastSyncText);
    auto replace = SyncStatusV::Config::make(SyncStatus::failed(SyncStatus::Failure::iCloudAccountChanged("a", "b"), date));
    EXPECT_TRUE(replace.isActionDestructive);
    auto other = SyncStatusV::Config::make(SyncStatus::failed(SyncStatus::Failure::error(Basalwork::GeneralError::failedWithMessage("Disk full")), date));
    EXPECT_EQ(other.actionTitle, Foundation::String("Try Again"));
    EXPECT_TRUE(other.messageText->contains("Disk full"));
}

TEST(SyncStatusVTests, TheButtonReachesTheDelegateAndFollowsTheConfig)
{
    auto scene = make<UIKit::UIWindowScene>();
    auto window = make<UIKit::UIWindow>(scene);
    window->setFrame({0, 0, 400, 400});
    auto counter = make<ActionCounter>();
    auto view = make<SyncStatusV>(counter);
    view->setFrame(window->bounds());
    window->addSubview(view);
    window->makeKeyAndVisible();
    view->setConfig(SyncStatusV::Config::make(SyncStatus::idle(std::nullopt)));
    window->layoutIfNeeded();
    TestSupport::Driver driver {scene};
    driver.tap("Sync Now");
    EXPECT_EQ(counter->actions, 1);
    EXPECT_GT(view->scrollView()->contentSize().height, 0);

    view->setConfig(SyncStatusV::Config::make(SyncStatus::Disabled {}));
    window->layoutIfNeeded();
    EXPECT_TRUE(view->actionButton()->isHidden());
    EXPECT_TRUE(driver.core().find("iCloud Sync Is Off"));
}
