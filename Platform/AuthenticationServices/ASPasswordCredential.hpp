#pragma once

#include "Platform/Foundation/String.hpp"

namespace AuthenticationServices {

// The user name and password a provider hands back.
struct ASPasswordCredential {
    Foundation::String user;
    Foundation::String password;
    friend bool operator==(const ASPasswordCredential&, const ASPasswordCredential&) = default;
};

} // namespace AuthenticationServices
