#pragma once

#include <cstdint>

namespace UIKit {

// A task the program holds so that work it started may finish while it is in the background.
struct UIBackgroundTaskIdentifier {
    std::int64_t rawValue = 0;

    static constexpr UIBackgroundTaskIdentifier invalid() { return {0}; }

    friend bool operator==(const UIBackgroundTaskIdentifier&, const UIBackgroundTaskIdentifier&) = default;
};

} // namespace UIKit
