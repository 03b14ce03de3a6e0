#pragma once

#include "Platform/Terminal/CellColor.hpp"

#include <cstdint>

namespace Terminal {

// The colours a terminal has, and which of them stands for a cell's colour. Terminals of 256 colours or
// more get the nearest of the 6 x 6 x 6 colour cube; terminals of 8 or 16 get the basic colour of the
// nearest hue (red, yellow, green, cyan, blue, magenta; the bright ones on 16 for light colours); fewer
// than 8 show no colours at all (monochrome: attributes only).
class ColorPalette {
public:
    // The terminal's default colour, which a cell without a colour keeps.
    static constexpr int defaultColor = -1;

    explicit ColorPalette(std::int64_t colors)
        : m_colors(colors)
    {
    }
    bool hasColors() const { return m_colors >= 8; }
    // The terminal's colour number for the colour; `defaultColor` on a monochrome terminal.
    int index(const CellColor& color) const;

private:
    std::int64_t m_colors;
};

} // namespace Terminal
