#pragma once

#include "Platform/UIKit/UIScene.ConnectionOptions.hpp"

#include <memory>
#include <vector>

namespace UIKit {

class UIScene;
class UISceneSession;

// What a scene tells its delegate about its life. The scene keeps its delegate, made from the class its
// configuration names, for as long as it is connected. Every call is on the main thread.
class UISceneDelegate {
public:
    virtual ~UISceneDelegate() = default;

    // scene(_:willConnectTo:options:)
    virtual void willConnectTo(UIScene& /*scene*/, UISceneSession& /*session*/, const UISceneConnectionOptions& /*options*/) {}
    virtual void sceneDidDisconnect(UIScene& /*scene*/) {}
    virtual void sceneDidBecomeActive(UIScene& /*scene*/) {}
    virtual void sceneWillResignActive(UIScene& /*scene*/) {}
    virtual void sceneWillEnterForeground(UIScene& /*scene*/) {}
    virtual void sceneDidEnterBackground(UIScene& /*scene*/) {}
    // scene(_:openURLContexts:): URLs the system asks the running scene to open.
    virtual void openURLContexts(UIScene& /*scene*/, const std::vector<std::shared_ptr<UIOpenURLContext>>& /*urlContexts*/) {}

protected:
    UISceneDelegate() = default;
    UISceneDelegate(const UISceneDelegate&) = default;
    UISceneDelegate& operator=(const UISceneDelegate&) = default;
};

} // namespace UIKit
