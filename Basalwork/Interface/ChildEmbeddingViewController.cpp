#include "Basalwork/Interface/ChildEmbeddingViewController.hpp"

#include "Basalwork/Interface/NSLayoutConstraint.hpp"

#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UITabBarItem.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <algorithm>
#include <utility>

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
    if (with == m_currentlyEmbeddedVC && !m_incomingVC) {
        // Already shown and settled: fading it in again would only blank it.
        if (completion)
            completion();
        return;
    }
    const auto swap = ++m_latestSwap;
    if (completion)
        m_pendingCompletions.push_back(std::move(completion));
    // Everyone else here leaves: the current child and whatever an earlier swap was bringing in.
    for (const auto& child : m_swappedChildren)
        if (child != with && !contains(m_leavingChildren, child)) {
            child->willMove(nullptr);
            m_leavingChildren.push_back(child);
        }
    m_incomingVC = with;
    const auto& incomingView = with->view();
    if (contains(m_swappedChildren, with)) {
        // Still here from an earlier swap: it stays, on top, showing what it shows.
        if (std::erase(m_leavingChildren, with))
            with->willMove(self);
        view()->bringSubviewToFront(incomingView);
    } else {
        with->willMove(self);
        incomingView->setAlpha(0.0);
        addChild(with);
        view()->addSubview(incomingView);
        NSLayoutConstraints::constrainEdges(*incomingView, *view(), LayoutInsets::zero());
        m_swappedChildren.push_back(with);
    }

    if (!animated) {
        finishReplacing(swap);
        return;
    }
    UIKit::UIView::animate(
        crossFadeDuration, 0.0, UIKit::UIView::AnimationOptions::curveLinear(),
        [self, incomingView] {
            incomingView->setAlpha(1.0);
            self->setNeedsStatusBarAppearanceUpdate();
        },
        // Finished or not, the swap must complete or the container is left holding two children.
        [self, swap](bool) { self->finishReplacing(swap); });
}

bool ChildEmbeddingViewController::contains(const std::vector<std::shared_ptr<UIKit::UIViewController>>& children,
                                            const std::shared_ptr<UIKit::UIViewController>& child) const
{
    return std::find(children.begin(), children.end(), child) != children.end();
}

void ChildEmbeddingViewController::finishReplacing(std::uint64_t swap)
{
    if (swap != m_latestSwap || !m_incomingVC)
        return; // a later swap took over and finishes for both
    auto incoming = std::exchange(m_incomingVC, nullptr);
    incoming->view()->setAlpha(1.0);
    incoming->didMove(sharedSelf(this));
    for (const auto& outgoing : std::exchange(m_leavingChildren, {})) {
        if (auto outgoingView = outgoing->viewIfLoaded())
            outgoingView->removeFromSuperview();
        outgoing->removeFromParent();
    }
    m_swappedChildren = {incoming};
    m_currentlyEmbeddedVC = incoming;
    setNeedsStatusBarAppearanceUpdate();
    for (const auto& completion : std::exchange(m_pendingCompletions, {}))
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
