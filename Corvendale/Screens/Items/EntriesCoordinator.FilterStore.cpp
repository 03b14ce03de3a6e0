#include "Corvendale/Screens/Items/EntriesCoordinator.FilterStore.hpp"

#include "Basalwork/Base/UserDefaults.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

namespace Corvendale {

const Shared::EntryFilter& EntriesCoordinatorFilterStore::selectedFilter() const
{
    if (!m_selectedFilter)
        m_selectedFilter = Basalwork::codableValue<Shared::EntryFilter>(*m_userDefaults, selectedFilterKey)
                               .value_or(Shared::EntryFilter::default_());
    return *m_selectedFilter;
}

void EntriesCoordinatorFilterStore::setSelectedFilter(const Shared::EntryFilter& filter)
{
    m_selectedFilter = filter;
    auto recent = recentCategoryFilters();
    recent.add(filter);
    recent.store(*m_userDefaults);
    Basalwork::setCodable(*m_userDefaults, filter, selectedFilterKey);
}

EntriesCoordinatorRecentCategoryFilters EntriesCoordinatorFilterStore::recentCategoryFilters() const
{
    return EntriesCoordinatorRecentCategoryFilters::load(*m_userDefaults);
}

} // namespace Corvendale
