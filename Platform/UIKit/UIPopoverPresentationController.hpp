#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UIPopoverArrowDirection.hpp"

#include <memory>

namespace UIKit {

class UIBarButtonItem;
class UIPopoverPresentationControllerDelegate;
class UIView;
class UIViewController;

// Where and how a controller presented as a pop-over is shown: anchored on a bar-button item, or on a
// rectangle in a view's coordinates. Nothing is shown, so the anchor is recorded.
class UIPopoverPresentationController : public Foundation::NSObject {
public:
    std::shared_ptr<UIViewController> presentedViewController() const { return m_presentedViewController.lock(); }

    const std::shared_ptr<UIBarButtonItem>& barButtonItem() const { return m_barButtonItem; }
    void setBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { m_barButtonItem = std::move(item); }
    const std::shared_ptr<UIView>& sourceView() const { return m_sourceView; }
    void setSourceView(std::shared_ptr<UIView> view) { m_sourceView = std::move(view); }
    // In the source view's coordinates.
    CGRect sourceRect() const { return m_sourceRect; }
    void setSourceRect(const CGRect& rect) { m_sourceRect = rect; }

    UIPopoverArrowDirection permittedArrowDirections() const { return m_permittedArrowDirections; }
    void setPermittedArrowDirections(UIPopoverArrowDirection directions) { m_permittedArrowDirections = directions; }

    std::shared_ptr<UIPopoverPresentationControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIPopoverPresentationControllerDelegate>& delegate) { m_delegate = delegate; }

protected:
    friend Foundation::Construct;
    explicit UIPopoverPresentationController(const std::shared_ptr<UIViewController>& presentedViewController)
        : m_presentedViewController(presentedViewController)
    {
    }

private:
    std::weak_ptr<UIViewController> m_presentedViewController;
    std::shared_ptr<UIBarButtonItem> m_barButtonItem;
    std::shared_ptr<UIView> m_sourceView;
    CGRect m_sourceRect;
    UIPopoverArrowDirection m_permittedArrowDirections = UIPopoverArrowDirection::any();
    std::weak_ptr<UIPopoverPresentationControllerDelegate> m_delegate;
};

} // namespace UIKit
