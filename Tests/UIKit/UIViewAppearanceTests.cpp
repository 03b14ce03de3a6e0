#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace UIKit;
using Foundation::make;

TEST(UIView, AnInterfaceStyleOverrideReachesEverythingInside)
{
    auto scene = make<UIWindowScene>();
    auto window = make<UIWindow>(scene);
    auto outer = make<UIView>();
    auto inner = make<UIView>();
    window->addSubview(outer);
    outer->addSubview(inner);
    EXPECT_EQ(inner->traitCollection().userInterfaceStyle, UIUserInterfaceStyle::light);

    outer->setOverrideUserInterfaceStyle(UIUserInterfaceStyle::dark);
    EXPECT_EQ(inner->traitCollection().userInterfaceStyle, UIUserInterfaceStyle::dark);
    EXPECT_EQ(inner->traitCollection().horizontalSizeClass, UIUserInterfaceSizeClass::regular);
    // The nearest override wins.
    inner->setOverrideUserInterfaceStyle(UIUserInterfaceStyle::light);
    EXPECT_EQ(inner->traitCollection().userInterfaceStyle, UIUserInterfaceStyle::light);
    EXPECT_EQ(window->traitCollection().userInterfaceStyle, UIUserInterfaceStyle::light);
}

TEST(UIView, AnimationsComeBackOnAfterABlockWithoutThem)
{
    bool inside = true;
    bool nested = true;
    UIView::performWithoutAnimation([&] {
        UIView::performWithoutAnimation([&] { nested = UIView::areAnimationsEnabled(); });
        inside = UIView::areAnimationsEnabled();
    });
    EXPECT_FALSE(nested);
    EXPECT_FALSE(inside);
    EXPECT_TRUE(UIView::areAnimationsEnabled());

    EXPECT_THROW(UIView::performWithoutAnimation([] { throw std::runtime_error("failed"); }), std::runtime_error);
    EXPECT_TRUE(UIView::areAnimationsEnabled());
}
