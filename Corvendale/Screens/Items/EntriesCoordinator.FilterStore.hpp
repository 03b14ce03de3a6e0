#pragma once

#include "Corvendale/Screens/Items/EntriesCoordinator.RecentCategoryFilters.hpp"

#include "Shared/Model/Entry.Filter.hpp"

#include <memory>
#include <optional>

namespace Foundation {
class UserDefaults;
} // namespace Foundation

namespace Corvendale {

// The filter the item list shows, kept in the user defaults across launches together with the recent
// category filters it feeds.
class EntriesCoordinatorFilterStore {
public:
    static constexpr const char* selectedFilterKey = "EntriesCoordinator.selectedFilter";

    explicit EntriesCoordinatorFilterStore(std::shared_ptr<Foundation::UserDefaults> userDefaults)
        : m_userDefaults(std::move(userDefaults))
    {
    }

    const std::shared_ptr<Foundation::UserDefaults>& userDefaults() const { return m_userDefaults; }

    // Read once: the stored filter, or the default one when none is stored or it no longer decodes.
    const Shared::EntryFilter& selectedFilter() const;
    // Adds the filter to the recent category filters and stores both, the recent list first.
    void setSelectedFilter(const Shared::EntryFilter& filter);
    // The stored recent category filters, or the default list.
    EntriesCoordinatorRecentCategoryFilters recentCategoryFilters() const;

private:
    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
    mutable std::optional<Shared::EntryFilter> m_selectedFilter;
};

} // namespace Corvendale
