#pragma once

#include "Platform/UIKit/UIBlurEffect.hpp"

#include <cstdint>

namespace UIKit {

// Raw values are the platform's; 3 belongs to a style of another platform.
enum class UIBlurEffect::Style : std::int64_t {
    extraLight = 0,
    light = 1,
    dark = 2,
    regular = 4,
    prominent = 5,
};

} // namespace UIKit
