#pragma once

#include "Platform/Foundation/NSError.hpp"

#include <cstdint>
#include <string>

namespace LocalAuthentication {

inline constexpr const char* LAErrorDomain = "com.apple.LocalAuthentication";

// A local-authentication failure: an NSError in LAErrorDomain with the platform's code.
class LAError : public Foundation::ErrorOf<LAError, Foundation::NSError> {
public:
    enum class Code : std::int64_t {
        authenticationFailed = -1,
        userCancel = -2,
        userFallback = -3,
        systemCancel = -4,
        passcodeNotSet = -5,
        biometryNotAvailable = -6,
        biometryNotEnrolled = -7,
        biometryLockout = -8,
        appCancel = -9,
        invalidContext = -10,
        watchNotAvailable = -11,
        notInteractive = -1004,
    };

    LAError(Code code, const std::string& localizedDescription)
        : ErrorOf(LAErrorDomain, static_cast<std::int64_t>(code),
                  {{Foundation::NSLocalizedDescriptionKey, localizedDescription}})
    {
    }
};

} // namespace LocalAuthentication
