#include "Sorrelgate/ASCredentialServiceIdentifier.hpp"

#include "Platform/Foundation/URL.hpp"

namespace Sorrelgate {

Foundation::String hostOrIdentifier(const AuthenticationServices::ASCredentialServiceIdentifier& serviceIdentifier)
{
    if (serviceIdentifier.type() == AuthenticationServices::ASCredentialServiceIdentifierType::URL) {
        if (auto url = Foundation::URL::string(serviceIdentifier.identifier())) {
            if (auto host = url->host(); host && !host->isEmpty())
                return *host;
        }
    }
    return serviceIdentifier.identifier();
}

} // namespace Sorrelgate
