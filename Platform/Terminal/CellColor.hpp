#pragma once

#include <compare>
#include <cstdint>
#include <optional>

namespace UIKit {
class UIColor;
struct UITraitCollection;
} // namespace UIKit

namespace Terminal {

// A colour a cell's character or background shows in.
struct CellColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    // How a view's colour shows on the terminal, resolved for the traits. Only colours with a hue show
    // (tints, a destructive red, a banner's fill), and only when opaque enough to be seen: greys, black
    // and white are left to the terminal's own foreground and background, so that the display reads the
    // same on light and dark terminals whatever appearance the program picked.
    static std::optional<CellColor> of(const UIKit::UIColor& color, const UIKit::UITraitCollection& traits);
    // A grey text that recedes (secondary text): it shows dimmed.
    static bool recedes(const UIKit::UIColor& color, const UIKit::UITraitCollection& traits);

    friend bool operator==(const CellColor&, const CellColor&) = default;
};

} // namespace Terminal
