#pragma once

#include <cstdint>

namespace UIKit {

// Where an animation came to rest.
enum class UIViewAnimatingPosition : std::int64_t {
    end = 0,
    start = 1,
    current = 2,
};

} // namespace UIKit
