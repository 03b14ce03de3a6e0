#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIColor.hpp"

#include <cstdint>
#include <memory>

namespace Basalwork {

struct UIColors {
    // The colours the kit's views use unless told otherwise: the system's semantic colours.
    static const std::shared_ptr<UIKit::UIColor>& defaultLabelColor() { return UIKit::UIColor::label(); }
    static const std::shared_ptr<UIKit::UIColor>& defaultSecondaryLabelColor() { return UIKit::UIColor::secondaryLabel(); }
    static const std::shared_ptr<UIKit::UIColor>& defaultTertiaryLabelColor() { return UIKit::UIColor::tertiaryLabel(); }
    static const std::shared_ptr<UIKit::UIColor>& defaultCellSeparatorColor() { return UIKit::UIColor::separator(); }
    static const std::shared_ptr<UIKit::UIColor>& defaultSystemFill() { return UIKit::UIColor::systemFill(); }
    static const std::shared_ptr<UIKit::UIColor>& defaultSystemBackground() { return UIKit::UIColor::systemBackground(); }
    static const std::shared_ptr<UIKit::UIColor>& defaultTertiarySystemBackground()
    {
        return UIKit::UIColor::tertiarySystemBackground();
    }
    static const std::shared_ptr<UIKit::UIColor>& defaultPlaceholderColor() { return UIKit::UIColor::placeholderText(); }

    // init(hexLiteral:): 0xRRGGBB, opaque; bits above the lowest 24 are ignored.
    static std::shared_ptr<UIKit::UIColor> withHexLiteral(std::int64_t hexLiteral);
    // init(red:green:blue:): components out of 255, not clamped; opaque.
    static std::shared_ptr<UIKit::UIColor> withRed(std::int64_t red, std::int64_t green, std::int64_t blue);
    // init(light:dark:): the dark colour in dark appearance, the light one otherwise (also unspecified).
    static std::shared_ptr<UIKit::UIColor> withLight(std::shared_ptr<UIKit::UIColor> light,
                                                     std::shared_ptr<UIKit::UIColor> dark);
};

// The colour in every appearance but dark, clear in dark.
std::shared_ptr<UIKit::UIColor> inLightModeOnly(const std::shared_ptr<UIKit::UIColor>& color);
// The colour in dark appearance, clear otherwise.
std::shared_ptr<UIKit::UIColor> inDarkModeOnly(const std::shared_ptr<UIKit::UIColor>& color);
// withBrightnessAdjusted(by:): the same hue, saturation and alpha with the brightness moved by the amount
// and kept within 0...1. A colour without a brightness comes back unchanged.
std::shared_ptr<UIKit::UIColor> withBrightnessAdjusted(const std::shared_ptr<UIKit::UIColor>& color, UIKit::CGFloat by);

} // namespace Basalwork
