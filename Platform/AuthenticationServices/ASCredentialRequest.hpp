#pragma once

#include "Platform/AuthenticationServices/ASCredentialRequestType.hpp"
#include "Platform/AuthenticationServices/ASPasswordCredentialIdentity.hpp"

namespace AuthenticationServices {

// A request for one credential of a kind, for the identity the user picked from the service's list (a
// one-time code's identity names its site and record the same way; its user is its label).
class ASCredentialRequest {
public:
    ASCredentialRequest(ASCredentialRequestType type, ASPasswordCredentialIdentity credentialIdentity)
        : m_type(type)
        , m_credentialIdentity(std::move(credentialIdentity))
    {
    }

    ASCredentialRequestType type() const { return m_type; }
    const ASPasswordCredentialIdentity& credentialIdentity() const { return m_credentialIdentity; }

private:
    ASCredentialRequestType m_type;
    ASPasswordCredentialIdentity m_credentialIdentity;
};

} // namespace AuthenticationServices
