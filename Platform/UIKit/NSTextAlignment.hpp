#pragma once

#include <cstdint>

namespace UIKit {

enum class NSTextAlignment : std::int64_t {
    left = 0,
    center = 1,
    right = 2,
    justified = 3,
    natural = 4,
};

} // namespace UIKit
