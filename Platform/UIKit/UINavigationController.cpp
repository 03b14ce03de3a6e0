#include "Platform/UIKit/UINavigationController.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UINavigationBar.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
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

UINavigationController::UINavigationController(std::shared_ptr<UIViewController> rootViewController)
    : m_navigationBar(Foundation::make<UINavigationBar>())
    , m_pendingRoot(std::move(rootViewController))
{
}

void UINavigationController::initialize()
{
    UIViewController::initialize();
    connectBar();
    if (auto root = std::exchange(m_pendingRoot, nullptr))
        setViewControllers({root}, false);
}

void UINavigationController::connectBar()
{
    std::weak_ptr<UINavigationController> weakSelf = sharedSelf(this);
    m_navigationBar->m_onBack = [weakSelf] {
        if (auto self = weakSelf.lock())
            self->popViewController(true);
    };
    m_navigationBar->m_onHeightChange = [weakSelf] {
        if (auto self = weakSelf.lock())
            self->placeContent();
    };
}

void UINavigationController::loadView()
{
    UIViewController::loadView();
    view()->addSubview(m_navigationBar);
    placeContent();
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const
{
    return m_viewControllers.empty() ? nullptr : m_viewControllers.back();
}

void UINavigationController::placeContent()
{
    if (!isViewLoaded())
        return;
    const CGRect bounds = view()->bounds();
    const CGFloat barHeight = m_isNavigationBarHidden ? 0 : m_navigationBar->preferredHeight();
    m_navigationBar->setIsHidden(m_isNavigationBarHidden);
    m_navigationBar->setFrame({0, 0, bounds.size.width, m_navigationBar->preferredHeight()});
    m_navigationBar->setAutoresizingMask(UIView::AutoresizingMask::flexibleWidth());
    auto top = topViewController();
    if (!top)
        return;
    const auto& content = top->view();
    content->setFrame({0, barHeight, bounds.size.width, std::max(0.0, bounds.size.height - barHeight)});
    content->setAutoresizingMask(UIView::AutoresizingMask::flexibleWidth() | UIView::AutoresizingMask::flexibleHeight());
    if (content->superview() != view())
        view()->insertSubviewBelow(content, m_navigationBar);
}

void UINavigationController::setNavigationBarHidden(bool hidden, bool /*animated*/)
{
    m_isNavigationBarHidden = hidden;
    placeContent();
}

void UINavigationController::setViewControllers(std::vector<std::shared_ptr<UIViewController>> viewControllers,
                                                bool animated)
{
    for (const auto& controller : viewControllers)
        Foundation::precondition(controller != nullptr, "A navigation stack cannot hold a null controller");
    auto previousTop = topViewController();
    auto self = sharedSelf(this);
    const bool visible = isViewVisible() && isViewLoaded();
    auto newTop = viewControllers.empty() ? nullptr : viewControllers.back();
    const bool topChanges = previousTop != newTop;

    // The leaving top and the arriving one hear of it in the platform's order: both "will", then both "did".
    if (topChanges && visible) {
        if (previousTop)
            beginHeldAppearance(previousTop, false, animated);
        if (newTop) {
            newTop->loadViewIfNeeded();
            beginHeldAppearance(newTop, true, animated);
        }
    }
    if (topChanges && previousTop && isViewLoaded())
        if (auto leaving = previousTop->viewIfLoaded(); leaving && leaving->superview() == view())
            leaving->removeFromSuperview();
    for (const auto& controller : m_viewControllers) {
        if (std::ranges::find(viewControllers, controller) == viewControllers.end()) {
            controller->willMove(nullptr);
            controller->removeFromParent();
        }
    }
    for (const auto& controller : viewControllers) {
        if (controller->parent() != self) {
            addChild(controller);
            controller->didMove(self);
        }
    }
    m_viewControllers = std::move(viewControllers);
    std::vector<std::shared_ptr<UINavigationItem>> items;
    for (const auto& controller : m_viewControllers)
        items.push_back(controller->navigationItem());
    m_navigationBar->setItems(std::move(items), animated);
    placeContent();
    if (topChanges && visible) {
        if (previousTop)
            endHeldAppearance(previousTop);
        if (newTop)
            endHeldAppearance(newTop);
    }
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

std::vector<std::shared_ptr<UIViewController>> UINavigationController::popToRootViewController(bool animated)
{
    if (m_viewControllers.size() < 2)
        return {};
    std::vector<std::shared_ptr<UIViewController>> popped(m_viewControllers.begin() + 1, m_viewControllers.end());
    setViewControllers({m_viewControllers.front()}, animated);
    return popped;
}

} // namespace UIKit
