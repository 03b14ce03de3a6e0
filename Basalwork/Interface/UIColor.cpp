#include "Basalwork/Interface/UIColor.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <algorithm>

namespace Basalwork {

std::shared_ptr<UIKit::UIColor> UIColors::withHexLiteral(std::int64_t hexLiteral)
{
    auto bits = static_cast<std::uint64_t>(hexLiteral);
    return withRed(static_cast<std::int64_t>((bits >> 16) & 0xFF), static_cast<std::int64_t>((bits >> 8) & 0xFF),
                   static_cast<std::int64_t>(bits & 0xFF));
}

std::shared_ptr<UIKit::UIColor> UIColors::withRed(std::int64_t red, std::int64_t green, std::int64_t blue)
{
    return Foundation::make<UIKit::UIColor>(static_cast<UIKit::CGFloat>(red) / 255.0,
                                            static_cast<UIKit::CGFloat>(green) / 255.0,
                                            static_cast<UIKit::CGFloat>(blue) / 255.0, 1.0);
}

std::shared_ptr<UIKit::UIColor> UIColors::withLight(std::shared_ptr<UIKit::UIColor> light,
                                                    std::shared_ptr<UIKit::UIColor> dark)
{
    Foundation::precondition(light && dark, "A light-and-dark colour needs both colours");
    return Foundation::make<UIKit::UIColor>(
        [light = std::move(light), dark = std::move(dark)](const UIKit::UITraitCollection& traits) {
            return traits.userInterfaceStyle == UIKit::UIUserInterfaceStyle::dark ? dark : light;
        });
}

std::shared_ptr<UIKit::UIColor> inLightModeOnly(const std::shared_ptr<UIKit::UIColor>& color)
{
    return UIColors::withLight(color, UIKit::UIColor::clear());
}

std::shared_ptr<UIKit::UIColor> inDarkModeOnly(const std::shared_ptr<UIKit::UIColor>& color)
{
    return UIColors::withLight(UIKit::UIColor::clear(), color);
}

std::shared_ptr<UIKit::UIColor> withBrightnessAdjusted(const std::shared_ptr<UIKit::UIColor>& color, UIKit::CGFloat by)
{
    auto components = color->hueSaturationBrightness();
    if (!components)
        return color;
    UIKit::CGFloat brightness = std::max(std::min(components->brightness + by, 1.0), 0.0);
    return UIKit::UIColor::withHue(components->hue, components->saturation, brightness, components->alpha);
}

} // namespace Basalwork
