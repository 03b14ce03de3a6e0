#pragma once

#include "Platform/UIKit/UIMenu.hpp"

#include <cstdint>

namespace UIKit {

struct UIMenu::Options {
    std::uint64_t rawValue = 0;

    static constexpr Options displayInline() { return {1u << 0}; }
    static constexpr Options destructive() { return {1u << 1}; }
    static constexpr Options singleSelection() { return {1u << 5}; }
    static constexpr Options displayAsPalette() { return {1u << 7}; }

    constexpr bool contains(Options other) const { return (rawValue & other.rawValue) == other.rawValue; }

    friend constexpr Options operator|(Options lhs, Options rhs) { return {lhs.rawValue | rhs.rawValue}; }
    friend constexpr bool operator==(const Options&, const Options&) = default;
};

inline UIMenu::Options UIMenu::options() const
{
    return {m_options};
}

} // namespace UIKit
