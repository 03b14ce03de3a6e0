#pragma once

#include <cstdint>

namespace UIKit {

enum class UIStatusBarStyle : std::int64_t {
    defaultStyle = 0,
    lightContent = 1,
    darkContent = 3,
};

} // namespace UIKit
