#pragma once

#include "Platform/UIKit/UIScrollView.hpp"

namespace UIKit {

enum class UIScrollView::KeyboardDismissMode : std::int64_t {
    none = 0,
    onDrag = 1,
    interactive = 2,
};

} // namespace UIKit
