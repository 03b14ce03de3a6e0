#pragma once

#include <cstdint>

namespace AuthenticationServices {

// What a credential request asks for, by raw value.
enum class ASCredentialRequestType : std::int64_t { password = 0, passkeyAssertion = 1, passkeyRegistration = 2, oneTimeCode = 3 };

} // namespace AuthenticationServices
