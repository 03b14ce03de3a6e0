#include "Basalwork/Base/Notification.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::Notification;

namespace {

enum class Key { itemID };

} // namespace

template <>
struct Foundation::RawRepresentation<Key> {
    using RawValue = Foundation::String;
    static constexpr std::pair<Key, const char*> cases[] = {{Key::itemID, "itemID"}};
};

TEST(Notification, SetInUserInfoStoresReplacesAndRemoves)
{
    Notification notification(Notification::Name("changed"));
    setInUserInfo(notification, "count", std::optional<int>());
    ASSERT_TRUE(notification.userInfo().has_value());
    EXPECT_TRUE(notification.userInfo()->empty());

    setInUserInfo(notification, "count", std::optional<int>(1));
    setInUserInfo(notification, "count", std::optional<int>(2));
    setInUserInfo(notification, Key::itemID, std::optional<std::string>("A7"));
    EXPECT_EQ(std::any_cast<int>(notification.userInfo()->at("count")), 2);
    EXPECT_EQ(std::any_cast<std::string>(notification.userInfo()->at("itemID")), "A7");

    setInUserInfo(notification, "count", std::nullopt);
    EXPECT_EQ(notification.userInfo()->count("count"), 0u);
    EXPECT_EQ(notification.userInfo()->size(), 1u);
}
