#include "Sorrelgate/AuthenticationC.hpp"

#include "Sorrelgate/AuthenticationCDelegate.hpp"
#include "Sorrelgate/CredentialProviderVC.hpp"

#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"

#include "Basalwork/Base/ResultHandler.hpp"
#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/AuthenticationServices/ASExtensionError.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Sorrelgate {

namespace {

using AuthState = Shared::AuthenticationState;
using ViewState = Shared::AuthenticationVState;

} // namespace

AuthenticationC::AuthenticationC(OnAuthentication onAuthentication, const std::shared_ptr<AuthenticationCDelegate>& delegate)
    : AuthenticationC(Foundation::make<Shared::AuthenticationVC>(), std::move(onAuthentication), delegate)
{
}

AuthenticationC::AuthenticationC(std::shared_ptr<Shared::AuthenticationVC> authenticationVC, OnAuthentication onAuthentication,
                                 const std::shared_ptr<AuthenticationCDelegate>& delegate)
    : CoordinatingViewController(authenticationVC)
    , m_delegate(delegate)
    , m_authenticationVC(std::move(authenticationVC))
    , m_onAuthentication(std::move(onAuthentication))
{
}

void AuthenticationC::initialize()
{
    CoordinatingViewController::initialize();
    m_authenticationVC->setDelegate(std::static_pointer_cast<Shared::AuthenticationVCDelegate>(sharedSelf(this)));
}

void AuthenticationC::viewDidAppear(bool animated)
{
    CoordinatingViewController::viewDidAppear(animated);
    if (!std::exchange(m_isFirstAppear, false))
        return;
    transitionIfRequired(true);
    startObservingAuthenticationStore();
}

void AuthenticationC::startObservingAuthenticationStore()
{
    const auto& store = dependencies().authenticationStore;
    std::weak_ptr<AuthenticationC> weak = sharedSelf(this);
    for (const auto* name : {&Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(),
                             &Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationRecords()})
        store->notificationCenter()->addObserver(*name, nullptr, Foundation::OperationQueue::main(), [weak](const Foundation::Notification&) {
            if (auto self = weak.lock())
                self->transitionIfRequired(true);
        });
}

void AuthenticationC::show(ViewState state, bool animated)
{
    m_authenticationVC->setState(std::move(state), false, true, animated);
}

void AuthenticationC::setTakesInput(bool takesInput)
{
    view()->setIsUserInteractionEnabled(takesInput);
}

void AuthenticationC::clearTexts()
{
    m_entryText = Foundation::String();
    m_reEntryText = Foundation::String();
}

void AuthenticationC::transitionIfRequired(bool animated)
{
    const auto& dependencies = this->dependencies();
    const auto state = dependencies.authenticationStore->authenticationState();
    // Whatever the lock shows, the screen takes the input; only the unlocked state may hand it on.
    if (!state.isAuthenticated())
        setTakesInput(true);
    std::weak_ptr<AuthenticationC> weak = sharedSelf(this);
    if (const auto* locked = state.as<AuthState::Locked>()) {
        show(ViewState::Locked {locked->availableBiometry, locked->isEntryRecommended, locked->entryAttemptState, m_entryText,
                                dependencies.appExecutionContext, true},
             animated);
        return;
    }
    clearTexts();
    if (state.is<AuthState::BiometricUnlockDue>()) {
        dependencies.authenticationStore->unlockWithAvailableBiometry();
    } else if (const auto* evaluating = state.as<AuthState::EvaluatingBiometry>()) {
        show(ViewState::EvaluatingBiometry {evaluating->isAutomatic, true}, animated);
    } else if (state.is<AuthState::LockedWhileInactive>()) {
        show(ViewState::LockedWhileInactive {}, animated);
    } else if (state.is<AuthState::PasswordAuthenticationFailed>()) {
        m_authenticationVC->performAfterStateUpdate([weak] {
            auto self = weak.lock();
            // Every transition while the rejection stands asks for this; one lock answers them all.
            if (!self || !self->dependencies().authenticationStore->authenticationState().is<AuthState::PasswordAuthenticationFailed>())
                return;
            self->dependencies().authenticationStore->lock(
                Shared::AuthenticationStore::LockKind::allowBiometry, false, false,
                Foundation::String("AutoFill.AuthenticationC.transitionIfRequired while authenticationState == .passwordAuthenticationFailed"));
        });
    } else if (state.isAuthenticated()) {
        std::visit(
            [&](const auto& action) {
                using T = std::decay_t<decltype(action)>;
                if constexpr (std::is_same_v<T, OnAuthentication::ShowUnderlyingContent>) {
                    setTakesInput(false);
                    show(ViewState::Authenticated {}, animated);
                } else if constexpr (std::is_same_v<T, OnAuthentication::ConfirmAutoFillActivation>) {
                    setTakesInput(true);
                    show(ViewState::AutoFillActivationConfirmation {
                             dependencies.preferenceStore->autoCopyOTP() == Shared::Settings::AutoFill::AutoCopyOTP::disabled,
                             dependencies.userNotificationStore->isNotificationPermissionMissing()},
                         true);
                } else {
                    setTakesInput(true);
                    if (!std::exchange(m_performOnAuthenticationAction, false))
                        return;
                    if (auto delegate = this->delegate())
                        delegate->provideCredential(action.credentialRequest);
                }
            },
            m_onAuthentication.value());
    } else {
        // Every other state belongs to the main program.
        show(ViewState::OpenMainApp {}, true);
    }
}

void AuthenticationC::didSelectCancel(Shared::AuthenticationVC&)
{
    if (auto delegate = this->delegate())
        delegate->cancelRequest(Foundation::NSError(AuthenticationServices::ASExtensionErrorDomain,
                                                    static_cast<std::int64_t>(AuthenticationServices::ASExtensionError::Code::userCanceled)));
}

void AuthenticationC::didUpdateEntryText(const Foundation::String& text, Shared::AuthenticationVC&)
{
    m_entryText = text;
    transitionIfRequired(true);
}

void AuthenticationC::didUpdateReEntryText(const Foundation::String& text, Shared::AuthenticationVC&)
{
    m_reEntryText = text;
    transitionIfRequired(true);
}

void AuthenticationC::didSelectUnlockWithBiometry(Shared::AuthenticationVC&)
{
    dependencies().authenticationStore->unlockWithAvailableBiometry();
    transitionIfRequired(true);
}

void AuthenticationC::unlock(const Foundation::String& masterPassword)
{
    try {
        dependencies().authenticationStore->unlock(masterPassword);
        clearTexts();
    } catch (const Foundation::Error& error) {
        if (auto delegate = this->delegate())
            delegate->cancelRequest(CredentialProviderVC::cancellationError(error));
    }
}

void AuthenticationC::confirmActivation(const ViewState::AutoFillActivationConfirmation& confirmation)
{
    std::weak_ptr<AuthenticationC> weak = sharedSelf(this);
    auto replaceAndComplete = [weak] {
        auto self = weak.lock();
        if (!self || !self->delegate())
            return;
        self->dependencies().recordStore->replaceCredentialStore(
            Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(), [weak](const Foundation::Result<void>&) {
                // The configuration completes whatever the list's fate.
                auto self = weak.lock();
                if (auto delegate = self ? self->delegate() : nullptr)
                    delegate->completeExtensionConfigurationRequest();
            }));
    };
    if (!confirmation.isAutoCopyOTPDisabled && confirmation.isNotificationPermissionPending)
        dependencies().userNotificationStore->requestNotificationPermission(Foundation::DispatchQueue::main(),
                                                                            [replaceAndComplete](bool) { replaceAndComplete(); });
    else
        replaceAndComplete();
}

void AuthenticationC::didSelectPrimaryAction(const ViewState& state, Shared::AuthenticationVC&)
{
    if (const auto* locked = state.as<ViewState::Locked>()) {
        bool isHeldBack = locked->entryAttemptState && locked->entryAttemptState->as<Shared::EntryAttemptState::Disabled>();
        if (!isHeldBack)
            unlock(locked->entryText);
    } else if (const auto* confirmation = state.as<ViewState::AutoFillActivationConfirmation>()) {
        confirmActivation(*confirmation);
    } else if (const auto* error = state.as<ViewState::EncounteredError>()) {
        if (auto delegate = this->delegate())
            delegate->cancelRequest(Foundation::NSError(error->domain.utf8(), error->code));
    }
    transitionIfRequired(true);
}

void AuthenticationC::didSelect(Shared::AuthenticationVLink link, Shared::AuthenticationVC&)
{
    if (link != Shared::AuthenticationVLink::forgotPassword)
        return;
    auto alert = Foundation::make<Basalwork::AlertController>(Foundation::String("Forgot Password?"), Foundation::String("Please open main app to see options."),
                                                              UIKit::UIAlertController::Style::alert);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("OK"), UIKit::UIAlertAction::Style::default_));
    present(alert, true, nullptr);
}

void AuthenticationC::didUpdateIsAutoCopyOTPDisabled(bool isAutoCopyOTPDisabled, Shared::AuthenticationVC&)
{
    CredentialProviderVC::setAutoCopyOTP(dependencies(), isAutoCopyOTPDisabled);
}

} // namespace Sorrelgate
