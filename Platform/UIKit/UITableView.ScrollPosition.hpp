#pragma once

#include "Platform/UIKit/UITableView.hpp"

namespace UIKit {

enum class UITableView::ScrollPosition : std::int64_t {
    none = 0,
    top = 1,
    middle = 2,
    bottom = 3,
};

} // namespace UIKit
