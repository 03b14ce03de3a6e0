#pragma once

#include "Platform/UIKit/UIStackView.hpp"

namespace UIKit {

// Across the axis. Top and leading share a value, as do bottom and trailing.
enum class UIStackView::Alignment : std::int64_t {
    fill = 0,
    leading = 1,
    top = 1,
    firstBaseline = 2,
    center = 3,
    trailing = 4,
    bottom = 4,
    lastBaseline = 5,
};

} // namespace UIKit
