#include "Tests/Support/MainLoop.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"

#include <gtest/gtest.h>

using namespace UIKit;

TEST(UIPasteboardTests, ItemsChangeTheCountAndExpireOnTheClock)
{
    auto pasteboard = UIPasteboard::general();
    int posted = 0;
    auto token = Foundation::NotificationCenter::defaultCenter()->addObserver(UIPasteboard::changedNotification(), pasteboard, nullptr,
                                                                             [&](const Foundation::Notification&) { ++posted; });
    auto before = pasteboard->changeCount();
    pasteboard->setString("one");
    EXPECT_EQ(pasteboard->changeCount(), before + 1);
    EXPECT_EQ(pasteboard->string(), Foundation::String("one"));
    pasteboard->addItems({UIPasteboard::Item {{"public.png", Foundation::Data::fromString("png")}}});
    EXPECT_EQ(pasteboard->numberOfItems(), 2);
    EXPECT_EQ(pasteboard->types(), (std::vector<Foundation::String> {UIPasteboard::plainTextType()}));

    pasteboard->setItems({UIPasteboard::Item {{UIPasteboard::plainTextType(), Foundation::Data::fromString("secret")}}},
                         {true, Foundation::Date::now().addingTimeInterval(10)});
    EXPECT_TRUE(pasteboard->isLocalOnly());
    auto count = pasteboard->changeCount();
    TestSupport::advanceClock(10);
    EXPECT_FALSE(pasteboard->hasStrings());
    EXPECT_EQ(pasteboard->changeCount(), count + 1) << "expiry is a change";
    EXPECT_FALSE(pasteboard->isLocalOnly());
    EXPECT_EQ(posted, 3);
    Foundation::NotificationCenter::defaultCenter()->removeObserver(token);
}
