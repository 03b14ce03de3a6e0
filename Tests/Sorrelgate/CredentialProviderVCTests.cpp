#include "Tests/Sorrelgate/ExtensionFixture.hpp"

#include "Shared/Model/TOTP.hpp"
#include "Shared/Stores/LocalChangeCoordinator.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"

#include <filesystem>

namespace SorrelgateTests {
namespace {

using Code = AuthenticationServices::ASExtensionError::Code;

TEST_F(ExtensionTest, AListShowsTheSiteOnlyOnceUnlockedAndHandsTheChosenItemOverOnce)
{
    auto forum = addLogin("Forum", "alice", "forum-secret", "forum.example");
    addLogin("Bank", "bob", "bank-secret", "bank.example");
    lock();

    auto request = Request::list({"https://forum.example/login"});
    TestSupport::advanceClock(1);
    EXPECT_EQ(request.unlockScreenState(), 16);
    EXPECT_TRUE(request.shownItems().empty());

    request.enter("wrong password");
    EXPECT_EQ(request.unlockScreenState(), 16);
    EXPECT_TRUE(request.authenticationC()->authenticationVC()->state().entryAttemptState().has_value());
    EXPECT_TRUE(request.shownItems().empty());

    request.enter(masterPassword);
    EXPECT_EQ(request.unlockScreenState(), 30);
    EXPECT_FALSE(request.authenticationC()->view()->isUserInteractionEnabled());
    EXPECT_EQ(request.shownItems(), std::vector<Foundation::String> {forum});

    // Return twice in quick succession on the one selected item.
    auto& driver = request.driver();
    driver.press("Down");
    driver.press("Return");
    driver.press("Return");
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(*request.outcome(), Context::Outcome(Context::CompletedWithPassword {{"alice", "forum-secret"}}));
    EXPECT_EQ(request.service().outcomeJSON().find("forum-secret"), std::string::npos);

    // The use is recorded on the item, for the site that asked, and the main program hears of it.
    EXPECT_TRUE(services().localChangeCoordinator->hasPendingLocalChanges());
    auto indices = services().recordStore->entryIndices(Shared::Entry::Filter::allItems(), Shared::Settings::Items::SortMethod::alphabetical);
    ASSERT_EQ(indices.size(), 2U);
    EXPECT_TRUE(indices.back().lastUsedAt) << indices.back().title.utf8();
    auto stamped = services().recordStore->entry(forum)->serviceIdentifiers;
    ASSERT_EQ(stamped.size(), 1U);
    EXPECT_EQ(stamped.front().host, Foundation::String("forum.example"));
    ASSERT_TRUE(stamped.front().lastUsedAt);
    EXPECT_LE(*stamped.front().lastUsedAt, Foundation::Date::now());
    EXPECT_GT(*stamped.front().lastUsedAt, Foundation::Date::now().addingTimeInterval(-2));
}

TEST_F(ExtensionTest, ARequestWithoutUserInteractionIsCancelledAndOpensNoStore)
{
    auto request = Request::provide("some-record", false, true);
    ASSERT_TRUE(request.hasEnded());
    EXPECT_EQ(*request.outcome(), cancelledWith(Code::userInteractionRequired));
    auto container = Foundation::FileManager::defaultManager()->containerURL(Shared::Global::App::appGroupIdentifier());
    EXPECT_FALSE(std::filesystem::exists(container->path().utf8() + "/Library/Application Support/RecordStore"));

    // The same with the vault open: the extension never hands a credential over unseen.
    auto forum = addLogin("Forum", "alice", "forum-secret", "forum.example");
    auto again = Request::provide(forum, false, true);
    EXPECT_EQ(*again.outcome(), cancelledWith(Code::userInteractionRequired));
    auto code = Request::provide(forum, true, true);
    EXPECT_EQ(*code.outcome(), cancelledWith(Code::userInteractionRequired));
}

TEST_F(ExtensionTest, ProvidingAnIdentityAnswersForTheRecordItNames)
{
    auto forum = addLogin("Forum", "alice", "forum-secret", "forum.example");
    auto gone = addLogin("Gone", "carol", "gone-secret", "gone.example");
    services().recordStore->permanentlyDelete({gone});

    // Unlocked already: the credential goes at the first appearance, and never again.
    auto request = Request::provide(forum);
    ASSERT_TRUE(request.waitForEnd());
    EXPECT_EQ(*request.outcome(), Context::Outcome(Context::CompletedWithPassword {{"alice", "forum-secret"}}));
    services().notificationCenter->post(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), services().authenticationStore);
    TestSupport::advanceClock(1);
    EXPECT_EQ(request.service().provider()->extensionContext()->ignoredCallCount(), 0);

    auto missing = Request::provide(gone);
    ASSERT_TRUE(missing.waitForEnd());
    EXPECT_EQ(*missing.outcome(), cancelledWith(Code::credentialIdentityNotFound));

    // A one-time code from an item that has none is no empty code.
    auto noCode = Request::provide(forum, true);
    ASSERT_TRUE(noCode.waitForEnd());
    EXPECT_EQ(*noCode.outcome(), cancelledWith("Basalwork.GeneralError", 0));

    auto withCode = addLogin("Mail", "dave", "mail-secret", "mail.example", "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP");
    auto code = Request::provide(withCode, true);
    ASSERT_TRUE(code.waitForEnd());
    EXPECT_EQ(*code.outcome(), Context::Outcome(Context::CompletedWithOneTimeCode {{Shared::TOTP("JBSWY3DPEHPK3PXP").generate(Foundation::Date::now())}}));
}

TEST_F(ExtensionTest, AnIdentityWithoutARecordIsNotFound)
{
    AutoFillRequest provide;
    provide.kind = AutoFillRequest::Kind::provide;
    auto request = Request(provide);
    // The service's list names the record; an identity without one cannot be answered.
    request.provider()->setExtensionContext(Foundation::make<Context>());
    request.provider()->prepareInterfaceToProvideCredential(AuthenticationServices::ASPasswordCredentialIdentity {
        AutoFillRequest::serviceIdentifier("forum.example"), "alice", std::nullopt});
    EXPECT_EQ(*request.provider()->extensionContext()->outcome(), cancelledWith("Sorrelgate.CredentialProviderVC.Errors", 3));
}

TEST_F(ExtensionTest, AutomaticCopyingCopiesTheCurrentCodeWithAPassword)
{
    auto mail = addLogin("Mail", "dave", "mail-secret", "mail.example", "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP");
    services().preferenceStore->setAutoCopyOTP(Shared::Settings::AutoFill::AutoCopyOTP::disabled);
    auto quiet = Request::provide(mail);
    ASSERT_TRUE(quiet.waitForEnd());
    EXPECT_EQ(*quiet.outcome(), Context::Outcome(Context::CompletedWithPassword {{"dave", "mail-secret"}}));
    EXPECT_FALSE(UIKit::UIPasteboard::general()->hasStrings());
    EXPECT_TRUE(services().userNotificationStore->deliveredNotifications().empty());

    services().preferenceStore->setAutoCopyOTP(Shared::Settings::AutoFill::AutoCopyOTP::enabled);
    services().userNotificationStore->requestNotificationPermission();
    auto copying = Request::provide(mail);
    ASSERT_TRUE(copying.waitForEnd());
    EXPECT_EQ(*copying.outcome(), Context::Outcome(Context::CompletedWithPassword {{"dave", "mail-secret"}}));
    EXPECT_EQ(UIKit::UIPasteboard::general()->string(), Shared::TOTP("JBSWY3DPEHPK3PXP").generate(Foundation::Date::now()));
    EXPECT_EQ(services().userNotificationStore->deliveredNotifications().size(), 1U);
}

TEST_F(ExtensionTest, ConfiguringAsksForPermissionFirstThenListsTheCredentials)
{
    auto forum = addLogin("Forum", "alice", "forum-secret", "forum.example");
    services().preferenceStore->setAutoCopyOTP(Shared::Settings::AutoFill::AutoCopyOTP::enabled);
    ASSERT_TRUE(services().userNotificationStore->isNotificationPermissionMissing());

    AutoFillRequest configure;
    configure.kind = AutoFillRequest::Kind::configure;
    Request request(configure);
    auto confirmation = request.child<Shared::AuthenticationVC>();
    ASSERT_TRUE(confirmation);
    EXPECT_EQ(confirmation->state(), Shared::AuthenticationVState(Shared::AuthenticationVState::AutoFillActivationConfirmation {false, true}));
    EXPECT_TRUE(services().preferenceStore->didConfigureAutoFillExtension());

    // Return confirms as the screen opens: no Tab to the button first.
    request.driver().press("Return");
    ASSERT_TRUE(runMainLoopUntil([&] { return request.hasEnded(); }));
    EXPECT_EQ(*request.outcome(), Context::Outcome(Context::CompletedConfiguration {}));
    EXPECT_FALSE(services().userNotificationStore->isNotificationPermissionMissing());
    AuthenticationServices::ASCredentialIdentityStore identities(Shared::Global::App::appGroupIdentifier());
    EXPECT_TRUE(identities.state().isEnabled);
    ASSERT_EQ(identities.credentialIdentities().size(), 1U);
    EXPECT_EQ(identities.credentialIdentities().front().recordIdentifier, forum);

    Request cancelled(configure);
    auto screen = cancelled.child<Shared::AuthenticationVC>();
    cancelled.provider()->didSelectCancel(*screen);
    EXPECT_EQ(*cancelled.outcome(), cancelledWith(Code::userCanceled));
}

} // namespace
} // namespace SorrelgateTests
