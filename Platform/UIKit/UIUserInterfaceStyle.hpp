#pragma once

#include <cstdint>

namespace UIKit {

enum class UIUserInterfaceStyle : std::int64_t {
    unspecified = 0,
    light = 1,
    dark = 2,
};

} // namespace UIKit
