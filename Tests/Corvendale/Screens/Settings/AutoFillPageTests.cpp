#include "Tests/Corvendale/App/MainCoordinatorFixture.hpp"
#include "Tests/Corvendale/Screens/Details/EntryDetailsFixture.hpp"

#include "Corvendale/Screens/Settings/AutoFillC.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.DisableStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SafariStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SetupVerificationCodesStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.SystemStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.EnableStepsV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.NotAvailableV.StepV.hpp"
#include "Corvendale/Screens/Settings/AutoFillV.NotAvailableV.hpp"
#include "Corvendale/Screens/Settings/SettingsC.hpp"
#include "Corvendale/Screens/Settings/SettingsTVC.hpp"
#include "Corvendale/Screens/Settings/SettingsV.HeaderV.hpp"
#include "Corvendale/Screens/Settings/SettingsV.OptionSettingV.hpp"
#include "Corvendale/Screens/Settings/SettingsVC.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Screens/EntryDetailsVHeaderV.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UserNotifications/UNUserNotificationCenter.hpp"

using Availability = Shared::RecordStoreAutoFillAvailability;
using AutoCopyOTP = Shared::Settings::AutoFill::AutoCopyOTP;
using Corvendale::AutoFillV;
using Foundation::String;
using OTPs = Shared::Global::AutoFill::AutoCopyOTPs;
using UserNotifications::UNUserNotificationCenter;

namespace {

bool shows(const UIKit::UIView& view)
{
    return !view.isHidden() && view.alpha() == 1;
}

// Switches the program's AutoFill in the system's service; the record store reads it when the program
// becomes active again, as after a visit to the system's settings.
void switchAutoFill(bool on)
{
    AuthenticationServices::ASCredentialIdentityStore(Shared::Global::App::appGroupIdentifier()).setEnabled(on);
    CorvendaleTests::inMemoryDependencies().notificationCenter->post(Foundation::Notification::Name("UIApplicationDidBecomeActiveNotification"), nullptr);
    TestSupport::runMainLoopUntilIdle();
}

TEST(AutoFillPageConfig, EachAvailabilityShowsItsOwnSections)
{
    AutoFillV::Config tooOld(Availability::unsupportedSystem, AutoCopyOTP::enabled, true);
    EXPECT_EQ(tooOld.messageText, String("AutoFill is available on macOS Big Sur and up. You'll need to update your Mac in order to enable it.\n\n"
                                         "We strongly recommending backing up your Mac before updating."));
    EXPECT_TRUE(tooOld.isNotAvailableVisible);
    EXPECT_FALSE(tooOld.isEnableStepsVisible || tooOld.isDisableStepsVisible || tooOld.isSetupVerificationCodesStepsVisible);
    EXPECT_FALSE(tooOld.autoCopyOTPConfig) << "no option is offered";

    AutoFillV::Config off(Availability::disabled, AutoCopyOTP::enabled, true);
    EXPECT_TRUE(off.isEnableStepsVisible);
    EXPECT_FALSE(off.isNotAvailableVisible || off.isDisableStepsVisible || off.isSetupVerificationCodesStepsVisible);
    EXPECT_FALSE(off.autoCopyOTPConfig);

    // On: the line under the option asks for notifications only while copying is on and they are not allowed.
    for (auto [copies, missing, line] : {std::tuple {AutoCopyOTP::enabled, true, OTPs::allowNotificationsMessage()},
                                         std::tuple {AutoCopyOTP::enabled, false, OTPs::notificationExplanation()},
                                         std::tuple {AutoCopyOTP::disabled, true, OTPs::notificationExplanation()}}) {
        AutoFillV::Config on(Availability::enabled, copies, missing);
        EXPECT_EQ(on.messageText, String("AutoFill is enabled! You can now quickly and easily sign into websites in Safari."));
        EXPECT_TRUE(on.isDisableStepsVisible && on.isSetupVerificationCodesStepsVisible);
        EXPECT_FALSE(on.isNotAvailableVisible || on.isEnableStepsVisible);
        ASSERT_TRUE(on.autoCopyOTPConfig);
        EXPECT_EQ(on.autoCopyOTPConfig->autoCopyOTP, copies);
        EXPECT_EQ(on.autoCopyOTPConfig->notificationMessageText, line);
    }
}

class AutoFillPage : public CorvendaleTests::MainCoordinatorFixture {
protected:
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        switchAutoFill(false);
        show();
        coordinator->presentSettings(false);
        settle();
        settings = std::dynamic_pointer_cast<Corvendale::SettingsC>(coordinator->presentedViewController());
        ASSERT_NE(settings, nullptr);
        settings->didSelectAutoFill(*settings->settingsVC()->settingsTVC());
        settle();
        page = std::dynamic_pointer_cast<Corvendale::AutoFillC>(settings->presentedViewController());
        ASSERT_NE(page, nullptr) << "the row opens the page";
        window->layoutIfNeeded();
    }
    AutoFillV& view() const { return *page->customView(); }
    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return CorvendaleTests::inMemoryDependencies().preferenceStore; }
    static const std::shared_ptr<Shared::UserNotificationStore>& notifications() { return CorvendaleTests::inMemoryDependencies().userNotificationStore; }

    std::shared_ptr<Corvendale::SettingsC> settings;
    std::shared_ptr<Corvendale::AutoFillC> page;
};

TEST_F(AutoFillPage, SwitchingAutoFillOnInTheSystemTurnsTheStepsIntoTheConfirmation)
{
    EXPECT_EQ(view().headerV()->title(), std::optional(String("AutoFill")));
    EXPECT_EQ(view().messageLabel()->text(),
              std::optional(String("AutoFill lets you quickly and easily sign into websites and apps. Follow the steps below to get started.")));
    EXPECT_TRUE(shows(*view().enableStepsV()));
    EXPECT_EQ(view().enableStepsV()->systemStepsV()->titleLabel()->text(), std::optional(String("Enable AutoFill in System Settings:")));
    EXPECT_EQ(view().enableStepsV()->safariStepsV()->titleLabel()->text(), std::optional(String("Enable password AutoFill in Safari:")));
    for (const UIKit::UIView* hidden : {static_cast<UIKit::UIView*>(view().notAvailableV().get()), static_cast<UIKit::UIView*>(view().autoCopyOTPV().get()),
                                        static_cast<UIKit::UIView*>(view().setupVerificationCodesStepsV().get()),
                                        static_cast<UIKit::UIView*>(view().enableSafariStepsV().get()),
                                        static_cast<UIKit::UIView*>(view().disableStepsV().get())})
        EXPECT_FALSE(shows(*hidden)) << hidden->accessibilityIdentifier().value_or(String()).utf8();

    switchAutoFill(true);
    EXPECT_EQ(view().messageLabel()->text(), std::optional(String("AutoFill is enabled! You can now quickly and easily sign into websites in Safari.")));
    EXPECT_FALSE(shows(*view().enableStepsV()));
    for (const UIKit::UIView* shown : {static_cast<UIKit::UIView*>(view().autoCopyOTPV().get()),
                                       static_cast<UIKit::UIView*>(view().setupVerificationCodesStepsV().get()),
                                       static_cast<UIKit::UIView*>(view().enableSafariStepsV().get()),
                                       static_cast<UIKit::UIView*>(view().disableStepsV().get())})
        EXPECT_TRUE(shows(*shown)) << shown->accessibilityIdentifier().value_or(String()).utf8();
    EXPECT_EQ(view().enableSafariStepsV()->titleLabel()->text(), std::optional(String("Reminder: Ensure password AutoFill is enabled in Safari:")));
    EXPECT_EQ(view().disableStepsV()->titleLabel()->text(), std::optional(String("For future reference, AutoFill can be disabled in System Settings:")));
    EXPECT_EQ(view().autoCopyOTPV()->autoCopyOTPV()->titleText(), std::optional(String(OTPs::description().utf8() + "?")));

    // Off again: the option hides and keeps what it last showed.
    switchAutoFill(false);
    EXPECT_TRUE(shows(*view().enableStepsV()));
    EXPECT_FALSE(shows(*view().autoCopyOTPV()));
    EXPECT_EQ(view().autoCopyOTPV()->autoCopyOTPV()->selected(), preferences()->autoCopyOTP());
}

TEST_F(AutoFillPage, CopyingCodesAsksForNotificationsAndTheLineFollowsTheAnswer)
{
    switchAutoFill(true);
    preferences()->setAutoCopyOTP(AutoCopyOTP::disabled);
    settle();
    EXPECT_EQ(view().autoCopyOTPV()->autoCopyOTPV()->selected(), AutoCopyOTP::disabled);
    ASSERT_TRUE(notifications()->isNotificationPermissionMissing());
    const int prompts = UNUserNotificationCenter::authorizationPromptCount();

    view().autoCopyOTPV()->autoCopyOTPV()->onSelection(AutoCopyOTP::disabled);
    settle();
    EXPECT_EQ(UNUserNotificationCenter::authorizationPromptCount(), prompts) << "not copying asks nothing";

    UNUserNotificationCenter::setAuthorizationAnswer(false);
    driver.tap(view().autoCopyOTPV()->autoCopyOTPV()->optionVs()[0]);
    settle();
    EXPECT_EQ(preferences()->autoCopyOTP(), AutoCopyOTP::enabled);
    EXPECT_EQ(UNUserNotificationCenter::authorizationPromptCount(), prompts + 1);
    EXPECT_EQ(view().autoCopyOTPV()->autoCopyOTPV()->selected(), AutoCopyOTP::enabled);
    EXPECT_EQ(view().autoCopyOTPV()->notificationMessageLabel()->text(), std::optional(OTPs::allowNotificationsMessage())) << "the user said no";

    // Allowed later in the system's settings: the line changes without a touch of the page.
    UNUserNotificationCenter::setAuthorizationStatus(UserNotifications::UNAuthorizationStatus::authorized);
    CorvendaleTests::inMemoryDependencies().notificationCenter->post(Foundation::Notification::Name("UIApplicationDidBecomeActiveNotification"), nullptr);
    settle();
    EXPECT_EQ(view().autoCopyOTPV()->notificationMessageLabel()->text(), std::optional(OTPs::notificationExplanation()));

    driver.tap(view().headerV()->doneButton());
    settle();
    EXPECT_EQ(settings->presentedViewController(), nullptr) << "Done closes the page";
    EXPECT_EQ(coordinator->presentedViewController(), settings);
}

TEST_F(AutoFillPage, ATooOldSystemShowsOnlyTheUpdateSteps)
{
    view().update(AutoFillV::Config(Availability::unsupportedSystem, AutoCopyOTP::enabled, false));
    EXPECT_TRUE(shows(*view().notAvailableV()));
    EXPECT_EQ(view().notAvailableV()->titleLabel()->text(), std::optional(String("Update your Mac via System Preferences:")));
    std::vector<String> steps;
    for (const auto& step : view().notAvailableV()->stepVs())
        steps.push_back(step->numberLabel()->text().value_or(String()) + " " + step->instructionLabel()->text().value_or(String()));
    EXPECT_EQ(steps, (std::vector<String> {"1. Backup your Mac!", "2. Open System Preferences", "3. Select Software Update", "4. Select Update Now"}));
    EXPECT_FALSE(shows(*view().enableStepsV()));
    EXPECT_FALSE(shows(*view().autoCopyOTPV()));
}

// The item details offer the page after an item is saved, once per kind of offer, and open it from the
// AutoFill button of an item being edited.
class AutoFillOffer : public CorvendaleTests::EntryDetailsFixture {
protected:
    void SetUp() override
    {
        EntryDetailsFixture::SetUp();
        preferences->setDidOfferAutoFillForPasswords(false);
        preferences->setDidOfferAutoFillForOneTimePasswords(false);
        switchAutoFill(false);
    }
    void TearDown() override
    {
        switchAutoFill(false);
        EntryDetailsFixture::TearDown();
    }
    std::shared_ptr<Corvendale::AutoFillC> page() const { return std::dynamic_pointer_cast<Corvendale::AutoFillC>(coordinator->presentedViewController()); }
    void save(const String& id, const std::function<void(Shared::RecordStore::EditingContext&)>& change)
    {
        edit(id);
        change(*editing().editingContext);
        coordinator->didSelectDone(header());
        driver.settle();
    }
    // Escape, taken by the page's header.
    void closePage()
    {
        ASSERT_TRUE(page());
        driver.press(String("Escape"));
        EXPECT_FALSE(coordinator->presentedViewController());
        // The page can open as an edit ends, while nothing holds the keyboard: the window's commands
        // reach the program again once it closes.
        EXPECT_NE(window->firstResponder(), nullptr);
    }
};

TEST_F(AutoFillOffer, ALoginSavedWhileAutoFillIsOffOffersThePageOnce)
{
    auto forum = addItem("Forum", "p4ss");
    save(forum, [&](auto& context) { context.setText("   ", SystemID::username, forum); });
    EXPECT_FALSE(page()) << "no user name";
    save(forum, [&](auto& context) { context.setText("alice", SystemID::username, forum); });
    EXPECT_TRUE(page());
    EXPECT_TRUE(preferences->didOfferAutoFillForPasswords());
    closePage();

    save(forum, [&](auto& context) { context.setText("alice2", SystemID::username, forum); });
    EXPECT_FALSE(page()) << "offered once";
}

TEST_F(AutoFillOffer, AOneTimePasswordSavedWhileAutoFillIsOnOffersThePageOnce)
{
    switchAutoFill(true);
    auto forum = addItem("Forum", "p4ss", [](auto& context, const String& id) { context.setText("alice", SystemID::username, id); });
    save(forum, [&](auto& context) { context.setText("renamed", SystemID::title, forum); });
    EXPECT_FALSE(page()) << "no one-time password";
    save(forum, [&](auto& context) { context.setText("JBSWY3DPEHPK3PXP", SystemID::totpSecretKey, forum); });
    ASSERT_TRUE(page());
    EXPECT_TRUE(preferences->didOfferAutoFillForPasswords() && preferences->didOfferAutoFillForOneTimePasswords());
    closePage();
    save(forum, [&](auto& context) { context.setText("again", SystemID::title, forum); });
    EXPECT_FALSE(page());
}

TEST_F(AutoFillOffer, TheAutoFillButtonOfAnEditedItemOpensThePage)
{
    auto forum = addItem("Forum", "p4ss");
    edit(forum);
    coordinator->didSelect(MenuSource::showHidden(MenuSource::ShowHiddenKind::autoFill), nullptr, {}, table());
    driver.settle();
    ASSERT_TRUE(page());
    EXPECT_TRUE(coordinator->state().is<State::Editing>()) << "the edit goes on beneath it";
    closePage();
}

// In the unlocked window: the page opens as the edit ends, while nothing holds the keyboard.
class AutoFillOfferInTheWindow : public CorvendaleTests::MainCoordinatorFixture {
protected:
    static std::shared_ptr<UIKit::UITextField> firstTextField(const UIKit::UIView& view)
    {
        for (const auto& subview : view.subviews()) {
            if (auto field = std::dynamic_pointer_cast<UIKit::UITextField>(subview); field && !field->isHidden())
                return field;
            if (auto field = firstTextField(*subview))
                return field;
        }
        return nullptr;
    }
    void SetUp() override
    {
        MainCoordinatorFixture::SetUp();
        if (auto banners = delegate->banners->view()->window())
            banners->setIsHidden(true);
        CorvendaleTests::inMemoryDependencies().preferenceStore->setDidOfferAutoFillForPasswords(false);
        switchAutoFill(false);
    }
};

TEST_F(AutoFillOfferInTheWindow, ClosingThePageGivesTheWindowItsKeysBack)
{
    auto id = add("Forum", "p4ss");
    show();
    select({id});
    const auto& details = coordinator->entryDetailsCoordinator();
    details->transitionToEdit(id, true, std::nullopt, false);
    settle();
    details->state().editingPayload()->editingContext->setText("alice", Shared::Entry::SystemField::ID::username, id);
    // The user types in a field of the item, which has the keyboard until Done ends the edit.
    window->layoutIfNeeded();
    ASSERT_TRUE(firstTextField(*details->view()) && firstTextField(*details->view())->becomeFirstResponder());
    details->didSelectDone(*details->entryDetailsVC()->headerV());
    settle();
    ASSERT_TRUE(std::dynamic_pointer_cast<Corvendale::AutoFillC>(details->presentedViewController()));

    driver.press(String("Escape"));
    EXPECT_FALSE(details->presentedViewController());
    EXPECT_NE(window->firstResponder(), nullptr);
    EXPECT_EQ(UIKit::UIApplication::shared()->targetOfFirstResponder(Foundation::Selector("handleSettingsCommand"), nullptr), coordinator)
        << "the window's commands reach the program";
}

} // namespace
