#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Settings/AuthSettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsV.ActionV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIView.hpp"

using Foundation::String;
using Auth = Shared::Settings::Auth;

namespace {

class AuthSettingsPage : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        preferences()->setAuthMethod(Auth::Method::touchIDOrAppleWatch);
        preferences()->setRequireMasterPasswordInterval(Auth::RequireMasterPasswordInterval::everyWeek);
        show();
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        settings->didSelectAuthentication(*settings->settingsVC()->settingsTVC());
        settle();
        page = std::dynamic_pointer_cast<Corvendale::AuthSettingsC>(settings->presentedViewController());
        ASSERT_NE(page, nullptr) << "the row opens the page";
        window->layoutIfNeeded();
    }
    void TearDown() override
    {
        preferences()->setAuthMethod(Auth::Method::masterPasswordOnly);
        preferences()->setAutoLock(Auth::AutoLock::fifteenMinutes);
        MainCoordinatorFixture::TearDown();
    }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return CorvendaleTests::inMemoryDependencies().preferenceStore; }
    Corvendale::AuthSettingsV& view() const { return *page->customView(); }
    static bool shows(const UIKit::UIView& row) { return !row.isHidden() && row.alpha() == 1; }

    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<Corvendale::AuthSettingsC> page;
};

TEST_F(AuthSettingsPage, BiometricRowsFollowTheMethodNameItsBiometriesAndKeepTheirSelections)
{
    EXPECT_EQ(view().requireMasterPasswordIntervalV()->titleText(), String("When using Touch ID or Apple Watch to unlock Corvendale, require master password:"));
    EXPECT_EQ(view().requireMasterPasswordAfterDeviceRestartV()->optionVs()[1]->titleText(), String("Allow unlocking with Touch ID or Apple Watch"));
    EXPECT_EQ(view().autoBiometryV()->titleText(), String("While Corvendale is locked, automatically unlock using Touch ID or Apple Watch:"));
    EXPECT_EQ(view().requireMasterPasswordIntervalV()->selected(), Auth::RequireMasterPasswordInterval::everyWeek);

    driver.tap(view().methodV()->optionVs()[0]);
    settle();
    EXPECT_EQ(preferences()->authMethod(), Auth::Method::masterPasswordOnly);
    EXPECT_FALSE(shows(*view().requireMasterPasswordIntervalV()));
    EXPECT_FALSE(shows(*view().requireMasterPasswordAfterDeviceRestartV()));
    EXPECT_FALSE(shows(*view().autoBiometryV()));
    for (const UIKit::UIView* row : {static_cast<UIKit::UIView*>(view().lockNowV().get()), static_cast<UIKit::UIView*>(view().methodV().get()),
                                     static_cast<UIKit::UIView*>(view().autoLockV().get()), static_cast<UIKit::UIView*>(view().expirationV().get()),
                                     static_cast<UIKit::UIView*>(view().autoClearV().get())})
        EXPECT_TRUE(shows(*row));

    preferences()->setAuthMethod(Auth::Method::faceID);
    settle();
    EXPECT_TRUE(shows(*view().requireMasterPasswordIntervalV()));
    EXPECT_EQ(view().requireMasterPasswordIntervalV()->selected(), Auth::RequireMasterPasswordInterval::everyWeek) << "the stored selection comes back";
    EXPECT_EQ(view().autoBiometryV()->titleText(), String("While Corvendale is locked, automatically unlock using Face ID:"));
}

TEST_F(AuthSettingsPage, ChoicesAreStoredAndTheMethodRebuildsTheMenuBar)
{
    const auto& menus = UIKit::UIMenuSystem::main();
    menus->mainMenu();
    const auto builds = menus->buildCount();
    // Below the fold of the test window: chosen as the row reports a tap.
    view().autoLockV()->onSelection(Auth::AutoLock::fiveMinutes);
    settle();
    EXPECT_EQ(preferences()->autoLock(), Auth::AutoLock::fiveMinutes);
    EXPECT_EQ(view().autoLockV()->selected(), Auth::AutoLock::fiveMinutes);
    menus->mainMenu();
    EXPECT_EQ(menus->buildCount(), builds) << "only the unlock method is on the menu bar";

    driver.tap(view().methodV()->optionVs()[1]);
    settle();
    EXPECT_EQ(preferences()->authMethod(), Auth::Method::touchID);
    menus->mainMenu();
    EXPECT_EQ(menus->buildCount(), builds + 1);
}

TEST_F(AuthSettingsPage, LockNowLeavesTheSettingsAndLocksWithAnOrphanedPageToo)
{
    const auto& authentication = CorvendaleTests::inMemoryDependencies().authenticationStore;
    ASSERT_TRUE(authentication->authenticationState().isAuthenticated());
    page->didSelectLockNow(view());
    settle();
    EXPECT_EQ(coordinator->presentedViewController(), nullptr) << "the settings went with the page";
    EXPECT_FALSE(authentication->authenticationState().isAuthenticated());
}

} // namespace
