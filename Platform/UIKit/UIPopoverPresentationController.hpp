#pragma once

#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UIPopoverArrowDirection.hpp"
#include "Platform/UIKit/UIPresentationController.hpp"

#include <memory>
#include <optional>

namespace UIKit {

class UIBarButtonItem;
class UIPopoverPresentationControllerDelegate;
class UIView;
class UIViewController;

// Where and how a controller presented as a pop-over is shown: anchored on a bar-button item, or on a
// rectangle in a view's coordinates. The pop-over sits beside its anchor, below it where there is room;
// a tap outside it dismisses it unless the presented controller is modal in presentation or the delegate
// refuses.
class UIPopoverPresentationController : public UIPresentationController {
public:
    const std::shared_ptr<UIBarButtonItem>& barButtonItem() const { return m_barButtonItem; }
    void setBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { m_barButtonItem = std::move(item); }
    const std::shared_ptr<UIView>& sourceView() const { return m_sourceView; }
    void setSourceView(std::shared_ptr<UIView> view) { m_sourceView = std::move(view); }
    // In the source view's coordinates.
    CGRect sourceRect() const { return m_sourceRect; }
    void setSourceRect(const CGRect& rect) { m_sourceRect = rect; }

    UIPopoverArrowDirection permittedArrowDirections() const { return m_permittedArrowDirections; }
    void setPermittedArrowDirections(UIPopoverArrowDirection directions) { m_permittedArrowDirections = directions; }

    // The delegate, when it is a pop-over delegate.
    std::shared_ptr<UIPopoverPresentationControllerDelegate> delegate() const;
    void setDelegate(const std::shared_ptr<UIPopoverPresentationControllerDelegate>& delegate);

    // Where the anchor is in its window's coordinates: the source rectangle, else the whole source view,
    // else the item's view on a bar; none while no anchor is in a window.
    std::optional<CGRect> anchorRectInWindow() const;
    // The pop-over's frame in a window of that size: its preferred content size (320 by 480 without one)
    // below the anchor, or above it when it does not fit below, centred on it and kept inside the window.
    CGRect frameInWindow(const CGRect& windowBounds) const;

protected:
    friend Foundation::Construct;
    explicit UIPopoverPresentationController(const std::shared_ptr<UIViewController>& presentedViewController)
        : UIPresentationController(presentedViewController, nullptr)
    {
    }

private:
    std::shared_ptr<UIBarButtonItem> m_barButtonItem;
    std::shared_ptr<UIView> m_sourceView;
    CGRect m_sourceRect;
    UIPopoverArrowDirection m_permittedArrowDirections = UIPopoverArrowDirection::any();
};

} // namespace UIKit
