#include "Platform/UIKit/UISegmentedControl.hpp"

#include "Platform/UIKit/UITouch.hpp"

#include <algorithm>

namespace UIKit {

std::optional<Foundation::String> UISegmentedControl::titleForSegment(std::int64_t at) const
{
    if (at < 0 || at >= numberOfSegments())
        return std::nullopt;
    return m_titles[static_cast<std::size_t>(at)];
}

void UISegmentedControl::setTitle(std::optional<Foundation::String> title, std::int64_t forSegmentAt)
{
    if (forSegmentAt >= 0 && forSegmentAt < numberOfSegments())
        m_titles[static_cast<std::size_t>(forSegmentAt)] = std::move(title);
}

void UISegmentedControl::insertSegment(Foundation::String withTitle, std::int64_t at, bool)
{
    at = std::clamp<std::int64_t>(at, 0, numberOfSegments());
    m_titles.insert(m_titles.begin() + at, std::move(withTitle));
    if (m_selectedSegmentIndex >= at)
        ++m_selectedSegmentIndex;
}

void UISegmentedControl::removeSegment(std::int64_t at, bool)
{
    if (at < 0 || at >= numberOfSegments())
        return;
    m_titles.erase(m_titles.begin() + at);
    if (m_selectedSegmentIndex == at)
        m_selectedSegmentIndex = noSegment;
    else if (m_selectedSegmentIndex > at)
        --m_selectedSegmentIndex;
}

void UISegmentedControl::removeAllSegments()
{
    m_titles.clear();
    m_selectedSegmentIndex = noSegment;
}

void UISegmentedControl::setSelectedSegmentIndex(std::int64_t index)
{
    m_selectedSegmentIndex = index >= 0 && index < numberOfSegments() ? index : noSegment;
}

void UISegmentedControl::endTracking(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event)
{
    UIControl::endTracking(touch, event);
    if (!isTouchInside() || m_titles.empty() || bounds().size.width <= 0)
        return;
    auto self = std::static_pointer_cast<UIView>(sharedSelf(this));
    const CGFloat x = touch->location(self).x - bounds().origin.x;
    const auto segment = std::clamp<std::int64_t>(static_cast<std::int64_t>(x / (bounds().size.width / numberOfSegments())), 0,
                                                  numberOfSegments() - 1);
    const bool changed = m_isMomentary || segment != m_selectedSegmentIndex;
    m_selectedSegmentIndex = segment;
    if (changed)
        sendActions(Event::valueChanged() | Event::primaryActionTriggered());
    // A momentary control shows the segment selected only while its actions run.
    if (m_isMomentary)
        m_selectedSegmentIndex = noSegment;
}

std::optional<Foundation::String> UISegmentedControl::accessibilityValue() const
{
    if (auto value = UIControl::accessibilityValue())
        return value;
    return titleForSegment(m_selectedSegmentIndex);
}

} // namespace UIKit
