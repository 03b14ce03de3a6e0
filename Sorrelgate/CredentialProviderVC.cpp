#include "Sorrelgate/CredentialProviderVC.hpp"

#include "Sorrelgate/AddEntryC.hpp"
#include "Sorrelgate/AuthenticationC.hpp"
#include "Sorrelgate/EntriesC.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Screens/EntryDetailsVC.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/LocalChangeCoordinator.hpp"
#include "Shared/Screens/PasteboardCoordinator.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/AuthenticationServices/ASCredentialProviderExtensionContext.hpp"
#include "Platform/AuthenticationServices/ASExtensionError.hpp"
#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"
#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"

namespace Sorrelgate {

namespace {

using AuthenticationServices::ASExtensionError;
using AuthenticationServices::ASExtensionErrorDomain;

const Foundation::Logger& logger()
{
    static const Foundation::Logger logger("Sorrelgate", "CredentialProviderVC");
    return logger;
}

Foundation::NSError extensionError(ASExtensionError::Code code)
{
    return Foundation::NSError(ASExtensionErrorDomain, static_cast<std::int64_t>(code));
}

} // namespace

Foundation::NSError CredentialProviderVC::cancellationError(const Foundation::Error& error)
{
    return Foundation::NSError(error.domain(), error.code());
}

void CredentialProviderVC::setAutoCopyOTP(const Dependencies& dependencies, bool isAutoCopyOTPDisabled)
{
    using AutoCopyOTP = Shared::Settings::AutoFill::AutoCopyOTP;
    dependencies.preferenceStore->setAutoCopyOTP(isAutoCopyOTPDisabled ? AutoCopyOTP::disabled : AutoCopyOTP::enabled);
    if (!isAutoCopyOTPDisabled)
        dependencies.userNotificationStore->autoCopyOTPDidEnable();
}

bool CredentialProviderVC::beginEnding(const char* what)
{
    if (m_isRequestEnding) {
        logger().error("%{public}s after the request began to end: ignored", what);
        return false;
    }
    m_isRequestEnding = true;
    return true;
}

void CredentialProviderVC::cancelRequest(const Foundation::Error& error)
{
    if (!beginEnding("Cancelling"))
        return;
    if (const auto& context = extensionContext())
        context->cancelRequest(cancellationError(error));
}

void CredentialProviderVC::completeExtensionConfigurationRequest()
{
    if (!beginEnding("Completing the configuration"))
        return;
    if (const auto& context = extensionContext())
        context->completeExtensionConfigurationRequest();
}

void CredentialProviderVC::reportEntry(const char* entryPoint)
{
    auto caller = Foundation::String(std::string("CredentialProviderVC.") + entryPoint);
    const auto& store = dependencies().authenticationStore;
    store->reloadAuthenticationRecords(caller);
    store->applyExpiration(caller);
    store->attemptAutomaticBiometry(Shared::AuthenticationStore::AutomaticBiometryTrigger::extensionRequest, caller);
}

void CredentialProviderVC::embedChild(const std::shared_ptr<UIKit::UIViewController>& child)
{
    Basalwork::embed(*this, child, *view(), nullptr);
}

bool CredentialProviderVC::embedBlankEntryDetails()
{
    const auto& dependencies = this->dependencies();
    auto details = Foundation::make<Shared::EntryDetailsVC>();
    try {
        details->update(Shared::EntryDetailsVC::State(), dependencies.appExecutionContext, dependencies.preferenceStore, dependencies.recordStore, false,
                        false, nullptr);
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
        return false;
    }
    embedChild(details);
    return true;
}

// --- Entry points -------------------------------------------------------------------------------------

void CredentialProviderVC::prepareCredentialList(const ServiceIdentifiers& serviceIdentifiers)
{
    reportEntry("prepareCredentialList(for:)");
    auto self = sharedSelf(this);
    embedChild(Foundation::make<EntriesC>(serviceIdentifiers, std::static_pointer_cast<EntriesCDelegate>(self)));
    embedChild(Foundation::make<AuthenticationC>(AuthenticationC::OnAuthentication::showUnderlyingContent(),
                                                 std::static_pointer_cast<AuthenticationCDelegate>(self)));
}

void CredentialProviderVC::prepareToProvide(const std::function<CredentialRequest()>& makeRequest)
{
    reportEntry("prepareInterfaceToProvideCredential(for:)");
    if (!embedBlankEntryDetails())
        return;
    std::optional<CredentialRequest> request;
    try {
        request = makeRequest();
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
        return;
    }
    embedChild(Foundation::make<AuthenticationC>(AuthenticationC::OnAuthentication::provideCredential(*request),
                                                 std::static_pointer_cast<AuthenticationCDelegate>(sharedSelf(this))));
}

void CredentialProviderVC::prepareInterfaceToProvideCredential(const AuthenticationServices::ASPasswordCredentialIdentity& credentialIdentity)
{
    prepareToProvide([&] {
        if (!credentialIdentity.recordIdentifier)
            throw Errors::credentialIdentityNotFound();
        return CredentialRequest::password(*credentialIdentity.recordIdentifier, {credentialIdentity.serviceIdentifier});
    });
}

void CredentialProviderVC::prepareInterfaceToProvideCredential(const AuthenticationServices::ASCredentialRequest& credentialRequest)
{
    prepareToProvide([&] { return CredentialRequest(credentialRequest); });
}

void CredentialProviderVC::provideCredentialWithoutUserInteraction(const AuthenticationServices::ASPasswordCredentialIdentity&)
{
    // Nothing is looked up and no store is touched: the vault always asks for its master password.
    cancelRequest(extensionError(ASExtensionError::Code::userInteractionRequired));
}

void CredentialProviderVC::provideCredentialWithoutUserInteraction(const AuthenticationServices::ASCredentialRequest&)
{
    cancelRequest(extensionError(ASExtensionError::Code::userInteractionRequired));
}

void CredentialProviderVC::prepareInterfaceForExtensionConfiguration()
{
    reportEntry("prepareInterfaceForExtensionConfiguration()");
    if (!embedBlankEntryDetails())
        return;
    const auto& dependencies = this->dependencies();
    auto authenticationVC = Foundation::make<Shared::AuthenticationVC>();
    authenticationVC->setDelegate(std::static_pointer_cast<Shared::AuthenticationVCDelegate>(sharedSelf(this)));
    authenticationVC->view();
    authenticationVC->setState(Shared::AuthenticationVState::AutoFillActivationConfirmation {
                                   dependencies.preferenceStore->autoCopyOTP() == Shared::Settings::AutoFill::AutoCopyOTP::disabled,
                                   dependencies.userNotificationStore->isNotificationPermissionMissing()},
                               false, true, false);
    embedChild(authenticationVC);
    // The screen takes the keys once its window shows, so that Return confirms without a Tab first.
    std::weak_ptr<Shared::AuthenticationVC> weak = authenticationVC;
    Foundation::DispatchQueue::main()->async([weak] {
        if (auto screen = weak.lock())
            screen->becomeFirstResponder();
    });
    dependencies.preferenceStore->setDidConfigureAutoFillExtension(true);
}

// --- Handing the credential over ----------------------------------------------------------------------

void CredentialProviderVC::provideCredential(const CredentialRequest& credentialRequest)
{
    const auto& dependencies = this->dependencies();
    if (!dependencies.authenticationStore->authenticationState().isAuthenticated()) {
        logger().error("A credential was asked for while the vault is locked: ignored");
        return;
    }
    if (!beginEnding("Providing a credential"))
        return;
    std::optional<Shared::Entry> entry;
    try {
        entry = dependencies.recordStore->entry(credentialRequest.entryID());
    } catch (const Foundation::Error&) {
    }
    if (!entry) {
        m_isRequestEnding = false;
        cancelRequest(extensionError(ASExtensionError::Code::credentialIdentityNotFound));
        return;
    }
    auto now = Foundation::Date::now();
    std::vector<Shared::Entry::ServiceIdentifier> stamped;
    for (const auto& identifier : credentialRequest.serviceIdentifiers())
        stamped.push_back(Shared::Entry::ServiceIdentifier::fromIdentifier(
            identifier.identifier(), identifier.type() == AuthenticationServices::ASCredentialServiceIdentifierType::URL, now));
    std::weak_ptr<CredentialProviderVC> weak = sharedSelf(this);
    try {
        dependencies.recordStore->stampServiceIdentifiers(
            credentialRequest.entryID(), stamped,
            Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(),
                                                               [weak, entry = *entry, credentialRequest](const Foundation::Result<void>&) {
                                                                   if (auto self = weak.lock())
                                                                       self->saveEntryThenComplete(entry, credentialRequest);
                                                               }));
    } catch (const Foundation::Error& error) {
        m_isRequestEnding = false;
        cancelRequest(error);
    }
}

void CredentialProviderVC::saveEntryThenComplete(const Shared::Entry& entry, const CredentialRequest& credentialRequest)
{
    std::weak_ptr<CredentialProviderVC> weak = sharedSelf(this);
    saveLocalModificationsToCloud(entry, Foundation::DispatchQueue::main(),
                                  Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(),
                                                                                     [weak, entry, credentialRequest](const Foundation::Result<void>&) {
                                                                                         if (auto self = weak.lock())
                                                                                             self->completeRequest(entry, credentialRequest);
                                                                                     }));
}

void CredentialProviderVC::saveLocalModificationsToCloud(const Shared::Entry& entry, const std::shared_ptr<Foundation::DispatchQueue>&,
                                                         Basalwork::ResultHandler<Foundation::Result<void>> resultHandler)
{
    auto container = CloudKit::CKContainer::withIdentifier(Shared::Global::App::ubiquityContainerIdentifier());
    CloudKit::CKRecordZoneID zoneID(Foundation::String("CustomRecordZone"), CloudKit::CKCurrentUserDefaultName);
    std::shared_ptr<CloudKit::CKRecord> record;
    try {
        record = dependencies().recordStore->ckRecordWithLocalModifications(entry.id, zoneID);
    } catch (const Foundation::Error&) {
        resultHandler.invokeAsynchronously(Foundation::Result<void>::failure(Foundation::currentError()));
        return;
    }
    auto operation = Foundation::make<CloudKit::CKModifyRecordsOperation>(std::vector {record}, std::vector<CloudKit::CKRecordID> {});
    auto configuration = Foundation::make<CloudKit::CKOperation::Configuration>();
    configuration->setAllowsCellularAccess(true);
    configuration->setIsLongLived(true);
    operation->setConfiguration(configuration);
    operation->setSavePolicy(CloudKit::CKModifyRecordsOperation::RecordSavePolicy::changedKeys);
    container->privateCloudDatabase()->add(operation);
    resultHandler.invokeAsynchronously(Foundation::Result<void>::success());
}

void CredentialProviderVC::completeRequest(const Shared::Entry& entry, const CredentialRequest& credentialRequest)
{
    const auto& dependencies = this->dependencies();
    const auto& context = extensionContext();
    if (!context)
        return;
    // The vault may have locked while the use was recorded: then nothing leaves.
    if (!dependencies.authenticationStore->authenticationState().isAuthenticated()) {
        context->cancelRequest(extensionError(ASExtensionError::Code::userInteractionRequired));
        return;
    }
    if (const auto& coordinator = dependencies.localChangeCoordinator)
        (void)Foundation::catchError([&] { coordinator->registerLocalChange(); });
    auto code = entry.currentOneTimePassword(Foundation::Date::now());
    if (dependencies.preferenceStore->autoCopyOTP() == Shared::Settings::AutoFill::AutoCopyOTP::enabled && code) {
        dependencies.pasteboardCoordinator->copy(*code, true);
        dependencies.userNotificationStore->announceCopiedOneTimePassword();
    }
    if (credentialRequest.as<CredentialRequest::Password>()) {
        context->completeRequest({entry.username, entry.password}, nullptr);
    } else if (code) {
        context->completeOneTimeCodeRequest({*code}, nullptr);
    } else {
        context->cancelRequest(cancellationError(Basalwork::GeneralError::failedWithMessage(Foundation::String("Failed to generate valid One-Time Password"))));
    }
}

// --- The add-item screen ------------------------------------------------------------------------------

void CredentialProviderVC::presentAddEntry(const ServiceIdentifiers& serviceIdentifiers)
{
    std::shared_ptr<AddEntryC> addEntryC;
    try {
        addEntryC = Foundation::make<AddEntryC>(dependencies().recordStore->vaultIDForNewEntries(), serviceIdentifiers);
    } catch (const Foundation::Error& error) {
        cancelRequest(error);
        return;
    }
    addEntryC->setDelegate(std::static_pointer_cast<AddEntryCDelegate>(sharedSelf(this)));
    present(addEntryC, true, nullptr);
}

void CredentialProviderVC::didRequestClose(AddEntryC&)
{
    if (!std::dynamic_pointer_cast<AddEntryC>(presentedViewController()))
        return;
    std::weak_ptr<CredentialProviderVC> weak = sharedSelf(this);
    dismiss(true, [weak] {
        auto self = weak.lock();
        if (!self)
            return;
        for (const auto& child : self->children()) {
            if (auto entriesC = std::dynamic_pointer_cast<EntriesC>(child)) {
                entriesC->becomeFirstResponder();
                return;
            }
        }
    });
}

void CredentialProviderVC::didSave(const Foundation::String& entryID, AddEntryC& addEntryC)
{
    provideCredential(CredentialRequest::password(entryID, addEntryC.serviceIdentifiers()));
}

// --- The list -----------------------------------------------------------------------------------------

void CredentialProviderVC::didChoose(const Foundation::String& entryID, EntriesC& entriesC)
{
    provideCredential(CredentialRequest::password(entryID, entriesC.serviceIdentifiers()));
}

void CredentialProviderVC::didRequestNewEntry(EntriesC& entriesC)
{
    presentAddEntry(entriesC.serviceIdentifiers());
}

// --- The configuration screen -------------------------------------------------------------------------

void CredentialProviderVC::didSelectCancel(Shared::AuthenticationVC&)
{
    cancelExtensionConfiguration();
}

void CredentialProviderVC::didSelectPrimaryAction(const Shared::AuthenticationVState& state, Shared::AuthenticationVC&)
{
    confirmExtensionConfiguration(state);
}

void CredentialProviderVC::didUpdateIsAutoCopyOTPDisabled(bool isAutoCopyOTPDisabled, Shared::AuthenticationVC&)
{
    setAutoCopyOTP(dependencies(), isAutoCopyOTPDisabled);
}

void CredentialProviderVC::confirmExtensionConfiguration(const Shared::AuthenticationVState& state)
{
    const auto* confirmation = state.as<Shared::AuthenticationVState::AutoFillActivationConfirmation>();
    if (confirmation && !confirmation->isAutoCopyOTPDisabled && confirmation->isNotificationPermissionPending) {
        std::weak_ptr<CredentialProviderVC> weak = sharedSelf(this);
        dependencies().userNotificationStore->requestNotificationPermission(Foundation::DispatchQueue::main(), [weak](bool) {
            if (auto self = weak.lock())
                self->replaceCredentialStoreAndCompleteConfiguration();
        });
        return;
    }
    replaceCredentialStoreAndCompleteConfiguration();
}

void CredentialProviderVC::replaceCredentialStoreAndCompleteConfiguration()
{
    std::weak_ptr<CredentialProviderVC> weak = sharedSelf(this);
    dependencies().recordStore->replaceCredentialStore(
        Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(), [weak](const Foundation::Result<void>&) {
            if (auto self = weak.lock())
                self->completeExtensionConfigurationRequest();
        }));
}

void CredentialProviderVC::cancelExtensionConfiguration()
{
    cancelRequest(extensionError(ASExtensionError::Code::userCanceled));
}

} // namespace Sorrelgate
