#pragma once

#include "Platform/UIKit/UIPress.hpp"

namespace UIKit {

enum class UIPress::Phase : std::int64_t {
    began = 0,
    changed = 1,
    stationary = 2,
    ended = 3,
    cancelled = 4,
};

} // namespace UIKit
