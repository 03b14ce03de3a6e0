#include "Basalwork/Interface/HorizontalFlipTransitioningManager.hpp"

#include "Basalwork/Interface/AnimationUpdateReportingPropertyAnimator.hpp"
#include "Basalwork/Interface/FloatingPresentationController.hpp"

#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIViewControllerContextTransitioning.hpp"

#include <numbers>

namespace Basalwork {
namespace {

using UIKit::CATransform3D;

// Just short of a half turn, so the turn has a definite direction.
constexpr double nearlyHalfTurn = 0.999999 * std::numbers::pi;

CATransform3D aboutY(double angle)
{
    return CATransform3D::rotation(angle, 0, 1, 0);
}

// The face turning away shows until it passes edge-on (its cosine reaches zero), then the other face.
void showFacingSnapshot(UIKit::UIView& away, UIKit::UIView& other)
{
    auto presentation = away.layer()->presentation();
    if (!presentation)
        return;
    const bool awayFacesViewer = presentation->transform().m11 > 0;
    away.setAlpha(awayFacesViewer ? 1 : 0);
    other.setAlpha(awayFacesViewer ? 0 : 1);
}

std::shared_ptr<AnimationUpdateReportingPropertyAnimator>
makeFlipAnimator(const std::shared_ptr<UIKit::UIView>& container, const std::shared_ptr<UIKit::UIView>& turningAway,
                 const std::shared_ptr<UIKit::UIView>& turningIn, std::function<void()> animations)
{
    auto perspective = CATransform3D::identity();
    perspective.m34 = -0.002;
    container->layer()->setSublayerTransform(perspective);
    auto animator = Foundation::make<AnimationUpdateReportingPropertyAnimator>(HorizontalFlipTransitioningManager::duration,
                                                                               1.0, std::move(animations));
    animator->addAnimationDidUpdate([turningAway, turningIn] { showFacingSnapshot(*turningAway, *turningIn); });
    return animator;
}

} // namespace

std::shared_ptr<UIKit::UIPresentationController>
HorizontalFlipTransitioningManager::presentationController(const std::shared_ptr<UIKit::UIViewController>& forPresented,
                                                           const std::shared_ptr<UIKit::UIViewController>& presenting,
                                                           const std::shared_ptr<UIKit::UIViewController>& /*source*/)
{
    return Foundation::make<FloatingPresentationController>(forPresented, presenting, m_contentSize);
}

std::shared_ptr<UIKit::UIViewControllerAnimatedTransitioning>
HorizontalFlipTransitioningManager::animationController(const std::shared_ptr<UIKit::UIViewController>& /*forPresented*/,
                                                        const std::shared_ptr<UIKit::UIViewController>& /*presenting*/,
                                                        const std::shared_ptr<UIKit::UIViewController>& /*source*/)
{
    return sharedSelf(this);
}

std::shared_ptr<UIKit::UIViewControllerAnimatedTransitioning>
HorizontalFlipTransitioningManager::animationController(const std::shared_ptr<UIKit::UIViewController>& /*forDismissed*/)
{
    return sharedSelf(this);
}

double HorizontalFlipTransitioningManager::transitionDuration(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>&)
{
    return duration;
}

void HorizontalFlipTransitioningManager::animateTransition(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_)
{
    if (using_->viewController(UIKit::UITransitionContextViewControllerKey::to()) == viewControllerBeingPresented())
        presentingFlip(using_);
    else
        dismissingFlip(using_);
}

void HorizontalFlipTransitioningManager::presentingFlip(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context)
{
    auto presenter = viewControllerToPresentFrom();
    auto source = viewToPresentFrom();
    auto presented = viewControllerBeingPresented();
    auto container = context->containerView();
    std::shared_ptr<UIKit::UIView> fromSnapshot, toSnapshot;
    if (presenter && source && presented && container && source->superview()) {
        fromSnapshot = source->snapshotView(true);
        toSnapshot = presented->view()->snapshotView(true);
    }
    if (!fromSnapshot || !toSnapshot) {
        // Nothing to flip: show the panel at once rather than leave the presentation hanging.
        if (presented && container)
            container->addSubview(presented->view());
        context->completeTransition(true);
        return;
    }

    const auto startFrame = source->superview()->convertTo(source->frame(), presenter->view());
    const auto finalFrame = presented->view()->frame();

    fromSnapshot->setFrame(startFrame);
    container->addSubview(fromSnapshot);
    source->setAlpha(0.0); // hidden while the panel is up

    toSnapshot->setFrame(startFrame);
    toSnapshot->layer()->setTransform(aboutY(nearlyHalfTurn));
    toSnapshot->setAlpha(0.0);
    container->addSubview(toSnapshot);

    auto animator = makeFlipAnimator(container, fromSnapshot, toSnapshot, [fromSnapshot, toSnapshot, finalFrame] {
        fromSnapshot->setFrame(finalFrame);
        toSnapshot->setFrame(finalFrame);
        fromSnapshot->layer()->setTransform(aboutY(-std::numbers::pi));
        toSnapshot->layer()->setTransform(aboutY(0));
    });
    std::weak_ptr<AnimationUpdateReportingPropertyAnimator> weakAnimator = animator;
    animator->addCompletion([context, container, presented, fromSnapshot, toSnapshot, weakAnimator](auto position) {
        container->addSubview(presented->view());
        fromSnapshot->removeFromSuperview();
        toSnapshot->removeFromSuperview();
        if (auto animator = weakAnimator.lock())
            animator->stopAnimation(true);
        context->completeTransition(position == UIKit::UIViewAnimatingPosition::end);
    });
    animator->startAnimation();
}

void HorizontalFlipTransitioningManager::dismissingFlip(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context)
{
    auto presenter = viewControllerToPresentFrom();
    auto source = viewToPresentFrom();
    auto presented = viewControllerBeingPresented();
    auto container = context->containerView();
    std::shared_ptr<UIKit::UIView> sourceSnapshot, panelSnapshot;
    if (presenter && source && presented && container && source->superview()) {
        source->setAlpha(1.0);
        sourceSnapshot = source->snapshotView(true);
        panelSnapshot = presented->view()->snapshotView(true);
    }
    if (!sourceSnapshot || !panelSnapshot) {
        // Nothing to flip back: the source must not stay hidden, and the panel goes at once.
        if (source)
            source->setAlpha(1.0);
        if (presented)
            presented->view()->removeFromSuperview();
        context->completeTransition(true);
        return;
    }
    source->setAlpha(0.0);

    const auto initialFrame = context->initialFrame(*presented);
    const auto targetFrame = source->superview()->convertTo(source->frame(), presenter->view());

    panelSnapshot->setFrame(initialFrame);
    container->addSubview(panelSnapshot);
    presented->view()->removeFromSuperview();

    sourceSnapshot->setFrame(initialFrame);
    sourceSnapshot->layer()->setTransform(aboutY(-nearlyHalfTurn));
    sourceSnapshot->setAlpha(0.0);
    container->addSubview(sourceSnapshot);

    auto animator = makeFlipAnimator(container, panelSnapshot, sourceSnapshot, [panelSnapshot, sourceSnapshot, targetFrame] {
        panelSnapshot->setFrame(targetFrame);
        sourceSnapshot->setFrame(targetFrame);
        panelSnapshot->layer()->setTransform(aboutY(nearlyHalfTurn));
        sourceSnapshot->layer()->setTransform(aboutY(0));
    });
    std::weak_ptr<AnimationUpdateReportingPropertyAnimator> weakAnimator = animator;
    animator->addCompletion([context, source, panelSnapshot, sourceSnapshot, weakAnimator](auto position) {
        source->setAlpha(1.0);
        panelSnapshot->removeFromSuperview();
        sourceSnapshot->removeFromSuperview();
        if (auto animator = weakAnimator.lock())
            animator->stopAnimation(true);
        context->completeTransition(position == UIKit::UIViewAnimatingPosition::end);
    });
    animator->startAnimation();
}

} // namespace Basalwork
