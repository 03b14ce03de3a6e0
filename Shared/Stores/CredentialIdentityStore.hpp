#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>
#include <vector>

namespace Shared {

// The system's list of credentials that AutoFill offers for this program, as the AutoFill service
// stand-in reads it: "CredentialIdentities.json" in the application group's
// "Library/Application Support/AutoFill" folder, an array of {"serviceIdentifier": {"identifier",
// "type": "domain"}, "user", "recordIdentifier"} (never a password). Beside it the stand-in keeps
// "State.json" ({"isEnabled": bool}), written when the user switches the extension on or off.
class CredentialIdentityStore {
public:
    struct Identity {
        Foundation::String serviceIdentifier;
        Foundation::String user;
        Foundation::String recordIdentifier;
        friend bool operator==(const Identity&, const Identity&) = default;
    };

    // Throws when the application group has no container.
    explicit CredentialIdentityStore(const Foundation::String& applicationGroupIdentifier);

    // Whether the user switched AutoFill on for the program; false when the stand-in never said.
    bool isEnabled() const;
    // Replaces the whole list, atomically.
    void replaceCredentialIdentities(const std::vector<Identity>& identities) const;
    std::vector<Identity> credentialIdentities() const;

    const Foundation::URL& folderURL() const { return m_folderURL; }

private:
    Foundation::URL m_folderURL;
};

} // namespace Shared
