#include "Basalwork/Interface/ChildEmbeddingViewController.hpp"

#include "Basalwork/Interface/NSLayoutConstraint.hpp"

#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UITabBarItem.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {
namespace {

constexpr double crossFadeDuration = 0.42;

} // namespace

void ChildEmbeddingViewController::embed(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated)
{
    if (isViewLoaded()) {
        replaceCurrentlyEmbeddedVC(viewController, animated, nullptr);
        m_viewControllerToEmbedOnViewDidLoad.reset();
    } else {
        m_viewControllerToEmbedOnViewDidLoad = viewController;
    }
}

void ChildEmbeddingViewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    if (auto pending = std::move(m_viewControllerToEmbedOnViewDidLoad)) {
        m_viewControllerToEmbedOnViewDidLoad.reset();
        replaceCurrentlyEmbeddedVC(pending, false, nullptr);
    }
}

std::shared_ptr<UIKit::UIViewController> ChildEmbeddingViewController::embeddedViewController() const
{
    return m_viewControllerToEmbedOnViewDidLoad ? m_viewControllerToEmbedOnViewDidLoad : m_currentlyEmbeddedVC;
}

void ChildEmbeddingViewController::replaceCurrentlyEmbeddedVC(const std::shared_ptr<UIKit::UIViewController>& with,
                                                              bool animated, std::function<void()> completion)
{
    auto self = sharedSelf(this);
    loadViewIfNeeded();
    with->loadViewIfNeeded();
    auto outgoing = m_currentlyEmbeddedVC;
    if (outgoing)
        outgoing->willMove(nullptr);
    with->willMove(self);
    const auto& incomingView = with->view();
    incomingView->setAlpha(0.0);
    addChild(with);
    view()->addSubview(incomingView);
    NSLayoutConstraints::constrainEdges(*incomingView, *view(), LayoutInsets::zero());

    if (!animated) {
        finishReplacing(with, outgoing, completion);
        return;
    }
    UIKit::UIView::animate(
        crossFadeDuration,
        [self, incomingView] {
            incomingView->setAlpha(1.0);
            self->setNeedsStatusBarAppearanceUpdate();
        },
        // Finished or not, the swap must complete or the container is left holding two children.
        [self, with, outgoing, completion = std::move(completion)](bool) { self->finishReplacing(with, outgoing, completion); });
}

void ChildEmbeddingViewController::finishReplacing(const std::shared_ptr<UIKit::UIViewController>& incoming,
                                                   const std::shared_ptr<UIKit::UIViewController>& outgoing,
                                                   const std::function<void()>& completion)
{
    incoming->view()->setAlpha(1.0);
    incoming->didMove(sharedSelf(this));
    if (outgoing) {
        if (auto outgoingView = outgoing->viewIfLoaded())
            outgoingView->removeFromSuperview();
        outgoing->removeFromParent();
    }
    m_currentlyEmbeddedVC = incoming;
    setNeedsStatusBarAppearanceUpdate();
    if (completion)
        completion();
}

UIKit::UIInterfaceOrientationMask ChildEmbeddingViewController::supportedInterfaceOrientations() const
{
    if (auto child = embeddedViewController())
        return child->supportedInterfaceOrientations();
    return UIViewController::supportedInterfaceOrientations();
}

bool ChildEmbeddingViewController::shouldAutorotate() const
{
    if (auto child = embeddedViewController())
        return child->shouldAutorotate();
    return UIViewController::shouldAutorotate();
}

bool ChildEmbeddingViewController::definesPresentationContext() const
{
    if (auto child = embeddedViewController())
        return child->definesPresentationContext();
    return UIViewController::definesPresentationContext();
}

void ChildEmbeddingViewController::setDefinesPresentationContext(bool defines)
{
    if (auto child = embeddedViewController())
        child->setDefinesPresentationContext(defines);
    else
        UIViewController::setDefinesPresentationContext(defines);
}

std::shared_ptr<UIKit::UINavigationItem> ChildEmbeddingViewController::navigationItem()
{
    if (auto child = embeddedViewController())
        return child->navigationItem();
    return UIViewController::navigationItem();
}

std::shared_ptr<UIKit::UITabBarItem> ChildEmbeddingViewController::tabBarItem()
{
    if (auto child = embeddedViewController()) {
        if (auto item = child->tabBarItem())
            return item;
    }
    return UIViewController::tabBarItem();
}

void ChildEmbeddingViewController::setTabBarItem(std::shared_ptr<UIKit::UITabBarItem> item)
{
    if (auto child = embeddedViewController())
        child->setTabBarItem(std::move(item));
    else
        UIViewController::setTabBarItem(std::move(item));
}

} // namespace Basalwork
