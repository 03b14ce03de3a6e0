#include "Shared/Screens/UIColor.hpp"

#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Interface/UIColor.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

namespace Shared {

namespace {

using Appearance = Settings::Appearance;

// One background in light appearance and in each dark-mode style.
struct Background {
    std::int64_t light;
    std::int64_t gray;
    std::int64_t black;
};

constexpr Background primary {0xF2F2F7, 0x1C1C1E, 0x000000};
constexpr Background secondary {0xFFFFFF, 0x2C2C2E, 0x121212};
constexpr Background tertiary {0xE5E5EA, 0x3A3A3C, 0x242426};

std::int64_t darkHex(const Background& background, Appearance::DarkModeStyle style)
{
    return style == Appearance::DarkModeStyle::black ? background.black : background.gray;
}

Appearance::DarkModeStyle currentDarkModeStyle()
{
    if (auto store = PreferenceStore::shared())
        return store->appearance().darkModeStyle;
    return Appearance::DarkModeStyle::gray;
}

// The dark-mode style is read when the colour is resolved, so a plain colour follows a changed preference.
std::shared_ptr<UIKit::UIColor> dynamicBackground(Background background)
{
    return Foundation::make<UIKit::UIColor>([background](const UIKit::UITraitCollection& traits) {
        if (traits.userInterfaceStyle == UIKit::UIUserInterfaceStyle::dark)
            return Basalwork::UIColors::withHexLiteral(darkHex(background, currentDarkModeStyle()));
        return Basalwork::UIColors::withHexLiteral(background.light);
    });
}

std::shared_ptr<UIKit::UIColor> background(Background light, Background dark, const Appearance& appearance)
{
    auto darkColor = Basalwork::UIColors::withHexLiteral(darkHex(dark, appearance.darkModeStyle));
    switch (appearance.colorScheme) {
    case Appearance::ColorScheme::alwaysLight:
        return Basalwork::UIColors::withHexLiteral(light.light);
    case Appearance::ColorScheme::alwaysDark:
        return darkColor;
    case Appearance::ColorScheme::matchSystem:
        break;
    }
    return Basalwork::UIColors::withLight(Basalwork::UIColors::withHexLiteral(light.light), darkColor);
}

std::shared_ptr<UIKit::UIColor> tint(std::int64_t light, std::int64_t dark)
{
    return Basalwork::UIColors::withLight(Basalwork::UIColors::withHexLiteral(light), Basalwork::UIColors::withHexLiteral(dark));
}

} // namespace

const std::shared_ptr<UIKit::UIColor>& UIColors::primaryTint()
{
    static const auto color = tint(0x1C1C1E, 0xF2F2F7);
    return color;
}

const std::shared_ptr<UIKit::UIColor>& UIColors::secondaryTint()
{
    static const auto color = tint(0x6C6C70, 0xAEAEB2);
    return color;
}

const std::shared_ptr<UIKit::UIColor>& UIColors::tertiaryTint()
{
    static const auto color = tint(0xA1A1A6, 0x636366);
    return color;
}

const std::shared_ptr<UIKit::UIColor>& UIColors::deleteRed()
{
    static const auto color = tint(0xD93A3F, 0xFF6369);
    return color;
}

const std::shared_ptr<UIKit::UIColor>& UIColors::primaryBackground()
{
    static const auto color = dynamicBackground(primary);
    return color;
}

const std::shared_ptr<UIKit::UIColor>& UIColors::secondaryBackground()
{
    static const auto color = dynamicBackground(secondary);
    return color;
}

const std::shared_ptr<UIKit::UIColor>& UIColors::tertiaryBackground()
{
    static const auto color = dynamicBackground(tertiary);
    return color;
}

const std::shared_ptr<UIKit::UIColor>& UIColors::primaryLightSecondaryDarkBackground()
{
    static const auto color = Foundation::make<UIKit::UIColor>([](const UIKit::UITraitCollection& traits) {
        if (traits.userInterfaceStyle == UIKit::UIUserInterfaceStyle::dark)
            return Basalwork::UIColors::withHexLiteral(darkHex(secondary, currentDarkModeStyle()));
        return Basalwork::UIColors::withHexLiteral(primary.light);
    });
    return color;
}

std::shared_ptr<UIKit::UIColor> UIColors::primaryBackground(const Settings::Appearance& appearance)
{
    return background(primary, primary, appearance);
}

std::shared_ptr<UIKit::UIColor> UIColors::secondaryBackground(const Settings::Appearance& appearance)
{
    return background(secondary, secondary, appearance);
}

std::shared_ptr<UIKit::UIColor> UIColors::tertiaryBackground(const Settings::Appearance& appearance)
{
    return background(tertiary, tertiary, appearance);
}

std::shared_ptr<UIKit::UIColor> UIColors::primaryLightSecondaryDarkBackground(const Settings::Appearance& appearance)
{
    return background(primary, secondary, appearance);
}

} // namespace Shared
