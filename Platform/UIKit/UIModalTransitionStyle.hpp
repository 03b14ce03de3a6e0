#pragma once

#include <cstdint>

namespace UIKit {

// How a presented controller comes and goes; recorded only, since presentations do not animate here.
enum class UIModalTransitionStyle : std::int64_t {
    coverVertical = 0,
    flipHorizontal = 1,
    crossDissolve = 2,
    partialCurl = 3,
};

} // namespace UIKit
