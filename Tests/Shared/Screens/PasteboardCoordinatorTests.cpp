#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

#include "Platform/UIKit/UIPasteboard.hpp"

#include <gtest/gtest.h>

using namespace Shared;

namespace {

class PasteboardCoordinatorTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        vault = std::make_unique<SharedTests::Vault>();
        coordinator = Foundation::make<PasteboardCoordinator>(vault->preferenceStore,
                                                             Foundation::make<UserNotificationStore>(vault->userDefaults, vault->notificationCenter));
        UIKit::UIPasteboard::general()->setItems({});
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::shared_ptr<PasteboardCoordinator> coordinator;
};

} // namespace

TEST_F(PasteboardCoordinatorTests, SecretsAreMarkedAndClearedAfterTheChosenTime)
{
    vault->preferenceStore->setAutoClear(Settings::Clipboard::AutoClear::thirtySeconds);
    auto pasteboard = UIKit::UIPasteboard::general();
    coordinator->copy("hunter2", true);
    EXPECT_EQ(pasteboard->string(), Foundation::String("hunter2"));
    auto types = pasteboard->types();
    EXPECT_NE(std::find(types.begin(), types.end(), Foundation::String(PasteboardCoordinator::concealedType)), types.end());
    EXPECT_TRUE(pasteboard->isLocalOnly());

    TestSupport::advanceClock(29);
    EXPECT_EQ(pasteboard->string(), Foundation::String("hunter2"));
    TestSupport::advanceClock(2);
    EXPECT_FALSE(pasteboard->hasStrings());

    coordinator->copy("alice", false);
    EXPECT_FALSE(pasteboard->isLocalOnly());
}

TEST_F(PasteboardCoordinatorTests, ContentThatIsNoLongerItsOwnIsLeftAlone)
{
    vault->preferenceStore->setAutoClear(Settings::Clipboard::AutoClear::oneMinute);
    auto pasteboard = UIKit::UIPasteboard::general();
    coordinator->copy("hunter2", true);
    pasteboard->setString("something the user copied elsewhere");
    TestSupport::advanceClock(61);
    EXPECT_EQ(pasteboard->string(), Foundation::String("something the user copied elsewhere"));
    coordinator->clearPasteboard(0, true);
    EXPECT_TRUE(pasteboard->hasStrings());

    // At termination its own content goes at once.
    vault->preferenceStore->setAutoClear(Settings::Clipboard::AutoClear::never);
    coordinator->copy("hunter3", true);
    EXPECT_FALSE(pasteboard->expirationDate().has_value());
    coordinator->clearPasteboard(0, true);
    EXPECT_FALSE(pasteboard->hasStrings());
}
