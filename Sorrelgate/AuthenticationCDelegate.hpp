#pragma once

#include "Sorrelgate/CredentialRequest.hpp"

#include "Platform/Foundation/Error.hpp"

namespace Sorrelgate {

// What the unlock screen asks of the credential provider: the request's end and the credential it was
// opened for.
class AuthenticationCDelegate {
public:
    virtual ~AuthenticationCDelegate() = default;
    virtual void cancelRequest(const Foundation::Error& error) = 0;
    virtual void completeExtensionConfigurationRequest() = 0;
    virtual void provideCredential(const CredentialRequest& credentialRequest) = 0;
};

} // namespace Sorrelgate
