#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIBackgroundFetchResult.hpp"
#include "Platform/UIKit/UIBackgroundTaskIdentifier.hpp"
#include "Platform/UIKit/UIContentSizeCategory.hpp"
#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UIScene.ConnectionOptions.hpp"
#include "Platform/UIKit/UIUserInterfaceLayoutDirection.hpp"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace Foundation {
class DispatchWorkItem;
}

namespace UIKit {

class UIApplicationDelegate;
class UIEvent;
class UISceneSession;
class UIWindow;
class UIWindowScene;

// The running application: its scenes, its key window and the entry point of every event. It launches
// (`UIApplicationMain`, or `launch` where a test or driver turns the main loop itself), connects its
// scenes from the scene manifest, moves between the active, inactive and background states with the
// platform's announcements, grants background time, takes pushes for its delegate and opens URLs.
class UIApplication : public UIResponder {
public:
    enum class State : std::int64_t;
    using LaunchOptions = std::map<Foundation::String, std::any>;
    using RemoteNotification = Foundation::PropertyListValue::Dictionary;

    static const std::shared_ptr<UIApplication>& shared();

    // Posted on the default centre with the application as object.
    static const Foundation::Notification::Name& didFinishLaunchingNotification();
    static const Foundation::Notification::Name& didBecomeActiveNotification();
    static const Foundation::Notification::Name& willResignActiveNotification();
    static const Foundation::Notification::Name& didEnterBackgroundNotification();
    static const Foundation::Notification::Name& willEnterForegroundNotification();
    static const Foundation::Notification::Name& willTerminateNotification();

    // What UIApplicationMain does before it turns the main loop: keeps the delegate, tells it that
    // launching finished, connects a scene for the application's windows and makes it active. The
    // application is inactive until then.
    void launch(std::shared_ptr<UIApplicationDelegate> delegate, const LaunchOptions& launchOptions = {});
    // The system connects a window scene: a session for the windows' role, the configuration the
    // delegate names (else the manifest's first), a delegate of the configuration's class (an unknown
    // class stops the program: the manifest ships with it), `willConnectTo`, then the scene takes the
    // application's state. The application keeps the scene until it disconnects.
    std::shared_ptr<UIWindowScene> connectScene(UISceneConnectionOptions options = {});
    // The system drops the scene: `sceneDidDisconnect`, then its delegate and session are released.
    void disconnect(const std::shared_ptr<UIWindowScene>& scene);
    // The system asks the application to open URLs: the first connected scene's delegate gets them;
    // with no scene connected, a new one connects with them in its options.
    void openURLContexts(std::vector<std::shared_ptr<UIOpenURLContext>> urlContexts);
    // The application ends: `applicationWillTerminate`, the announcement, every scene disconnects, the
    // delegate is released and the main loop stops.
    void terminate();
    bool isTerminating() const { return m_isTerminating; }

    std::vector<std::shared_ptr<UIWindowScene>> connectedScenes() const;
    // The windows of every connected scene, scene by scene.
    std::vector<std::shared_ptr<UIWindow>> windows() const;
    std::shared_ptr<UIWindow> keyWindow() const { return m_keyWindow.lock(); }
    // The visible windows, the frontmost first.
    std::vector<std::shared_ptr<UIWindow>> windowsFrontToBack() const;

    State applicationState() const { return m_applicationState; }
    // The system (the program's driver, or a test) moves the application. The way passes through the
    // states between (active, inactive, background), each step telling the connected scenes' delegates
    // and posting its announcement.
    void setApplicationState(State state);

    // The user's text size; large until the user picks another. A change is announced with
    // `UIContentSizeCategory::didChangeNotification()`, from the application.
    const UIContentSizeCategory& preferredContentSizeCategory() const { return m_preferredContentSizeCategory; }
    void setPreferredContentSizeCategory(UIContentSizeCategory category);

    // The text of the URL that opens the application's own page in the system's settings.
    static const Foundation::String& openSettingsURLString();
    using OpenExternalURLOptions = std::map<Foundation::String, std::any>;
    // open(_:options:completionHandler:): hands the URL to the system, which opens it; the completion
    // learns the outcome on a later turn of the main loop. Every URL is recorded; only a program that
    // installed an external handler has it opened on the desktop.
    void open(const Foundation::URL& url, const OpenExternalURLOptions& options = {},
              std::function<void(bool success)> completionHandler = nullptr);
    // Every URL opened, oldest first.
    const std::vector<Foundation::URL>& openedURLs() const { return m_openedURLs; }
    // Whether something would open the URL: the external handler's answer, else any URL with a scheme.
    bool canOpenURL(const Foundation::URL& url) const;
    // Where opened URLs go on the desktop: the running program installs one; nothing does in tests.
    struct ExternalURLHandler {
        std::function<bool(const Foundation::URL&)> canOpen;
        std::function<void(const Foundation::URL&, std::function<void(bool success)> completion)> open;
    };
    static void setExternalURLHandler(ExternalURLHandler handler);

    // Background time: work that must finish once the application has gone to the background. A task
    // runs until it is ended; in the background every task has `backgroundTaskTimeLimit` seconds from
    // the move, after which its expiration handler runs on the main queue and must end the task (one
    // that does not is ended for it). None is granted once the time is up. Begin, end and the reads are
    // safe from any thread.
    static constexpr double backgroundTaskTimeLimit = 30;
    UIBackgroundTaskIdentifier beginBackgroundTask(std::optional<Foundation::String> withName,
                                                   std::function<void()> expirationHandler);
    // A task that is not running (ended already, or invalid) is ignored.
    void endBackgroundTask(UIBackgroundTaskIdentifier identifier);
    // The running tasks' names (empty texts for unnamed ones), oldest first.
    std::vector<Foundation::String> backgroundTaskNames() const;
    // Unlimited (the largest finite number) outside the background.
    double backgroundTimeRemaining() const;
    // The system takes the background time back now (the program's driver, or a test): on the main
    // thread, every running task hears of it through its expiration handler.
    void expireBackgroundTasks();

    // Pushes reach the delegate only after the application registered; the delegate then hears of a
    // device token on a later turn.
    void registerForRemoteNotifications();
    void unregisterForRemoteNotifications();
    bool isRegisteredForRemoteNotifications() const { return m_isRegisteredForRemoteNotifications; }
    // The system hands a push to the application: to the delegate's `didReceiveRemoteNotification` when
    // registered, else it is dropped. `completion` hears what the delegate reports (no data when dropped).
    void deliverRemoteNotification(const RemoteNotification& userInfo,
                                   std::function<void(UIBackgroundFetchResult)> completion = nullptr);

    // Alternate application icons: the name of the one in use (none: the primary icon). Nothing on this
    // platform shows the icon; the choice is only recorded. A change is reported on a later turn of the
    // main loop; a name the program does not ship, or a system without alternate icons, fails it.
    bool supportsAlternateIcons() const { return m_supportsAlternateIcons; }
    void setSupportsAlternateIcons(bool supports) { m_supportsAlternateIcons = supports; }
    const std::optional<Foundation::String>& alternateIconName() const { return m_alternateIconName; }
    void setAlternateIconName(std::optional<Foundation::String> name, std::function<void(Foundation::ErrorPtr)> completionHandler);
    // The alternate icons the program ships.
    void setAvailableAlternateIconNames(std::vector<Foundation::String> names) { m_availableAlternateIconNames = std::move(names); }

    // Left to right unless the program's driver (or a test) says otherwise.
    UIUserInterfaceLayoutDirection userInterfaceLayoutDirection() const { return m_userInterfaceLayoutDirection; }
    void setUserInterfaceLayoutDirection(UIUserInterfaceLayoutDirection direction)
    {
        m_userInterfaceLayoutDirection = direction;
    }

    // Hands the event to its window: the window of its touches, the window it names, else the key window.
    // A touch that begins at a point on the screen goes to the frontmost visible window whose hit test
    // answers there; a window that answers nothing lets it through to the ones behind.
    virtual void sendEvent(const std::shared_ptr<UIEvent>& event);

    // The delegate the program made for the main loop; the application keeps it for the process's life.
    std::shared_ptr<UIApplicationDelegate> delegate() const { return m_delegate; }
    void setDelegate(std::shared_ptr<UIApplicationDelegate> delegate) { m_delegate = std::move(delegate); }
    // The delegate, when it is a responder.
    std::shared_ptr<UIResponder> next() const override;

    // sendAction(_:to:from:for:): a target receives the action directly (false when it does not answer
    // it); without one it goes to the first responder along the chain that can perform it. The action
    // gets the sender and the event as far as its selector takes arguments.
    bool sendAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& to,
                    const std::shared_ptr<Foundation::NSObject>& from, const std::shared_ptr<UIEvent>& for_);
    // Where an action sent to no target goes: along the chain from the key window's first responder (the
    // key window without one, the application without a key window).
    std::shared_ptr<UIResponder> targetOfFirstResponder(Foundation::Selector action,
                                                        const std::shared_ptr<Foundation::NSObject>& sender);

protected:
    friend Foundation::Construct;
    UIApplication();
    void initialize() override;

private:
    struct BackgroundTask;

    friend class UIWindow;
    void placeTouches(const std::shared_ptr<UIEvent>& event);
    // One step of the way between two neighbouring states.
    void step(State to);
    bool isRunning(UIBackgroundTaskIdentifier identifier) const;
    friend class UIWindowScene;
    std::vector<std::weak_ptr<UIWindowScene>> m_connectedScenes;
    // The scenes the system connected, with their sessions.
    std::vector<std::pair<std::shared_ptr<UIWindowScene>, std::shared_ptr<UISceneSession>>> m_systemScenes;
    std::weak_ptr<UIWindow> m_keyWindow;
    State m_applicationState;
    bool m_isTerminating = false;
    bool m_isRegisteredForRemoteNotifications = false;
    // Guards the tasks and the deadline, which other threads read.
    mutable std::mutex m_backgroundMutex;
    std::vector<BackgroundTask> m_backgroundTasks;
    std::int64_t m_lastBackgroundTaskIdentifier = 0;
    std::optional<double> m_backgroundDeadline;
    std::shared_ptr<Foundation::DispatchWorkItem> m_backgroundExpiry;
    UIContentSizeCategory m_preferredContentSizeCategory = UIContentSizeCategory::large();
    std::vector<Foundation::URL> m_openedURLs;
    std::shared_ptr<UIApplicationDelegate> m_delegate;
    UIUserInterfaceLayoutDirection m_userInterfaceLayoutDirection = UIUserInterfaceLayoutDirection::leftToRight;
    bool m_supportsAlternateIcons = true;
    std::optional<Foundation::String> m_alternateIconName;
    std::vector<Foundation::String> m_availableAlternateIconNames;
};

} // namespace UIKit

#include "Platform/UIKit/UIApplication.State.hpp"
