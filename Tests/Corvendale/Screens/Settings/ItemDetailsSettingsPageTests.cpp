#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/LargeViewer/LargeViewerV.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerVC.hpp"
#include "Corvendale/Screens/Settings/ItemDetailsSettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.TextSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Interface/TextInput.hpp"

#include "Platform/UIKit/UITextContentType.hpp"
#include "Platform/UIKit/UITextField.hpp"

using Foundation::String;
using Settings = Shared::Settings;
using Concealing = Settings::Auth::Concealing;
using Positions = Settings::LargeViewer::Positions;

namespace {

class ItemDetailsSettingsPage : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        preferences()->setDefaultUsername(String("bob@example.com"));
        item = add("Forum", "p4ss-word");
        show();
        select({item});
        open();
    }
    void TearDown() override
    {
        preferences()->setDefaultUsername(std::nullopt);
        preferences()->setConcealing(Concealing::enabled);
        preferences()->setLargeViewerPositions(Positions::passwordsAndPins);
        MainCoordinatorFixture::TearDown();
    }
    void open()
    {
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        settings->didSelectItemDetails(*settings->settingsVC()->settingsTVC());
        settle();
        page = std::dynamic_pointer_cast<Corvendale::ItemDetailsSettingsC>(settings->presentedViewController());
        ASSERT_NE(page, nullptr) << "the row opens the page";
        window->layoutIfNeeded();
    }
    void closeSettings()
    {
        coordinator->dismiss(false);
        settle();
        ASSERT_EQ(coordinator->presentedViewController(), nullptr);
    }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return CorvendaleTests::inMemoryDependencies().preferenceStore; }
    Corvendale::ItemDetailsSettingsV& view() const { return *page->customView(); }
    const std::shared_ptr<UIKit::UITextField>& field() const { return view().defaultUsernameV()->valueTextInput()->textField(); }
    // Whether the large viewer, opened on the item's password now, numbers its characters.
    bool largeViewerNumbersThePassword()
    {
        coordinator->presentLargeFirstCopyablePassword(item, false);
        settle();
        auto viewer = std::dynamic_pointer_cast<Corvendale::LargeViewerVC>(coordinator->presentedViewController());
        EXPECT_NE(viewer, nullptr);
        if (!viewer)
            return false;
        window->layoutIfNeeded();
        const auto config = viewer->largeViewerV()->makeConfig();
        coordinator->dismiss(false);
        settle();
        EXPECT_FALSE(config.lineConfigs.empty());
        return !config.lineConfigs.empty() && !config.lineConfigs[0].charConfigs.empty() && config.lineConfigs[0].charConfigs[0].positionConfig;
    }

    String item;
    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<Corvendale::ItemDetailsSettingsC> page;
};

TEST_F(ItemDetailsSettingsPage, TheUserNameIsStoredAsItIsTypedAndTheClearButtonRemovesIt)
{
    EXPECT_EQ(view().headerV()->title(), std::optional(String("Item Details")));
    EXPECT_EQ(view().defaultUsernameV()->valueText(), std::optional(String("bob@example.com")));
    EXPECT_EQ(view().defaultUsernameV()->textContentType(), std::optional(UIKit::UITextContentType::emailAddress()));

    ASSERT_TRUE(field()->becomeFirstResponder());
    driver.type(String("x"));
    EXPECT_EQ(preferences()->defaultUsername(), std::optional(String("bob@example.comx"))) << "every change is stored";
    EXPECT_EQ(field()->text(), String("bob@example.comx")) << "the update puts the same text back";
    driver.type(String(" "));
    EXPECT_EQ(preferences()->defaultUsername(), std::optional(String("bob@example.comx")));
    EXPECT_EQ(field()->text(), String("bob@example.comx"));

    field()->clear();
    settle();
    EXPECT_EQ(preferences()->defaultUsername(), std::nullopt);
    EXPECT_EQ(field()->text(), String());
    EXPECT_EQ(view().defaultUsernameV()->placeholderText(), std::optional(String("jane.appleseed@example.com"))) << "what shows in the empty field";
}

TEST_F(ItemDetailsSettingsPage, TheShownItemFollowsConcealingAtOnce)
{
    ASSERT_TRUE(details().concealState());
    EXPECT_EQ(details().concealState()->mode(), Shared::EntryDetailsVCConcealState::Mode::enabled);
    EXPECT_EQ(view().concealingV()->selected(), Concealing::enabled);

    driver.tap(view().concealingV()->optionVs()[1]);
    settle();
    EXPECT_EQ(preferences()->concealing(), Concealing::disabled);
    EXPECT_EQ(view().concealingV()->selected(), Concealing::disabled);
    ASSERT_TRUE(details().concealState());
    EXPECT_EQ(details().concealState()->mode(), Shared::EntryDetailsVCConcealState::Mode::disabled) << "the details behind the settings follow";

    view().concealingV()->onSelection(Concealing::enabled);
    settle();
    EXPECT_EQ(details().concealState()->mode(), Shared::EntryDetailsVCConcealState::Mode::enabled);
}

TEST_F(ItemDetailsSettingsPage, TheLargeViewerNumbersCharactersAsChosen)
{
    EXPECT_EQ(view().largeViewerPositionsV()->selected(), Positions::passwordsAndPins);
    view().largeViewerPositionsV()->onSelection(Positions::never);
    settle();
    EXPECT_EQ(view().largeViewerPositionsV()->selected(), Positions::never);
    closeSettings();
    EXPECT_FALSE(largeViewerNumbersThePassword());

    open();
    view().largeViewerPositionsV()->onSelection(Positions::passwordsOnly);
    settle();
    closeSettings();
    EXPECT_TRUE(largeViewerNumbersThePassword());

    open();
    view().inlineGeneratorV()->onSelection(Settings::ItemDetails::InlineGenerator::disabled);
    settle();
    EXPECT_EQ(preferences()->inlineGenerator(), Settings::ItemDetails::InlineGenerator::disabled);
    EXPECT_EQ(view().inlineGeneratorV()->selected(), Settings::ItemDetails::InlineGenerator::disabled);
    preferences()->setInlineGenerator(Settings::ItemDetails::InlineGenerator::enabled);
}

} // namespace
