#include "Platform/UIKit/UINavigationItem.hpp"

#include "Platform/UIKit/UINavigationBar.hpp"
#include "Platform/UIKit/UINavigationBarAppearance.hpp"
#include "Platform/UIKit/UISearchController.hpp"

#include <algorithm>

namespace UIKit {

void UINavigationItem::changed()
{
    if (auto bar = m_bar.lock())
        bar->itemDidChange(*this);
}

void UINavigationItem::setHidesSearchBarWhenScrolling(bool hides)
{
    m_previousHidesSearchBarWhenScrolling = m_hidesSearchBarWhenScrolling;
    m_hidesSearchBarWhenScrolling = hides;
    auto& observations = m_hidesSearchBarWhenScrollingObservations;
    std::erase_if(observations, [](const auto& weak) { return weak.expired(); });
    // A handler may add or drop observations.
    for (const auto& weak : std::vector(observations))
        if (auto observation = weak.lock())
            observation->report();
}

std::shared_ptr<Foundation::NSKeyValueObservation>
UINavigationItem::observeHidesSearchBarWhenScrolling(std::function<void(bool oldValue, bool newValue)> handler)
{
    std::weak_ptr<UINavigationItem> weakSelf = sharedSelf(this);
    auto observation = Foundation::make<Foundation::NSKeyValueObservation>([weakSelf, handler = std::move(handler)] {
        if (auto self = weakSelf.lock())
            handler(self->m_previousHidesSearchBarWhenScrolling, self->m_hidesSearchBarWhenScrolling);
    });
    m_hidesSearchBarWhenScrollingObservations.push_back(observation);
    return observation;
}

} // namespace UIKit
