#include "Corvendale/App/AuthenticationCoordinator.hpp"

#include "Corvendale/App/AuthenticationCoordinatorDelegate.hpp"
#include "Corvendale/App/MainMenu.hpp"
#include "Corvendale/Screens/Settings/SendDebugInfoC.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"
#include "Corvendale/Services/URLOpener.hpp"

#include "Shared/Metricove/AnalyticsEvent.hpp"
#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/EntryAttemptState.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Screens/AuthenticationVC.hpp"
#include "Shared/Screens/MasterPasswordTipsVC.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/AuthenticationStoreError.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Stores/UserNotificationStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Transfer/BackupStore.hpp"

#include "Basalwork/Base/DispatchQueue.hpp"
#include "Basalwork/Interface/AlertController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/UIAlertAction.Style.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.Style.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"

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
    center->addObserver(Shared::syncCoordinatorUserDidResetAccountRemotelyNotification(), nullptr, main, [weak](const Foundation::Notification&) {
        if (auto self = weak.lock())
            self->handleUserDidResetCorvendaleRemotely();
    });
}

bool AuthenticationCoordinator::hasFinishedInitialFetch() const
{
    const auto& sync = dependencies().syncCoordinator;
    if (!sync)
        return true;
    using Status = Syncwright::SyncStatus;
    // A sync that came to an end (done, stopped or failed), or syncing that is off.
    auto status = sync->syncStatus();
    if (status.is<Status::UpToDate>() || status.is<Status::Idle>() || status.is<Status::Failed>() || status.is<Status::Disabled>())
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

void AuthenticationCoordinator::followEndOfHold(const AuthenticationState& state)
{
    const auto attempt = state.entryAttemptState();
    const auto* held = attempt ? attempt->as<Shared::EntryAttemptState::Disabled>() : nullptr;
    if (!held || m_holdEndsAt == held->reEnabledAt)
        return;
    m_holdEndsAt = held->reEnabledAt;
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    const double delay = std::max(0.0, held->reEnabledAt.timeIntervalSince(Foundation::Date::now()));
    Basalwork::asyncAfter(*Foundation::DispatchQueue::main(), delay, [weak] {
        if (auto self = weak.lock()) {
            self->m_holdEndsAt.reset();
            self->transitionIfRequired(true);
        }
    });
}

void AuthenticationCoordinator::transitionIfRequired(bool animated)
{
    const auto& store = dependencies().authenticationStore;
    if (!m_hasPassedInitialFetch) {
        if (hasFinishedInitialFetch()) {
            m_hasPassedInitialFetch = true;
        } else if (!store->authenticationState().isIncludedInRestoreFromBackupFlow()) {
            showAuthenticationWindow();
            setScreenState(AuthenticationVState::WaitingForInitialFetch {}, false, true, animated);
            return;
        }
    }
    const auto state = store->authenticationState();
    followEndOfHold(state);
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
                // The backup's password goes as the screen comes; what is typed on it stays for Unlock.
                if (!m_authenticationVC->state().is<V::RestoredVaultMasterPasswordEntry>())
                    clearTexts();
                show(V::RestoredVaultMasterPasswordEntry {m_entryText});
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
                // Every transition while the rejection stands asks for this; one lock answers them all.
                defer([weak] {
                    auto self = weak.lock();
                    if (self && self->dependencies().authenticationStore->authenticationState().template is<S::PasswordAuthenticationFailed>())
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

// --- The menu commands ---------------------------------------------------------------------------------

namespace {

// The biometry the menu command unlocks with: only while locked with biometry on offer.
std::optional<Shared::Biometry> offeredBiometry(const AuthenticationState& state)
{
    const auto* locked = state.as<AuthenticationState::Locked>();
    if (!locked || locked->isBiometryDisabled || locked->availableBiometry == Shared::Biometry::none)
        return std::nullopt;
    return locked->availableBiometry;
}

const Foundation::Selector& unlockWithBiometrySelector()
{
    static const Foundation::Selector selector("handleUnlockWithAvailableBiometryCommand");
    return selector;
}

const bool registered = [] {
    Foundation::MethodTable::add(unlockWithBiometrySelector(), &AuthenticationCoordinator::handleUnlockWithAvailableBiometryCommand);
    Foundation::MethodTable::add(Foundation::Selector("handleSendDebugInfoCommand"), &AuthenticationCoordinator::handleSendDebugInfoCommand);
    Foundation::MethodTable::add(Foundation::Selector("handleImportFromFileCommand"), &AuthenticationCoordinator::handleImportFromFileCommand);
    return true;
}();

// The user's documents folder, when there is one.
std::optional<Foundation::URL> documentDirectory()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return std::nullopt;
    auto folder = Foundation::URL::fileURLWithPath(Foundation::String(home), true).appendingPathComponent("Documents", true);
    bool isDirectory = false;
    if (!Foundation::FileManager::defaultManager()->fileExists(folder.path(), isDirectory) || !isDirectory)
        return std::nullopt;
    return folder;
}

} // namespace

UniformTypeIdentifiers::UTType AuthenticationCoordinator::backupDocumentType()
{
    return {Foundation::String(Shared::BackupStore::documentTypeIdentifier)};
}

void AuthenticationCoordinator::handleUnlockWithAvailableBiometryCommand()
{
    (void)registered;
    dependencies().authenticationStore->unlockWithAvailableBiometry();
}

void AuthenticationCoordinator::handleSendDebugInfoCommand()
{
    presentSendDebugInfoOptions(*this, view(), true);
}

void AuthenticationCoordinator::handleImportFromFileCommand()
{
    if (auto delegate = this->delegate())
        delegate->didRequestImportFromFile(*this);
}

bool AuthenticationCoordinator::canPerformAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& sender)
{
    if (action == unlockWithBiometrySelector())
        return offeredBiometry(dependencies().authenticationStore->authenticationState()).has_value();
    return CoordinatingViewController::canPerformAction(action, sender);
}

void AuthenticationCoordinator::validate(const std::shared_ptr<UIKit::UICommand>& command)
{
    if (command->action() == unlockWithBiometrySelector())
        if (auto biometry = offeredBiometry(dependencies().authenticationStore->authenticationState()))
            command->setTitle(unlockWithBiometryTitle(*biometry));
    CoordinatingViewController::validate(command);
}

// --- The unlock screen's reports -------------------------------------------------------------------------

void AuthenticationCoordinator::didSelectCancel(Shared::AuthenticationVC&)
{
    using S = AuthenticationVState;
    const auto& store = dependencies().authenticationStore;
    switch (m_authenticationVC->state().index()) {
    case S::indexOf<S::ChangeMasterPasswordEntry>:
    case S::indexOf<S::NewMasterPasswordEntry>:
        store->cancelChangingMasterPassword();
        break;
    case S::indexOf<S::ResetAccountConfirmation>:
    case S::indexOf<S::ResetAccountIntroduction>:
    case S::indexOf<S::ResetAccountFailed>:
        store->cancelResettingAccount();
        break;
    case S::indexOf<S::RestoreFromBackupMasterPasswordEntry>:
    case S::indexOf<S::ChoosingBackupFile>:
    case S::indexOf<S::BackupPasswordEntry>:
    case S::indexOf<S::RestoredVaultMasterPasswordEntry>:
    case S::indexOf<S::RestoreFromBackupFailed>:
    case S::indexOf<S::RestoreFromBackupIntroduction>:
        store->cancelRestoringFromBackup();
        break;
    default:
        break;
    }
}

void AuthenticationCoordinator::didUpdateEntryText(const Foundation::String& text, Shared::AuthenticationVC&)
{
    m_entryText = text;
    transitionIfRequired(true);
}

void AuthenticationCoordinator::didUpdateReEntryText(const Foundation::String& text, Shared::AuthenticationVC&)
{
    m_reEntryText = text;
    transitionIfRequired(true);
}

void AuthenticationCoordinator::didSelectMasterPasswordTips(Shared::AuthenticationVC&)
{
    if (!m_authenticationVC->state().is<AuthenticationVState::CreateMasterPassword>())
        return;
    present(Foundation::make<Shared::MasterPasswordTipsVC>(std::static_pointer_cast<Shared::MasterPasswordTipsVCDelegate>(sharedSelf(this))), true);
}

void AuthenticationCoordinator::didFinish(Shared::MasterPasswordTipsVC&)
{
    if (std::dynamic_pointer_cast<Shared::MasterPasswordTipsVC>(presentedViewController()))
        dismiss(true);
    if (dependencies().authenticationStore->authenticationState().is<AuthenticationState::NoMasterPassword>())
        m_authenticationVC->returnToEntryField();
}

void AuthenticationCoordinator::didSelectUnlockWithBiometry(Shared::AuthenticationVC&)
{
    dependencies().authenticationStore->unlockWithAvailableBiometry();
    transitionIfRequired(true);
}

void AuthenticationCoordinator::didSelect(Shared::AuthenticationVLink link, Shared::AuthenticationVC&)
{
    switch (static_cast<std::int64_t>(link)) {
    case 0:
        dependencies().authenticationStore->acknowledgeEntryAttempt();
        presentForgotPasswordHelp();
        break;
    case 1:
        dependencies().authenticationStore->beginRestoringFromBackup(std::nullopt);
        break;
    case 2:
        break;
    default:
        URLOpener::open(Shared::Global::Website::url(), std::static_pointer_cast<UIKit::UIViewController>(sharedSelf(this)));
        break;
    }
}

void AuthenticationCoordinator::presentForgotPasswordHelp()
{
    if (presentedViewController())
        return;
    // The master password is never stored, so nothing can recover it: say what is left.
    auto alert = Foundation::make<Basalwork::AlertController>(
        Foundation::String("Forgot Password?"),
        Foundation::String("Your master password cannot be recovered: it is stored nowhere. You can restore a backup whose password "
                           "you know, or keep trying."),
        UIKit::UIAlertController::Style::alert);
    alert->setIdentifier(Foundation::String("forgotPassword"));
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    alert->addAction(Foundation::make<UIKit::UIAlertAction>(Foundation::String("Restore from Backup…"), UIKit::UIAlertAction::Style::default_,
                                                            [weak](const std::shared_ptr<UIKit::UIAlertAction>&) {
                                                                auto self = weak.lock();
                                                                if (!self)
                                                                    return;
                                                                self->dependencies().authenticationStore->beginRestoringFromBackup(std::nullopt);
                                                                self->transitionIfRequired(true);
                                                            }));
    auto keepTrying = Foundation::make<UIKit::UIAlertAction>(Foundation::String("Keep Trying"), UIKit::UIAlertAction::Style::cancel);
    alert->addAction(keepTrying);
    alert->setPreferredAction(keepTrying);
    present(alert, true);
}

void AuthenticationCoordinator::didSelectChooseLocation(Shared::AuthenticationVC&)
{
    const auto state = dependencies().authenticationStore->authenticationState();
    if (state.is<AuthenticationState::ChoosingBackupFile>()) {
        presentDocumentPicker(backupDocumentType(), std::nullopt, true);
    } else if (state.is<AuthenticationState::AutomaticBackupsOnboarding>()) {
        auto folder = dependencies().preferenceStore->backupFolder();
        presentDocumentPicker(UniformTypeIdentifiers::UTType::folder(), folder ? folder : documentDirectory(), true);
    }
}

void AuthenticationCoordinator::takeLocation(const std::optional<Foundation::URL>& url)
{
    const auto state = dependencies().authenticationStore->authenticationState();
    if (state.is<AuthenticationState::ChoosingBackupFile>())
        m_selectedFileURL = url;
    else if (state.is<AuthenticationState::AutomaticBackupsOnboarding>())
        dependencies().preferenceStore->setBackupFolder(url);
    transitionIfRequired(true);
}

void AuthenticationCoordinator::didChoose(const Foundation::URL& url, Shared::AuthenticationVC&)
{
    takeLocation(url);
}

void AuthenticationCoordinator::didSelectClearLocation(Shared::AuthenticationVC&)
{
    takeLocation(std::nullopt);
}

void AuthenticationCoordinator::didFailChooseURL(const Foundation::ErrorPtr& error, Shared::AuthenticationVC&)
{
    if (error)
        handleUnexpectedError(*error, Foundation::String("didFailChooseURL(error:authenticationVC:)"));
}

void AuthenticationCoordinator::documentPicker(UIKit::UIDocumentPickerViewController&, const std::vector<Foundation::URL>& urls)
{
    if (urls.empty())
        return;
    takeLocation(urls.front());
}

void AuthenticationCoordinator::presentDocumentPicker(const UniformTypeIdentifiers::UTType& contentType,
                                                      const std::optional<Foundation::URL>& directoryURL, bool animated)
{
    auto picker = Foundation::make<UIKit::UIDocumentPickerViewController>(std::vector {contentType});
    if (directoryURL)
        picker->setDirectoryURL(directoryURL);
    picker->setDelegate(std::static_pointer_cast<UIKit::UIDocumentPickerDelegate>(sharedSelf(this)));
    present(picker, animated);
}

// --- The primary button ------------------------------------------------------------------------------------

bool AuthenticationCoordinator::attempt(const std::function<void()>& operation)
{
    try {
        operation();
        return true;
    } catch (const Foundation::Error& error) {
        handleUnexpectedError(error, primaryActionSignature());
        return false;
    }
}

void AuthenticationCoordinator::attemptWithText(void (Shared::AuthenticationStore::*operation)(const Foundation::String&), const Foundation::String& text)
{
    const auto& store = dependencies().authenticationStore;
    if (attempt([&] { ((*store).*operation)(text); }))
        clearTexts();
}

// A rejected password leaves its message up; Return tries what is typed now rather than only taking the
// message down, so the right password after a wrong one unlocks at once. An empty field, or one held
// back after too many attempts, only takes the message down.
void AuthenticationCoordinator::acknowledgingThenTrying(const std::optional<Shared::EntryAttemptState>& entryAttempt,
                                                        void (Shared::AuthenticationStore::*operation)(const Foundation::String&),
                                                        const Foundation::String& text)
{
    if (entryAttempt) {
        dependencies().authenticationStore->acknowledgeEntryAttempt();
        if (entryAttempt->as<Shared::EntryAttemptState::Disabled>() || text.isEmpty())
            return;
    }
    attemptWithText(operation, text);
}

const Foundation::String& AuthenticationCoordinator::primaryActionSignature()
{
    static const auto& signature = *new Foundation::String("didSelectPrimaryAction(for:authenticationVC:)");
    return signature;
}

void AuthenticationCoordinator::didSelectPrimaryAction(const AuthenticationVState& shownState, Shared::AuthenticationVC&)
{
    // A copy: the screen's own state is replaced while the store's operations post their changes.
    const AuthenticationVState state = shownState;
    std::optional<bool> transitions = createFlowPrimaryAction(state);
    if (!transitions)
        transitions = changeFlowPrimaryAction(state);
    if (!transitions)
        transitions = resetFlowPrimaryAction(state);
    if (!transitions)
        transitions = restoreFlowPrimaryAction(state);
    if (!transitions)
        transitions = otherPrimaryAction(state);
    if (*transitions)
        transitionIfRequired(true);
}

// The screens outside the four flows: unlocking, the onboarding steps, an update or an error.
bool AuthenticationCoordinator::otherPrimaryAction(const AuthenticationVState& state)
{
    using V = AuthenticationVState;
    const auto& services = dependencies();
    const auto& store = services.authenticationStore;
    std::weak_ptr<AuthenticationCoordinator> weak = sharedSelf(this);
    const auto main = Foundation::DispatchQueue::main();
    std::visit(
        [&](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, V::AppUpdateRequired>) {
                URLOpener::open(Shared::Global::AppStore::listing(), std::static_pointer_cast<UIKit::UIViewController>(sharedSelf(this)));
            } else if constexpr (std::is_same_v<T, V::AutoFillOnboarding>) {
                auto finish = [weak] {
                    if (auto self = weak.lock()) {
                        self->dependencies().preferenceStore->setDidCompleteAutoFillOnboarding(true);
                        self->dependencies().recordStore->replaceCredentialStore(std::nullopt);
                    }
                };
                bool asksPermission = value.autoFillAvailability == Shared::RecordStoreAutoFillAvailability::enabled
                    && !value.didConfigureAutoFillExtension && value.isNotificationPermissionPending;
                if (asksPermission)
                    services.userNotificationStore->requestNotificationPermission(main, [finish](bool) { finish(); });
                else
                    finish();
            } else if constexpr (std::is_same_v<T, V::AutomaticBackupsOnboarding>) {
                services.preferenceStore->setDidCompleteBackupOnboarding(true);
            } else if constexpr (std::is_same_v<T, V::MasterPasswordChangedElsewhere>) {
                acknowledgingThenTrying(value.entryAttemptState, &Shared::AuthenticationStore::unlockWithChangedMasterPassword, value.entryText);
            } else if constexpr (std::is_same_v<T, V::Locked>) {
                acknowledgingThenTrying(value.entryAttemptState, &Shared::AuthenticationStore::unlock, value.entryText);
            } else if constexpr (std::is_same_v<T, V::EncounteredError>) {
                auto caller = Foundation::String(std::string(qualifiedTypeName) + "." + primaryActionSignature().utf8()
                                                 + " with state .encounteredError(domain: " + value.domain.utf8()
                                                 + ", code: " + std::to_string(value.code) + ", description: " + value.description.utf8());
                store->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, false, caller);
            } else if constexpr (std::is_same_v<T, V::SyncOnboarding>) {
                services.preferenceStore->setDidCompleteSyncOnboarding(true);
            }
        },
        state.value());
    return true;
}

} // namespace Corvendale
