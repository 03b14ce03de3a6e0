#pragma once

#include <cstdint>

namespace UIKit {

// What a background fetch found.
enum class UIBackgroundFetchResult : std::int64_t {
    newData = 0,
    noData = 1,
    failed = 2,
};

} // namespace UIKit
