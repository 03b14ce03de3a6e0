#pragma once

#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIResponder.hpp"

#include <memory>

namespace Foundation {
class NSObject;
}

namespace Corvendale {

// The application's delegate: builds the services on launch, names the scene configuration, cleans up
// at termination, hands pushes to the sync coordinator, and is the last responder for the
// application-wide commands (locking, restoring, the preference commands with their check marks,
// pinning, closing, help and review). Every service is read when used; the delegate holds only its
// connection to the container's pushes, which hands each to the application as a remote notification.
class AppDelegate : public UIKit::UIResponder, public UIKit::UIApplicationDelegate {
public:
    static constexpr const char* className = "Corvendale.AppDelegate";

    bool didFinishLaunchingWithOptions(UIKit::UIApplication& application, const LaunchOptions& launchOptions) override;
    std::shared_ptr<UIKit::UISceneConfiguration> configurationForConnecting(UIKit::UIApplication& application,
                                                                            const std::shared_ptr<UIKit::UISceneSession>& session,
                                                                            const UIKit::UISceneConnectionOptions& options) override;
    void applicationWillTerminate(UIKit::UIApplication& application) override;
    void didReceiveRemoteNotification(UIKit::UIApplication& application, const RemoteNotification& userInfo,
                                      std::function<void(UIKit::UIBackgroundFetchResult)> completion) override;

    // The menu bar, for the main menu system only.
    void buildMenu(UIKit::UIMenuBuilder& builder) override;
    bool canPerformAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& sender) override;
    void validate(const std::shared_ptr<UIKit::UICommand>& command) override;

    void handleLockCommand();
    void handleLockAndRequireMasterPasswordCommand();
    void handleRestoreFromBackupCommand();
    void handlePinMainWindowCommand();
    void handleCloseCommand();
    void showHelp(const std::shared_ptr<Foundation::NSObject>& sender);
    void handleLeaveAReviewCommand();
    // Also the item details' pin command: flips the bridge's pin and keeps what it reads back.
    static void toggleMainWindowPinning();

    ~AppDelegate() override;

protected:
    friend Foundation::Construct;
    AppDelegate() = default;

private:
    std::shared_ptr<Foundation::NSObject> m_pushHandler;
};

// Registers the program's classes that the main loop and the scene manifest name. Once, before
// UIApplicationMain.
void registerProgramClasses();

} // namespace Corvendale
