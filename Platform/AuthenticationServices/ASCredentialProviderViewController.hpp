#pragma once

#include "Platform/AuthenticationServices/ASCredentialRequest.hpp"
#include "Platform/AuthenticationServices/ASCredentialServiceIdentifier.hpp"
#include "Platform/AuthenticationServices/ASPasswordCredentialIdentity.hpp"

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <vector>

namespace AuthenticationServices {

class ASCredentialProviderExtensionContext;

// The principal class of a credential-provider extension. The AutoFill service makes it, attaches the
// request's context, calls one entry point, and shows its view until the context ends. The entry points
// do nothing here: a provider answers those it offers.
class ASCredentialProviderViewController : public UIKit::UIViewController {
public:
    const std::shared_ptr<ASCredentialProviderExtensionContext>& extensionContext() const { return m_extensionContext; }
    // For the service.
    void setExtensionContext(std::shared_ptr<ASCredentialProviderExtensionContext> context) { m_extensionContext = std::move(context); }

    // The user asked for a password for these sites or apps.
    virtual void prepareCredentialList(const std::vector<ASCredentialServiceIdentifier>& serviceIdentifiers);
    // The user picked an identity of the service's list; the provider may ask for authentication first.
    virtual void prepareInterfaceToProvideCredential(const ASPasswordCredentialIdentity& credentialIdentity);
    virtual void prepareInterfaceToProvideCredential(const ASCredentialRequest& credentialRequest);
    // The service wants the credential without showing anything.
    virtual void provideCredentialWithoutUserInteraction(const ASPasswordCredentialIdentity& credentialIdentity);
    virtual void provideCredentialWithoutUserInteraction(const ASCredentialRequest& credentialRequest);
    // The user switched the extension on in the system's settings.
    virtual void prepareInterfaceForExtensionConfiguration();

protected:
    friend Foundation::Construct;
    ASCredentialProviderViewController() = default;
    // init(nibName:bundle:)
    ASCredentialProviderViewController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle)
        : UIViewController(std::move(nibName), std::move(bundle))
    {
    }
    explicit ASCredentialProviderViewController(Foundation::NSCoder& coder)
        : UIViewController(coder)
    {
    }

private:
    std::shared_ptr<ASCredentialProviderExtensionContext> m_extensionContext;
};

} // namespace AuthenticationServices
