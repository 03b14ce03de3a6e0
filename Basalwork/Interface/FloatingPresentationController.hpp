#pragma once

#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIPresentationController.hpp"

#include <memory>

namespace UIKit {
class UIView;
}

namespace Basalwork {

// Shows a panel of fixed size centred in its container and dismisses it on a tap anywhere outside it.
class FloatingPresentationController : public UIKit::UIPresentationController {
public:
    const std::shared_ptr<UIKit::UIView>& backgroundTapTargetView() const { return m_backgroundTapTargetView; }
    UIKit::CGSize contentSize() const { return m_contentSize; }

    // Centred and not clamped: a panel larger than its container overhangs equally on both sides.
    UIKit::CGRect frameOfPresentedViewInContainerView() const override;
    void presentationTransitionWillBegin() override;
    void containerViewWillLayoutSubviews() override;

protected:
    friend Foundation::Construct;
    // init(presentedViewController:presenting:contentSize:)
    FloatingPresentationController(const std::shared_ptr<UIKit::UIViewController>& presentedViewController,
                                   const std::shared_ptr<UIKit::UIViewController>& presenting, UIKit::CGSize contentSize);
    void initialize() override;

private:
    void handleTap();

    std::shared_ptr<UIKit::UIView> m_backgroundTapTargetView;
    UIKit::CGSize m_contentSize;
};

} // namespace Basalwork
