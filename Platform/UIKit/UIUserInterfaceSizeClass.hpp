#pragma once

#include <cstdint>

namespace UIKit {

enum class UIUserInterfaceSizeClass : std::int64_t {
    unspecified = 0,
    compact = 1,
    regular = 2,
};

} // namespace UIKit
