#pragma once

#include "Platform/AuthenticationServices/ASCredentialProviderExtensionContext.hpp"
#include "Platform/AuthenticationServices/ASPasswordCredentialIdentity.hpp"
#include "Platform/AuthenticationServices/AutoFillRequest.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace Foundation {
class Bundle;
}

namespace UIKit {
class UIWindow;
class UIWindowScene;
} // namespace UIKit

namespace AuthenticationServices {

class ASCredentialProviderViewController;

// The system's AutoFill service, as far as a provider extension meets it: it loads the extension (its
// bundle becomes the process's main bundle, so the extension is itself: its identifier, its application
// groups), makes the principal class, attaches a fresh extension context, shows the provider's view in a
// window of its own and calls the one entry point the request asks for. The request ends with the
// context; the outcome is printed as JSON.
class AutoFillService {
public:
    // The extension cannot be loaded or is no credential provider.
    struct LoadFailure : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    using Outcome = ASCredentialProviderExtensionContext::Outcome;

    explicit AutoFillService(AutoFillRequest request);

    // Throws LoadFailure. The bundle becomes the main bundle.
    static std::shared_ptr<Foundation::Bundle> openExtension(const std::string& path);
    static std::shared_ptr<ASCredentialProviderViewController> makeProvider(Foundation::Bundle& bundle);
    // The extension's first application group: where the service keeps its list and state.
    static Foundation::String applicationGroup(const Foundation::Bundle& bundle);

    // Loads the extension and starts the request in a window of `scene`; `ended` runs once, on the main
    // queue, when the context completes or cancels. A `disable` request ends here. Throws LoadFailure.
    void start(const std::shared_ptr<UIKit::UIWindowScene>& scene, std::function<void()> ended);

    const AutoFillRequest& request() const { return m_request; }
    const std::shared_ptr<ASCredentialProviderViewController>& provider() const { return m_provider; }
    const std::shared_ptr<UIKit::UIWindow>& window() const { return m_window; }
    bool hasEnded() const { return m_hasEnded; }
    const std::optional<Outcome>& outcome() const;
    // The password or code the outcome hands over, if any.
    std::optional<Foundation::String> secret() const;

    // One JSON object: the request, "completed" or "cancelled", the user and service, the error's domain
    // and code; the secret only when the request asked to print it.
    std::string outcomeJSON() const;
    // 0 completed, 1 cancelled.
    int exitStatus() const;

private:
    void callEntryPoint();
    ASPasswordCredentialIdentity identity() const;

    AutoFillRequest m_request;
    std::shared_ptr<ASCredentialProviderViewController> m_provider;
    std::shared_ptr<ASCredentialProviderExtensionContext> m_context;
    std::shared_ptr<UIKit::UIWindow> m_window;
    Foundation::String m_applicationGroup;
    std::optional<ASPasswordCredentialIdentity> m_identity;
    bool m_hasEnded = false;
};

} // namespace AuthenticationServices
