#include "Platform/UIKit/UITabBarController.hpp"

#include "Platform/UIKit/UITab.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <utility>

namespace UIKit {

void UITabBarController::initialize()
{
    UIViewController::initialize();
    if (!m_pendingTabs.empty())
        setTabs(std::exchange(m_pendingTabs, {}), false);
}

void UITabBarController::loadView()
{
    UIViewController::loadView();
    showSelected(nullptr, false);
}

void UITabBarController::showSelected(const std::shared_ptr<UIViewController>& previous, bool animated)
{
    auto selected = selectedViewController();
    if (!isViewLoaded() || previous == selected)
        return;
    const bool visible = isViewVisible();
    if (visible && previous)
        beginHeldAppearance(previous, false, animated);
    if (visible && selected) {
        selected->loadViewIfNeeded();
        beginHeldAppearance(selected, true, animated);
    }
    if (auto view = previous ? previous->viewIfLoaded() : nullptr; view && view->superview() == this->view())
        view->removeFromSuperview();
    if (selected) {
        const auto& view = selected->view();
        view->setFrame(this->view()->bounds());
        view->setAutoresizingMask(UIView::AutoresizingMask::flexibleWidth() | UIView::AutoresizingMask::flexibleHeight());
        this->view()->addSubview(view);
    }
    if (visible && previous)
        endHeldAppearance(previous);
    if (visible && selected)
        endHeldAppearance(selected);
}

void UITabBarController::setTabs(std::vector<std::shared_ptr<UITab>> tabs, bool animated)
{
    auto previous = selectedViewController();
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
    showSelected(previous, animated);
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
    if (index >= m_tabs.size() || index == m_selectedIndex)
        return;
    auto previous = selectedViewController();
    m_selectedIndex = index;
    showSelected(previous, false);
}

std::shared_ptr<UIViewController> UITabBarController::selectedViewController() const
{
    return m_selectedIndex < m_tabs.size() ? m_tabs[m_selectedIndex]->viewController() : nullptr;
}

} // namespace UIKit
