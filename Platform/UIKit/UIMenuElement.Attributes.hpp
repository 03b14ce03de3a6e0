#pragma once

#include "Platform/UIKit/UIMenuElement.hpp"

#include <cstdint>

namespace UIKit {

// How a command or action shows in a menu, as a set of flags.
struct UIMenuElement::Attributes {
    std::uint64_t rawValue = 0;

    static constexpr Attributes disabled() { return {1u << 0}; }
    static constexpr Attributes destructive() { return {1u << 1}; }
    static constexpr Attributes hidden() { return {1u << 2}; }
    static constexpr Attributes keepsMenuPresented() { return {1u << 3}; }

    constexpr bool contains(Attributes other) const { return (rawValue & other.rawValue) == other.rawValue; }

    friend constexpr Attributes operator|(Attributes lhs, Attributes rhs) { return {lhs.rawValue | rhs.rawValue}; }
    friend constexpr bool operator==(const Attributes&, const Attributes&) = default;
};

} // namespace UIKit
