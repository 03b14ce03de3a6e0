#include "Basalwork/Interface/CoordinatingViewController.hpp"
#include "Shared/Screens/AuthenticationV.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Screens/AuthenticationVCDelegate.hpp"
#include "Shared/Screens/FileURLInput.hpp"
#include "Shared/Screens/MasterPasswordTipsVC.hpp"
#include "Shared/Screens/MasterPasswordTipsVCDelegate.hpp"

#include "Platform/UIKit/CGAffineTransform.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIControl.State.hpp"
#include "Platform/UIKit/UIView.AnimationRecorder.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

using Foundation::make;
using Foundation::String;
using Shared::AuthenticationVC;
using State = Shared::AuthenticationVState;

namespace {

// Acts as the lock screens do: typed text goes back into the state, which is set again.
class Owner : public Foundation::NSObject, public Shared::AuthenticationVCDelegate, public Shared::MasterPasswordTipsVCDelegate {
public:
    std::vector<std::string> calls;
    std::vector<State> primaryStates;

    void didSelectCancel(AuthenticationVC&) override { calls.push_back("cancel"); }
    void didUpdateEntryText(const String& text, AuthenticationVC& vc) override
    {
        calls.push_back("entry " + text.utf8());
        vc.setState(vc.state().withEntryText(text), false, true, true);
    }
    void didUpdateReEntryText(const String& text, AuthenticationVC& vc) override
    {
        calls.push_back("reEntry " + text.utf8());
        vc.setState(vc.state().withReEntryText(text), false, true, true);
    }
    void didSelectMasterPasswordTips(AuthenticationVC&) override { calls.push_back("tips"); }
    void didSelectUnlockWithBiometry(AuthenticationVC&) override { calls.push_back("biometry"); }
    void didSelectPrimaryAction(const State& state, AuthenticationVC&) override
    {
        calls.push_back("primary " + std::to_string(state.index()));
        primaryStates.push_back(state);
    }
    void didSelect(Shared::AuthenticationVLink link, AuthenticationVC&) override
    {
        calls.push_back("link " + std::to_string(static_cast<int>(link)));
    }
    void didUpdateIsAutoCopyOTPDisabled(bool isDisabled, AuthenticationVC&) override
    {
        calls.push_back(std::string("autoCopyDisabled ") + (isDisabled ? "true" : "false"));
    }
    void didSelectChooseLocation(AuthenticationVC&) override { calls.push_back("chooseLocation"); }
    void didChoose(const Foundation::URL& url, AuthenticationVC&) override { calls.push_back("choose " + url.lastPathComponent().utf8()); }
    void didSelectClearLocation(AuthenticationVC&) override { calls.push_back("clearLocation"); }
    void didFailChooseURL(const Foundation::ErrorPtr&, AuthenticationVC&) override { calls.push_back("failChoose"); }
    void didFinish(Shared::MasterPasswordTipsVC&) override { calls.push_back("tipsDone"); }

protected:
    friend Foundation::Construct;
    Owner() = default;
};

class AuthenticationVCTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        window->setFrame({0, 0, 800, 900});
        vc->setDelegate(owner);
        window->setRootViewController(vc);
        window->makeKeyAndVisible();
    }
    void show(State state, bool activatesEntryField = true)
    {
        vc->setState(std::move(state), false, activatesEntryField, false);
        window->layoutIfNeeded();
        driver.settle();
    }
    bool isShown(const char* identifier) { return driver.core().find(String(std::string("AuthenticationV.") + identifier)) != nullptr; }
    String label(const char* identifier)
    {
        auto view = driver.find<UIKit::UILabel>(String(std::string("AuthenticationV.") + identifier));
        return view ? view->text().value_or(String()) : String();
    }

    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(scene);
    std::shared_ptr<AuthenticationVC> vc = make<AuthenticationVC>();
    std::shared_ptr<Owner> owner = make<Owner>();
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(AuthenticationVCTests, UnlockingByTypingAndReturnReportsTheStateAsTyped)
{
    show(State::Locked {.availableBiometry = Shared::Biometry::faceID, .isEntryRecommended = false, .entryAttemptState = std::nullopt,
                        .entryText = String(), .appExecutionContext = Shared::AppExecutionContext::extension(),
                        .isCancelButtonVisible = false});
    EXPECT_FALSE(isShown("secondaryButton"));
    EXPECT_FALSE(vc->authenticationV()->primaryButton()->isEnabled());
    driver.press(String("Return"));
    EXPECT_TRUE(owner->calls.empty());

    driver.type(String("hunter2"));
    EXPECT_EQ(vc->authenticationV()->entryField()->text(), String("hunter2"));
    EXPECT_TRUE(vc->authenticationV()->entryField()->isSecureTextEntry());
    EXPECT_TRUE(vc->authenticationV()->primaryButton()->isEnabled());
    driver.press(String("Return"));
    ASSERT_EQ(owner->primaryStates.size(), 1u);
    EXPECT_EQ(owner->primaryStates[0].entryText(), String("hunter2"));
    EXPECT_EQ(owner->calls.front(), "entry h");

    owner->calls.clear();
    driver.tap(String("Unlock with Face ID"));
    driver.tap(String("Forgot Password?"));
    // Escape cancels only where the state offers a cancel button.
    driver.press(String("Escape"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"biometry", "link 0"}));
}

TEST_F(AuthenticationVCTests, ARejectedAttemptIsShownAndHeldBackEntryIsRefused)
{
    auto locked = [](Shared::EntryAttemptState attempt) {
        return State::Locked {.availableBiometry = Shared::Biometry::none, .isEntryRecommended = true, .entryAttemptState = attempt,
                              .entryText = String("wrong"), .appExecutionContext = Shared::AppExecutionContext::extension(),
                              .isCancelButtonVisible = true};
    };
    // Animated, the field shakes side to side on the clock and comes to rest where it was.
    UIKit::UIView::AnimationRecorder recorder;
    vc->setState(locked(Shared::EntryAttemptState::failed(2)), true, true, true);
    auto field = vc->authenticationV()->entryField();
    std::vector<UIKit::CGFloat> offsets {field->transform().tx};
    for (int step = 0; step < 8; ++step) {
        TestSupport::advanceClock(0.06);
        if (offsets.back() != field->transform().tx)
            offsets.push_back(field->transform().tx);
    }
    EXPECT_EQ(offsets, (std::vector<UIKit::CGFloat> {12, -12, 8, -8, 4, 0}));
    EXPECT_TRUE(field->transform().isIdentity());
    EXPECT_EQ(recorder.animations().size(), 6u);
    EXPECT_EQ(vc->failedAttemptIndicationCount(), 1);
    EXPECT_EQ(label("status"), String("Incorrect password (2 attempts)."));
    EXPECT_FALSE(isShown("biometryButton"));

    show(locked(Shared::EntryAttemptState::disabled(5, Foundation::Date::now().addingTimeInterval(300))));
    EXPECT_FALSE(vc->authenticationV()->entryField()->isEnabled());
    EXPECT_FALSE(vc->authenticationV()->primaryButton()->isEnabled());
    driver.tap(vc->authenticationV()->primaryButton());
    driver.press(String("Escape"));
    EXPECT_EQ(owner->calls, std::vector<std::string> {"cancel"});
}

TEST_F(AuthenticationVCTests, CreatingAMasterPasswordNeedsTwoMatchingLongTexts)
{
    show(State::CreateMasterPassword {});
    driver.type(String("correct horse"));
    driver.press(String("Return"));
    EXPECT_TRUE(vc->authenticationV()->reEntryField()->isFirstResponder());
    driver.type(String("correct hors"));
    EXPECT_EQ(label("status"), String("The passwords don't match."));
    driver.press(String("Return"));
    EXPECT_TRUE(owner->primaryStates.empty());
    driver.type(String("e"));
    EXPECT_FALSE(isShown("status"));
    driver.press(String("Return"));
    ASSERT_EQ(owner->primaryStates.size(), 1u);
    EXPECT_EQ(owner->primaryStates[0].entryReEntryState().acceptedPassword(), String("correct horse"));

    owner->calls.clear();
    driver.tap(String("Master Password Tips"));
    EXPECT_EQ(owner->calls, std::vector<std::string> {"tips"});
    auto tips = make<Shared::MasterPasswordTipsVC>(owner);
    vc->present(tips, false, nullptr);
    window->layoutIfNeeded();
    driver.settle();
    driver.tap(String("Done"));
    driver.press(String("Escape"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"tips", "tipsDone", "tipsDone"}));
}

TEST_F(AuthenticationVCTests, OnlyTheConfirmationTextAllowsAnAccountReset)
{
    show(State::ResetAccountConfirmation {});
    EXPECT_FALSE(vc->authenticationV()->entryField()->isSecureTextEntry());
    driver.type(String("reset"));
    driver.press(String("Return"));
    EXPECT_TRUE(owner->primaryStates.empty());
    show(State::ResetAccountConfirmation {String("RESET")});
    driver.tap(String("Reset Account"));
    ASSERT_EQ(owner->primaryStates.size(), 1u);
    EXPECT_EQ(owner->primaryStates[0].index(), Shared::AuthenticationVState::indexOf<Shared::AuthenticationVState::ResetAccountConfirmation>);
}

TEST_F(AuthenticationVCTests, TheLocationStepsReportFoldersChosenDroppedAndCleared)
{
    TestSupport::TemporaryHome home;
    std::filesystem::create_directory(home.path() / "Backups");
    auto folder = Foundation::URL::fileURLWithPath(String((home.path() / "Backups").string()));
    show(State::AutomaticBackupsOnboarding {});
    EXPECT_FALSE(isShown("entryField"));
    driver.tap(String("Choose Folder…"));
    vc->authenticationV()->fileURLInput()->drop({folder});
    vc->authenticationV()->fileURLInput()->drop({Foundation::URL::fileURLWithPath(String("/nowhere/at/all"))});
    show(State::AutomaticBackupsOnboarding {folder});
    EXPECT_EQ(vc->authenticationV()->fileURLInput()->text(), folder.path());
    driver.tap(String("Clear"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"chooseLocation", "choose Backups", "failChoose", "clearLocation"}));

    show(State::ChoosingBackupFile {});
    EXPECT_FALSE(vc->authenticationV()->primaryButton()->isEnabled());
    EXPECT_TRUE(isShown("secondaryButton"));
    // Without a field the screen itself takes Escape.
    owner->calls.clear();
    driver.press(String("Escape"));
    EXPECT_EQ(owner->calls, std::vector<std::string> {"cancel"});
}

TEST_F(AuthenticationVCTests, EveryStateShowsSafelyAndErrorsGiveTheirText)
{
    // Long and awkward texts in every payload: no state may break the screen.
    String awkward(std::string(2000, 'x') + "\u202e\t\x01 عربى");
    auto url = Foundation::URL::fileURLWithPath(String("/tmp/\u202eevil.backup"));
    std::vector<State> states {State::AppUpdateRequired {awkward}, State::AutoFillOnboarding {}, State::NewMasterPasswordAfterReset {awkward, awkward},
                               State::MasterPasswordChangedElsewhere {Foundation::Date::now(), awkward, std::nullopt},
                               State::BackupPasswordEntry {url, String("  ")}, State::ReplaceDataWithBackupConfirmation {url, awkward},
                               State::RestoreFromBackupFailed {awkward, 1}, State::EvaluatingBiometry {true, true},
                               State::AutoFillActivationConfirmation {false, true}, State::EncounteredError {String("D"), 7, awkward},
                               State::WaitingForInitialFetch {}, State::OpenMainApp {}, State::Authenticated {}};
    for (const auto& state : states)
        show(state);

    show(State::RestoreFromBackupFailed {String("The backup is damaged."), 1});
    EXPECT_EQ(vc->errorText(), String("The backup is damaged."));
    driver.tap(String("Send Report and Try Again"));
    show(State::BackupPasswordEntry {url, String("  ")});
    EXPECT_FALSE(vc->authenticationV()->primaryButton()->isEnabled());
    EXPECT_EQ(vc->errorText(), std::nullopt);

    show(State::AutoFillActivationConfirmation {false, true});
    driver.tap(String("AuthenticationV.autoCopySwitch"));
    driver.tap(String("AuthenticationV.autoCopySwitch"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"primary 14", "autoCopyDisabled true", "autoCopyDisabled false"}));
}

TEST_F(AuthenticationVCTests, TheDeferredActionRunsAfterTheCallAndTheDelegateIsHeldWeakly)
{
    bool ran = false;
    vc->performAfterStateUpdate([&] { ran = true; });
    EXPECT_FALSE(ran);
    driver.settle();
    EXPECT_TRUE(ran);

    show(State::ResetAccountIntroduction {});
    owner.reset();
    driver.tap(String("Continue"));
    driver.press(String("Escape"));
}

TEST_F(AuthenticationVCTests, ANewMasterPasswordCanBeShownWhileTypedAndIsHiddenAgainOnTheNextStep)
{
    show(State::CreateMasterPassword {});
    auto view = vc->authenticationV();
    EXPECT_TRUE(view->entryField()->isSecureTextEntry());
    driver.tap(String("Show Password"));
    EXPECT_FALSE(view->entryField()->isSecureTextEntry());
    EXPECT_FALSE(view->reEntryField()->isSecureTextEntry());
    EXPECT_TRUE(isShown("linkButton"));
    driver.tap(String("Hide Password"));
    EXPECT_TRUE(view->reEntryField()->isSecureTextEntry());
    driver.tap(String("Show Password"));
    EXPECT_EQ(owner->calls, (std::vector<std::string> {"link 2", "link 2", "link 2"}));

    show(State::NewMasterPasswordEntry {});
    EXPECT_TRUE(view->entryField()->isSecureTextEntry());
    EXPECT_EQ(view->linkButton()->title(UIKit::UIControl::State::normal()), String("Show Password"));
}

// Embedded as the lock screen embeds it, the view is placed by constraints of the same priority as its
// content's; the content still stays in the middle of the window whatever its size, and the view where
// the window is.
TEST_F(AuthenticationVCTests, TheContentIsACentredColumnAtEveryWindowSize)
{
    auto embedded = make<AuthenticationVC>();
    window->setRootViewController(make<Basalwork::CoordinatingViewController>(embedded));
    embedded->setState(State::CreateMasterPassword {}, false, true, false);
    // Width and height of the window, then the column's expected width (480 at most, 20 inside margins of 8).
    for (auto [width, height, columnWidth] : std::vector<std::tuple<UIKit::CGFloat, UIKit::CGFloat, UIKit::CGFloat>> {
             {1000, 580, 480}, {2000, 1000, 480}, {800, 900, 480}, {536, 600, 480}, {500, 600, 444}, {320, 600, 264}, {1000, 580, 480}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        window->setFrame({0, 0, width, height});
        window->layoutIfNeeded();
        auto view = embedded->authenticationV();
        EXPECT_EQ(view->convertTo(view->bounds(), window), (UIKit::CGRect {0, 0, width, height}));
        auto column = view->titleLabel()->superview();
        auto frame = column->convertTo(column->bounds(), window);
        EXPECT_EQ(frame.size.width, columnWidth);
        EXPECT_EQ(frame.midX(), width / 2);
        EXPECT_EQ(frame.midY(), height / 2);
        EXPECT_GT(frame.size.height, 0);
    }
}
