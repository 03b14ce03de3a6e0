#pragma once

#include "Platform/UIKit/UIBarButtonItem.hpp"

namespace UIKit {

enum class UIBarButtonItem::SystemItem : std::int64_t {
    done = 0,
    cancel = 1,
    edit = 2,
    save = 3,
    add = 4,
    flexibleSpace = 5,
    fixedSpace = 6,
};

} // namespace UIKit
