#pragma once

#include "Platform/Foundation/String.hpp"

#include <cstdint>

namespace AuthenticationServices {

enum class ASCredentialServiceIdentifierType : std::int64_t { domain = 0, URL = 1 };

// A site or app a credential is for, as the AutoFill service names it: a domain ("example.com") or a
// URL ("https://login.example.com/path").
class ASCredentialServiceIdentifier {
public:
    using IdentifierType = ASCredentialServiceIdentifierType;

    ASCredentialServiceIdentifier(Foundation::String identifier, IdentifierType type)
        : m_identifier(std::move(identifier))
        , m_type(type)
    {
    }

    const Foundation::String& identifier() const { return m_identifier; }
    IdentifierType type() const { return m_type; }

    friend bool operator==(const ASCredentialServiceIdentifier&, const ASCredentialServiceIdentifier&) = default;

private:
    Foundation::String m_identifier;
    IdentifierType m_type;
};

} // namespace AuthenticationServices
