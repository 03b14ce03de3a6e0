#include "Platform/UIKit/UIWindowScene.hpp"

#include "Platform/AppKit/UINSWindow.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UITitlebar.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIViewControllerTransitionCoordinator.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <algorithm>

namespace UIKit {

void UIWindowScene::initialize()
{
    UIScene::initialize();
    if (m_traitCollection.userInterfaceIdiom == UIUserInterfaceIdiom::mac) {
        m_titlebar = Foundation::make<UITitlebar>();
        m_hostWindow = Foundation::make<AppKit::UINSWindow>();
    }
    auto& scenes = UIApplication::shared()->m_connectedScenes;
    std::erase_if(scenes, [](const std::weak_ptr<UIWindowScene>& scene) { return scene.expired(); });
    scenes.push_back(weakSelf(this));
}

std::vector<std::shared_ptr<UIWindow>> UIWindowScene::windows() const
{
    std::vector<std::shared_ptr<UIWindow>> result;
    for (const auto& weak : m_windows)
        if (auto window = weak.lock())
            result.push_back(std::move(window));
    return result;
}

std::shared_ptr<UIWindow> UIWindowScene::keyWindow() const
{
    auto window = m_keyWindow.lock();
    return window && window->windowScene().get() == this ? window : nullptr;
}

void UIWindowScene::removeWindow(const UIWindow* window)
{
    std::erase_if(m_windows, [window](const std::weak_ptr<UIWindow>& weak) {
        auto held = weak.lock();
        return !held || held.get() == window;
    });
}

void UIWindowScene::setTraitCollection(const UITraitCollection& traits)
{
    if (traits == m_traitCollection)
        return;
    auto windows = this->windows();
    // The windows' controllers, presented ones included, hear of the change before it is applied.
    auto coordinator = Foundation::make<UIViewControllerTransitionCoordinator>();
    for (const auto& window : windows) {
        if (const auto& root = window->rootViewController())
            root->willTransition(traits, coordinator);
        for (const auto& controller : window->presentedViewControllers())
            controller->willTransition(traits, coordinator);
    }
    UIView::changeTraits({windows.begin(), windows.end()}, [&] { m_traitCollection = traits; });
    coordinator->runAlongside();
    Foundation::DispatchQueue::main()->async([coordinator] { coordinator->complete(); });
}

std::shared_ptr<UIResponder> UIWindowScene::next() const
{
    return UIApplication::shared();
}

} // namespace UIKit
