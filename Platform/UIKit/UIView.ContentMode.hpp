#pragma once

#include "Platform/UIKit/UIView.hpp"

namespace UIKit {

enum class UIView::ContentMode : std::int64_t {
    scaleToFill = 0,
    scaleAspectFit = 1,
    scaleAspectFill = 2,
    redraw = 3,
    center = 4,
    top = 5,
    bottom = 6,
    left = 7,
    right = 8,
    topLeft = 9,
    topRight = 10,
    bottomLeft = 11,
    bottomRight = 12,
};

} // namespace UIKit
