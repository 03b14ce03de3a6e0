#include "Platform/UIKit/UIScrollView.hpp"

#include "Platform/UIKit/UILayoutGuide.hpp"

#include <algorithm>

namespace UIKit {
namespace {

// One axis: the offset that brings [minimum, maximum] into the visible span, then kept within the
// content's scrollable range.
CGFloat offsetShowing(CGFloat offset, CGFloat minimum, CGFloat maximum, CGFloat viewLength, CGFloat insetBefore,
                      CGFloat insetAfter, CGFloat contentLength)
{
    CGFloat visibleLength = viewLength - insetBefore - insetAfter;
    CGFloat visibleStart = offset + insetBefore;
    if (maximum - minimum > visibleLength || minimum < visibleStart)
        offset = minimum - insetBefore;
    else if (maximum > visibleStart + visibleLength)
        offset = maximum - insetBefore - visibleLength;
    CGFloat lowest = -insetBefore;
    CGFloat highest = std::max(lowest, contentLength + insetAfter - viewLength);
    return std::clamp(offset, lowest, highest);
}

} // namespace

const std::shared_ptr<UILayoutGuide>& UIScrollView::contentLayoutGuide() const
{
    if (!m_contentLayoutGuide) {
        m_contentLayoutGuide = Foundation::make<UILayoutGuide>();
        m_contentLayoutGuide->setIdentifier("UIScrollView-contentLayoutGuide");
        const_cast<UIScrollView*>(this)->addLayoutGuide(m_contentLayoutGuide);
    }
    return m_contentLayoutGuide;
}

const std::shared_ptr<UILayoutGuide>& UIScrollView::frameLayoutGuide() const
{
    if (!m_frameLayoutGuide) {
        m_frameLayoutGuide = Foundation::make<UILayoutGuide>();
        m_frameLayoutGuide->setIdentifier("UIScrollView-frameLayoutGuide");
        const_cast<UIScrollView*>(this)->addLayoutGuide(m_frameLayoutGuide);
    }
    return m_frameLayoutGuide;
}

void UIScrollView::setContentOffset(CGPoint offset, bool /*animated*/)
{
    setBounds({offset, bounds().size});
}

void UIScrollView::scrollRectToVisible(const CGRect& rect, bool animated)
{
    if (rect.isNull())
        return;
    CGRect target = rect.standardized();
    CGPoint offset = contentOffset();
    CGSize size = bounds().size;
    UIEdgeInsets inset = adjustedContentInset();
    CGPoint scrolled {
        offsetShowing(offset.x, target.minX(), target.maxX(), size.width, inset.left, inset.right, m_contentSize.width),
        offsetShowing(offset.y, target.minY(), target.maxY(), size.height, inset.top, inset.bottom,
                      m_contentSize.height),
    };
    if (scrolled.x != offset.x || scrolled.y != offset.y)
        setContentOffset(scrolled, animated);
}

void UIScrollView::setContentSize(CGSize size)
{
    m_contentSize = size;
    // Content that shrank under the offset would leave the view showing what lies past its end, with no
    // scrolling back on a display without a wheel: the offset comes back within the content.
    const CGPoint offset = contentOffset();
    const UIEdgeInsets inset = adjustedContentInset();
    const CGSize visible = bounds().size;
    const CGPoint kept {std::min(offset.x, std::max(-inset.left, size.width + inset.right - visible.width)),
                        std::min(offset.y, std::max(-inset.top, size.height + inset.bottom - visible.height))};
    if (kept.x != offset.x || kept.y != offset.y)
        setContentOffset(kept, false);
    std::erase_if(m_contentSizeObservations, [](const auto& observation) { return observation.expired(); });
    // A report may start or end observations, so it walks a copy.
    const auto observations = m_contentSizeObservations;
    for (const auto& weak : observations) {
        if (auto observation = weak.lock())
            observation->report();
    }
}

std::shared_ptr<Foundation::NSKeyValueObservation>
UIScrollView::observeContentSize(std::function<void(CGSize newValue)> handler)
{
    std::weak_ptr<UIScrollView> weakSelf = sharedSelf(this);
    auto observation = Foundation::make<Foundation::NSKeyValueObservation>([weakSelf, handler = std::move(handler)] {
        if (auto self = weakSelf.lock())
            handler(self->contentSize());
    });
    m_contentSizeObservations.push_back(observation);
    return observation;
}

} // namespace UIKit
