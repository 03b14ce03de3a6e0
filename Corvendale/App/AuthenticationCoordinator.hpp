#pragma once

#include "Corvendale/App/UnexpectedErrorHandling.hpp"

#include "Shared/AuthenticationVCDelegate.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UIWindow;
}

namespace Shared {
class AuthenticationVC;
}

namespace Corvendale {

class AuthenticationCoordinatorDelegate;

// The lock screen of a scene: its own window at level 500 above the banners and the main window. It
// follows the authentication state: while the vault is locked in any way its window is key and takes
// input and the unlock screen shows the state's screen; once unlocked the main window is key and the
// lock window, still visible, takes no input.
class AuthenticationCoordinator : public Basalwork::CoordinatingViewController,
                                  public Shared::AuthenticationVCDelegate,
                                  public UnexpectedErrorHandling {
public:
    static constexpr double windowLevel = 500;

    static const Foundation::Notification::Name& authenticationCoordinatorDidResetAccount();

    std::shared_ptr<AuthenticationCoordinatorDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AuthenticationCoordinatorDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<UIKit::UIWindow>& mainWindow() const { return m_mainWindow; }
    const std::shared_ptr<UIKit::UIWindow>& authenticationWindow() const { return m_authenticationWindow; }
    const std::shared_ptr<Shared::AuthenticationVC>& authenticationVC() const { return m_authenticationVC; }
    const Foundation::String& entryText() const { return m_entryText; }
    const Foundation::String& reEntryText() const { return m_reEntryText; }

    virtual void startObserving();
    virtual void transitionIfRequired(bool animated);
    // Whether a first fetch from the account has completed (or sync does not hold the lock screen).
    bool hasFinishedInitialFetch() const;

    void viewDidAppear(bool animated) override;
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    // The unlock screen's reports.
    void didSelectCancel(Shared::AuthenticationVC&) override;
    void didUpdateEntryText(const Foundation::String& text, Shared::AuthenticationVC&) override;
    void didUpdateReEntryText(const Foundation::String& text, Shared::AuthenticationVC&) override;
    void didSelectMasterPasswordTips(Shared::AuthenticationVC&) override {}
    void didSelectUnlockWithBiometry(Shared::AuthenticationVC&) override;
    void didSelectPrimaryAction(const Shared::AuthenticationVState& state, Shared::AuthenticationVC&) override;
    void didSelect(Shared::AuthenticationVLink, Shared::AuthenticationVC&) override {}
    void didUpdateIsAutoCopyOTPDisabled(bool, Shared::AuthenticationVC&) override {}
    void didSelectChooseLocation(Shared::AuthenticationVC&) override {}
    void didChoose(const Foundation::URL&, Shared::AuthenticationVC&) override {}
    void didSelectClearLocation(Shared::AuthenticationVC&) override {}
    void didFailChooseURL(const Foundation::ErrorPtr&, Shared::AuthenticationVC&) override {}

protected:
    friend Foundation::Construct;
    // init(mainWindow:authenticationWindow:)
    AuthenticationCoordinator(std::shared_ptr<UIKit::UIWindow> mainWindow, std::shared_ptr<UIKit::UIWindow> authenticationWindow);
    AuthenticationCoordinator(std::shared_ptr<UIKit::UIWindow> mainWindow, std::shared_ptr<UIKit::UIWindow> authenticationWindow,
                              std::shared_ptr<Shared::AuthenticationVC> authenticationVC);
    void initialize() override;

private:
    // The lock window key, visible and taking input.
    void showAuthenticationWindow();
    void setScreenState(Shared::AuthenticationVState state, bool indicatesFailedAttempt, bool activatesEntryField, bool animated);
    // Runs the store operation on the unlock screen's behalf once it has shown its state.
    void defer(std::function<void()> action);
    void clearTexts();

    std::weak_ptr<AuthenticationCoordinatorDelegate> m_delegate;
    std::shared_ptr<UIKit::UIWindow> m_mainWindow;
    std::shared_ptr<UIKit::UIWindow> m_authenticationWindow;
    std::shared_ptr<Shared::AuthenticationVC> m_authenticationVC;
    bool m_isFirstAppear = true;
    Foundation::String m_entryText;
    Foundation::String m_reEntryText;
    std::optional<Foundation::URL> m_selectedFileURL;
};

} // namespace Corvendale
