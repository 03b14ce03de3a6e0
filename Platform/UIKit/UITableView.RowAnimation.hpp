#pragma once

#include "Platform/UIKit/UITableView.hpp"

namespace UIKit {

// Recorded only: nothing moves on screen.
enum class UITableView::RowAnimation : std::int64_t {
    fade = 0,
    right = 1,
    left = 2,
    top = 3,
    bottom = 4,
    none = 5,
    middle = 6,
    automatic = 100,
};

} // namespace UIKit
