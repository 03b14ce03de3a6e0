#pragma once

#include "Platform/AuthenticationServices/ASCredentialServiceIdentifier.hpp"

namespace Sorrelgate {

// The text a new item is given for the site or app: a URL's host when it has one, else the whole text.
Foundation::String hostOrIdentifier(const AuthenticationServices::ASCredentialServiceIdentifier& serviceIdentifier);

} // namespace Sorrelgate
