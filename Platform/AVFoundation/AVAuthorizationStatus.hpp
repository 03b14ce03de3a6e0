#pragma once

#include <cstdint>

namespace AVFoundation {

// Whether the user lets the application use a kind of capture device.
enum class AVAuthorizationStatus : std::int64_t {
    notDetermined = 0,
    restricted = 1,
    denied = 2,
    authorized = 3,
};

} // namespace AVFoundation
