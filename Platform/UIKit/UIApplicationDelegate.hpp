#pragma once

#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/UIKit/UIBackgroundFetchResult.hpp"
#include "Platform/UIKit/UIScene.ConnectionOptions.hpp"

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace Foundation {
class Data;
class Error;
} // namespace Foundation

namespace UIKit {

class UIApplication;
class UISceneConfiguration;
class UISceneSession;

// The application's delegate: the object the program hands the main loop. A delegate that is also a
// responder is the last responder of every chain. Every call is on the main thread; what a delegate
// does not implement does nothing.
class UIApplicationDelegate {
public:
    using LaunchOptions = std::map<Foundation::String, std::any>;
    using RemoteNotification = Foundation::PropertyListValue::Dictionary;

    virtual ~UIApplicationDelegate() = default;

    // application(_:didFinishLaunchingWithOptions:)
    virtual bool didFinishLaunchingWithOptions(UIApplication& /*application*/, const LaunchOptions& /*launchOptions*/) { return true; }
    // application(_:configurationForConnecting:options:): none lets the system take the scene manifest's
    // first configuration for the session's role.
    virtual std::shared_ptr<UISceneConfiguration> configurationForConnecting(UIApplication& /*application*/,
                                                                             const std::shared_ptr<UISceneSession>& /*connectingSceneSession*/,
                                                                             const UISceneConnectionOptions& /*options*/)
    {
        return nullptr;
    }
    // application(_:didDiscardSceneSessions:)
    virtual void didDiscardSceneSessions(UIApplication& /*application*/, const std::vector<std::shared_ptr<UISceneSession>>& /*sceneSessions*/) {}
    virtual void applicationWillTerminate(UIApplication& /*application*/) {}

    // application(_:didRegisterForRemoteNotificationsWithDeviceToken:)
    virtual void didRegisterForRemoteNotificationsWithDeviceToken(UIApplication& /*application*/, const Foundation::Data& /*deviceToken*/) {}
    // application(_:didFailToRegisterForRemoteNotificationsWithError:)
    virtual void didFailToRegisterForRemoteNotificationsWithError(UIApplication& /*application*/, const Foundation::Error& /*error*/) {}
    // application(_:didReceiveRemoteNotification:fetchCompletionHandler:): the handler is to be called
    // once, when the work the push started is done. Not implemented, the push completes without data.
    virtual void didReceiveRemoteNotification(UIApplication& /*application*/, const RemoteNotification& /*userInfo*/,
                                              std::function<void(UIBackgroundFetchResult)> fetchCompletionHandler)
    {
        fetchCompletionHandler(UIBackgroundFetchResult::noData);
    }

protected:
    UIApplicationDelegate() = default;
    UIApplicationDelegate(const UIApplicationDelegate&) = default;
    UIApplicationDelegate& operator=(const UIApplicationDelegate&) = default;
};

} // namespace UIKit
