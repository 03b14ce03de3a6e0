#include "Sorrelgate/CredentialProviderVC.Errors.hpp"

namespace Sorrelgate {

std::string CredentialProviderVCErrors::description() const
{
    switch (m_case) {
    case Case::other:
        return "other(" + (m_underlying ? m_underlying->description() : std::string()) + ")";
    case Case::cancel:
        return "cancel";
    case Case::userInteractionRequired:
        return "userInteractionRequired";
    case Case::credentialIdentityNotFound:
        return "credentialIdentityNotFound";
    }
    return {};
}

} // namespace Sorrelgate
