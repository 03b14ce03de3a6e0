#pragma once

#include "Platform/UIKit/UITableView.hpp"

namespace UIKit {

enum class UITableView::Style : std::int64_t {
    plain = 0,
    grouped = 1,
    insetGrouped = 2,
};

} // namespace UIKit
