#pragma once

#include <cstdint>

namespace UIKit {

// Which way text and the interface run.
enum class UIUserInterfaceLayoutDirection : std::int64_t {
    leftToRight = 0,
    rightToLeft = 1,
};

} // namespace UIKit
