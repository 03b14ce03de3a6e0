#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Screens/AuthenticationV.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Tests/Shared/Stores/RecordStoreFixture.hpp"
#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <memory>

#include <gtest/gtest.h>

namespace {

using CorvendaleTests::Program;
using Foundation::String;
using VState = Shared::AuthenticationVState;

// Everything a person can press either does something, says why it cannot, or shows dimmed.
class NoDeadEnds : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        CorvendaleTests::prepareUnlockedEmptyContainer();
        settle();
        sceneDelegate()->window()->setFrame({0, 0, 1200, 800});
        sceneDelegate()->window()->layoutIfNeeded();
        lockScreen()->authenticationWindow()->setFrame({0, 0, 1200, 800});
        m_driver = std::make_unique<TestSupport::Driver>(
            std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
    }
    void TearDown() override
    {
        UIKit::UIApplication::setExternalURLHandler({});
        m_driver.reset();
        Program::TearDown();
    }

    bool enabled(const std::vector<String>& path)
    {
        auto item = m_driver->menuItem(path);
        return item && UIKit::UIMenuSystem::isEnabled(*item);
    }
    // The title of the alert in front; empty when none is.
    std::string alertTitle() const
    {
        auto alert = std::dynamic_pointer_cast<Basalwork::AlertController>(m_driver->core().alert());
        return alert && alert->title() ? alert->title()->utf8() : std::string();
    }

    std::unique_ptr<TestSupport::Driver> m_driver;
};

TEST_F(NoDeadEnds, WhatTheProgramCannotDoHereShowsDimmedAndALinkNothingOpensSaysSo)
{
    // Window pinning and closing need what this program does not have.
    EXPECT_FALSE(enabled({"File", "Close"}) || enabled({"Window", "Keep Window Pinned Above Other Apps"}));
    EXPECT_FALSE(m_driver->find<UIKit::UIButton>(String("Pin Window"))->isEnabled());

    // No browser: help and an item's website say that nothing opened them.
    UIKit::UIApplication::setExternalURLHandler(
        {[](const Foundation::URL&) { return true; }, [](const Foundation::URL&, std::function<void(bool)> completion) { completion(false); }});
    m_driver->chooseMenuItem({"Help", "Corvendale Help"});
    EXPECT_EQ(alertTitle(), "Cannot Open Link");
    m_driver->chooseAlertAction(String("OK"));
    EXPECT_EQ(alertTitle(), "");

    auto id = SharedTests::addEntry(*Corvendale::dependencies().recordStore, "Forum", "secret", [](auto& context, const String& entryID) {
        context.setText("forum.example", Shared::EntrySystemField::ID::website, entryID);
    });
    settle();
    m_driver->tap(String("Forum"));
    m_driver->chooseMenuItem({"Item", "Open in Browser"});
    EXPECT_EQ(alertTitle(), "Cannot Open Link");
    m_driver->chooseAlertAction(String("OK"));
    EXPECT_TRUE(Corvendale::dependencies().recordStore->entry(id).has_value());
}

TEST_F(NoDeadEnds, AForgottenPasswordLeadsToARestoreThatCanBeLeftAtEveryStep)
{
    store()->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
    settle();
    lockScreen()->authenticationWindow()->layoutIfNeeded();
    auto& screen = *lockScreen()->authenticationVC()->authenticationV();
    ASSERT_EQ(screen.linkButton()->currentTitle(), String("Forgot Password?"));
    m_driver->tap(screen.linkButton());
    ASSERT_EQ(alertTitle(), "Forgot Password?");
    m_driver->chooseAlertAction(String("Restore from Backup…"));
    settle();
    EXPECT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupIntroduction>) << "what restoring does";

    // Its next step asks for the current master password, and can be left too.
    lockScreen()->authenticationWindow()->layoutIfNeeded();
    m_driver->tap(screen.primaryButton());
    settle();
    ASSERT_EQ(screenState(), VState::indexOf<VState::RestoreFromBackupMasterPasswordEntry>);
    EXPECT_FALSE(screen.secondaryButton()->isHidden());
    m_driver->press(String("Escape"));
    settle();
    EXPECT_EQ(screenState(), VState::indexOf<VState::Locked>) << "locked again";
}

} // namespace
