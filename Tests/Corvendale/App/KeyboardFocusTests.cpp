#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"

#include "Shared/Model/Entry.Category.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Screens/EntryDetailsTVC.Row.hpp"
#include "Shared/Screens/EntryDetailsTVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Tests/Shared/Stores/RecordStoreFixture.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIViewInspector.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using CorvendaleTests::Program;
using Foundation::String;
using VState = Shared::AuthenticationVState;

// The keyboard alone, as the terminal hands it over: Tab and Shift-Tab move the focus, Return presses.
class KeyboardFocus : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        m_driver = std::make_unique<TestSupport::Driver>(
            std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
    }
    void TearDown() override
    {
        m_driver.reset();
        CloudKit::CKSimulation::removeInjectedFailures();
        Program::TearDown();
    }

    // The unlocked window at the size of a terminal of 100 x 29 cells.
    void unlockAtTerminalSize()
    {
        CorvendaleTests::prepareUnlockedEmptyContainer();
        settle();
        CloudKit::CKSimulation::injectFailure({CloudKit::CKError::Code::networkUnavailable, CloudKit::CKSimulation::Operation::any, std::nullopt, 0, std::nullopt});
        sceneDelegate()->window()->setFrame({0, 0, 1000, 580});
        sceneDelegate()->window()->layoutIfNeeded();
    }

    void press(const char* key)
    {
        m_driver->core().pressNavigating(String(key));
        m_driver->settle();
        sceneDelegate()->window()->layoutIfNeeded();
    }

    // What a person reads on the focused view: a button's title, a field's placeholder, else its identifier.
    std::string focusedName() const
    {
        auto view = m_driver->core().focusedView();
        if (!view)
            return "(nothing)";
        if (auto button = std::dynamic_pointer_cast<UIKit::UIButton>(view))
            return button->currentTitle().value_or(String()).utf8();
        if (auto field = std::dynamic_pointer_cast<UIKit::UITextField>(view); field && field->placeholder())
            return field->placeholder()->utf8();
        auto texts = UIKit::UIViewInspector::texts(*view);
        if (!texts.empty() && !texts.front().isEmpty())
            return texts.front().utf8();
        return view->accessibilityIdentifier().value_or(String("(unnamed)")).utf8();
    }

    // Tab from the focused view until the focus is back on it: the names met, the first included.
    std::vector<std::string> tabRound()
    {
        // Tables reuse their cells' views for other rows: the start is known by what it reads.
        std::vector<std::string> names {focusedName()};
        for (int step = 0; step < 120; ++step) {
            press("Tab");
            if (focusedName() == names.front())
                return names;
            names.push_back(focusedName());
        }
        ADD_FAILURE() << "the focus never came back round";
        return names;
    }

    // Whether `expected` appear in `names` in this order (others may come between).
    static ::testing::AssertionResult inOrder(const std::vector<std::string>& names, const std::vector<std::string>& expected)
    {
        auto at = names.begin();
        for (const auto& name : expected) {
            at = std::find(at, names.end(), name);
            if (at == names.end()) {
                std::string all;
                for (const auto& each : names)
                    all += " | " + each;
                return ::testing::AssertionFailure() << "\"" << name << "\" not reached in order; the round:" << all;
            }
            ++at;
        }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<TestSupport::Driver> m_driver;
};

TEST_F(KeyboardFocus, TheSetUpStepsWithoutAFieldTakeReturn)
{
    if (store()->authenticationState().isAuthenticated() || screenState() != VState::indexOf<VState::CreateMasterPassword>)
        GTEST_SKIP() << "the container has a master password already";
    type(CorvendaleTests::masterPassword, String(CorvendaleTests::masterPassword));
    ASSERT_EQ(screenState(), VState::indexOf<VState::AutoFillOnboarding>) << "the AutoFill step";
    press("Return");
    EXPECT_EQ(screenState(), VState::indexOf<VState::AutomaticBackupsOnboarding>) << "Return continues without a Tab first";
}

TEST_F(KeyboardFocus, TabGoesRoundTheLockScreensControlsInReadingOrder)
{
    lockScreen()->authenticationWindow()->setFrame({0, 0, 1000, 580});
    if (!store()->authenticationState().isAuthenticated() && screenState() == VState::indexOf<VState::CreateMasterPassword>) {
        // Create Master Password: both fields, then the buttons under them.
        lockScreen()->authenticationWindow()->layoutIfNeeded();
        ASSERT_TRUE(m_driver->core().focus(m_driver->find("AuthenticationV.entryField")));
        m_driver->type(String(CorvendaleTests::masterPassword));
        press("Tab");
        m_driver->type(String(CorvendaleTests::masterPassword));
        ASSERT_TRUE(m_driver->core().focus(m_driver->find("AuthenticationV.entryField")));
        EXPECT_TRUE(inOrder(tabRound(), {"Master Password", "Repeat Master Password", "Continue", "Master Password Tips", "Show Password"}));
    }
    CorvendaleTests::prepareUnlockedEmptyContainer();
    settle();
    store()->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    settle();
    lockScreen()->authenticationWindow()->layoutIfNeeded();
    ASSERT_EQ(focusedName(), "Master Password") << "the locked screen's field takes the keyboard";
    m_driver->type(String("typed"));
    EXPECT_TRUE(inOrder(tabRound(), {"Master Password", "Unlock", "Forgot Password?"}));
}

TEST_F(KeyboardFocus, ANewItemStartsAtItsTitleAndTabReachesEveryPartOfTheEditorInReadingOrder)
{
    unlockAtTerminalSize();
    ASSERT_TRUE(m_driver->core().focus(m_driver->find("EntriesVC.newItem")));
    press("Return");
    m_driver->chooseShownMenuItem({"Login"});
    m_driver->wait(0.5);
    EXPECT_EQ(focusedName(), "Title") << "the new login's title takes the keyboard";

    auto round = tabRound();
    EXPECT_TRUE(inOrder(round, {"Title", "Username", "Password", "Regenerate", "Website", "Notes", "Tags", "Add Section"}));
    EXPECT_TRUE(inOrder(round, {"Cancel", "Done"})) << "the header's buttons";
    EXPECT_TRUE(std::ranges::find(round, "+") != round.end()) << "the list's controls";

}

TEST_F(KeyboardFocus, EveryKindOfItemsEditorIsReachedWholeByTab)
{
    unlockAtTerminalSize();
    auto main = sceneDelegate()->sceneCoordinator()->mainCoordinator();
    const auto& details = main->entryDetailsCoordinator();
    for (int index = 0; index <= static_cast<int>(Shared::EntryCategory::other); ++index) {
        const auto category = static_cast<Shared::EntryCategory>(index);
        main->attemptPresentAddEntry(category, true);
        m_driver->wait(0.5);
        ASSERT_EQ(focusedName(), "Title") << "kind " << index;
        // What the editor holds, in its order: each input (a custom field's title first) and each button.
        std::vector<std::string> expected;
        for (const auto& section : details->entryDetailsVC()->entryDetailsTVC()->sections())
            for (const auto& row : section.rows) {
                using Kind = Shared::EntryDetailsTVCRow::Kind;
                if (row.isEditable && (row.kind == Kind::field || row.kind == Kind::sectionHeader)) {
                    if (row.titleSource)
                        expected.push_back(row.title.utf8());
                    expected.push_back(row.title.utf8());
                } else if (row.kind == Kind::button && row.isEnabled) {
                    expected.push_back(row.title.utf8());
                }
            }
        EXPECT_TRUE(inOrder(tabRound(), expected)) << "kind " << index;
        details->didSelectCancel();
        m_driver->settle();
    }
}

TEST_F(KeyboardFocus, OnANarrowWindowTheDetailsStandAloneAndEscapeGoesBackToTheList)
{
    unlockAtTerminalSize();
    SharedTests::addEntry(*Corvendale::dependencies().recordStore, "Forum", "secret");
    settle();
    // A terminal of 60 columns: the window is narrow and compact.
    auto scene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back());
    sceneDelegate()->window()->setFrame({0, 0, 600, 580});
    auto traits = scene->traitCollection();
    traits.horizontalSizeClass = UIKit::UIUserInterfaceSizeClass::compact;
    scene->setTraitCollection(traits);
    m_driver->settle();
    sceneDelegate()->window()->layoutIfNeeded();
    auto main = sceneDelegate()->sceneCoordinator()->mainCoordinator();

    m_driver->tap(String("Forum"));
    sceneDelegate()->window()->layoutIfNeeded();
    ASSERT_EQ(main->presentedViewController(), main->entryDetailsCoordinator()) << "the details cover the list";
    EXPECT_TRUE(m_driver->core().find(String("Back")));
    press("Escape");
    m_driver->wait(0.5);
    EXPECT_FALSE(main->presentedViewController()) << "Escape goes back";
}

} // namespace
