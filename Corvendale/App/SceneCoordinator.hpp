#pragma once

#include "Corvendale/App/AuthenticationCoordinatorDelegate.hpp"
#include "Corvendale/App/MainCoordinatorDelegate.hpp"
#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"
#include "Basalwork/Interface/UserInteractionMonitorDelegate.hpp"

#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>

namespace Basalwork {
class UserInteractionMonitor;
}

namespace UIKit {
class UIWindow;
class UIWindowScene;
} // namespace UIKit

namespace Corvendale {

class AuthenticationCoordinator;
class InAppNotificationC;
class MainCoordinator;

// The root of a scene: the main window's controller, embedding the main coordinator, with the banner
// window (level 490) and the lock window (level 500) above it. It locks after the auto-lock interval of
// inactivity and routes the files the system opens with the program.
class SceneCoordinator : public Basalwork::CoordinatingViewController,
                         public UnexpectedErrorHandling,
                         public MainCoordinatorDelegate,
                         public AuthenticationCoordinatorDelegate,
                         public Basalwork::UserInteractionMonitorDelegate,
                         public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    // The inactivity threshold of the auto-lock preference (by case index); none: never.
    static std::optional<double> inactivityThreshold(std::int64_t autoLockCaseIndex);

    const std::shared_ptr<UIKit::UIWindowScene>& windowScene() const { return m_windowScene; }
    const std::shared_ptr<AuthenticationCoordinator>& authenticationCoordinator() const { return m_authenticationCoordinator; }
    const std::shared_ptr<MainCoordinator>& mainCoordinator() const { return m_mainCoordinator; }
    // The scene is gone: its windows hide and let go of their controllers, which hold them in turn.
    void closeWindows();
    const std::shared_ptr<Basalwork::UserInteractionMonitor>& userInteractionMonitor() const { return m_userInteractionMonitor; }
    const std::optional<Foundation::URL>& urlToHandleOnAuthentication() const { return m_urlToHandleOnAuthentication; }

    virtual void startObserving();
    virtual void authenticationStateDidChange();
    virtual void updateInactivityThreshold();
    virtual void handle(const Foundation::URL& url);

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void update(const Shared::Settings::Appearance&) override {}
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    std::shared_ptr<InAppNotificationC> inAppNotificationC() const override { return m_inAppNotificationC; }
    void didSelectReplaceExistingDataWithiCloudData(MainCoordinator& mainCoordinator) override;
    void didExceedInactivityTimeoutThreshold(Basalwork::UserInteractionMonitor& monitor) override;

protected:
    friend Foundation::Construct;
    // init(windowScene:mainWindow:); throws what making the lock screen threw.
    SceneCoordinator(std::shared_ptr<UIKit::UIWindowScene> windowScene, std::shared_ptr<UIKit::UIWindow> mainWindow);
    void initialize() override;

private:
    std::shared_ptr<UIKit::UIWindowScene> m_windowScene;
    std::shared_ptr<UIKit::UIWindow> m_mainWindow;
    std::shared_ptr<AuthenticationCoordinator> m_authenticationCoordinator;
    std::shared_ptr<InAppNotificationC> m_inAppNotificationC;
    std::shared_ptr<MainCoordinator> m_mainCoordinator;
    std::shared_ptr<Basalwork::UserInteractionMonitor> m_userInteractionMonitor;
    bool m_isFirstAppear = true;
    std::optional<Foundation::URL> m_urlToHandleOnAuthentication;
};

} // namespace Corvendale
