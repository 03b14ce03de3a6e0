#pragma once

#include "Platform/AuthenticationServices/ASCredentialServiceIdentifier.hpp"

#include <optional>

namespace AuthenticationServices {

// One entry of the credential list the AutoFill service offers: which site, whose user name, and the
// provider's own identifier of the record (never a password).
struct ASPasswordCredentialIdentity {
    ASCredentialServiceIdentifier serviceIdentifier;
    Foundation::String user;
    std::optional<Foundation::String> recordIdentifier;
    friend bool operator==(const ASPasswordCredentialIdentity&, const ASPasswordCredentialIdentity&) = default;
};

} // namespace AuthenticationServices
