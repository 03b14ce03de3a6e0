#pragma once

#include <cstdint>

namespace UIKit {

// Where an animator stands: not yet started, started (running or paused), or stopped.
enum class UIViewAnimatingState : std::int64_t {
    inactive = 0,
    active = 1,
    stopped = 2,
};

} // namespace UIKit
