#include "Basalwork/Interface/DisplayLargeTitlesOnInitialAppearanceHack.hpp"

#include <utility>

namespace Basalwork {

DisplayLargeTitlesOnInitialAppearanceHack::DisplayLargeTitlesOnInitialAppearanceHack(
    std::shared_ptr<UIKit::UINavigationItem> navigationItem)
    : m_navigationItem(std::move(navigationItem))
    , m_searchController(Foundation::make<UIKit::UISearchController>())
{
}

void DisplayLargeTitlesOnInitialAppearanceHack::initialize()
{
    NSObject::initialize();
    std::weak_ptr<DisplayLargeTitlesOnInitialAppearanceHack> weak = sharedSelf(this);
    m_hidesSearchBarWhenScrollingObservation = m_navigationItem->observeHidesSearchBarWhenScrolling([weak](bool, bool newValue) {
        if (auto self = weak.lock())
            self->recordOwnersChange(newValue);
    });
}

void DisplayLargeTitlesOnInitialAppearanceHack::recordOwnersChange(bool hidesSearchBarWhenScrolling)
{
    if (m_isPerformingViewDidLoadActions || m_isPerformingViewDidAppearActions || m_hasPerformedHack)
        return;
    m_hidesSearchBarWhenScrollingSetOutsideOfHack = hidesSearchBarWhenScrolling;
}

void DisplayLargeTitlesOnInitialAppearanceHack::performViewDidLoadActionsIfRequired()
{
    if (m_hasPerformedHack || m_navigationItem->searchController())
        return;
    m_isPerformingViewDidLoadActions = true;
    m_navigationItem->setSearchController(m_searchController);
    m_navigationItem->setHidesSearchBarWhenScrolling(false);
    m_isPerformingViewDidLoadActions = false;
}

void DisplayLargeTitlesOnInitialAppearanceHack::performViewDidAppearActionsIfRequired()
{
    if (m_hasPerformedHack)
        return;
    const auto& installed = m_navigationItem->searchController();
    if (installed && installed != m_searchController)
        return; // the owner's own search controller: nothing to undo
    m_isPerformingViewDidAppearActions = true;
    if (auto observation = std::exchange(m_hidesSearchBarWhenScrollingObservation, nullptr))
        observation->invalidate();
    m_navigationItem->setSearchController(nullptr);
    m_navigationItem->setHidesSearchBarWhenScrolling(m_hidesSearchBarWhenScrollingSetOutsideOfHack.value_or(true));
    m_isPerformingViewDidAppearActions = false;
    m_hasPerformedHack = true;
}

} // namespace Basalwork
