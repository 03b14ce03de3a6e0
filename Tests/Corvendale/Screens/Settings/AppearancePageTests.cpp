#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Settings/AppearanceC.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIView.hpp"

using Foundation::String;
using ColorScheme = Shared::Settings::Appearance::ColorScheme;
using DarkModeStyle = Shared::Settings::Appearance::DarkModeStyle;
using AppIconStyle = Shared::Settings::AppIconStyle;

namespace {

class AppearancePage : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        application()->setAvailableAlternateIconNames({String("AppIconAlwaysLight"), String("AppIconAlwaysDark")});
        preferences()->setColorScheme(ColorScheme::alwaysLight);
        preferences()->setDarkModeStyle(DarkModeStyle::black);
        show();
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        open();
    }
    void TearDown() override
    {
        preferences()->setColorScheme(ColorScheme::matchSystem);
        preferences()->setDarkModeStyle(DarkModeStyle::gray);
        preferences()->setAppIconStyle(AppIconStyle::matchSystem);
        application()->setSupportsAlternateIcons(true);
        application()->setAlternateIconName(std::nullopt, nullptr);
        application()->setAvailableAlternateIconNames({});
        MainCoordinatorFixture::TearDown();
    }
    void open()
    {
        settings->didSelectAppearance(*settings->settingsVC()->settingsTVC());
        settle();
        page = std::dynamic_pointer_cast<Corvendale::AppearanceC>(settings->presentedViewController());
        ASSERT_NE(page, nullptr) << "the row opens the page";
        window->layoutIfNeeded();
    }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return CorvendaleTests::inMemoryDependencies().preferenceStore; }
    static const std::shared_ptr<UIKit::UIApplication>& application() { return UIKit::UIApplication::shared(); }
    Corvendale::AppearanceV& view() const { return *page->customView(); }
    static bool shows(const UIKit::UIView& row) { return !row.isHidden() && row.alpha() == 1; }

    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<Corvendale::AppearanceC> page;
};

TEST_F(AppearancePage, TheDarkStyleShowsOnlyOutsideAlwaysLightAndTheSchemeRebuildsTheMenuBar)
{
    EXPECT_FALSE(shows(*view().darkModeStyleV()));
    const auto& menus = UIKit::UIMenuSystem::main();
    menus->mainMenu();
    const auto builds = menus->buildCount();

    driver.tap(view().colorSchemeV()->optionVs()[2]);
    settle();
    EXPECT_EQ(preferences()->colorScheme(), ColorScheme::alwaysDark);
    EXPECT_TRUE(shows(*view().darkModeStyleV()));
    EXPECT_EQ(view().darkModeStyleV()->selected(), DarkModeStyle::black) << "the stored style, not the first";
    menus->mainMenu();
    EXPECT_EQ(menus->buildCount(), builds + 1);

    view().fontSizeV()->onSelection(Shared::Settings::Appearance::FontSize::larger);
    settle();
    EXPECT_EQ(preferences()->fontSize(), Shared::Settings::Appearance::FontSize::larger);
    preferences()->setFontSize(Shared::Settings::Appearance::FontSize::standard);
}

TEST_F(AppearancePage, TheIconIsStoredOnlyAfterTheApplicationChangedIt)
{
    EXPECT_TRUE(shows(*view().appIconStyleV()));
    view().appIconStyleV()->onSelection(AppIconStyle::matchSystem);
    settle();
    EXPECT_EQ(settings->presentedViewController(), page) << "the stored style asks nothing of the application";

    view().appIconStyleV()->onSelection(AppIconStyle::alwaysDark);
    EXPECT_EQ(preferences()->appIconStyle(), AppIconStyle::matchSystem) << "not before the application answers";
    settle();
    EXPECT_EQ(application()->alternateIconName(), String("AppIconAlwaysDark"));
    EXPECT_EQ(preferences()->appIconStyle(), AppIconStyle::alwaysDark);
    EXPECT_EQ(view().appIconStyleV()->selected(), AppIconStyle::alwaysDark);

    // An icon the program does not ship: the change fails and nothing moves.
    application()->setAvailableAlternateIconNames({String("AppIconAlwaysDark")});
    view().appIconStyleV()->onSelection(AppIconStyle::alwaysLight);
    settle();
    EXPECT_EQ(application()->alternateIconName(), String("AppIconAlwaysDark"));
    EXPECT_EQ(preferences()->appIconStyle(), AppIconStyle::alwaysDark);
    EXPECT_EQ(view().appIconStyleV()->selected(), AppIconStyle::alwaysDark);
    auto alert = std::dynamic_pointer_cast<UIKit::UIAlertController>(page->presentedViewController());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), std::optional<String>("Oops!"));
}

TEST_F(AppearancePage, WithoutAlternateIconsTheIconListIsHidden)
{
    settings->dismiss(false);
    settle();
    ASSERT_EQ(settings->presentedViewController(), nullptr);
    application()->setSupportsAlternateIcons(false);
    open();
    EXPECT_FALSE(shows(*view().appIconStyleV()));
    EXPECT_EQ(view().appIconStyleV()->selected(), std::nullopt) << "its selection is not refreshed";
}

} // namespace
