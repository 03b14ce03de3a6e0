#pragma once

#include "Platform/UIKit/UIControl.hpp"

#include <cstdint>

namespace UIKit {

// A control's state as a set of flags; normal is the empty set.
struct UIControl::State {
    std::uint64_t rawValue = 0;

    static constexpr State normal() { return {0}; }
    static constexpr State highlighted() { return {1u << 0}; }
    static constexpr State disabled() { return {1u << 1}; }
    static constexpr State selected() { return {1u << 2}; }
    static constexpr State focused() { return {1u << 3}; }

    constexpr bool contains(State other) const { return (rawValue & other.rawValue) == other.rawValue; }

    friend constexpr State operator|(State lhs, State rhs) { return {lhs.rawValue | rhs.rawValue}; }
    friend constexpr bool operator==(const State&, const State&) = default;
};

} // namespace UIKit
