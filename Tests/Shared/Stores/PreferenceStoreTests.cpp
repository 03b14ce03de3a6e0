#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include <gtest/gtest.h>

using namespace Shared;

namespace {

class AppearanceFollower : public PreferenceStoreAppearanceUpdateHandling {
public:
    void update(const Settings::Appearance& appearance) override { updates.push_back(appearance); }
    std::vector<Settings::Appearance> updates;
};

} // namespace

TEST(PreferenceStoreTests, WritesPersistAndPostTheirNotifications)
{
    SharedTests::removeApplicationGroup();
    SharedTests::Vault vault;
    auto& store = *vault.preferenceStore;
    std::vector<std::string> posted;
    auto token = vault.notificationCenter->addObserver(std::nullopt, nullptr, nullptr,
                                                       [&](const Foundation::Notification& notification) { posted.push_back(notification.name().rawValue().utf8()); });
    store.setAutoLock(Settings::Auth::AutoLock::never);
    EXPECT_EQ(posted, (std::vector<std::string> {"preferenceStoreDidUpdate", "preferenceStoreDidUpdateAutoLockInterval"}));
    store.setIsSafeForInspectionModeActivated(true);
    EXPECT_EQ(posted.back(), "preferenceStoreDidActivateSafeForInspectionMode");
    vault.notificationCenter->removeObserver(token);

    store.setSortMethod(Settings::Items::SortMethod::createdAt, Entry::Filter::trash());
    store.setDefaultUsername(Foundation::String("   "));
    store.setAutoClear(Settings::Clipboard::AutoClear::never);

    auto reopened = PreferenceStore::initialize(Foundation::UserDefaults::withSuiteName(Global::App::appGroupIdentifier()), vault.notificationCenter);
    EXPECT_EQ(reopened->autoLock(), Settings::Auth::AutoLock::never);
    EXPECT_EQ(reopened->sortMethod(Entry::Filter::trash()), Settings::Items::SortMethod::createdAt);
    EXPECT_EQ(reopened->sortMethod(Entry::Filter::allItems()), Settings::Items::defaultSortMethod);
    EXPECT_EQ(reopened->defaultUsername(), std::nullopt);
    EXPECT_EQ(vault.userDefaults->integer("PreferenceStore.autoClear"), 4) << "the clipboard setting is stored by its integer raw value";
    EXPECT_THROW(reopened->setBackupFolder(Foundation::URL::fileURLWithPath("/no/such/folder")), Foundation::Error);
}

TEST(PreferenceStoreTests, AppearanceFollowersHearEveryAppearanceChange)
{
    SharedTests::removeApplicationGroup();
    SharedTests::Vault vault;
    AppearanceFollower follower;
    follower.registerForPreferenceStoreDidUpdateAppearanceNotifications();
    vault.preferenceStore->setFontSize(Settings::Appearance::FontSize::larger);
    vault.preferenceStore->setAutoLock(Settings::Auth::AutoLock::oneHour);
    ASSERT_EQ(follower.updates.size(), 2u);
    EXPECT_EQ(follower.updates.back().fontSize, Settings::Appearance::FontSize::larger);
    auto larger = follower.updates.back().font(UIKit::UIFont::TextStyle::body(), false);
    auto standard = Settings::Appearance {}.font(UIKit::UIFont::TextStyle::body(), false);
    EXPECT_GT(larger->pointSize(), standard->pointSize());
}
