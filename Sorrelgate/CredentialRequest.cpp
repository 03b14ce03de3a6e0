#include "Sorrelgate/CredentialRequest.hpp"

#include "Sorrelgate/CredentialProviderVC.Errors.hpp"

#include "Basalwork/Base/GeneralError.hpp"

namespace Sorrelgate {

using AuthenticationServices::ASCredentialRequestType;

CredentialRequest::CredentialRequest(const AuthenticationServices::ASCredentialRequest& credentialRequest)
    : m_case(Password {})
{
    const auto& identity = credentialRequest.credentialIdentity();
    if (!identity.recordIdentifier)
        throw CredentialProviderVCErrors::credentialIdentityNotFound();
    std::vector serviceIdentifiers {identity.serviceIdentifier};
    switch (credentialRequest.type()) {
    case ASCredentialRequestType::password:
        m_case = Password {*identity.recordIdentifier, std::move(serviceIdentifiers)};
        return;
    case ASCredentialRequestType::oneTimeCode:
        m_case = OneTimePassword {*identity.recordIdentifier, std::move(serviceIdentifiers)};
        return;
    case ASCredentialRequestType::passkeyAssertion:
    case ASCredentialRequestType::passkeyRegistration:
        break;
    }
    // The extension offers passwords and one-time codes only.
    throw Basalwork::GeneralError::failedWithMessage(Foundation::String("Unsupported credential request type."));
}

const Foundation::String& CredentialRequest::entryID() const
{
    return std::visit([](const auto& value) -> const Foundation::String& { return value.entryID; }, m_case);
}

const std::vector<AuthenticationServices::ASCredentialServiceIdentifier>& CredentialRequest::serviceIdentifiers() const
{
    return std::visit([](const auto& value) -> const std::vector<AuthenticationServices::ASCredentialServiceIdentifier>& { return value.serviceIdentifiers; },
                      m_case);
}

} // namespace Sorrelgate
