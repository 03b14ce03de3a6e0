#include "Corvendale/App/SceneDelegate.hpp"

#include "Corvendale/App/SceneCoordinator.hpp"

#include "Basalwork/Interface/UserInteractionNotifyingWindow.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UITitlebar.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <utility>

namespace Corvendale {

std::shared_ptr<UIKit::UIWindow> SceneDelegate::window() const
{
    return m_window;
}

void SceneDelegate::willConnectTo(UIKit::UIScene& scene, UIKit::UISceneSession&, const UIKit::UISceneConnectionOptions& options)
{
    auto windowScene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(scene.shared_from_this());
    if (!windowScene)
        return;
    m_window = Foundation::make<Basalwork::UserInteractionNotifyingWindow>(windowScene);
    try {
        m_sceneCoordinator = Foundation::make<SceneCoordinator>(windowScene, m_window);
    } catch (const Foundation::Error& error) {
        Foundation::fatalError("The scene coordinator could not be made: " + error.localizedDescription());
    }
    if (const auto& titlebar = windowScene->titlebar()) {
        titlebar->setTitleVisibility(UIKit::UITitlebar::TitleVisibility::hidden);
        titlebar->setToolbar(nullptr);
    }
    if (!options.urlContexts.empty())
        m_sceneCoordinator->handle(options.urlContexts.front()->url());
}

void SceneDelegate::openURLContexts(UIKit::UIScene&, const std::vector<std::shared_ptr<UIKit::UIOpenURLContext>>& urlContexts)
{
    if (!urlContexts.empty() && m_sceneCoordinator)
        m_sceneCoordinator->handle(urlContexts.front()->url());
}

void SceneDelegate::sceneDidDisconnect(UIKit::UIScene&)
{
    if (auto coordinator = std::exchange(m_sceneCoordinator, nullptr))
        coordinator->closeWindows();
}

} // namespace Corvendale
