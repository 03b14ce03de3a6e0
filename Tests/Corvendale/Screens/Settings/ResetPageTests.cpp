#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Settings/ResetC.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsV.ActionV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

#include "Basalwork/Interface/PromotionButton.hpp"

#include "Platform/UIKit/UIAlertController.hpp"

using Corvendale::ResetC;
using Foundation::String;

namespace {

class ResetPage : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        show();
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        settings->didSelectReset(*settings->settingsVC()->settingsTVC());
        settle();
        page = std::dynamic_pointer_cast<ResetC>(settings->presentedViewController());
        ASSERT_NE(page, nullptr) << "the row opens the page";
        window->layoutIfNeeded();
    }
    void TearDown() override
    {
        const auto& lock = CorvendaleTests::inMemoryDependencies().authenticationStore;
        lock->cancelResettingAccount();
        MainCoordinatorFixture::TearDown();
    }
    Corvendale::ResetV& view() const { return *page->customView(); }
    std::shared_ptr<UIKit::UIAlertController> alert() const { return std::dynamic_pointer_cast<UIKit::UIAlertController>(page->presentedViewController()); }

    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<ResetC> page;
};

TEST_F(ResetPage, ClearingTheCacheWaitsForTheConfirmationAndThenLeavesTheSettings)
{
    EXPECT_EQ(view().headerV()->title(), std::optional(String("Reset Corvendale")));
    EXPECT_EQ(view().resetAccountV()->titleText(), std::optional(String("Reset Corvendale Account")));
    EXPECT_EQ(view().resetAccountV()->actionTitleText(), std::optional(String("Reset Corvendale Account")));
    EXPECT_NE(view().clearLocalCacheV()->subtitleText()->utf8().find("In the event a syncing issue is preventing Corvendale from updating"),
              std::string::npos);

    driver.tap(std::static_pointer_cast<UIKit::UIView>(view().clearLocalCacheV()->actionButton()));
    ASSERT_NE(alert(), nullptr);
    EXPECT_EQ(alert()->title(), std::optional(String("Clear Locally Cached Data")));
    EXPECT_EQ(delegate->replaceRequests, 0) << "nothing is cleared before the confirmation";
    driver.chooseAlertAction(String("Cancel"));
    TestSupport::advanceClock(1);
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(settings->presentedViewController(), page) << "Cancel leaves the page open";
    EXPECT_EQ(delegate->replaceRequests, 0);

    driver.tap(std::static_pointer_cast<UIKit::UIView>(view().clearLocalCacheV()->actionButton()));
    driver.chooseAlertAction(String("Clear Locally Cached Data"));
    TestSupport::advanceClock(1);
    settle();
    EXPECT_EQ(delegate->replaceRequests, 1) << "the scene replaces the local data with the account's";
    EXPECT_EQ(coordinator->presentedViewController(), nullptr) << "the settings went, the page with them";
}

TEST_F(ResetPage, TheAccountResetGoesToTheLockScreenWithoutAnAlertOfThePage)
{
    // Below the fold of the test's window: pressed as the button reports it.
    view().resetAccountV()->didSelectAction();
    settle();
    EXPECT_EQ(alert(), nullptr);
    const auto& lock = CorvendaleTests::inMemoryDependencies().authenticationStore;
    EXPECT_TRUE(lock->authenticationState().is<Shared::AuthenticationState::ResetAccountIntroduction>());
}

TEST_F(ResetPage, WithoutItsDelegateTheConfirmedClearingSaysItCouldNotBeDone)
{
    auto orphan = Foundation::make<ResetC>(std::shared_ptr<Corvendale::ResetCDelegate>());
    page->present(orphan, false);
    settle();
    ASSERT_EQ(page->presentedViewController(), orphan);
    orphan->presentClearLocalCacheConfirmation(false);
    settle();
    driver.chooseAlertAction(String("Clear Locally Cached Data"));
    settle();
    auto oops = std::dynamic_pointer_cast<UIKit::UIAlertController>(orphan->presentedViewController());
    ASSERT_NE(oops, nullptr);
    EXPECT_EQ(oops->title(), std::optional(String("Oops!")));
    EXPECT_EQ(delegate->replaceRequests, 0);

    // The account reset of a page without a delegate is ignored.
    orphan->didSelectResetAccount(*orphan->customView());
    EXPECT_TRUE(CorvendaleTests::inMemoryDependencies().authenticationStore->authenticationState().isAuthenticated());
}

} // namespace
