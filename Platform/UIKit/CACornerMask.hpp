#pragma once

#include <cstdint>

namespace UIKit {

// Which corners a layer's corner radius rounds; all four unless told otherwise.
struct CACornerMask {
    std::uint64_t rawValue = 0;

    static constexpr CACornerMask layerMinXMinYCorner() { return {1}; }
    static constexpr CACornerMask layerMaxXMinYCorner() { return {2}; }
    static constexpr CACornerMask layerMinXMaxYCorner() { return {4}; }
    static constexpr CACornerMask layerMaxXMaxYCorner() { return {8}; }
    static constexpr CACornerMask all() { return {15}; }

    constexpr bool contains(CACornerMask other) const { return (rawValue & other.rawValue) == other.rawValue; }
    friend constexpr CACornerMask operator|(CACornerMask lhs, CACornerMask rhs) { return {lhs.rawValue | rhs.rawValue}; }
    friend constexpr bool operator==(const CACornerMask&, const CACornerMask&) = default;
};

} // namespace UIKit
