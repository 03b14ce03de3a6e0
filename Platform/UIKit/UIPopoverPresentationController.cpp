#include "Platform/UIKit/UIPopoverPresentationController.hpp"

#include "Platform/UIKit/UIBarButtonItem.hpp"
#include "Platform/UIKit/UIPopoverPresentationControllerDelegate.hpp"
#include "Platform/UIKit/UIView.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <algorithm>

namespace UIKit {

std::shared_ptr<UIPopoverPresentationControllerDelegate> UIPopoverPresentationController::delegate() const
{
    return std::dynamic_pointer_cast<UIPopoverPresentationControllerDelegate>(UIPresentationController::delegate());
}

void UIPopoverPresentationController::setDelegate(const std::shared_ptr<UIPopoverPresentationControllerDelegate>& delegate)
{
    UIPresentationController::setDelegate(delegate);
}

std::optional<CGRect> UIPopoverPresentationController::anchorRectInWindow() const
{
    auto view = m_sourceView;
    CGRect rect = m_sourceRect;
    if (!view && m_barButtonItem) {
        view = m_barButtonItem->view();
        if (view)
            rect = view->bounds();
    } else if (view && rect.isEmpty()) {
        rect = view->bounds();
    }
    if (!view || !view->window())
        return std::nullopt;
    return view->convertTo(rect, nullptr);
}

CGRect UIPopoverPresentationController::frameInWindow(const CGRect& windowBounds) const
{
    CGSize size {320, 480};
    if (auto presented = presentedViewController(); presented && presented->preferredContentSize() != CGSize {})
        size = presented->preferredContentSize();
    size.width = std::min(size.width, windowBounds.size.width);
    size.height = std::min(size.height, windowBounds.size.height);
    CGRect anchor = anchorRectInWindow().value_or(
        CGRect {{windowBounds.midX(), windowBounds.midY()}, {0, 0}});
    CGFloat x = std::clamp(anchor.midX() - size.width / 2, windowBounds.minX(), windowBounds.maxX() - size.width);
    CGFloat y = anchor.maxY();
    if (y + size.height > windowBounds.maxY())
        y = anchor.minY() - size.height;
    y = std::clamp(y, windowBounds.minY(), windowBounds.maxY() - size.height);
    return {{x, y}, size};
}

} // namespace UIKit
