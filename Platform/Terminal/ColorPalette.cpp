#include "Platform/Terminal/ColorPalette.hpp"

#include "Platform/UIKit/UIColor.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace Terminal {
namespace {

// The levels of the 256-colour cube's axes.
constexpr std::array<int, 6> cubeLevels {0, 95, 135, 175, 215, 255};

int cubeStep(int component)
{
    const auto nearest = std::ranges::min_element(cubeLevels, {}, [&](int level) { return std::abs(level - component); });
    return static_cast<int>(nearest - cubeLevels.begin());
}

// The hue in sixths of the circle: 0 red, 1 yellow, 2 green, 3 cyan, 4 blue, 5 magenta.
int hueSixth(const CellColor& color)
{
    const auto hsb = Foundation::make<UIKit::UIColor>(color.red / 255.0, color.green / 255.0, color.blue / 255.0, 1.0)->hueSaturationBrightness();
    return hsb ? static_cast<int>(std::lround(hsb->hue * 6)) % 6 : 0;
}

} // namespace

int ColorPalette::index(const CellColor& color) const
{
    if (!hasColors())
        return defaultColor;
    if (m_colors >= 256)
        return 16 + 36 * cubeStep(color.red) + 6 * cubeStep(color.green) + cubeStep(color.blue);
    // The basic colours by number: 1 red, 3 yellow, 2 green, 6 cyan, 4 blue, 5 magenta.
    constexpr std::array<int, 6> basic {1, 3, 2, 6, 4, 5};
    const int base = basic[static_cast<std::size_t>(hueSixth(color))];
    const bool light = std::min({color.red, color.green, color.blue}) >= 128;
    return m_colors >= 16 && light ? base + 8 : base;
}

} // namespace Terminal
