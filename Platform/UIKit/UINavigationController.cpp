#include "Platform/UIKit/UINavigationController.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UINavigationBar.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>

namespace UIKit {

UINavigationController::UINavigationController()
    : m_navigationBar(Foundation::make<UINavigationBar>())
{
}

UINavigationController::UINavigationController(std::optional<Foundation::String> nibName,
                                               std::shared_ptr<Foundation::Bundle> bundle)
    : UIViewController(std::move(nibName), std::move(bundle))
    , m_navigationBar(Foundation::make<UINavigationBar>())
{
}

void UINavigationController::loadView()
{
    UIViewController::loadView();
    if (auto top = topViewController())
        show(top);
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const
{
    return m_viewControllers.empty() ? nullptr : m_viewControllers.back();
}

void UINavigationController::setViewControllers(std::vector<std::shared_ptr<UIViewController>> viewControllers,
                                                bool /*animated*/)
{
    for (const auto& controller : viewControllers)
        Foundation::precondition(controller != nullptr, "A navigation stack cannot hold a null controller");
    auto previousTop = topViewController();
    for (const auto& controller : m_viewControllers) {
        if (std::find(viewControllers.begin(), viewControllers.end(), controller) == viewControllers.end()) {
            hide(controller);
            controller->willMove(nullptr);
            controller->removeFromParent();
        }
    }
    auto self = sharedSelf(this);
    for (const auto& controller : viewControllers) {
        if (controller->parent() != self) {
            addChild(controller);
            controller->didMove(self);
        }
    }
    m_viewControllers = std::move(viewControllers);
    auto top = topViewController();
    if (previousTop && previousTop != top)
        hide(previousTop);
    if (top)
        show(top);
}

void UINavigationController::pushViewController(const std::shared_ptr<UIViewController>& viewController, bool animated)
{
    Foundation::precondition(std::find(m_viewControllers.begin(), m_viewControllers.end(), viewController)
                                 == m_viewControllers.end(),
                             "Pushing the same view controller instance more than once is not supported");
    auto stack = m_viewControllers;
    stack.push_back(viewController);
    setViewControllers(std::move(stack), animated);
}

std::shared_ptr<UIViewController> UINavigationController::popViewController(bool animated)
{
    if (m_viewControllers.size() < 2)
        return nullptr;
    auto popped = m_viewControllers.back();
    auto stack = m_viewControllers;
    stack.pop_back();
    setViewControllers(std::move(stack), animated);
    return popped;
}

void UINavigationController::show(const std::shared_ptr<UIViewController>& viewController)
{
    if (!isViewLoaded())
        return;
    const auto& childView = viewController->view();
    if (childView->superview() != view()) {
        childView->setFrame(view()->bounds());
        view()->addSubview(childView);
    }
}

void UINavigationController::hide(const std::shared_ptr<UIViewController>& viewController)
{
    if (auto childView = viewController->viewIfLoaded(); childView && isViewLoaded() && childView->superview() == view())
        childView->removeFromSuperview();
}

} // namespace UIKit
