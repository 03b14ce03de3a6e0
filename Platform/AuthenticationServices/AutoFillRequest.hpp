#pragma once

#include "Platform/AuthenticationServices/ASCredentialServiceIdentifier.hpp"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace AuthenticationServices {

// One request to the AutoFill service stand-in, as its command line gives it:
//
//   autofill-request --extension <bundle> [--print-secret] list [<service>...]
//   autofill-request --extension <bundle> [--print-secret] provide <record> [--service <service>] [--one-time-code]
//   autofill-request --extension <bundle> provide-without-user-interaction <record> [--service <service>] [--one-time-code]
//   autofill-request --extension <bundle> configure | disable
//
// A service is a URL when it has a scheme ("https://example.com/login"), else a domain. `configure` is
// the user switching the extension on in the system's settings, `disable` switching it off.
struct AutoFillRequest {
    enum class Kind { list, provide, provideWithoutUserInteraction, configure, disable };

    // A request the command line does not make; its text says why and how.
    struct Invalid : std::invalid_argument {
        using std::invalid_argument::invalid_argument;
    };

    Kind kind = Kind::list;
    std::string extensionPath;
    bool printsSecret = false;
    std::vector<ASCredentialServiceIdentifier> serviceIdentifiers;
    Foundation::String recordIdentifier;
    std::optional<ASCredentialServiceIdentifier> service;
    bool asksForOneTimeCode = false;

    // The arguments after the command's name. Throws Invalid.
    static AutoFillRequest parse(const std::vector<std::string>& arguments);
    static ASCredentialServiceIdentifier serviceIdentifier(const std::string& text);
    static const char* usage();
};

} // namespace AuthenticationServices
