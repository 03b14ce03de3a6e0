#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Shared/Stores/UserNotificationStore.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UserNotifications/UNUserNotificationCenter.hpp"

#include <gtest/gtest.h>

using Shared::UserNotificationStore;
using UserNotifications::UNAuthorizationStatus;
using UserNotifications::UNUserNotificationCenter;

namespace {

class UserNotificationStoreTests : public testing::Test {
protected:
    void SetUp() override
    {
        SharedTests::removeApplicationGroup();
        UNUserNotificationCenter::setAuthorizationStatus(UNAuthorizationStatus::notDetermined);
        UNUserNotificationCenter::setAuthorizationAnswer(true);
        vault = std::make_unique<SharedTests::Vault>();
        vault->userDefaults->removeObject("UserNotificationStore.isPermissionGranted");
        observer = vault->notificationCenter->addObserver(UserNotificationStore::userNotificationStoreDidUpdate(), nullptr, nullptr,
                                                          [this](const Foundation::Notification&) { ++updates; });
    }
    void TearDown() override
    {
        vault->notificationCenter->removeObserver(observer.get());
        UNUserNotificationCenter::setAuthorizationStatus(UNAuthorizationStatus::notDetermined);
        UNUserNotificationCenter::setAuthorizationAnswer(true);
    }
    std::shared_ptr<UserNotificationStore> makeStore()
    {
        auto store = Foundation::make<UserNotificationStore>(vault->userDefaults, vault->notificationCenter);
        TestSupport::runMainLoopUntilIdle();
        return store;
    }
    // The answer as the store hands it on, once it has taken it in.
    std::optional<bool> request(UserNotificationStore& store)
    {
        std::optional<bool> answer;
        store.requestNotificationPermission(Foundation::DispatchQueue::main(), [&](bool granted) { answer = granted; });
        TestSupport::runMainLoopUntilIdle();
        return answer;
    }

    std::unique_ptr<SharedTests::Vault> vault;
    std::shared_ptr<Foundation::NSObject> observer;
    int updates = 0;
};

TEST_F(UserNotificationStoreTests, TheUserIsAskedOnceAndTheAnswerIsKeptAndAnnounced)
{
    auto store = makeStore();
    EXPECT_TRUE(store->isNotificationPermissionMissing());
    const int prompts = UNUserNotificationCenter::authorizationPromptCount();

    UNUserNotificationCenter::setAuthorizationAnswer(false);
    EXPECT_EQ(request(*store), false);
    EXPECT_TRUE(store->isNotificationPermissionMissing());
    EXPECT_EQ(updates, 0) << "nothing changed";
    store->announceCopiedOneTimePassword();
    EXPECT_TRUE(store->deliveredNotifications().empty()) << "not allowed";

    // Answered once, the system does not ask again.
    UNUserNotificationCenter::setAuthorizationAnswer(true);
    EXPECT_EQ(request(*store), false);
    EXPECT_EQ(UNUserNotificationCenter::authorizationPromptCount(), prompts + 1);

    // Allowed later in the system's settings: the store learns it when the program becomes active.
    UNUserNotificationCenter::setAuthorizationStatus(UNAuthorizationStatus::authorized);
    vault->notificationCenter->post(Foundation::Notification::Name("UIApplicationDidBecomeActiveNotification"), nullptr);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_FALSE(store->isNotificationPermissionMissing());
    EXPECT_EQ(updates, 1);
    store->announceCopiedOneTimePassword();
    EXPECT_EQ(store->deliveredNotifications().size(), 1U);

    // Another store over the same group (the extension) starts from the kept answer, even before the
    // system has been asked in its process.
    UNUserNotificationCenter::setAuthorizationStatus(UNAuthorizationStatus::notDetermined);
    EXPECT_FALSE(makeStore()->isNotificationPermissionMissing());

    // Taken back in the system's settings.
    UNUserNotificationCenter::setAuthorizationStatus(UNAuthorizationStatus::denied);
    store->refreshNotificationPermission();
    TestSupport::runMainLoopUntilIdle();
    EXPECT_TRUE(store->isNotificationPermissionMissing());
    EXPECT_EQ(updates, 2);
}

TEST_F(UserNotificationStoreTests, AGrantedRequestIsTakenInBeforeTheCallerHearsOfIt)
{
    auto store = makeStore();
    bool missingWhenAnswered = true;
    store->requestNotificationPermission(Foundation::DispatchQueue::main(),
                                         [&](bool granted) { missingWhenAnswered = !granted || store->isNotificationPermissionMissing(); });
    EXPECT_TRUE(store->isNotificationPermissionMissing()) << "the answer comes later";
    TestSupport::runMainLoopUntilIdle();
    EXPECT_FALSE(missingWhenAnswered);
    EXPECT_EQ(updates, 1);

    // A request once allowed asks no more and announces nothing new.
    const int prompts = UNUserNotificationCenter::authorizationPromptCount();
    EXPECT_EQ(request(*store), true);
    EXPECT_EQ(UNUserNotificationCenter::authorizationPromptCount(), prompts);
    EXPECT_EQ(updates, 1);
}

} // namespace
