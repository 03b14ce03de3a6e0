#include "Platform/UIKit/UIViewController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UIPresentationController.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UITabBarController.hpp"
#include "Platform/UIKit/UITabBarItem.hpp"
#include "Platform/UIKit/UIScreen.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewControllerAnimatedTransitioning.hpp"
#include "Platform/UIKit/UIViewControllerContextTransitioning.hpp"
#include "Platform/UIKit/UIViewControllerTransitioningDelegate.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <algorithm>

namespace UIKit {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("UIKit", "UIViewController");
    return logger;
}

// The context of one custom transition. It completes once; later calls are ignored, so an animator
// that reports twice cannot run the presenter's bookkeeping twice.
class TransitionContext : public UIViewControllerContextTransitioning {
public:
    TransitionContext(std::shared_ptr<UIView> container, std::shared_ptr<UIViewController> from,
                      std::shared_ptr<UIViewController> to, std::shared_ptr<UIView> fromView, std::shared_ptr<UIView> toView,
                      std::shared_ptr<UIPresentationController> presentation, bool presenting,
                      std::function<void(bool)> onComplete)
        : m_container(std::move(container))
        , m_from(std::move(from))
        , m_to(std::move(to))
        , m_fromView(std::move(fromView))
        , m_toView(std::move(toView))
        , m_presentation(std::move(presentation))
        , m_presenting(presenting)
        , m_onComplete(std::move(onComplete))
    {
    }

    std::shared_ptr<UIView> containerView() const override { return m_container; }
    std::shared_ptr<UIView> view(const UITransitionContextViewKey& forKey) const override
    {
        return forKey == UITransitionContextViewKey::to() ? m_toView : m_fromView;
    }
    std::shared_ptr<UIViewController> viewController(const UITransitionContextViewControllerKey& forKey) const override
    {
        return forKey == UITransitionContextViewControllerKey::to() ? m_to : m_from;
    }
    CGRect initialFrame(const UIViewController& forController) const override
    {
        // Only the leaving presented view has a place before the transition.
        if (!m_presenting && m_from.get() == &forController && m_fromView)
            return m_fromView->frame();
        return {};
    }
    CGRect finalFrame(const UIViewController& forController) const override
    {
        if (m_presenting && m_to.get() == &forController)
            return m_presentation->frameOfPresentedViewInContainerView();
        return {};
    }
    bool transitionWasCancelled() const override { return false; }
    void completeTransition(bool didComplete) override
    {
        if (auto onComplete = std::exchange(m_onComplete, nullptr))
            onComplete(didComplete);
    }

private:
    std::shared_ptr<UIView> m_container;
    std::shared_ptr<UIViewController> m_from;
    std::shared_ptr<UIViewController> m_to;
    std::shared_ptr<UIView> m_fromView;
    std::shared_ptr<UIView> m_toView;
    std::shared_ptr<UIPresentationController> m_presentation;
    bool m_presenting;
    std::function<void(bool)> m_onComplete;
};

} // namespace

UIViewController::UIViewController()
{
    MainThreadChecker::check("UIViewController");
}

UIViewController::UIViewController(std::optional<Foundation::String> nibName, std::shared_ptr<Foundation::Bundle> bundle)
    : m_nibName(std::move(nibName))
    , m_nibBundle(std::move(bundle))
{
    MainThreadChecker::check("UIViewController");
}

UIViewController::UIViewController(Foundation::NSCoder& /*coder*/)
{
    MainThreadChecker::check("UIViewController");
}

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
    setView(Foundation::make<UIView>(UIScreen::main()->bounds()));
}

void UIViewController::setView(std::shared_ptr<UIView> view)
{
    if (m_view && m_view != view && m_view->m_viewController.lock().get() == this)
        m_view->m_viewController.reset();
    m_view = std::move(view);
    if (m_view)
        m_view->m_viewController = weakSelf(this);
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

void UIViewController::present(const std::shared_ptr<UIViewController>& viewController, bool animated,
                               std::function<void()> completion)
{
    MainThreadChecker::check("UIViewController.present");
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
    if (presentCustom(viewController, animated, completion))
        return;
    Foundation::DispatchQueue::main()->async([viewController, completion = std::move(completion)] {
        viewController->m_isBeingPresented = false;
        if (completion)
            completion();
    });
}

void UIViewController::dismiss(bool animated, std::function<void()> completion)
{
    MainThreadChecker::check("UIViewController.dismiss");
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
    if (leaving.size() == 1 && presenter->dismissCustom(leaving.front(), animated, completion))
        return;
    Foundation::DispatchQueue::main()->async(
        [leaving = std::move(leaving), completion = std::move(completion)] {
            for (auto controller = leaving.rbegin(); controller != leaving.rend(); ++controller)
                unlinkPresented(**controller);
            if (completion)
                completion();
        });
}

void UIViewController::unlinkPresented(UIViewController& presented)
{
    // A controller dismissed twice over leaves on the first turn that comes.
    if (auto presenting = presented.presentingViewController();
        presenting && presenting->m_presentedViewController.get() == &presented)
        presenting->m_presentedViewController.reset();
    presented.m_presentingViewController.reset();
    presented.m_isBeingDismissed = false;
    presented.m_isBeingPresented = false;
    if (auto presentation = std::exchange(presented.m_presentationController, nullptr)) {
        if (presentation->m_containerView)
            presentation->m_containerView->removeFromSuperview();
        presentation->m_containerView.reset();
    }
}

bool UIViewController::presentCustom(const std::shared_ptr<UIViewController>& viewController, bool animated,
                                     std::function<void()>& completion)
{
    auto delegate = viewController->transitioningDelegate();
    if (viewController->m_modalPresentationStyle != UIModalPresentationStyle::custom || !delegate)
        return false;
    auto self = sharedSelf(this);
    auto presentation = delegate->presentationController(viewController, self, self);
    auto animator = animated ? delegate->animationController(viewController, self, self) : nullptr;
    if (!presentation && !animator)
        return false;
    if (!presentation)
        presentation = Foundation::make<UIPresentationController>(viewController, self);

    // The container covers the presenter's window, or its view while it is in none.
    auto& presenterView = view();
    auto window = presenterView->window();
    auto container = Foundation::make<UIView>(window ? window->bounds() : presenterView->bounds());
    if (window)
        window->addSubview(container);
    else
        presenterView->addSubview(container);
    presentation->m_containerView = container;
    viewController->m_presentationController = presentation;

    presentation->presentationTransitionWillBegin();
    presentation->containerViewWillLayoutSubviews();
    presentation->containerViewDidLayoutSubviews();

    auto presentedView = viewController->view();
    auto context = std::make_shared<TransitionContext>(
        container, self, viewController, nullptr, presentedView, presentation, true,
        [presentation, viewController, completion = std::move(completion)](bool completed) {
            presentation->presentationTransitionDidEnd(completed);
            // An abandoned presentation leaves nothing behind.
            if (!completed)
                unlinkPresented(*viewController);
            viewController->m_isBeingPresented = false;
            if (completion)
                completion();
        });
    if (animator) {
        animator->animateTransition(context);
    } else {
        container->addSubview(presentedView);
        presentedView->setFrame(presentation->frameOfPresentedViewInContainerView());
        Foundation::DispatchQueue::main()->async([context] { context->completeTransition(true); });
    }
    return true;
}

bool UIViewController::dismissCustom(const std::shared_ptr<UIViewController>& viewController, bool animated,
                                     std::function<void()>& completion)
{
    auto presentation = viewController->m_presentationController;
    if (!presentation)
        return false;
    auto delegate = viewController->transitioningDelegate();
    auto animator = animated && delegate ? delegate->animationController(viewController) : nullptr;

    presentation->dismissalTransitionWillBegin();
    auto context = std::make_shared<TransitionContext>(
        presentation->m_containerView, viewController, sharedSelf(this), viewController->view(), nullptr, presentation,
        false, [presentation, viewController, completion = std::move(completion)](bool completed) {
            presentation->dismissalTransitionDidEnd(completed);
            if (completed)
                unlinkPresented(*viewController);
            else
                viewController->m_isBeingDismissed = false;
            if (completion)
                completion();
        });
    if (animator)
        animator->animateTransition(context);
    else
        Foundation::DispatchQueue::main()->async([context] { context->completeTransition(true); });
    return true;
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
