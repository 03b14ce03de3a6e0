#pragma once

#include <cstdint>

namespace UIKit {

enum class UIModalPresentationStyle : std::int64_t {
    fullScreen = 0,
    pageSheet = 1,
    formSheet = 2,
    currentContext = 3,
    custom = 4,
    overFullScreen = 5,
    overCurrentContext = 6,
    popover = 7,
    none = -1,
    automatic = -2,
};

} // namespace UIKit
