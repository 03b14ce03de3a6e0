#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"

#include "Corvendale/Screens/Settings/SafeForInspectionC.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionV.CreatePasswordV.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionV.InstructionsV.StepV.hpp"
#include "Corvendale/Screens/Settings/SafeForInspectionV.InstructionsV.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Interface/PromotionButton.hpp"
#include "Basalwork/Interface/TextInput.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKeyModifierFlags.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"

using Corvendale::SafeForInspectionC;
using Foundation::String;
using Auth = Shared::Settings::Auth;
using InspectionState = Shared::RecordStore::SafeForInspectionState;

namespace {

class SafeForInspectionPage : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        store->setSafeForInspectionPassword(std::nullopt);
        show();
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        open();
    }
    void TearDown() override
    {
        const auto& services = CorvendaleTests::inMemoryDependencies();
        if (!services.recordStore->cryptor()->isUnlocked())
            CorvendaleTests::unlockVault();
        services.preferenceStore->setIsSafeForInspectionModeActivated(false);
        services.preferenceStore->setAuthMethod(Auth::Method::masterPasswordOnly);
        store->setSafeForInspectionPassword(std::nullopt);
        MainCoordinatorFixture::TearDown();
    }
    void open()
    {
        settings->didSelectSafeForInspection(*settings->settingsVC()->settingsTVC());
        settle();
        page = std::dynamic_pointer_cast<SafeForInspectionC>(settings->presentedViewController());
        ASSERT_NE(page, nullptr) << "the row opens the page";
        window->layoutIfNeeded();
    }

    Corvendale::SafeForInspectionV& view() const { return *page->customView(); }
    Corvendale::SafeForInspectionV::CreatePasswordV& inputs() const { return *view().createPasswordV(); }
    static bool shows(const UIKit::UIView& view) { return !view.isHidden() && view.alpha() == 1; }
    String actionTitle() const { return view().actionButton()->titleText().value_or(String()); }
    void act()
    {
        driver.tap(std::static_pointer_cast<UIKit::UIView>(view().actionButton()));
        settle();
        window->layoutIfNeeded();
    }
    // Typed into an input as a person types: the text changes and the input reports it.
    void typeInto(const std::shared_ptr<Basalwork::TextInput>& input, const char* text)
    {
        input->becomeFirstResponder();
        driver.type(String(text));
    }
    // A password the store holds opens the vault in the mode: it is the one asked for.
    bool isInspectionPassword(const char* password) const { return store->vaultKey(String(password)).has_value(); }
    int syncStatusChanges(const std::function<void()>& during)
    {
        int changes = 0;
        const auto& services = CorvendaleTests::inMemoryDependencies();
        auto token = services.notificationCenter->addObserver(Corvendale::SyncCoordinator::syncCoordinatorDidUpdateSyncStatus(), nullptr, nullptr,
                                                              [&](const Foundation::Notification&) { ++changes; });
        during();
        settle();
        services.notificationCenter->removeObserver(token);
        return changes;
    }

    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<SafeForInspectionC> page;
};

TEST_F(SafeForInspectionPage, TheExplanationNamesTheBiometriesTheModeTurnsOff)
{
    EXPECT_TRUE(shows(*view().explanationLabel()));
    EXPECT_FALSE(shows(inputs()));
    EXPECT_FALSE(shows(*view().instructionsV()));
    EXPECT_FALSE(shows(*view().cancelButtonContainer()));
    EXPECT_EQ(actionTitle(), String("Setup"));
    const auto shown = view().explanationLabel()->text().value_or(String()).utf8();
    EXPECT_NE(shown.find("will be visible and Authentication & Security settings will be temporarily overridden."), std::string::npos) << shown;
    EXPECT_EQ(shown.find("Unlocking via "), std::string::npos) << "the master password alone offers no biometry";
    EXPECT_NE(shown.find("using your Safe for Inspection password instead of your Master Password."), std::string::npos) << shown;

    const auto withBiometry = SafeForInspectionC::explanationText(Auth::Method::touchIDOrAppleWatch).utf8();
    EXPECT_NE(withBiometry.find("will be visible. Unlocking via Touch ID and Apple Watch will be temporarily disabled, and Authentication"),
              std::string::npos)
        << withBiometry;
}

TEST_F(SafeForInspectionPage, ThePasswordIsStoredOnlyWhenTypedTwiceAlikeAndAsTyped)
{
    act();
    ASSERT_TRUE(shows(inputs()));
    EXPECT_TRUE(shows(*view().cancelButtonContainer()));
    EXPECT_TRUE(inputs().entryTextInput()->isFirstResponder()) << "Setup puts the keyboard in the first input";
    EXPECT_EQ(inputs().entryText(), String());
    EXPECT_EQ(actionTitle(), String("Too short"));

    typeInto(inputs().entryTextInput(), "  border crossing ");
    EXPECT_EQ(page->entryText(), std::optional(String("  border crossing ")));
    driver.press(String("Return"));
    EXPECT_TRUE(inputs().reEntryTextInput()->isFirstResponder()) << "Return moves to the second input";
    typeInto(inputs().reEntryTextInput(), "  border crossing");
    EXPECT_EQ(actionTitle(), String("Mismatch"));
    act();
    EXPECT_EQ(store->safeForInspectionState(), InspectionState::noPassword) << "a mismatch stores nothing";

    driver.type(String(" "));
    EXPECT_EQ(actionTitle(), String("Continue"));
    const int syncs = syncStatusChanges([&] { driver.press(String("Return")); });
    EXPECT_EQ(store->safeForInspectionState(), InspectionState::ready) << "Return in the second input acts";
    EXPECT_TRUE(isInspectionPassword("  border crossing ")) << "stored as typed, spaces included";
    EXPECT_FALSE(isInspectionPassword("border crossing"));
    EXPECT_GT(syncs, 0) << "the other devices hear of it";
    EXPECT_FALSE(page->isCreatingPassword());
    EXPECT_EQ(page->entryText(), std::nullopt);
    EXPECT_TRUE(shows(*view().instructionsV()));
    EXPECT_EQ(view().instructionsV()->stepVs().size(), 4U);
    EXPECT_EQ(actionTitle(), String("Reset Safe for Inspection Password"));
    EXPECT_EQ(view().actionButton()->subtitleText(), std::optional(String("Safe for Inspection will need to be setup again")));

    // Removing it asks nothing more, syncs, and brings the explanation back.
    EXPECT_GT(syncStatusChanges([&] { act(); }), 0);
    EXPECT_EQ(store->safeForInspectionState(), InspectionState::noPassword);
    EXPECT_EQ(actionTitle(), String("Setup"));
    EXPECT_TRUE(shows(*view().explanationLabel()));
}

TEST_F(SafeForInspectionPage, SpacesAloneAreNeverAPasswordAndShortOnesAreTakenAsTheyAreTyped)
{
    act();
    typeInto(inputs().entryTextInput(), "          ");
    typeInto(inputs().reEntryTextInput(), "          ");
    act();
    EXPECT_EQ(store->safeForInspectionState(), InspectionState::noPassword);
    EXPECT_TRUE(page->isCreatingPassword()) << "the inputs stay";

    // The too-short title only advises: two equal texts are taken.
    page->didUpdateEntryText(String("abc"), view());
    page->didUpdateReEntryText(String("abc"), view());
    EXPECT_EQ(actionTitle(), String("Too short"));
    act();
    EXPECT_EQ(store->safeForInspectionState(), InspectionState::ready);
}

TEST_F(SafeForInspectionPage, TabMovesBetweenTheInputsAndCancelForgetsWhatWasTyped)
{
    act();
    typeInto(inputs().entryTextInput(), "first text");
    driver.press(String("Tab"));
    EXPECT_TRUE(inputs().reEntryTextInput()->isFirstResponder());
    driver.press(String("Tab"));
    EXPECT_TRUE(inputs().entryTextInput()->isFirstResponder());
    driver.press(String("Tab"), UIKit::UIKeyModifierFlags::shift());
    EXPECT_TRUE(inputs().reEntryTextInput()->isFirstResponder());
    driver.press(String("Tab"), UIKit::UIKeyModifierFlags::shift());
    EXPECT_TRUE(inputs().entryTextInput()->isFirstResponder());

    driver.tap(std::static_pointer_cast<UIKit::UIView>(view().cancelButton()));
    settle();
    EXPECT_FALSE(page->isCreatingPassword());
    EXPECT_EQ(actionTitle(), String("Setup"));
    EXPECT_FALSE(inputs().entryTextInput()->isFirstResponder());
    act();
    EXPECT_EQ(inputs().entryText(), String()) << "Setup again starts empty";
    EXPECT_EQ(inputs().reEntryText(), String());
}

TEST_F(SafeForInspectionPage, AStoreThatRefusesShowsOopsAndKeepsWhatWasTyped)
{
    act();
    page->didUpdateEntryText(String("inspection pass"), view());
    page->didUpdateReEntryText(String("inspection pass"), view());
    // The vault locked underneath (another window's lock): the store refuses the write.
    store->cryptor()->lock();
    const int syncs = syncStatusChanges([&] { act(); });
    auto oops = std::dynamic_pointer_cast<UIKit::UIAlertController>(page->presentedViewController());
    ASSERT_NE(oops, nullptr);
    EXPECT_EQ(oops->title(), std::optional(String("Oops!")));
    EXPECT_EQ(syncs, 0) << "nothing changed, so nothing is synced";
    EXPECT_TRUE(page->isCreatingPassword());
    EXPECT_EQ(page->entryText(), std::optional(String("inspection pass")));
    EXPECT_EQ(inputs().entryText(), String("inspection pass"));
    driver.chooseAlertAction(String("OK"));
    CorvendaleTests::unlockVault();
    settle();
    EXPECT_EQ(store->safeForInspectionState(), InspectionState::noPassword);
}

TEST_F(SafeForInspectionPage, APasswordSetElsewhereTurnsTheOpenInputsIntoTheInstructions)
{
    act();
    page->didUpdateEntryText(String("typed here"), view());
    store->setSafeForInspectionPassword(String("set on another device"));
    const auto& services = CorvendaleTests::inMemoryDependencies();
    services.notificationCenter->post(Shared::syncCoordinatorDidUpdateMasterPasswordsOrVaults(), services.syncCoordinator);
    settle();
    EXPECT_TRUE(shows(*view().instructionsV()));
    EXPECT_FALSE(shows(inputs()));
    EXPECT_TRUE(page->isCreatingPassword()) << "the typing is not forgotten until the page acts";

    // Removed elsewhere again: what was being typed comes back.
    store->setSafeForInspectionPassword(std::nullopt);
    services.notificationCenter->post(Shared::syncCoordinatorDidUpdateMasterPasswordsOrVaults(), services.syncCoordinator);
    settle();
    EXPECT_TRUE(shows(inputs()));
    EXPECT_EQ(inputs().entryText(), String("typed here"));
}

TEST_F(SafeForInspectionPage, TheModeSwitchedOnClosesThePageAndNoOtherOne)
{
    const auto& preferences = CorvendaleTests::inMemoryDependencies().preferenceStore;
    preferences->setIsSafeForInspectionModeActivated(true);
    TestSupport::advanceClock(1);
    settle();
    EXPECT_EQ(settings->presentedViewController(), nullptr) << "the page has nothing to show in the mode";
    EXPECT_EQ(coordinator->presentedViewController(), settings) << "the settings stay";
    EXPECT_EQ(page->makeCurrentState(), std::nullopt) << "no state for the activated mode";
}

} // namespace
