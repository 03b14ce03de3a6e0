#include "Basalwork/Interface/UIColor.hpp"

#include <cmath>
#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::UIColor;

namespace {

UIKit::UITraitCollection traits(UIKit::UIUserInterfaceStyle style)
{
    UIKit::UITraitCollection result;
    result.userInterfaceStyle = style;
    return result;
}

double brightness(const std::shared_ptr<UIColor>& color)
{
    return color->hueSaturationBrightness().value().brightness;
}

} // namespace

TEST(UIColors, HexLiteralsReadThreeBytesAndIgnoreHigherBits)
{
    auto color = UIColors::withHexLiteral(0xFF8000);
    EXPECT_EQ(color->red(), 1.0);
    EXPECT_EQ(color->green(), 128.0 / 255.0);
    EXPECT_EQ(color->blue(), 0.0);
    EXPECT_EQ(color->alpha(), 1.0);

    auto high = UIColors::withHexLiteral(0x7A'00FF'8000);
    EXPECT_EQ(high->red(), 1.0);
    EXPECT_EQ(high->green(), 128.0 / 255.0);
    EXPECT_EQ(UIColors::withHexLiteral(-1)->blue(), 1.0);

    // Whole-number components are not clamped.
    EXPECT_EQ(UIColors::withRed(510, 0, -255)->red(), 2.0);
    EXPECT_EQ(UIColors::withRed(510, 0, -255)->blue(), -1.0);
}

TEST(UIColors, LightAndDarkColoursPickByAppearance)
{
    auto light = make<UIColor>(1.0, 1.0, 1.0, 1.0);
    auto dark = make<UIColor>(0.0, 0.0, 0.0, 1.0);
    auto adaptive = UIColors::withLight(light, dark);
    EXPECT_EQ(adaptive->resolvedColor(traits(UIKit::UIUserInterfaceStyle::dark)), dark);
    EXPECT_EQ(adaptive->resolvedColor(traits(UIKit::UIUserInterfaceStyle::light)), light);
    EXPECT_EQ(adaptive->resolvedColor(traits(UIKit::UIUserInterfaceStyle::unspecified)), light);

    EXPECT_EQ(inLightModeOnly(dark)->resolvedColor(traits(UIKit::UIUserInterfaceStyle::dark))->alpha(), 0.0);
    EXPECT_EQ(inLightModeOnly(dark)->resolvedColor(traits(UIKit::UIUserInterfaceStyle::unspecified)), dark);
    EXPECT_EQ(inDarkModeOnly(light)->resolvedColor(traits(UIKit::UIUserInterfaceStyle::dark)), light);
    EXPECT_EQ(inDarkModeOnly(light)->resolvedColor(traits(UIKit::UIUserInterfaceStyle::light))->alpha(), 0.0);

    EXPECT_EQ(UIColors::defaultLabelColor(), UIColor::label());
    EXPECT_EQ(UIColors::defaultPlaceholderColor(), UIColor::placeholderText());
}

TEST(UIColors, BrightnessAdjustsWithinZeroToOneKeepingHueSaturationAndAlpha)
{
    auto color = UIColor::withHue(0.6, 0.5, 0.8, 0.4);
    EXPECT_DOUBLE_EQ(brightness(withBrightnessAdjusted(color, 0.5)), 1.0);
    EXPECT_DOUBLE_EQ(brightness(withBrightnessAdjusted(UIColor::withHue(0.6, 0.5, 0.3, 1.0), -1.0)), 0.0);

    auto darker = withBrightnessAdjusted(color, -0.2)->hueSaturationBrightness().value();
    EXPECT_NEAR(darker.hue, 0.6, 1e-12);
    EXPECT_NEAR(darker.saturation, 0.5, 1e-12);
    EXPECT_NEAR(darker.brightness, 0.6, 1e-12);
    EXPECT_EQ(darker.alpha, 0.4);

    // A colour with no brightness to read comes back as it is.
    auto unreadable = make<UIColor>(std::nan(""), 0.0, 0.0, 1.0);
    EXPECT_EQ(withBrightnessAdjusted(unreadable, 0.1), unreadable);
}
