#pragma once

#include "Platform/Foundation/NSKeyValueObservation.hpp"
#include "Platform/UIKit/CGPoint.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIEdgeInsets.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace UIKit {

class UILayoutGuide;

// A view onto content larger than itself. The content offset is the bounds origin: the point of the
// content shown at the top left corner. Scrolling takes effect at once, animated or not.
class UIScrollView : public UIView {
public:
    enum class KeyboardDismissMode : std::int64_t;

    CGPoint contentOffset() const { return bounds().origin; }
    void setContentOffset(CGPoint offset) { setContentOffset(offset, false); }
    virtual void setContentOffset(CGPoint offset, bool animated);
    CGSize contentSize() const { return m_contentSize; }
    void setContentSize(CGSize size);
    // observe(\.contentSize, options: [.new]): every write reports the new size, none is reported at
    // the start. The observation lasts while the returned token is held and valid.
    std::shared_ptr<Foundation::NSKeyValueObservation> observeContentSize(std::function<void(CGSize newValue)> handler);
    UIEdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(const UIEdgeInsets& inset) { m_contentInset = inset; }
    // The content inset plus what the system adds for bars and safe areas, of which there are none here.
    UIEdgeInsets adjustedContentInset() const { return m_contentInset; }

    UIEdgeInsets scrollIndicatorInsets() const { return m_verticalScrollIndicatorInsets; }
    // Sets both the vertical and the horizontal indicator insets.
    void setScrollIndicatorInsets(const UIEdgeInsets& insets)
    {
        m_verticalScrollIndicatorInsets = insets;
        m_horizontalScrollIndicatorInsets = insets;
    }
    UIEdgeInsets verticalScrollIndicatorInsets() const { return m_verticalScrollIndicatorInsets; }
    void setVerticalScrollIndicatorInsets(const UIEdgeInsets& insets) { m_verticalScrollIndicatorInsets = insets; }
    UIEdgeInsets horizontalScrollIndicatorInsets() const { return m_horizontalScrollIndicatorInsets; }
    void setHorizontalScrollIndicatorInsets(const UIEdgeInsets& insets) { m_horizontalScrollIndicatorInsets = insets; }
    KeyboardDismissMode keyboardDismissMode() const { return m_keyboardDismissMode; }
    void setKeyboardDismissMode(KeyboardDismissMode mode) { m_keyboardDismissMode = mode; }

    // The content's rectangle, at the origin of the bounds coordinates and as large as the content size;
    // constraints that size it set the content size when the scroll view lays out. Constraints between the
    // scroll view's own edges and views inside it mean the same. The frame guide is the scroll view's
    // visible rectangle, which scrolling moves over the content.
    const std::shared_ptr<UILayoutGuide>& contentLayoutGuide() const;
    const std::shared_ptr<UILayoutGuide>& frameLayoutGuide() const;

    // Scrolls as little as it takes to show the rectangle (in content coordinates) within the inset
    // bounds, staying within the content; a rectangle already shown scrolls nothing.
    virtual void scrollRectToVisible(const CGRect& rect, bool animated);

protected:
    friend Foundation::Construct;
    UIScrollView() = default;
    explicit UIScrollView(const CGRect& frame)
        : UIView(frame)
    {
    }
    explicit UIScrollView(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }

private:
    friend class LayoutEngine;
    mutable std::shared_ptr<UILayoutGuide> m_contentLayoutGuide;
    mutable std::shared_ptr<UILayoutGuide> m_frameLayoutGuide;
    CGSize m_contentSize;
    UIEdgeInsets m_contentInset;
    UIEdgeInsets m_verticalScrollIndicatorInsets;
    UIEdgeInsets m_horizontalScrollIndicatorInsets;
    KeyboardDismissMode m_keyboardDismissMode {};
    std::vector<std::weak_ptr<Foundation::NSKeyValueObservation>> m_contentSizeObservations;
};

} // namespace UIKit

#include "Platform/UIKit/UIScrollView.KeyboardDismissMode.hpp"
