#pragma once

#include "Shared/Model/Settings.hpp"

#include "Platform/UIKit/UIFont.hpp"

#include <memory>

namespace Shared {

// How every screen looks: one value of the four appearance preferences.
struct Settings::Appearance {
    enum class ColorScheme { matchSystem, alwaysLight, alwaysDark };
    enum class DarkModeStyle { gray, black };
    enum class FontStyle { rounded, system };
    enum class FontSize { standard, smaller, larger, xLarger };

    ColorScheme colorScheme = ColorScheme::matchSystem;
    DarkModeStyle darkModeStyle = DarkModeStyle::gray;
    FontStyle fontStyle = FontStyle::rounded;
    FontSize fontSize = FontSize::standard;

    // The font of a text style in this appearance: the style's size scaled by the font size, in the
    // rounded design when chosen, monospaced when asked.
    std::shared_ptr<UIKit::UIFont> font(const UIKit::UIFont::TextStyle& style, bool isMonospaced) const;

    friend bool operator==(const Appearance&, const Appearance&) = default;
};

template <>
struct Setting<Settings::Appearance::ColorScheme> {
    using T = Settings::Appearance::ColorScheme;
    static constexpr SettingCase<T> cases[] = {
        {T::matchSystem, "matchSystem", "Match System"},
        {T::alwaysLight, "alwaysLight", "Always Light"},
        {T::alwaysDark, "alwaysDark", "Always Dark"},
    };
};

template <>
struct Setting<Settings::Appearance::DarkModeStyle> {
    using T = Settings::Appearance::DarkModeStyle;
    static constexpr SettingCase<T> cases[] = {{T::gray, "gray", "Gray"}, {T::black, "black", "Black"}};
};

template <>
struct Setting<Settings::Appearance::FontStyle> {
    using T = Settings::Appearance::FontStyle;
    static constexpr SettingCase<T> cases[] = {{T::rounded, "rounded", "Rounded"}, {T::system, "system", "System"}};
};

template <>
struct Setting<Settings::Appearance::FontSize> {
    using T = Settings::Appearance::FontSize;
    static constexpr SettingCase<T> cases[] = {
        {T::standard, "standard", "Standard"},
        {T::smaller, "smaller", "Smaller"},
        {T::larger, "larger", "Larger"},
        {T::xLarger, "xLarger", "Extra Large"},
    };
};

} // namespace Shared
