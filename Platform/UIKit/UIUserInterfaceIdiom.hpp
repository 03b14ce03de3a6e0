#pragma once

#include <cstdint>

namespace UIKit {

enum class UIUserInterfaceIdiom : std::int64_t {
    unspecified = -1,
    phone = 0,
    pad = 1,
    tv = 2,
    carPlay = 3,
    mac = 5,
    vision = 6,
};

} // namespace UIKit
