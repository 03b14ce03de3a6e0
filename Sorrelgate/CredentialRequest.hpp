#pragma once

#include "Platform/AuthenticationServices/ASCredentialRequest.hpp"
#include "Platform/AuthenticationServices/ASCredentialServiceIdentifier.hpp"

#include <variant>
#include <vector>

namespace Sorrelgate {

// What the user is to receive: an item's user name and password, or its current one-time code.
class CredentialRequest {
public:
    struct Password {
        Foundation::String entryID;
        std::vector<AuthenticationServices::ASCredentialServiceIdentifier> serviceIdentifiers;
        friend bool operator==(const Password&, const Password&) = default;
    };
    struct OneTimePassword {
        Foundation::String entryID;
        std::vector<AuthenticationServices::ASCredentialServiceIdentifier> serviceIdentifiers;
        friend bool operator==(const OneTimePassword&, const OneTimePassword&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<Password, OneTimePassword>;

    static CredentialRequest password(Foundation::String entryID, std::vector<AuthenticationServices::ASCredentialServiceIdentifier> serviceIdentifiers)
    {
        return CredentialRequest(Password {std::move(entryID), std::move(serviceIdentifiers)});
    }
    static CredentialRequest oneTimePassword(Foundation::String entryID,
                                             std::vector<AuthenticationServices::ASCredentialServiceIdentifier> serviceIdentifiers)
    {
        return CredentialRequest(OneTimePassword {std::move(entryID), std::move(serviceIdentifiers)});
    }
    // init(credentialRequest:): the identity's record and site; a password or a one-time code. Throws
    // CredentialProviderVC::Errors.credentialIdentityNotFound for an identity without a record, and
    // GeneralError.failedWithMessage for a kind the extension does not offer.
    explicit CredentialRequest(const AuthenticationServices::ASCredentialRequest& credentialRequest);

    const Case& value() const { return m_case; }
    template <class C>
    const C* as() const { return std::get_if<C>(&m_case); }
    const Foundation::String& entryID() const;
    const std::vector<AuthenticationServices::ASCredentialServiceIdentifier>& serviceIdentifiers() const;

    friend bool operator==(const CredentialRequest&, const CredentialRequest&) = default;

private:
    explicit CredentialRequest(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Sorrelgate
