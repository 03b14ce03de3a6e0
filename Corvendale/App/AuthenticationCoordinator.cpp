#include "Corvendale/App/AuthenticationCoordinator.hpp"

#include "Corvendale/App/SyncCoordinator.hpp"

#include "Shared/AuthenticationState.hpp"
#include "Shared/AuthenticationStore.hpp"
#include "Shared/AuthenticationStoreError.hpp"
#include "Shared/AuthenticationVC.hpp"
#include "Shared/BackupStore.hpp"
#include "Shared/Metricove/AnalyticsEvent.hpp"
#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/PreferenceStore.hpp"
#include "Shared/RecordStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/UserNotificationStore.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIWindow.Level.hpp"
#include "Platform/UIKit/UIWindow.hpp"

namespace Corvendale {

using Shared::AuthenticationState;
using Shared::AuthenticationVState;

const Foundation::Notification::Name& AuthenticationCoordinator::authenticationCoordinatorDidResetAccount()
{
    static const auto* name = new Foundation::Notification::Name("authenticationCoordinatorDidResetAccount");
    return *name;
}

AuthenticationCoordinator::AuthenticationCoordinator(std::shared_ptr<UIKit::UIWindow> mainWindow,
                                                     std::shared_ptr<UIKit::UIWindow> authenticationWindow)
    : AuthenticationCoordinator(std::move(mainWindow), std::move(authenticationWindow), Foundation::make<Shared::AuthenticationVC>())
{
}

AuthenticationCoordinator::AuthenticationCoordinator(std::shared_ptr<UIKit::UIWindow> mainWindow,
                                                     std::shared_ptr<UIKit::UIWindow> authenticationWindow,
                                                     std::shared_ptr<Shared::AuthenticationVC> authenticationVC)
    : CoordinatingViewController(authenticationVC)
    , m_mainWindow(std::move(mainWindow))
    , m_authenticationWindow(std::move(authenticationWindow))
    , m_authenticationVC(std::move(authenticationVC))
{
}

void AuthenticationCoordinator::initialize()
{
    CoordinatingViewController::initialize();
    m_authenticationWindow->setAccessibilityIdentifier(Foundation::String("authenticationWindow"));
    m_authenticationWindow->setWindowLevel({windowLevel});
    m_authenticationWindow->setRootViewController(sharedSelf(this));
    m_authenticationWindow->makeKeyAndVisible();
    m_authenticationVC->setDelegate(sharedSelf(this));
}

void AuthenticationCoordinator::viewDidAppear(bool animated)
{
    CoordinatingViewController::viewDidAppear(animated);
    if (!m_isFirstAppear)
        return;
    m_isFirstAppear = false;
    transitionIfRequired(true);
    startObserving();
}

void AuthenticationCoordinator::presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                                                      std::function<void()> completion)
{
    present(viewController, animated, std::move(completion));
}

void AuthenticationCoordinator::startObserving()
{
    const auto& center = dependencies().notificationCenter;
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    auto transition = [weak](bool animated) {
        return [weak, animated](const Foundation::Notification&) {
            if (auto self = weak.lock())
                self->transitionIfRequired(animated);
        };
    };
    const auto& main = Foundation::OperationQueue::main();
    center->addObserver(UIKit::UIApplication::didBecomeActiveNotification(), nullptr, main, transition(true));
    center->addObserver(UIKit::UIApplication::didEnterBackgroundNotification(), nullptr, main, transition(false));
    center->addObserver(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(), nullptr, main, transition(true));
    center->addObserver(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationRecords(), nullptr, main, transition(true));
    center->addObserver(SyncCoordinator::syncCoordinatorDidUpdateSyncStatus(), nullptr, main, transition(true));
    center->addObserver(Shared::RecordStore::recordStoreDidUpdateAutoFillAvailability(), nullptr, main, transition(true));
    center->addObserver(Shared::PreferenceStore::preferenceStoreDidUpdate(), nullptr, main, transition(true));
    center->addObserver(Shared::UserNotificationStore::userNotificationStoreDidUpdate(), nullptr, main, transition(true));
    // The remote account reset (syncCoordinatorUserDidResetAccountRemotelyNotification) comes with the
    // lock screen's actions.
}

bool AuthenticationCoordinator::hasFinishedInitialFetch() const
{
    const auto& sync = dependencies().syncCoordinator;
    if (!sync)
        return true;
    auto index = sync->syncStatus().caseIndex();
    if (index >= 1 && index <= 4)
        return true;
    return sync->cloudKitRemote()->mostRecentCompletedFetchDate().has_value();
}

void AuthenticationCoordinator::showAuthenticationWindow()
{
    m_authenticationWindow->makeKeyAndVisible();
    m_authenticationWindow->setIsUserInteractionEnabled(true);
}

void AuthenticationCoordinator::setScreenState(AuthenticationVState state, bool indicatesFailedAttempt, bool activatesEntryField, bool animated)
{
    m_authenticationVC->setState(std::move(state), indicatesFailedAttempt, activatesEntryField, animated);
}

void AuthenticationCoordinator::defer(std::function<void()> action)
{
    showAuthenticationWindow();
    m_authenticationVC->performAfterStateUpdate(std::move(action));
}

void AuthenticationCoordinator::clearTexts()
{
    m_entryText = Foundation::String();
    m_reEntryText = Foundation::String();
}

void AuthenticationCoordinator::transitionIfRequired(bool animated)
{
    const auto& store = dependencies().authenticationStore;
    if (!hasFinishedInitialFetch() && !store->authenticationState().isIncludedInRestoreFromBackupFlow()) {
        showAuthenticationWindow();
        setScreenState(AuthenticationVState::WaitingForInitialFetch {}, false, true, animated);
        return;
    }
    const auto state = store->authenticationState();
    const bool isActive = UIKit::UIApplication::shared()->applicationState() == UIKit::UIApplication::State::active;
    // Rows with an entry attempt: whether it failed, and whether the field may take the keyboard.
    const bool hasAttempt = state.entryAttemptState().has_value();
    const bool presentsNothing = presentedViewController() == nullptr;
    auto show = [&](AuthenticationVState screen, bool withAttempt = false) {
        showAuthenticationWindow();
        if (withAttempt)
            setScreenState(std::move(screen), hasAttempt, presentsNothing, animated);
        else
            setScreenState(std::move(screen), false, true, animated);
    };
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    auto storeAction = [weak](void (Shared::AuthenticationStore::*operation)()) {
        return [weak, operation] {
            if (auto self = weak.lock())
                ((*self->dependencies().authenticationStore).*operation)();
        };
    };
    auto reportError = [&](const Shared::AuthenticationStoreError& fixed, const Foundation::ErrorPtr& error) {
        if (auto analytics = analyticsStore())
            analytics->track(Metricove::AnalyticsEvent::error(fixed, Foundation::String("AuthenticationCoordinator.transitionIfRequired")));
        show(AuthenticationVState::EncounteredError {error ? Foundation::String(error->domain()) : Foundation::String(),
                                                     error ? error->code() : 0,
                                                     error ? Foundation::String(error->description()) : Foundation::String()});
    };

    using S = AuthenticationState;
    using V = AuthenticationVState;
    std::visit(
        [&](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, S::AppUpdateRequired>) {
                clearTexts();
                show(V::AppUpdateRequired {value.requiredVersion});
            } else if constexpr (std::is_same_v<T, S::RestoreFromBackupMasterPasswordEntry>) {
                show(V::RestoreFromBackupMasterPasswordEntry {value.fileURL, m_entryText, value.entryAttemptState}, true);
            } else if constexpr (std::is_same_v<T, S::MasterPasswordChangedElsewhere>) {
                show(V::MasterPasswordChangedElsewhere {value.changedAt, m_entryText, value.entryAttemptState}, true);
            } else if constexpr (std::is_same_v<T, S::ChangeMasterPasswordEntry>) {
                show(V::ChangeMasterPasswordEntry {value.isCancellable, m_entryText, value.entryAttemptState}, true);
            } else if constexpr (std::is_same_v<T, S::RestoreFromBackupIntroduction>) {
                clearTexts();
                m_selectedFileURL = value.fileURL;
                show(V::RestoreFromBackupIntroduction {});
            } else if constexpr (std::is_same_v<T, S::BackupPasswordEntry>) {
                show(V::BackupPasswordEntry {value.fileURL, m_entryText});
            } else if constexpr (std::is_same_v<T, S::ReplaceDataWithBackupConfirmation>) {
                show(V::ReplaceDataWithBackupConfirmation {value.fileURL, value.backupPassword});
            } else if constexpr (std::is_same_v<T, S::RestoredVaultMasterPasswordEntry>) {
                clearTexts();
                show(V::RestoredVaultMasterPasswordEntry {});
            } else if constexpr (std::is_same_v<T, S::RestoreFromBackupFailed>) {
                clearTexts();
                show(V::RestoreFromBackupFailed {value.errorDescription, value.offersFailureReport});
            } else if constexpr (std::is_same_v<T, S::Locked>) {
                show(V::Locked {value.availableBiometry, value.isEntryRecommended, value.entryAttemptState, m_entryText,
                                dependencies().appExecutionContext, false},
                     true);
            } else if constexpr (std::is_same_v<T, S::BiometricUnlockDue>) {
                if (isActive) {
                    clearTexts();
                    dependencies().authenticationStore->unlockWithAvailableBiometry();
                } else {
                    clearTexts();
                    show(V::LockedWhileInactive {});
                }
            } else if constexpr (std::is_same_v<T, S::EvaluatingBiometry>) {
                clearTexts();
                show(V::EvaluatingBiometry {value.isAutomatic, false});
            } else if constexpr (std::is_same_v<T, S::LockedWhileInactive>) {
                clearTexts();
                show(V::LockedWhileInactive {});
            } else if constexpr (std::is_same_v<T, S::SyncOnboarding>) {
                clearTexts();
                show(V::SyncOnboarding {});
            } else if constexpr (std::is_same_v<T, S::NoMasterPassword>) {
                show(V::CreateMasterPassword {m_entryText, m_reEntryText});
            } else if constexpr (std::is_same_v<T, S::AutoFillOnboarding>) {
                clearTexts();
                show(V::AutoFillOnboarding {dependencies().recordStore->autoFillAvailability(),
                                            dependencies().preferenceStore->didConfigureAutoFillExtension(),
                                            dependencies().userNotificationStore->isNotificationPermissionMissing()});
            } else if constexpr (std::is_same_v<T, S::AutomaticBackupsOnboarding>) {
                clearTexts();
                show(V::AutomaticBackupsOnboarding {dependencies().backupStore->backupFolder()});
            } else if constexpr (std::is_same_v<T, S::MasterPasswordCreated>) {
                defer(storeAction(&Shared::AuthenticationStore::finishCreatingMasterPassword));
            } else if constexpr (std::is_same_v<T, S::NewMasterPasswordAfterReset>) {
                show(V::NewMasterPasswordAfterReset {m_entryText, m_reEntryText});
            } else if constexpr (std::is_same_v<T, S::FailedToReadAuthenticationRecords>) {
                reportError(Shared::AuthenticationStoreError::failedToReadAuthenticationRecords(), value.error);
            } else if constexpr (std::is_same_v<T, S::RestoreFromBackupSucceeded>) {
                defer(storeAction(&Shared::AuthenticationStore::finishRestoringFromBackup));
            } else if constexpr (std::is_same_v<T, S::FailedToWriteAuthenticationRecords>) {
                reportError(Shared::AuthenticationStoreError::failedToWriteAuthenticationRecords(), value.error);
            } else if constexpr (std::is_same_v<T, S::ChangeMasterPasswordRequested>) {
                defer(storeAction(&Shared::AuthenticationStore::beginChangingMasterPassword));
            } else if constexpr (std::is_same_v<T, S::NewMasterPasswordEntry>) {
                show(V::NewMasterPasswordEntry {m_entryText, m_reEntryText});
            } else if constexpr (std::is_same_v<T, S::ResetAccountIntroduction>) {
                clearTexts();
                show(V::ResetAccountIntroduction {});
            } else if constexpr (std::is_same_v<T, S::ResetAccountFailed>) {
                clearTexts();
                show(V::ResetAccountFailed {});
            } else if constexpr (std::is_same_v<T, S::ResetAccountConfirmation>) {
                show(V::ResetAccountConfirmation {m_entryText});
            } else if constexpr (std::is_same_v<T, S::ResettingAccount>) {
                show(V::ResettingAccount {});
            } else if constexpr (std::is_same_v<T, S::ChoosingBackupFile>) {
                clearTexts();
                show(V::ChoosingBackupFile {m_selectedFileURL});
            } else if constexpr (std::is_same_v<T, S::RestoringFromBackup>) {
                show(V::RestoringFromBackup {});
            } else if constexpr (std::is_same_v<T, S::SavingMasterPassword>) {
                clearTexts();
                show(V::SavingMasterPassword {});
            } else if constexpr (std::is_same_v<T, S::PasswordAuthenticationFailed>) {
                defer([weak] {
                    if (auto self = weak.lock())
                        self->dependencies().authenticationStore->lock(
                            Shared::AuthenticationStore::LockKind::allowBiometry, false, false,
                            "AuthenticationCoordinator.transitionIfRequired while authenticationState == .passwordAuthenticationFailed");
                });
            } else if constexpr (std::is_same_v<T, S::Authenticated>) {
                m_mainWindow->makeKey();
                m_authenticationWindow->setIsUserInteractionEnabled(false);
                clearTexts();
                setScreenState(V::Authenticated {}, false, true, animated);
            }
        },
        state.value());
}

// --- The unlock screen's reports (the main road; the other actions come with the lock screen's actions)

void AuthenticationCoordinator::didSelectCancel(Shared::AuthenticationVC&) {}

void AuthenticationCoordinator::didUpdateEntryText(const Foundation::String& text, Shared::AuthenticationVC&)
{
    m_entryText = text;
}

void AuthenticationCoordinator::didUpdateReEntryText(const Foundation::String& text, Shared::AuthenticationVC&)
{
    m_reEntryText = text;
}

void AuthenticationCoordinator::didSelectUnlockWithBiometry(Shared::AuthenticationVC&)
{
    dependencies().authenticationStore->unlockWithAvailableBiometry();
}

void AuthenticationCoordinator::didSelectPrimaryAction(const AuthenticationVState& state, Shared::AuthenticationVC&)
{
    const auto& store = dependencies().authenticationStore;
    const auto& preferences = dependencies().preferenceStore;
    try {
        if (state.as<AuthenticationVState::CreateMasterPassword>()) {
            if (m_entryText != m_reEntryText)
                throw Shared::AuthenticationStoreError::masterPasswordsDoNotMatch();
            auto password = m_entryText;
            store->createMasterPassword(password);
            clearTexts();
            store->unlock(password);
        } else if (const auto* locked = state.as<AuthenticationVState::Locked>()) {
            if (locked->entryAttemptState) {
                store->acknowledgeEntryAttempt();
            } else {
                store->unlock(m_entryText);
                clearTexts();
            }
        } else if (state.as<AuthenticationVState::AutoFillOnboarding>()) {
            preferences->setDidCompleteAutoFillOnboarding(true);
        } else if (state.as<AuthenticationVState::AutomaticBackupsOnboarding>()) {
            preferences->setDidCompleteBackupOnboarding(true);
        } else if (state.as<AuthenticationVState::SyncOnboarding>()) {
            preferences->setDidCompleteSyncOnboarding(true);
        }
    } catch (const Shared::AuthenticationStoreError&) {
        // Too short or not matching: the screen says so and keeps the texts.
        setScreenState(m_authenticationVC->state(), true, true, true);
        return;
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, Foundation::String("didSelectPrimaryAction(for:authenticationVC:)"));
    }
    transitionIfRequired(true);
}

} // namespace Corvendale
