#include "Platform/UIKit/UIViewController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UITabBarController.hpp"
#include "Platform/UIKit/UITabBarItem.hpp"
#include "Platform/UIKit/UIScreen.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>

namespace UIKit {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("UIKit", "UIViewController");
    return logger;
}

} // namespace

const std::shared_ptr<UIView>& UIViewController::view()
{
    loadViewIfNeeded();
    return m_view;
}

void UIViewController::loadViewIfNeeded()
{
    if (m_view)
        return;
    loadView();
    Foundation::precondition(m_view != nullptr, "loadView() did not set the controller's view");
    viewDidLoad();
}

void UIViewController::loadView()
{
    m_view = Foundation::make<UIView>(UIScreen::main()->bounds());
}

void UIViewController::addChild(const std::shared_ptr<UIViewController>& child)
{
    Foundation::precondition(child != nullptr && child.get() != this, "A controller cannot be its own child");
    auto self = sharedSelf(this);
    if (child->parent() == self)
        return;
    child->removeFromParent();
    child->willMove(self);
    m_children.push_back(child);
    child->m_parent = self;
}

void UIViewController::removeFromParent()
{
    auto parent = this->parent();
    if (!parent)
        return;
    auto self = sharedSelf(this); // the parent held the last reference, perhaps
    std::erase(parent->m_children, self);
    m_parent.reset();
    didMove(nullptr);
}

void UIViewController::present(const std::shared_ptr<UIViewController>& viewController, bool /*animated*/,
                               std::function<void()> completion)
{
    Foundation::precondition(viewController != nullptr && viewController.get() != this,
                             "Application tried to present a view controller on itself");
    Foundation::precondition(viewController->presentingViewController() == nullptr,
                             "Application tried to present a view controller that is already presented");
    Foundation::precondition(viewController->parent() == nullptr,
                             "Application tried to present a view controller that has a parent view controller");
    if (m_presentedViewController) {
        log().error("Attempt to present %{public}@ on %{public}@ which is already presenting %{public}@",
                    viewController->description(), description(), m_presentedViewController->description());
        return;
    }
    m_presentedViewController = viewController;
    viewController->m_presentingViewController = weakSelf(this);
    viewController->m_isBeingPresented = true;
    viewController->loadViewIfNeeded();
    Foundation::DispatchQueue::main()->async([viewController, completion = std::move(completion)] {
        viewController->m_isBeingPresented = false;
        if (completion)
            completion();
    });
}

void UIViewController::dismiss(bool /*animated*/, std::function<void()> completion)
{
    std::shared_ptr<UIViewController> presenter;
    if (m_presentedViewController)
        presenter = sharedSelf(this);
    else
        presenter = presentingViewController();

    // Everything from the dismissed controller up leaves together.
    std::vector<std::shared_ptr<UIViewController>> leaving;
    if (presenter) {
        for (auto controller = presenter->m_presentedViewController; controller;
             controller = controller->m_presentedViewController) {
            controller->m_isBeingDismissed = true;
            leaving.push_back(controller);
        }
    }
    Foundation::DispatchQueue::main()->async(
        [leaving = std::move(leaving), completion = std::move(completion)] {
            for (auto controller = leaving.rbegin(); controller != leaving.rend(); ++controller) {
                auto& leavingController = **controller;
                // A controller dismissed twice over leaves on the first turn that comes.
                if (auto presenting = leavingController.presentingViewController();
                    presenting && presenting->m_presentedViewController.get() == &leavingController)
                    presenting->m_presentedViewController.reset();
                leavingController.m_presentingViewController.reset();
                leavingController.m_isBeingDismissed = false;
                leavingController.m_isBeingPresented = false;
            }
            if (completion)
                completion();
        });
}

std::shared_ptr<UIPopoverPresentationController> UIViewController::popoverPresentationController() const
{
    if (m_modalPresentationStyle != UIModalPresentationStyle::popover)
        return nullptr;
    if (!m_popoverPresentationController) {
        auto self = std::static_pointer_cast<UIViewController>(
            std::const_pointer_cast<Foundation::NSObject>(shared_from_this()));
        m_popoverPresentationController = Foundation::make<UIPopoverPresentationController>(self);
    }
    return m_popoverPresentationController;
}

UITraitCollection UIViewController::traitCollection() const
{
    if (m_view)
        return m_view->traitCollection();
    if (auto parent = this->parent())
        return parent->traitCollection();
    if (auto presenting = presentingViewController())
        return presenting->traitCollection();
    return {};
}

namespace {

template <class Container>
std::shared_ptr<Container> closestAncestor(const UIViewController& controller)
{
    for (auto ancestor = controller.parent(); ancestor; ancestor = ancestor->parent()) {
        if (auto container = std::dynamic_pointer_cast<Container>(ancestor))
            return container;
    }
    return nullptr;
}

} // namespace

std::shared_ptr<UINavigationController> UIViewController::navigationController() const
{
    return closestAncestor<UINavigationController>(*this);
}

std::shared_ptr<UITabBarController> UIViewController::tabBarController() const
{
    return closestAncestor<UITabBarController>(*this);
}

std::shared_ptr<UISplitViewController> UIViewController::splitViewController() const
{
    return closestAncestor<UISplitViewController>(*this);
}

std::shared_ptr<UINavigationItem> UIViewController::navigationItem()
{
    if (!m_navigationItem)
        m_navigationItem = Foundation::make<UINavigationItem>();
    return m_navigationItem;
}

std::shared_ptr<UITabBarItem> UIViewController::tabBarItem()
{
    if (!m_tabBarItem)
        m_tabBarItem = Foundation::make<UITabBarItem>();
    return m_tabBarItem;
}

} // namespace UIKit
