#pragma once

#include "Platform/LocalAuthentication/LAContext.hpp"

namespace LocalAuthentication {

// What answers every context's questions. The default reports a machine with no biometry, no paired
// watch and no passcode.
struct LAContext::Authenticator {
    LABiometryType biometryType = LABiometryType::none;
    std::function<Reply(LAPolicy policy)> canEvaluatePolicy;
    std::function<Reply(LAPolicy policy, const Foundation::String& localizedReason)> evaluatePolicy;

    static Authenticator unavailable();
};

} // namespace LocalAuthentication
