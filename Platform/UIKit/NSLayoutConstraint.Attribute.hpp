#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"

namespace UIKit {

// The platform's raw values; `notAnAttribute` is what a constraint on a constant has as its second.
enum class NSLayoutConstraint::Attribute : std::int64_t {
    left = 1,
    right = 2,
    top = 3,
    bottom = 4,
    leading = 5,
    trailing = 6,
    width = 7,
    height = 8,
    centerX = 9,
    centerY = 10,
    notAnAttribute = 0,
};

} // namespace UIKit
