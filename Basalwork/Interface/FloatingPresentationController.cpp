#include "Basalwork/Interface/FloatingPresentationController.hpp"

#include "Platform/UIKit/UITapGestureRecognizer.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"

namespace Basalwork {

FloatingPresentationController::FloatingPresentationController(
    const std::shared_ptr<UIKit::UIViewController>& presentedViewController,
    const std::shared_ptr<UIKit::UIViewController>& presenting, UIKit::CGSize contentSize)
    : UIPresentationController(presentedViewController, presenting)
    , m_backgroundTapTargetView(Foundation::make<UIKit::UIView>())
    , m_contentSize(contentSize)
{
}

void FloatingPresentationController::initialize()
{
    UIPresentationController::initialize();
    std::weak_ptr<FloatingPresentationController> weak = weakSelf(this);
    m_backgroundTapTargetView->addGestureRecognizer(Foundation::make<UIKit::UITapGestureRecognizer>([weak](auto&) {
        if (auto self = weak.lock())
            self->handleTap();
    }));
}

void FloatingPresentationController::handleTap()
{
    if (auto presenting = presentingViewController())
        presenting->dismiss(true, nullptr);
}

UIKit::CGRect FloatingPresentationController::frameOfPresentedViewInContainerView() const
{
    auto container = containerView();
    if (!container)
        return {};
    const auto bounds = container->bounds();
    return {(bounds.size.width - m_contentSize.width) * 0.5, (bounds.size.height - m_contentSize.height) * 0.5,
            m_contentSize.width, m_contentSize.height};
}

void FloatingPresentationController::presentationTransitionWillBegin()
{
    UIPresentationController::presentationTransitionWillBegin();
    if (auto container = containerView())
        container->insertSubview(m_backgroundTapTargetView, 0);
}

void FloatingPresentationController::containerViewWillLayoutSubviews()
{
    UIPresentationController::containerViewWillLayoutSubviews();
    if (auto presented = presentedView())
        presented->setFrame(frameOfPresentedViewInContainerView());
    if (auto container = containerView())
        m_backgroundTapTargetView->setFrame(container->frame());
}

} // namespace Basalwork
