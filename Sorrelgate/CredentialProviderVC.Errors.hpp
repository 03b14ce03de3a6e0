#pragma once

#include "Platform/Foundation/Error.hpp"

#include <cstdint>
#include <string>

namespace Sorrelgate {

// CredentialProviderVC.Errors: `other` (with an underlying error), `cancel`, `userInteractionRequired`,
// `credentialIdentityNotFound`; the code is the case's position.
class CredentialProviderVCErrors : public Foundation::ErrorOf<CredentialProviderVCErrors> {
public:
    enum class Case : std::int64_t { other = 0, cancel = 1, userInteractionRequired = 2, credentialIdentityNotFound = 3 };

    static CredentialProviderVCErrors other(Foundation::ErrorPtr error) { return CredentialProviderVCErrors(Case::other, std::move(error)); }
    static CredentialProviderVCErrors cancel() { return CredentialProviderVCErrors(Case::cancel); }
    static CredentialProviderVCErrors userInteractionRequired() { return CredentialProviderVCErrors(Case::userInteractionRequired); }
    static CredentialProviderVCErrors credentialIdentityNotFound() { return CredentialProviderVCErrors(Case::credentialIdentityNotFound); }

    Case value() const { return m_case; }
    std::string domain() const override { return "Sorrelgate.CredentialProviderVC.Errors"; }
    std::int64_t code() const override { return static_cast<std::int64_t>(m_case); }
    std::string description() const override;

private:
    explicit CredentialProviderVCErrors(Case value, Foundation::ErrorPtr underlying = nullptr)
        : m_case(value)
        , m_underlying(std::move(underlying))
    {
    }
    Case m_case;
    Foundation::ErrorPtr m_underlying;
};

} // namespace Sorrelgate
