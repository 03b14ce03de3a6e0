#include "Tests/Sorrelgate/ExtensionFixture.hpp"

namespace SorrelgateTests {
namespace {

using ViewState = Shared::AuthenticationVState;

TEST_F(ExtensionTest, TheUnlockScreenKeepsTypedTextWhileLockedAndHoldsEntryBackAfterTooManyAttempts)
{
    addLogin("Forum", "alice", "forum-secret", "forum.example");
    lock();
    auto request = Request::list({"forum.example"});
    auto authenticationC = request.authenticationC();
    auto& screen = *authenticationC->authenticationVC();
    authenticationC->didUpdateEntryText("typed so far", screen);
    ASSERT_TRUE(screen.state().is<ViewState::Locked>());
    EXPECT_EQ(screen.state().as<ViewState::Locked>()->entryText, Foundation::String("typed so far"));
    EXPECT_TRUE(screen.state().as<ViewState::Locked>()->isCancelButtonVisible);

    for (std::int64_t attempt = 0; attempt < Shared::AuthenticationStore::freeAttemptCount; ++attempt)
        request.enter("wrong password");
    const auto* held = screen.state().as<ViewState::Locked>();
    ASSERT_TRUE(held && held->entryAttemptState && held->entryAttemptState->as<Shared::EntryAttemptState::Disabled>());
    // Held back, even the right password waits.
    request.enter(masterPassword);
    EXPECT_FALSE(services().authenticationStore->authenticationState().isAuthenticated());
    EXPECT_TRUE(request.shownItems().empty());

    // Cancel leaves the extension as the user cancelled it.
    authenticationC->didSelectCancel(screen);
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(*request.outcome(), cancelledWith(AuthenticationServices::ASExtensionError::Code::userCanceled));
}

TEST_F(ExtensionTest, AnErrorTheUnlockScreenShowsEndsTheRequestWithItsDomainAndCode)
{
    unlock();
    lock();
    auto request = Request::list({});
    auto authenticationC = request.authenticationC();
    authenticationC->didSelectPrimaryAction(ViewState::EncounteredError {"Shared.AuthenticationStoreError", 4, "private"},
                                            *authenticationC->authenticationVC());
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(*request.outcome(), cancelledWith("Shared.AuthenticationStoreError", 4));
}

} // namespace
} // namespace SorrelgateTests
