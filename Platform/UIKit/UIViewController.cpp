#include "Platform/UIKit/UIViewController.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/MainThreadChecker.hpp"
#include "Platform/UIKit/UIAdaptivePresentationControllerDelegate.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
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
    if (m_view) {
        m_view->m_viewController = weakSelf(this);
        if (m_overrideUserInterfaceStyle != UIUserInterfaceStyle::unspecified)
            m_view->setOverrideUserInterfaceStyle(m_overrideUserInterfaceStyle);
    }
}

void UIViewController::setOverrideUserInterfaceStyle(UIUserInterfaceStyle style)
{
    m_overrideUserInterfaceStyle = style;
    if (m_view)
        m_view->setOverrideUserInterfaceStyle(style);
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

std::shared_ptr<UIWindow> UIViewController::firstResponderWindow() const
{
    return m_view ? m_view->window() : nullptr;
}

std::shared_ptr<UIResponder> UIViewController::next() const
{
    if (auto parent = this->parent())
        return parent;
    if (auto presenting = presentingViewController())
        return presenting;
    return m_view ? m_view->superview() : nullptr;
}

void UIViewController::willTransition(const UITraitCollection& to,
                                      const std::shared_ptr<UIViewControllerTransitionCoordinator>& with)
{
    for (auto children = m_children; const auto& child : children)
        child->willTransition(to, with);
}

void UIViewController::show(const std::shared_ptr<UIViewController>& viewController, const std::shared_ptr<Foundation::NSObject>&)
{
    if (auto navigation = navigationController())
        navigation->pushViewController(viewController, true);
    else
        present(viewController, true);
}

void UIViewController::showDetailViewController(const std::shared_ptr<UIViewController>& viewController,
                                                const std::shared_ptr<Foundation::NSObject>& sender)
{
    if (auto split = splitViewController())
        split->showDetailViewController(viewController, sender);
    else
        present(viewController, true);
}

// Appearance.

std::vector<std::shared_ptr<UIViewController>> UIViewController::childrenInView() const
{
    std::vector<std::shared_ptr<UIViewController>> result;
    if (!m_view)
        return result;
    for (const auto& child : m_children)
        if (child->m_view && child->m_view->isSelfOrAncestor(m_view.get()))
            result.push_back(child);
    return result;
}

void UIViewController::beginAppearanceTransition(bool isAppearing, bool animated)
{
    if (isAppearing) {
        if (isViewVisible())
            return;
        m_appearance = Appearance::appearing;
        m_appearanceAnimated = animated;
        viewWillAppear(animated);
    } else {
        if (!isViewVisible())
            return;
        m_appearance = Appearance::disappearing;
        m_appearanceAnimated = animated;
        viewWillDisappear(animated);
    }
    for (const auto& child : childrenInView())
        child->beginAppearanceTransition(isAppearing, animated);
}

void UIViewController::endAppearanceTransition()
{
    bool appeared = false;
    if (m_appearance == Appearance::appearing) {
        m_appearance = Appearance::appeared;
        appeared = true;
        viewDidAppear(m_appearanceAnimated);
    } else if (m_appearance == Appearance::disappearing) {
        m_appearance = Appearance::disappeared;
        viewDidDisappear(m_appearanceAnimated);
    }
    for (const auto& child : childrenInView()) {
        // A child shown while the transition ran has not begun yet.
        if (appeared && child->m_appearance == Appearance::disappeared)
            child->beginAppearanceTransition(true, m_appearanceAnimated);
        child->endAppearanceTransition();
    }
}

void UIViewController::beginHeldAppearance(const std::shared_ptr<UIViewController>& controller, bool appearing, bool animated)
{
    ++controller->m_appearanceHolds;
    controller->beginAppearanceTransition(appearing, animated);
}

void UIViewController::endHeldAppearance(const std::shared_ptr<UIViewController>& controller)
{
    controller->endAppearanceTransition();
    --controller->m_appearanceHolds;
}

bool UIViewController::isAppearanceHeld() const
{
    for (const UIViewController* controller = this; controller;) {
        if (controller->m_appearanceHolds > 0)
            return true;
        auto parent = controller->m_parent.lock();
        controller = parent.get();
    }
    return false;
}

std::vector<std::shared_ptr<UIViewController>> UIViewController::beginAppearance(const UIView& subtree, bool appearing)
{
    std::vector<std::shared_ptr<UIViewController>> begun;
    std::function<void(const UIView&)> visit = [&](const UIView& view) {
        if (auto controller = view.m_viewController.lock();
            controller && !controller->isAppearanceHeld() && controller->isViewVisible() != appearing) {
            controller->beginAppearanceTransition(appearing, false);
            begun.push_back(controller);
        }
        for (auto subviews = view.subviews(); const auto& subview : subviews)
            visit(*subview);
    };
    visit(subtree);
    return begun;
}

void UIViewController::endAppearance(const std::vector<std::shared_ptr<UIViewController>>& controllers)
{
    for (const auto& controller : controllers)
        controller->endAppearanceTransition();
}

// Presentation.

namespace {

bool isInside(const std::shared_ptr<UIResponder>& responder, const UIView& root)
{
    std::shared_ptr<UIView> view = std::dynamic_pointer_cast<UIView>(responder);
    if (auto controller = std::dynamic_pointer_cast<UIViewController>(responder))
        view = controller->viewIfLoaded();
    for (; view; view = view->superview())
        if (view.get() == &root)
            return true;
    return false;
}

} // namespace

UIModalPresentationStyle UIViewController::resolvedStyle(const std::shared_ptr<UIViewController>& presented,
                                                         const UIWindow& window)
{
    auto style = presented->modalPresentationStyle();
    if (style == UIModalPresentationStyle::automatic)
        style = UIModalPresentationStyle::pageSheet;
    if (auto alert = std::dynamic_pointer_cast<UIAlertController>(presented);
        alert && alert->preferredStyle() == UIAlertController::Style::alert)
        return UIModalPresentationStyle::custom; // shown as an alert: centred over everything
    auto adapted = presented->presentationController()->adaptivePresentationStyle(window.traitCollection());
    return adapted == UIModalPresentationStyle::automatic ? style : adapted;
}

CGRect UIViewController::presentedFrame(const std::shared_ptr<UIViewController>& presented, UIModalPresentationStyle style,
                                        const UIWindow& window)
{
    const CGRect bounds = window.bounds();
    switch (style) {
    case UIModalPresentationStyle::fullScreen:
    case UIModalPresentationStyle::overFullScreen:
        return bounds;
    case UIModalPresentationStyle::currentContext:
    case UIModalPresentationStyle::overCurrentContext: {
        auto context = presentationContext(style);
        return context->view()->convertTo(context->view()->bounds(), nullptr);
    }
    case UIModalPresentationStyle::popover:
        return presented->popoverPresentationController()->frameInWindow(bounds);
    default: {
        CGSize size = presented->preferredContentSize();
        if (size == CGSize {})
            size = std::dynamic_pointer_cast<UIAlertController>(presented) ? CGSize {270, 200} : CGSize {540, 620};
        size.width = std::min(size.width, bounds.size.width);
        size.height = std::min(size.height, bounds.size.height);
        return {{bounds.midX() - size.width / 2, bounds.midY() - size.height / 2}, size};
    }
    }
}

std::shared_ptr<UIViewController> UIViewController::presentationContext(UIModalPresentationStyle style)
{
    auto context = sharedSelf(this);
    const bool current = style == UIModalPresentationStyle::currentContext || style == UIModalPresentationStyle::overCurrentContext;
    for (auto controller = context; controller; controller = controller->parent()) {
        if (current && controller->definesPresentationContext())
            return controller;
        context = controller;
    }
    return context;
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
    viewController->m_presentation = std::make_unique<Presentation>();
    viewController->m_presentation->style = viewController->modalPresentationStyle();
    viewController->presentationController()->setPresentingViewController(sharedSelf(this));
    if (presentCustom(viewController, animated, completion))
        return;

    auto window = m_view ? m_view->window() : nullptr;
    if (!window) {
        // Nothing is on screen to present over: the controllers are linked and nothing shows.
        Foundation::DispatchQueue::main()->async([viewController, completion = std::move(completion)] {
            viewController->m_isBeingPresented = false;
            if (completion)
                completion();
        });
        return;
    }
    auto& presentation = *viewController->m_presentation;
    presentation.style = resolvedStyle(viewController, *window);
    const auto& presentedView = viewController->view();
    presentedView->setFrame(presentedFrame(viewController, presentation.style, *window));
    presentedView->setAutoresizingMask(presentation.style == UIModalPresentationStyle::fullScreen
                                               || presentation.style == UIModalPresentationStyle::overFullScreen
                                           ? UIView::AutoresizingMask::flexibleWidth() | UIView::AutoresizingMask::flexibleHeight()
                                           : UIView::AutoresizingMask());

    std::shared_ptr<UIViewController> covered;
    if (presentation.style == UIModalPresentationStyle::fullScreen || presentation.style == UIModalPresentationStyle::currentContext)
        covered = presentationContext(presentation.style);
    presentation.covered = covered;
    presentation.focusToRestore = window->firstResponder();

    ++viewController->m_appearanceHolds;
    viewController->beginAppearanceTransition(true, animated);
    if (covered) {
        ++covered->m_appearanceHolds;
        covered->beginAppearanceTransition(false, animated);
    }
    window->addSubview(presentedView);
    // Keys go to the presented controller now, not to what lies underneath it.
    if (auto focused = window->firstResponder(); focused && !isInside(focused, *presentedView) && !focused->resignFirstResponder())
        window->setFirstResponder(nullptr);

    Foundation::DispatchQueue::main()->async([viewController, covered, completion = std::move(completion)] {
        auto* presentation = viewController->m_presentation.get();
        viewController->endAppearanceTransition();
        --viewController->m_appearanceHolds;
        // Dismissed before it was up, the presentation leaves the covered controller where it is.
        if (covered && !viewController->m_isBeingDismissed) {
            if (auto view = covered->viewIfLoaded(); view && presentation && view->superview()) {
                auto superview = view->superview();
                presentation->coveredSuperview = superview;
                presentation->coveredIndex = static_cast<std::size_t>(
                    std::ranges::find(superview->subviews(), view) - superview->subviews().begin());
                view->removeFromSuperview();
            }
            covered->endAppearanceTransition();
        }
        if (covered)
            --covered->m_appearanceHolds;
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

    // Everything from the dismissed controller up leaves together; what is leaving already goes its way.
    std::vector<std::shared_ptr<UIViewController>> leaving;
    if (presenter) {
        for (auto controller = presenter->m_presentedViewController; controller;
             controller = controller->m_presentedViewController) {
            if (!controller->m_isBeingDismissed)
                leaving.push_back(controller);
        }
    }
    if (leaving.size() == 1 && leaving.front()->m_presentation && leaving.front()->m_presentation->custom) {
        leaving.front()->m_isBeingDismissed = true;
        presenter->dismissCustom(leaving.front(), animated, completion);
        return;
    }
    // Top first: what leaves says so, then what comes back from under full-screen presentations.
    std::vector<std::shared_ptr<UIViewController>> returning;
    for (auto controller = leaving.rbegin(); controller != leaving.rend(); ++controller) {
        (*controller)->m_isBeingDismissed = true;
        ++(*controller)->m_appearanceHolds;
        (*controller)->beginAppearanceTransition(false, animated);
    }
    for (auto controller = leaving.rbegin(); controller != leaving.rend(); ++controller) {
        const auto* presentation = (*controller)->m_presentation.get();
        auto covered = presentation ? presentation->covered.lock() : nullptr;
        if (!covered || !covered->viewIfLoaded())
            continue;
        ++covered->m_appearanceHolds;
        covered->beginAppearanceTransition(true, animated);
        if (auto superview = presentation->coveredSuperview.lock())
            superview->insertSubview(covered->view(), presentation->coveredIndex);
        returning.push_back(covered);
    }
    Foundation::DispatchQueue::main()->async([leaving = std::move(leaving), returning = std::move(returning),
                                              completion = std::move(completion)] {
        std::shared_ptr<UIResponder> focus;
        if (!leaving.empty() && leaving.front()->m_presentation)
            focus = leaving.front()->m_presentation->focusToRestore.lock();
        for (auto controller = leaving.rbegin(); controller != leaving.rend(); ++controller) {
            if (auto view = (*controller)->viewIfLoaded())
                view->removeFromSuperview();
            (*controller)->endAppearanceTransition();
            --(*controller)->m_appearanceHolds;
            unlinkPresented(**controller);
        }
        for (const auto& controller : returning) {
            controller->endAppearanceTransition();
            --controller->m_appearanceHolds;
        }
        if (focus && !focus->isFirstResponder())
            focus->becomeFirstResponder();
        if (completion)
            completion();
    });
}

bool UIViewController::dismissForTapOutside()
{
    auto presentation = presentationController();
    auto delegate = presentation->delegate();
    if (m_isModalInPresentation || (delegate && !delegate->presentationControllerShouldDismiss(*presentation))) {
        if (delegate)
            delegate->presentationControllerDidAttemptToDismiss(*presentation);
        return false;
    }
    if (delegate)
        delegate->presentationControllerWillDismiss(*presentation);
    std::weak_ptr<UIAdaptivePresentationControllerDelegate> weakDelegate = delegate;
    dismiss(true, [presentation, weakDelegate] {
        if (auto delegate = weakDelegate.lock())
            delegate->presentationControllerDidDismiss(*presentation);
    });
    return true;
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
    presented.m_presentation.reset();
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
    if (auto asked = viewController->m_presentationController; asked && !presentation->delegate())
        presentation->setDelegate(asked->delegate());

    // The container covers the presenter's window, or its view while it is in none.
    auto& presenterView = view();
    auto window = presenterView->window();
    auto container = Foundation::make<UIView>(window ? window->bounds() : presenterView->bounds());
    ++viewController->m_appearanceHolds;
    viewController->beginAppearanceTransition(true, animated);
    if (window)
        window->addSubview(container);
    else
        presenterView->addSubview(container);
    presentation->m_containerView = container;
    viewController->m_presentationController = presentation;
    viewController->m_presentation->custom = true;
    if (window)
        viewController->m_presentation->focusToRestore = window->firstResponder();

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
            viewController->endAppearanceTransition();
            --viewController->m_appearanceHolds;
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
    auto delegate = viewController->transitioningDelegate();
    auto animator = animated && delegate ? delegate->animationController(viewController) : nullptr;

    ++viewController->m_appearanceHolds;
    viewController->beginAppearanceTransition(false, animated);
    presentation->dismissalTransitionWillBegin();
    auto context = std::make_shared<TransitionContext>(
        presentation->m_containerView, viewController, sharedSelf(this), viewController->view(), nullptr, presentation,
        false, [presentation, viewController, completion = std::move(completion)](bool completed) {
            presentation->dismissalTransitionDidEnd(completed);
            std::shared_ptr<UIResponder> focus;
            if (completed) {
                if (viewController->m_presentation)
                    focus = viewController->m_presentation->focusToRestore.lock();
                unlinkPresented(*viewController);
                viewController->endAppearanceTransition();
            } else {
                viewController->m_isBeingDismissed = false;
                // The presented controller stays: it is back on screen.
                viewController->beginAppearanceTransition(true, false);
                viewController->endAppearanceTransition();
            }
            --viewController->m_appearanceHolds;
            if (focus && !focus->isFirstResponder())
                focus->becomeFirstResponder();
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

std::shared_ptr<UIPresentationController> UIViewController::presentationController()
{
    if (m_presentationController)
        return m_presentationController;
    if (auto popover = popoverPresentationController())
        return popover;
    m_presentationController = Foundation::make<UIPresentationController>(sharedSelf(this), presentingViewController());
    return m_presentationController;
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
