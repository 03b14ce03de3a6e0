#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/LocalAuthentication/LABiometryType.hpp"
#include "Platform/LocalAuthentication/LAPolicy.hpp"

#include <functional>
#include <optional>

namespace LocalAuthentication {

// Asks whether the user can be authenticated, and does it. There is no biometric hardware or system
// authentication service here: the answers come from the process's authenticator, which by default can
// evaluate nothing, and which tests (or a future platform back end) replace.
class LAContext : public Foundation::NSObject {
public:
    struct Reply {
        bool success = false;
        Foundation::ErrorPtr error;
    };
    struct Authenticator;

    // Nothing goes back to the default.
    static void setAuthenticator(std::optional<Authenticator> authenticator);

    // canEvaluatePolicy(_:error:): `error` (when given) receives the failure, or null.
    bool canEvaluatePolicy(LAPolicy policy, Foundation::ErrorPtr* error) const;
    LABiometryType biometryType() const;
    // Returns at once; `reply` runs later on a queue of the context's own.
    void evaluatePolicy(LAPolicy policy, const Foundation::String& localizedReason,
                        std::function<void(bool success, Foundation::ErrorPtr error)> reply) const;

protected:
    friend Foundation::Construct;
    LAContext() = default;
};

} // namespace LocalAuthentication

#include "Platform/LocalAuthentication/LAContext.Authenticator.hpp"
