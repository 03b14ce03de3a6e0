#pragma once

#include "Sorrelgate/CredentialRequest.hpp"

#include <variant>

namespace Sorrelgate {

// What happens once the vault is unlocked (AuthenticationC.OnAuthentication).
class AuthenticationCOnAuthentication {
public:
    // The delegate provides this credential, once.
    struct ProvideCredential {
        CredentialRequest credentialRequest;
        friend bool operator==(const ProvideCredential&, const ProvideCredential&) = default;
    };
    // The unlock screen shows the AutoFill-activation confirmation.
    struct ConfirmAutoFillActivation {
        friend bool operator==(const ConfirmAutoFillActivation&, const ConfirmAutoFillActivation&) = default;
    };
    // The unlock screen steps aside and what lies beneath takes the input.
    struct ShowUnderlyingContent {
        friend bool operator==(const ShowUnderlyingContent&, const ShowUnderlyingContent&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<ProvideCredential, ConfirmAutoFillActivation, ShowUnderlyingContent>;

    static AuthenticationCOnAuthentication provideCredential(CredentialRequest credentialRequest)
    {
        return AuthenticationCOnAuthentication(ProvideCredential {std::move(credentialRequest)});
    }
    static AuthenticationCOnAuthentication confirmAutoFillActivation() { return AuthenticationCOnAuthentication(ConfirmAutoFillActivation {}); }
    static AuthenticationCOnAuthentication showUnderlyingContent() { return AuthenticationCOnAuthentication(ShowUnderlyingContent {}); }

    const Case& value() const { return m_case; }
    template <class C>
    const C* as() const { return std::get_if<C>(&m_case); }
    friend bool operator==(const AuthenticationCOnAuthentication&, const AuthenticationCOnAuthentication&) = default;

private:
    explicit AuthenticationCOnAuthentication(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Sorrelgate
