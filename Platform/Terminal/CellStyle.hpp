#pragma once

#include <cstdint>

namespace Terminal {

// How a cell's character shows: the attributes every terminal has, so that the display reads the same
// on a terminal without colours (its colours are `CellColor`s beside the style).
enum class CellStyle : std::uint8_t {
    plain = 0,
    bold = 1,
    dim = 2,
    reverse = 4,
    underline = 8,
};

constexpr CellStyle operator|(CellStyle lhs, CellStyle rhs)
{
    return static_cast<CellStyle>(static_cast<std::uint8_t>(lhs) | static_cast<std::uint8_t>(rhs));
}

constexpr bool contains(CellStyle style, CellStyle part)
{
    return (static_cast<std::uint8_t>(style) & static_cast<std::uint8_t>(part)) == static_cast<std::uint8_t>(part);
}

} // namespace Terminal
