#include "Platform/UIKit/UIPopoverPresentationController.hpp"

#include "Platform/UIKit/TextGrid.hpp"
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
    // A margin of a text cell all round, where there is room, keeps the pop-over's frame in the window.
    const CGRect area = windowBounds.size.width > size.width + 2 * TextGrid::columnWidth && windowBounds.size.height > size.height + 2 * TextGrid::lineHeight
        ? windowBounds.insetBy(TextGrid::columnWidth, TextGrid::lineHeight)
        : windowBounds;
    size.width = std::min(size.width, area.size.width);
    size.height = std::min(size.height, area.size.height);
    CGRect anchor = anchorRectInWindow().value_or(CGRect {{area.midX(), area.midY()}, {0, 0}});
    CGFloat x = std::clamp(anchor.midX() - size.width / 2, area.minX(), area.maxX() - size.width);
    CGFloat y = anchor.maxY();
    // Below the anchor, else above it, else (an anchor as tall as the window) over its middle.
    if (y + size.height > area.maxY())
        y = anchor.minY() - size.height;
    if (y < area.minY())
        y = anchor.midY() - size.height / 2;
    y = std::clamp(y, area.minY(), area.maxY() - size.height);
    return {{x, y}, size};
}

} // namespace UIKit
