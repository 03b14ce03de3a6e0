#pragma once

#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>

namespace UIKit {

// Which corners a layer's corner radius rounds; all four unless told otherwise.
struct CACornerMask : Foundation::OptionSet<CACornerMask> {
    static constexpr CACornerMask layerMinXMinYCorner() { return {1}; }
    static constexpr CACornerMask layerMaxXMinYCorner() { return {2}; }
    static constexpr CACornerMask layerMinXMaxYCorner() { return {4}; }
    static constexpr CACornerMask layerMaxXMaxYCorner() { return {8}; }
    static constexpr CACornerMask all() { return {15}; }
};

} // namespace UIKit
