#pragma once

#include "Platform/UIKit/NSLayoutConstraint.hpp"

namespace UIKit {

enum class NSLayoutConstraint::Relation : std::int64_t {
    lessThanOrEqual = -1,
    equal = 0,
    greaterThanOrEqual = 1,
};

} // namespace UIKit
