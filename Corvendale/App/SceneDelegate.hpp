#pragma once

#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UIWindowSceneDelegate.hpp"

#include <memory>

namespace Basalwork {
class UserInteractionNotifyingWindow;
}

namespace Corvendale {

class SceneCoordinator;

// Each window scene's delegate: makes the main window and the scene coordinator when the scene connects
// and hands it the URLs the system opens with the program.
class SceneDelegate : public UIKit::UIResponder, public UIKit::UIWindowSceneDelegate {
public:
    static constexpr const char* className = "Corvendale.SceneDelegate";

    std::shared_ptr<UIKit::UIWindow> window() const override;
    const std::shared_ptr<SceneCoordinator>& sceneCoordinator() const { return m_sceneCoordinator; }

    void willConnectTo(UIKit::UIScene& scene, UIKit::UISceneSession& session, const UIKit::UISceneConnectionOptions& options) override;
    void openURLContexts(UIKit::UIScene& scene, const std::vector<std::shared_ptr<UIKit::UIOpenURLContext>>& urlContexts) override;
    void sceneDidDisconnect(UIKit::UIScene& scene) override;

protected:
    friend Foundation::Construct;
    SceneDelegate() = default;

private:
    std::shared_ptr<Basalwork::UserInteractionNotifyingWindow> m_window;
    std::shared_ptr<SceneCoordinator> m_sceneCoordinator;
};

} // namespace Corvendale
