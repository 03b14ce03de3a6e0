#pragma once

#include "Platform/UIKit/UITouch.hpp"

namespace UIKit {

enum class UITouch::Phase : std::int64_t {
    began = 0,
    moved = 1,
    stationary = 2,
    ended = 3,
    cancelled = 4,
    regionEntered = 5,
    regionMoved = 6,
    regionExited = 7,
};

} // namespace UIKit
