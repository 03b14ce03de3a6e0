#pragma once

#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Screens/AuthenticationVCDelegate.hpp"
#include "Shared/Screens/MasterPasswordTipsVCDelegate.hpp"

#include "Basalwork/Base/ResultHandler.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/Result.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIDocumentPickerDelegate.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace UIKit {
class UICommand;
class UIWindow;
} // namespace UIKit

namespace Shared {
class AuthenticationState;
class AuthenticationStore;
class AuthenticationVC;
class BackupStoreRestoreOutcome;
class EntryAttemptState;
} // namespace Shared

namespace Corvendale {

class AuthenticationCoordinatorDelegate;

// The lock screen of a scene: its own window at level 500 above the banners and the main window. It
// follows the authentication state: while the vault is locked in any way its window is key and takes
// input and the unlock screen shows the state's screen; once unlocked the main window is key and the
// lock window, still visible, takes no input. What the person does there (the primary button of each
// screen, biometry, files and folders, the account reset, restoring a backup) goes to the
// authentication store, after which the screen follows the store's new state.
class AuthenticationCoordinator : public Basalwork::CoordinatingViewController,
                                  public Shared::AuthenticationVCDelegate,
                                  public Shared::MasterPasswordTipsVCDelegate,
                                  public UIKit::UIDocumentPickerDelegate,
                                  public UnexpectedErrorHandling {
public:
    using ResetResultHandler = Basalwork::ResultHandler<Foundation::Result<void>>;

    static constexpr double windowLevel = 500;
    static constexpr const char* qualifiedTypeName = "Corvendale.AuthenticationCoordinator";
    // The files a restore opens.
    static UniformTypeIdentifiers::UTType backupDocumentType();

    static const Foundation::Notification::Name& authenticationCoordinatorDidResetAccount();

    std::shared_ptr<AuthenticationCoordinatorDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AuthenticationCoordinatorDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<UIKit::UIWindow>& mainWindow() const { return m_mainWindow; }
    const std::shared_ptr<UIKit::UIWindow>& authenticationWindow() const { return m_authenticationWindow; }
    const std::shared_ptr<Shared::AuthenticationVC>& authenticationVC() const { return m_authenticationVC; }
    const Foundation::String& entryText() const { return m_entryText; }
    const Foundation::String& reEntryText() const { return m_reEntryText; }
    const std::optional<Foundation::URL>& selectedFileURL() const { return m_selectedFileURL; }

    virtual void startObserving();
    // Posts authenticationCoordinatorDidResetAccount on a later turn of the main queue.
    virtual void notifyDidResetAccount();
    // Another device reset the account: the local records and the sync state go, and the vault locks
    // to be set up afresh.
    virtual void handleUserDidResetCorvendaleRemotely();
    virtual void transitionIfRequired(bool animated);
    virtual void presentDocumentPicker(const UniformTypeIdentifiers::UTType& contentType, const std::optional<Foundation::URL>& directoryURL,
                                       bool animated);
    // Deletes the account's data on iCloud (when an account is signed in), then the local records and the
    // sync state. Every step's failure reaches the handler and stops the reset before anything is
    // announced or synced, so a failed reset can be tried again.
    virtual void resetAccount(ResetResultHandler resultHandler);
    // A mail draft reporting the restore failure the screen shows.
    void presentRestoreFailureReport(bool animated);
    // Whether a first fetch from the account has completed (or sync does not hold the lock screen).
    bool hasFinishedInitialFetch() const;

    void viewDidAppear(bool animated) override;
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    // The menu commands the lock screen answers.
    void handleUnlockWithAvailableBiometryCommand();
    void handleSendDebugInfoCommand();
    bool canPerformAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& sender) override;
    void validate(const std::shared_ptr<UIKit::UICommand>& command) override;

    // The unlock screen's reports.
    void didSelectCancel(Shared::AuthenticationVC&) override;
    void didUpdateEntryText(const Foundation::String& text, Shared::AuthenticationVC&) override;
    void didUpdateReEntryText(const Foundation::String& text, Shared::AuthenticationVC&) override;
    void didSelectMasterPasswordTips(Shared::AuthenticationVC&) override;
    void didSelectUnlockWithBiometry(Shared::AuthenticationVC&) override;
    void didSelectPrimaryAction(const Shared::AuthenticationVState& state, Shared::AuthenticationVC&) override;
    void didSelect(Shared::AuthenticationVLink link, Shared::AuthenticationVC&) override;
    void didUpdateIsAutoCopyOTPDisabled(bool, Shared::AuthenticationVC&) override {}
    void didSelectChooseLocation(Shared::AuthenticationVC&) override;
    void didChoose(const Foundation::URL& url, Shared::AuthenticationVC&) override;
    void didSelectClearLocation(Shared::AuthenticationVC&) override;
    void didFailChooseURL(const Foundation::ErrorPtr& error, Shared::AuthenticationVC&) override;

    // The tips are read.
    void didFinish(Shared::MasterPasswordTipsVC& masterPasswordTipsVC) override;
    // documentPicker(_:didPickDocumentsAt:)
    void documentPicker(UIKit::UIDocumentPickerViewController& controller, const std::vector<Foundation::URL>& urls) override;

protected:
    friend Foundation::Construct;
    // init(mainWindow:authenticationWindow:)
    AuthenticationCoordinator(std::shared_ptr<UIKit::UIWindow> mainWindow, std::shared_ptr<UIKit::UIWindow> authenticationWindow);
    AuthenticationCoordinator(std::shared_ptr<UIKit::UIWindow> mainWindow, std::shared_ptr<UIKit::UIWindow> authenticationWindow,
                              std::shared_ptr<Shared::AuthenticationVC> authenticationVC);
    void initialize() override;
    // Resets the local records and the sync state; throws the first failure.
    virtual void resetLocalRecordsAndSyncState();

private:
    // The lock window key, visible and taking input.
    void showAuthenticationWindow();
    void setScreenState(Shared::AuthenticationVState state, bool indicatesFailedAttempt, bool activatesEntryField, bool animated);
    // Runs the store operation on the unlock screen's behalf once it has shown its state.
    void defer(std::function<void()> action);
    void clearTexts();
    // What a forgotten master password leaves: restoring a backup, or trying again.
    void presentForgotPasswordHelp();
    // A hold after too many rejected passwords ends by the clock alone: the screen is shown again then.
    void followEndOfHold(const Shared::AuthenticationState& state);
    // The location of the restore's file (authentication state 28) or of the backups (16) is now `url`.
    void takeLocation(const std::optional<Foundation::URL>& url);
    // The primary button, one helper per flow (each in a file of its own): nothing for a screen of
    // another flow, else whether the screen then follows the store's new state.
    std::optional<bool> createFlowPrimaryAction(const Shared::AuthenticationVState& state);
    std::optional<bool> changeFlowPrimaryAction(const Shared::AuthenticationVState& state);
    std::optional<bool> resetFlowPrimaryAction(const Shared::AuthenticationVState& state);
    std::optional<bool> restoreFlowPrimaryAction(const Shared::AuthenticationVState& state);
    bool otherPrimaryAction(const Shared::AuthenticationVState& state);
    // Runs a store operation for the primary button; a failure shows the error alert. True when it
    // succeeded.
    bool attempt(const std::function<void()>& operation);
    // The same for an operation on the typed password, which clears the fields once it succeeded.
    void attemptWithText(void (Shared::AuthenticationStore::*operation)(const Foundation::String&), const Foundation::String& text);
    void acknowledgingThenTrying(const std::optional<Shared::EntryAttemptState>& entryAttempt,
                                 void (Shared::AuthenticationStore::*operation)(const Foundation::String&), const Foundation::String& text);
    static const Foundation::String& primaryActionSignature();
    // The account reset's outcome, on the main queue.
    void performAccountReset(const Foundation::Result<void>& result);
    // The backup store's answers: the backup opens (state 11), and it replaced the vault (state 12).
    void backupWasRead(const Shared::BackupStoreRestoreOutcome& outcome, const Foundation::URL& fileURL, const Foundation::String& password);
    void backupWasRestored(const Shared::BackupStoreRestoreOutcome& outcome);

    std::weak_ptr<AuthenticationCoordinatorDelegate> m_delegate;
    std::shared_ptr<UIKit::UIWindow> m_mainWindow;
    std::shared_ptr<UIKit::UIWindow> m_authenticationWindow;
    std::shared_ptr<Shared::AuthenticationVC> m_authenticationVC;
    bool m_isFirstAppear = true;
    // Once the first fetch let the screens through, a later sync never takes them back (and what is
    // being typed with them); a reset of the local records waits for a fetch again. Set from the reset's
    // queue too.
    std::atomic<bool> m_hasPassedInitialFetch = false;
    Foundation::String m_entryText;
    Foundation::String m_reEntryText;
    std::optional<Foundation::URL> m_selectedFileURL;
    // When the hold on entering a password that the screen waits out ends.
    std::optional<Foundation::Date> m_holdEndsAt;
};

} // namespace Corvendale
