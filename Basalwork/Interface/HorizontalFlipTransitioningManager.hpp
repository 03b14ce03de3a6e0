#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIViewControllerAnimatedTransitioning.hpp"
#include "Platform/UIKit/UIViewControllerTransitioningDelegate.hpp"

#include <memory>

namespace UIKit {
class UIView;
class UIViewController;
}

namespace Basalwork {

// Presents a panel by flipping a source view over, like a card, into the panel, and flips it back on
// dismissal. The presenting side keeps the manager while the panel is up: it serves both directions.
class HorizontalFlipTransitioningManager : public Foundation::NSObject,
                                           public UIKit::UIViewControllerTransitioningDelegate,
                                           public UIKit::UIViewControllerAnimatedTransitioning {
public:
    static constexpr double duration = 0.84;

    std::shared_ptr<UIKit::UIViewController> viewControllerToPresentFrom() const { return m_viewControllerToPresentFrom.lock(); }
    void setViewControllerToPresentFrom(const std::shared_ptr<UIKit::UIViewController>& controller)
    {
        m_viewControllerToPresentFrom = controller;
    }
    std::shared_ptr<UIKit::UIView> viewToPresentFrom() const { return m_viewToPresentFrom.lock(); }
    void setViewToPresentFrom(const std::shared_ptr<UIKit::UIView>& view) { m_viewToPresentFrom = view; }
    std::shared_ptr<UIKit::UIViewController> viewControllerBeingPresented() const { return m_viewControllerBeingPresented.lock(); }
    void setViewControllerBeingPresented(const std::shared_ptr<UIKit::UIViewController>& controller)
    {
        m_viewControllerBeingPresented = controller;
    }
    UIKit::CGSize contentSize() const { return m_contentSize; }

    std::shared_ptr<UIKit::UIPresentationController>
    presentationController(const std::shared_ptr<UIKit::UIViewController>& forPresented,
                           const std::shared_ptr<UIKit::UIViewController>& presenting,
                           const std::shared_ptr<UIKit::UIViewController>& source) override;
    std::shared_ptr<UIKit::UIViewControllerAnimatedTransitioning>
    animationController(const std::shared_ptr<UIKit::UIViewController>& forPresented,
                        const std::shared_ptr<UIKit::UIViewController>& presenting,
                        const std::shared_ptr<UIKit::UIViewController>& source) override;
    std::shared_ptr<UIKit::UIViewControllerAnimatedTransitioning>
    animationController(const std::shared_ptr<UIKit::UIViewController>& forDismissed) override;

    double transitionDuration(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;
    void animateTransition(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& using_) override;

protected:
    friend Foundation::Construct;
    HorizontalFlipTransitioningManager(const std::shared_ptr<UIKit::UIViewController>& viewControllerToPresentFrom,
                                       const std::shared_ptr<UIKit::UIView>& viewToPresentFrom,
                                       const std::shared_ptr<UIKit::UIViewController>& viewControllerBeingPresented,
                                       UIKit::CGSize contentSize)
        : m_viewControllerToPresentFrom(viewControllerToPresentFrom)
        , m_viewToPresentFrom(viewToPresentFrom)
        , m_viewControllerBeingPresented(viewControllerBeingPresented)
        , m_contentSize(contentSize)
    {
    }

private:
    void presentingFlip(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context);
    void dismissingFlip(const std::shared_ptr<UIKit::UIViewControllerContextTransitioning>& context);

    std::weak_ptr<UIKit::UIViewController> m_viewControllerToPresentFrom;
    std::weak_ptr<UIKit::UIView> m_viewToPresentFrom;
    std::weak_ptr<UIKit::UIViewController> m_viewControllerBeingPresented;
    UIKit::CGSize m_contentSize;
};

} // namespace Basalwork
