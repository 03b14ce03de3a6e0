#pragma once

#include <cstdint>

namespace UIKit {

// A running background task of the application; `invalid()` when none was granted.
struct UIBackgroundTaskIdentifier {
    std::int64_t rawValue = 0;

    static constexpr UIBackgroundTaskIdentifier invalid() { return {0}; }
    friend constexpr bool operator==(const UIBackgroundTaskIdentifier&, const UIBackgroundTaskIdentifier&) = default;
};

} // namespace UIKit
