#pragma once

#include <cstdint>

namespace LocalAuthentication {

enum class LAPolicy : std::int64_t {
    deviceOwnerAuthenticationWithBiometrics = 1,
    deviceOwnerAuthentication = 2,
    deviceOwnerAuthenticationWithWatch = 3,
    deviceOwnerAuthenticationWithBiometricsOrWatch = 4,
};

} // namespace LocalAuthentication
