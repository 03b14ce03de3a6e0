#pragma once

#include "Platform/UIKit/UIApplication.hpp"

namespace UIKit {

enum class UIApplication::State : std::int64_t {
    active = 0,
    inactive = 1,
    background = 2,
};

} // namespace UIKit
