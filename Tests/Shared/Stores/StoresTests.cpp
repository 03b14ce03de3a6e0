#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/MainLoop.hpp"

#include "Shared/Model/Settings.hpp"
#include "Shared/Stores/TagStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

#include <gtest/gtest.h>

using namespace Shared;

namespace {

class TagSource : public TagStore::RecordSource {
public:
    std::vector<Foundation::String> tagsInUse() const override { return {"work", "Home", "home", "work", "Banking"}; }
};

} // namespace

TEST(StoresTests, TagsAreSortedOnceAndSuggestedByPrefix)
{
    auto store = Foundation::make<TagStore>(std::make_shared<TagSource>());
    EXPECT_EQ(store->tags(), (std::vector<Foundation::String> {"Banking", "Home", "home", "work"}));
    EXPECT_EQ(store->suggestions("ho", {"home"}), (std::vector<Foundation::String> {"Home"}));
}

TEST(StoresTests, NotificationPermissionIsAskedOnceAndAnsweredOnTheGivenQueue)
{
    SharedTests::removeApplicationGroup();
    SharedTests::Vault vault;
    auto store = Foundation::make<UserNotificationStore>(vault.userDefaults, vault.notificationCenter);
    int updates = 0;
    auto token = vault.notificationCenter->addObserver(UserNotificationStore::userNotificationStoreDidUpdate(), store, nullptr,
                                                       [&](const Foundation::Notification&) { ++updates; });
    EXPECT_TRUE(store->isNotificationPermissionMissing());
    store->announceCopiedOneTimePassword();
    EXPECT_TRUE(store->deliveredNotifications().empty()) << "nothing is posted without permission";

    std::optional<bool> granted;
    store->requestNotificationPermission(Foundation::DispatchQueue::main(), [&](bool answer) { granted = answer; });
    EXPECT_FALSE(granted.has_value()) << "the answer comes on the queue, later";
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(granted, true);
    EXPECT_FALSE(store->isNotificationPermissionMissing());
    store->autoCopyOTPDidEnable();
    EXPECT_EQ(updates, 1);
    store->announceCopiedOneTimePassword();
    EXPECT_EQ(store->deliveredNotifications().size(), 1u);
    vault.notificationCenter->removeObserver(token);
}

TEST(StoresTests, SettingsKeepTheirOrderRawValuesAndDurations)
{
    auto autoLock = allOptions<Settings::Auth::AutoLock>();
    ASSERT_EQ(autoLock.size(), 6u);
    EXPECT_EQ(Settings::Auth::seconds(autoLock[4]), 18000);
    EXPECT_EQ(Settings::Auth::seconds(autoLock[5]), std::nullopt);
    EXPECT_EQ(Foundation::rawValue(Settings::Items::SearchableFields::titleSubtitleUsernameTagsNotes), "titleSubtitleUsernameTagsNotes");
    EXPECT_EQ(Foundation::fromRawValue<Settings::Appearance::FontSize>("xLarger"), Settings::Appearance::FontSize::xLarger);
    EXPECT_EQ(Foundation::rawValue(Settings::Clipboard::AutoClear::never), 4);
    EXPECT_EQ(titleText(Settings::Items::SortMethod::unsorted), "No Sort Order");
    EXPECT_EQ(Settings::Auth::availableBiometries(Settings::Auth::Method::touchIDOrAppleWatch),
              (std::vector<Biometry> {Biometry::touchID, Biometry::appleWatch}));
    auto groups = Settings::Items::SortMethodGroup::allCases();
    std::size_t methods = 0;
    for (auto group : groups)
        methods += Settings::Items::SortMethodGroup::sortMethods(group).size();
    EXPECT_EQ(methods, allOptions<Settings::Items::SortMethod>().size()) << "every sort method is in one group";
}
