#include "Basalwork/Interface/BlurrableWindow.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UIBlurEffect.hpp"

namespace Basalwork {

BlurrableWindow::BlurrableWindow(Foundation::NSCoder& coder)
    : UIWindow(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

BlurrableWindow::BlurrableWindow(const UIKit::CGRect& frame)
    : UIWindow(frame)
    , m_blurredContentView(Foundation::make<PercentAppliedVisualEffectView>(
          Foundation::make<UIKit::UIBlurEffect>(UIKit::UIBlurEffect::Style::regular)))
{
}

void BlurrableWindow::initialize()
{
    UIWindow::initialize();
    // The blur must never swallow a touch meant for the controls under it.
    m_blurredContentView->setIsUserInteractionEnabled(false);
    // The window's bounds, not its frame: the frame is in screen coordinates, and a window away from the
    // screen's origin would otherwise leave a strip of its content unblurred.
    m_blurredContentView->setFrame(bounds());
    m_blurredContentView->setAutoresizingMask(UIKit::UIView::AutoresizingMask::flexibleWidth() |
                                              UIKit::UIView::AutoresizingMask::flexibleHeight());
    addSubview(m_blurredContentView);
}

void BlurrableWindow::enabledBlur()
{
    bringSubviewToFront(m_blurredContentView);
    m_blurredContentView->setPercentApplied(0.17);
}

void BlurrableWindow::disableBlur()
{
    sendSubviewToBack(m_blurredContentView);
    m_blurredContentView->setPercentApplied(0.0);
}

} // namespace Basalwork
