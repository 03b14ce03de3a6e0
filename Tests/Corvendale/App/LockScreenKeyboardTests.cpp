#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Screens/AuthenticationV.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"

#include "Tests/Support/Driver.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <memory>

#include <gtest/gtest.h>

namespace {

using CorvendaleTests::Program;
using Foundation::String;

// The lock screen used from the keyboard: what is typed goes into the master password field and Return
// submits it.
class LockScreenKeyboard : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        m_driver = std::make_unique<TestSupport::Driver>(
            std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back()));
        CorvendaleTests::prepareUnlockedEmptyContainer();
        settle();
        store()->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, true, false, "test");
        settle();
        ASSERT_FALSE(store()->authenticationState().isAuthenticated());
    }

    void TearDown() override
    {
        m_driver.reset();
        Program::TearDown();
    }

    Shared::AuthenticationV& screen() const { return *lockScreen()->authenticationVC()->authenticationV(); }

    // Replaces the field's text as a person does, then presses Return.
    void submit(const char* password)
    {
        auto field = screen().entryField();
        ASSERT_TRUE(m_driver->core().focus(field));
        while (!field->text().isEmpty()) {
            const auto before = field->text().count();
            m_driver->press(String("Delete"));
            ASSERT_LT(field->text().count(), before) << "Delete does not reach the field";
        }
        m_driver->type(String(password));
        m_driver->press(String("Return"));
        settle();
    }

    std::string status() const { return screen().statusLabel()->isHidden() ? std::string() : screen().statusLabel()->text().value_or(String()).utf8(); }

    std::unique_ptr<TestSupport::Driver> m_driver;
};

TEST_F(LockScreenKeyboard, AfterAWrongPasswordTheNextReturnWithTheRightOneUnlocks)
{
    submit("wrong password");
    EXPECT_FALSE(store()->authenticationState().isAuthenticated());
    EXPECT_EQ(status(), "Incorrect password.");

    submit(CorvendaleTests::masterPassword);
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
}

TEST_F(LockScreenKeyboard, TheHoldAfterTooManyAttemptsEndsOnScreenWhenItsTimeComes)
{
    for (int attempt = 0; attempt < Shared::AuthenticationStore::freeAttemptCount; ++attempt)
        submit("wrong password");
    ASSERT_NE(status().find("Try again at"), std::string::npos) << status();
    EXPECT_FALSE(screen().entryField()->isEnabled());

    m_driver->wait(29);
    EXPECT_NE(status().find("Try again at"), std::string::npos) << "the hold lasts 30 seconds";
    m_driver->wait(2);
    EXPECT_EQ(status().find("Try again at"), std::string::npos) << "the hold is over: " << status();
    EXPECT_TRUE(screen().entryField()->isEnabled());
    EXPECT_TRUE(screen().primaryButton()->isEnabled());

    submit(CorvendaleTests::masterPassword);
    EXPECT_TRUE(store()->authenticationState().isAuthenticated());
}

} // namespace
