#pragma once

#include <cstdint>

namespace LocalAuthentication {

enum class LABiometryType : std::int64_t {
    none = 0,
    touchID = 1,
    faceID = 2,
};

} // namespace LocalAuthentication
