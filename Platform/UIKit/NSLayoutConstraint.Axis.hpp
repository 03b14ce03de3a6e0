#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"

namespace UIKit {

enum class NSLayoutConstraint::Axis : std::int64_t {
    horizontal = 0,
    vertical = 1,
};

} // namespace UIKit
