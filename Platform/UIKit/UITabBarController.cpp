#include "Platform/UIKit/UITabBarController.hpp"

#include "Platform/UIKit/UITab.hpp"

#include <utility>

namespace UIKit {

void UITabBarController::initialize()
{
    UIViewController::initialize();
    if (!m_pendingTabs.empty())
        setTabs(std::exchange(m_pendingTabs, {}), false);
}

void UITabBarController::setTabs(std::vector<std::shared_ptr<UITab>> tabs, bool /*animated*/)
{
    for (const auto& controller : viewControllers()) {
        controller->willMove(nullptr);
        controller->removeFromParent();
    }
    m_tabs = std::move(tabs);
    auto self = sharedSelf(this);
    for (const auto& controller : viewControllers()) {
        addChild(controller);
        controller->didMove(self);
    }
    if (m_selectedIndex >= m_tabs.size())
        m_selectedIndex = 0;
}

std::vector<std::shared_ptr<UIViewController>> UITabBarController::viewControllers() const
{
    std::vector<std::shared_ptr<UIViewController>> controllers;
    for (const auto& tab : m_tabs) {
        if (const auto& controller = tab->viewController())
            controllers.push_back(controller);
    }
    return controllers;
}

void UITabBarController::setSelectedIndex(std::size_t index)
{
    if (index < m_tabs.size())
        m_selectedIndex = index;
}

std::shared_ptr<UIViewController> UITabBarController::selectedViewController() const
{
    return m_selectedIndex < m_tabs.size() ? m_tabs[m_selectedIndex]->viewController() : nullptr;
}

} // namespace UIKit
