#pragma once

#include <cstdint>

namespace AuthenticationServices {

inline constexpr const char* ASExtensionErrorDomain = "ASExtensionErrorDomain";

// The codes of the extension error domain that a provider cancels with.
struct ASExtensionError {
    enum class Code : std::int64_t {
        failed = 0,
        userCanceled = 1,
        userInteractionRequired = 100,
        credentialIdentityNotFound = 101,
    };
};

} // namespace AuthenticationServices
