#include "Platform/UIKit/UIColor.hpp"

#include <cmath>
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

TEST(UIColor, HueSaturationAndBrightnessRoundTripThroughRGB)
{
    auto orange = make<UIColor>(1.0, 0.5, 0.0, 0.25);
    auto hsb = orange->hueSaturationBrightness();
    ASSERT_TRUE(hsb);
    EXPECT_NEAR(hsb->hue, 30.0 / 360.0, 1e-12);
    EXPECT_DOUBLE_EQ(hsb->saturation, 1.0);
    EXPECT_DOUBLE_EQ(hsb->brightness, 1.0);
    EXPECT_DOUBLE_EQ(hsb->alpha, 0.25);

    // Every sector of the hue circle, including the wrap from magenta back to red.
    for (double hue : {0.0, 0.1, 0.3, 0.5, 0.7, 0.9, 0.99}) {
        auto color = UIColor::withHue(hue, 0.6, 0.8, 1.0);
        auto back = color->hueSaturationBrightness();
        ASSERT_TRUE(back);
        EXPECT_NEAR(back->hue, hue, 1e-12) << hue;
        EXPECT_NEAR(back->saturation, 0.6, 1e-12) << hue;
        EXPECT_NEAR(back->brightness, 0.8, 1e-12) << hue;
    }

    // Grey has no hue; a colour of no number has no HSB form at all.
    auto grey = make<UIColor>(0.4, 0.4, 0.4, 1.0)->hueSaturationBrightness();
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->hue, 0.0);
    EXPECT_EQ(grey->saturation, 0.0);
    EXPECT_FALSE(make<UIColor>(std::nan(""), 0.0, 0.0, 1.0)->hueSaturationBrightness());
}

TEST(UIColor, SystemColoursAreMadeOnceAndFollowTheAppearance)
{
    EXPECT_EQ(UIColor::label(), UIColor::label());
    UITraitCollection dark;
    dark.userInterfaceStyle = UIUserInterfaceStyle::dark;
    EXPECT_EQ(UIColor::label()->resolvedColor(dark)->red(), 1.0);
    EXPECT_EQ(UIColor::label()->red(), 0.0);
    EXPECT_EQ(UIColor::systemBackground()->resolvedColor(dark)->red(), 0.0);
    EXPECT_EQ(UIColor::systemBackground()->red(), 1.0);
    EXPECT_EQ(UIColor::clear()->alpha(), 0.0);
}
