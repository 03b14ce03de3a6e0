#pragma once

#include "Sorrelgate/AddEntryCDelegate.hpp"
#include "Sorrelgate/AuthenticationCDelegate.hpp"
#include "Sorrelgate/CredentialProviderVC.Errors.hpp"
#include "Sorrelgate/CredentialRequest.hpp"
#include "Sorrelgate/Dependencies.hpp"
#include "Sorrelgate/EntriesCDelegate.hpp"

#include "Shared/Screens/AuthenticationVCDelegate.hpp"

#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/AuthenticationServices/ASCredentialProviderViewController.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/Result.hpp"

#include <memory>
#include <vector>

namespace Foundation {
class DispatchQueue;
}

namespace Shared {
class Entry;
}

namespace Sorrelgate {

// The extension's principal class. Each entry point builds its screens inside the controller's view
// (the unlock screen always on top), and the chosen credential goes back through the extension context
// after its use was recorded: the item's sites stamped with the time, the changed record handed to the
// account. A request ends once: handing a credential over, completing or cancelling marks it ending,
// and whatever asks for another end after that (a double click, a click and Return together) is logged
// and ignored. No credential leaves while the vault is locked.
class CredentialProviderVC : public AuthenticationServices::ASCredentialProviderViewController,
                             public EntriesCDelegate,
                             public AddEntryCDelegate,
                             public AuthenticationCDelegate,
                             public Shared::AuthenticationVCDelegate,
                             public DependenciesAccessing {
public:
    using Errors = CredentialProviderVCErrors;
    using ServiceIdentifiers = std::vector<AuthenticationServices::ASCredentialServiceIdentifier>;
    static constexpr const char* className = "Sorrelgate.CredentialProviderVC";

    // The four entry points.
    void prepareCredentialList(const ServiceIdentifiers& serviceIdentifiers) override;
    void prepareInterfaceToProvideCredential(const AuthenticationServices::ASPasswordCredentialIdentity& credentialIdentity) override;
    void prepareInterfaceToProvideCredential(const AuthenticationServices::ASCredentialRequest& credentialRequest) override;
    void provideCredentialWithoutUserInteraction(const AuthenticationServices::ASPasswordCredentialIdentity& credentialIdentity) override;
    void provideCredentialWithoutUserInteraction(const AuthenticationServices::ASCredentialRequest& credentialRequest) override;
    void prepareInterfaceForExtensionConfiguration() override;

    virtual void presentAddEntry(const ServiceIdentifiers& serviceIdentifiers);
    void provideCredential(const CredentialRequest& credentialRequest) override;
    void saveEntryThenComplete(const Shared::Entry& entry, const CredentialRequest& credentialRequest);
    // Hands the item's record to the account's zone without waiting for it; `resultHandler` hears of
    // success at once, or of a record that could not be made.
    void saveLocalModificationsToCloud(const Shared::Entry& entry, const std::shared_ptr<Foundation::DispatchQueue>& queue,
                                       Basalwork::ResultHandler<Foundation::Result<void>> resultHandler);
    void completeRequest(const Shared::Entry& entry, const CredentialRequest& credentialRequest);
    void confirmExtensionConfiguration(const Shared::AuthenticationVState& state);
    void replaceCredentialStoreAndCompleteConfiguration();
    void cancelExtensionConfiguration();
    // The auto-copy option of the activation confirmation (true: codes are not copied).
    static void setAutoCopyOTP(const Dependencies& dependencies, bool isAutoCopyOTPDisabled);
    // Only the failure's domain and code go to the system, never its text.
    static Foundation::NSError cancellationError(const Foundation::Error& error);

    // Whether the request is ending: a credential is on its way, or the context completed or cancelled.
    bool isRequestEnding() const { return m_isRequestEnding; }

    // AuthenticationCDelegate (with provideCredential above)
    void cancelRequest(const Foundation::Error& error) override;
    void completeExtensionConfigurationRequest() override;
    // EntriesCDelegate
    void didChoose(const Foundation::String& entryID, EntriesC& entriesC) override;
    void didRequestNewEntry(EntriesC& entriesC) override;
    // AddEntryCDelegate
    void didSave(const Foundation::String& entryID, AddEntryC& addEntryC) override;
    void didRequestClose(AddEntryC& addEntryC) override;
    // Shared::AuthenticationVCDelegate: the activation confirmation shown directly.
    void didSelectCancel(Shared::AuthenticationVC& authenticationVC) override;
    void didUpdateEntryText(const Foundation::String&, Shared::AuthenticationVC&) override {}
    void didUpdateReEntryText(const Foundation::String&, Shared::AuthenticationVC&) override {}
    void didSelectMasterPasswordTips(Shared::AuthenticationVC&) override {}
    void didSelectUnlockWithBiometry(Shared::AuthenticationVC&) override {}
    void didSelectPrimaryAction(const Shared::AuthenticationVState& state, Shared::AuthenticationVC& authenticationVC) override;
    void didSelect(Shared::AuthenticationVLink, Shared::AuthenticationVC&) override {}
    void didUpdateIsAutoCopyOTPDisabled(bool isAutoCopyOTPDisabled, Shared::AuthenticationVC& authenticationVC) override;
    void didSelectChooseLocation(Shared::AuthenticationVC&) override {}
    void didChoose(const Foundation::URL&, Shared::AuthenticationVC&) override {}
    void didSelectClearLocation(Shared::AuthenticationVC&) override {}
    void didFailChooseURL(const Foundation::ErrorPtr&, Shared::AuthenticationVC&) override {}

protected:
    friend Foundation::Construct;
    CredentialProviderVC() = default;
    CredentialProviderVC(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle)
        : ASCredentialProviderViewController(std::move(nibName), std::move(bundle))
    {
    }
    explicit CredentialProviderVC(Foundation::NSCoder& coder)
        : ASCredentialProviderViewController(coder)
    {
    }

private:
    // Marks the request ending; false, logged, when it already is.
    bool beginEnding(const char* what);
    void reportEntry(const char* entryPoint);
    void embedChild(const std::shared_ptr<UIKit::UIViewController>& child);
    // A blank item-details screen beneath the unlock screen; false once the request was cancelled.
    bool embedBlankEntryDetails();
    void prepareToProvide(const std::function<CredentialRequest()>& makeRequest);

    bool m_isRequestEnding = false;
};

} // namespace Sorrelgate
