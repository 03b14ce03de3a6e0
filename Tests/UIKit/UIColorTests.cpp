#include "Platform/UIKit/UIColor.hpp"

#include <gtest/gtest.h>

using namespace UIKit;
using Foundation::make;

TEST(UIColor, DynamicColoursResolveForTheTraitsTheyAreGiven)
{
    auto light = make<UIColor>(1.0, 1.0, 1.0, 1.0);
    auto dark = make<UIColor>(0.1, 0.2, 0.3, 0.5);
    auto adaptive = make<UIColor>([=](const UITraitCollection& traits) {
        return traits.userInterfaceStyle == UIUserInterfaceStyle::dark ? dark : light;
    });
    // A provider may hand back another dynamic colour; resolving goes all the way down.
    auto wrapped = make<UIColor>([=](const UITraitCollection&) { return adaptive; });

    UITraitCollection darkTraits;
    darkTraits.userInterfaceStyle = UIUserInterfaceStyle::dark;
    EXPECT_EQ(wrapped->resolvedColor(darkTraits), dark);
    EXPECT_EQ(wrapped->resolvedColor(UITraitCollection {}), light);
    EXPECT_EQ(dark->resolvedColor(UITraitCollection {}), dark);
    EXPECT_TRUE(wrapped->isDynamic());
    EXPECT_FALSE(dark->isDynamic());
    // Components of a dynamic colour are those for unspecified traits.
    EXPECT_EQ(adaptive->red(), 1.0);
    EXPECT_EQ(dark->alpha(), 0.5);
}
