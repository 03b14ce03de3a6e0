#pragma once

#include "Platform/AuthenticationServices/ASPasswordCredentialIdentity.hpp"

#include "Platform/Foundation/URL.hpp"

#include <vector>

namespace AuthenticationServices {

// The AutoFill service's list of the credentials a provider offers, and whether the user switched the
// provider on. The service keeps both in the provider's application group, in the folder
// "Library/Application Support/AutoFill": "CredentialIdentities.json", an array of
// {"serviceIdentifier": {"identifier", "type": "domain" | "URL"}, "user", "recordIdentifier"} (never a
// password), and "State.json", {"isEnabled": bool}. Both are written atomically.
class ASCredentialIdentityStore {
public:
    struct State {
        bool isEnabled = false;
        bool supportsIncrementalUpdates = false;
    };

    // Throws when the application group has no container.
    explicit ASCredentialIdentityStore(const Foundation::String& applicationGroupIdentifier);

    // Off while the service never said otherwise; a damaged state counts as off.
    State state() const;
    // The user's switch in the system's settings (the service's own doing).
    void setEnabled(bool isEnabled) const;

    void replaceCredentialIdentities(const std::vector<ASPasswordCredentialIdentity>& identities) const;
    // Throws when the list is damaged.
    std::vector<ASPasswordCredentialIdentity> credentialIdentities() const;

    const Foundation::URL& folderURL() const { return m_folderURL; }

private:
    Foundation::URL m_folderURL;
};

} // namespace AuthenticationServices
