#include "Platform/Terminal/CellColor.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <algorithm>
#include <cmath>

namespace Terminal {
namespace {

// Below this saturation a colour reads as a grey.
constexpr double greySaturation = 0.25;
// Below this brightness a colour reads as black, whatever its hue.
constexpr double blackBrightness = 0.2;
// Below this alpha a colour is a tint of what lies under it, not a colour of its own.
constexpr double seenAlpha = 0.5;

std::uint8_t byte(double component)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(component, 0.0, 1.0) * 255));
}

} // namespace

std::optional<CellColor> CellColor::of(const UIKit::UIColor& color, const UIKit::UITraitCollection& traits)
{
    const auto resolved = color.resolvedColor(traits);
    const auto hsb = resolved->hueSaturationBrightness();
    if (!hsb || hsb->alpha < seenAlpha || hsb->saturation < greySaturation || hsb->brightness < blackBrightness)
        return std::nullopt;
    return CellColor {byte(resolved->red()), byte(resolved->green()), byte(resolved->blue())};
}

bool CellColor::recedes(const UIKit::UIColor& color, const UIKit::UITraitCollection& traits)
{
    const auto resolved = color.resolvedColor(traits);
    const auto hsb = resolved->hueSaturationBrightness();
    if (!hsb || hsb->saturation >= greySaturation)
        return false;
    // A translucent grey (the system's secondary label), or one halfway between black and white.
    const double brightness = hsb->brightness;
    return hsb->alpha < 0.85 || (brightness > 0.3 && brightness < 0.75);
}

} // namespace Terminal
