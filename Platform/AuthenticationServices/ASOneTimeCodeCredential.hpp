#pragma once

#include "Platform/Foundation/String.hpp"

namespace AuthenticationServices {

// The one-time code a provider hands back.
struct ASOneTimeCodeCredential {
    Foundation::String code;
    friend bool operator==(const ASOneTimeCodeCredential&, const ASOneTimeCodeCredential&) = default;
};

} // namespace AuthenticationServices
