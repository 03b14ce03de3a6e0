#pragma once

#include "Platform/UIKit/UIStackView.hpp"

namespace UIKit {

// Along the axis.
enum class UIStackView::Distribution : std::int64_t {
    fill = 0,
    fillEqually = 1,
    fillProportionally = 2,
    equalSpacing = 3,
    equalCentering = 4,
};

} // namespace UIKit
