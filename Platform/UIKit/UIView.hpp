#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/CGAffineTransform.hpp"
#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPoint.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UIResponder.hpp"
#include "Platform/UIKit/UITraitCollection.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UIColor;
class UIEvent;
class UIWindow;

// A rectangle in a tree of views. The frame places the view in its superview's bounds; the bounds origin
// shifts what the view shows (as scrolling does). Nothing is drawn, so the transform is only recorded and
// takes no part in geometry. A view holds its subviews; its superview and window are weak.
class UIView : public UIResponder {
public:
    // Geometry.
    CGRect frame() const;
    void setFrame(const CGRect& frame);
    CGRect bounds() const { return m_bounds; }
    void setBounds(const CGRect& bounds);
    CGPoint center() const { return m_center; }
    void setCenter(CGPoint center) { m_center = center; }
    CGAffineTransform transform() const { return m_transform; }
    void setTransform(const CGAffineTransform& transform) { m_transform = transform; }

    // The tree. Subviews are kept back to front.
    std::shared_ptr<UIView> superview() const { return m_superview.lock(); }
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return m_subviews; }
    std::shared_ptr<UIWindow> window() const { return m_window.lock(); }
    // Adding a view that is already a subview here only moves it. Adding a view to itself or to one of
    // its own subviews stops the program.
    void addSubview(const std::shared_ptr<UIView>& view);
    // An index past the end adds on top.
    void insertSubview(const std::shared_ptr<UIView>& view, std::size_t at);
    // `sibling` must be a subview of this view.
    void insertSubviewAbove(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& sibling);
    void insertSubviewBelow(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& sibling);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<UIView>& view);
    void sendSubviewToBack(const std::shared_ptr<UIView>& view);

    // Appearance and state.
    bool isHidden() const { return m_isHidden; }
    virtual void setIsHidden(bool isHidden) { m_isHidden = isHidden; }
    CGFloat alpha() const { return m_alpha; }
    void setAlpha(CGFloat alpha) { m_alpha = alpha; }
    const std::shared_ptr<UIColor>& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(std::shared_ptr<UIColor> color) { m_backgroundColor = std::move(color); }
    bool isUserInteractionEnabled() const { return m_isUserInteractionEnabled; }
    void setIsUserInteractionEnabled(bool enabled) { m_isUserInteractionEnabled = enabled; }
    std::int64_t tag() const { return m_tag; }
    void setTag(std::int64_t tag) { m_tag = tag; }
    const std::optional<Foundation::String>& accessibilityIdentifier() const { return m_accessibilityIdentifier; }
    void setAccessibilityIdentifier(std::optional<Foundation::String> identifier)
    {
        m_accessibilityIdentifier = std::move(identifier);
    }

    // Coordinates between views; a null view stands for the window (without one, the topmost superview).
    // Views in different windows meet through the windows' frames.
    CGPoint convertTo(CGPoint point, const std::shared_ptr<UIView>& view) const;
    CGPoint convertFrom(CGPoint point, const std::shared_ptr<UIView>& view) const;
    CGRect convertTo(const CGRect& rect, const std::shared_ptr<UIView>& view) const;
    CGRect convertFrom(const CGRect& rect, const std::shared_ptr<UIView>& view) const;

    // The deepest visible, interactive view under the point (in this view's bounds), front subviews
    // first. Hidden views, nearly transparent ones and ones that take no interaction are passed over with
    // everything inside them.
    virtual std::shared_ptr<UIView> hitTest(CGPoint point, const std::shared_ptr<UIEvent>& with);
    virtual bool point(CGPoint inside, const std::shared_ptr<UIEvent>& with);

    // Layout: marked views lay out their subviews on the next `layoutIfNeeded` that reaches them.
    virtual void layoutSubviews() {}
    void setNeedsLayout() { m_needsLayout = true; }
    // Lays out from the topmost marked ancestor down through every marked view beneath it.
    void layoutIfNeeded();

    // Called around moves in the tree: on the moved view, and on every view of its subtree when the
    // window changes (top down).
    virtual void willMoveToSuperview(const std::shared_ptr<UIView>& /*newSuperview*/) {}
    virtual void didMoveToSuperview() {}
    virtual void willMoveToWindow(const std::shared_ptr<UIWindow>& /*newWindow*/) {}
    virtual void didMoveToWindow() {}

    // The window's traits; a view outside any window has its superview's, or unspecified ones.
    virtual UITraitCollection traitCollection() const;

    std::shared_ptr<UIResponder> next() const override { return superview(); }

protected:
    friend Foundation::Construct;
    UIView() = default;
    explicit UIView(const CGRect& frame);
    std::shared_ptr<UIWindow> firstResponderWindow() const override { return window(); }

private:
    friend class UIWindow;
    bool isSelfOrAncestor(const UIView* view) const;
    void place(const std::shared_ptr<UIView>& view, std::size_t index);
    void detachSubview(const UIView* view);
    void announceWillMoveToWindow(const std::shared_ptr<UIWindow>& newWindow);
    void setWindowOfSubtree(const std::shared_ptr<UIWindow>& window);
    void announceDidMoveToWindow();
    void layoutSubtreeIfNeeded();
    // A null view stands for the window base of the other one.
    static CGPoint convertBetween(CGPoint point, const UIView* from, const UIView* to);

    CGPoint m_center;
    CGRect m_bounds;
    CGAffineTransform m_transform;
    std::weak_ptr<UIView> m_superview;
    std::vector<std::shared_ptr<UIView>> m_subviews;
    std::weak_ptr<UIWindow> m_window;
    bool m_isHidden = false;
    CGFloat m_alpha = 1;
    std::shared_ptr<UIColor> m_backgroundColor;
    bool m_isUserInteractionEnabled = true;
    std::int64_t m_tag = 0;
    std::optional<Foundation::String> m_accessibilityIdentifier;
    bool m_needsLayout = true;
};

} // namespace UIKit
