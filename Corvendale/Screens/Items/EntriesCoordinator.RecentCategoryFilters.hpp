#pragma once

#include "Shared/Model/Entry.Filter.hpp"

#include <vector>

namespace Foundation {
class Decoder;
class Encoder;
class UserDefaults;
} // namespace Foundation

namespace Corvendale {

// EntriesCoordinator.RecentCategoryFilters: the category filters the user chose last, newest first, no two
// equal, at most three, each a category filter. The filter menu offers them first.
class EntriesCoordinatorRecentCategoryFilters {
public:
    static constexpr const char* userDefaultsKey = "EntriesCoordinator.recentCategoryFilters";
    // The login, secure note and credit card filters, in that order.
    static std::vector<Shared::EntryFilter> defaultCategoryFilters();

    EntriesCoordinatorRecentCategoryFilters()
        : m_categoryFilters(defaultCategoryFilters())
    {
    }

    // The stored list; the default one when nothing is stored or what is stored does not decode.
    static EntriesCoordinatorRecentCategoryFilters load(const Foundation::UserDefaults& userDefaults);
    void store(Foundation::UserDefaults& userDefaults) const;

    const std::vector<Shared::EntryFilter>& categoryFilters() const { return m_categoryFilters; }
    auto begin() const { return m_categoryFilters.begin(); }
    auto end() const { return m_categoryFilters.end(); }

    // Moves a category filter to the front and fills up with the defaults, so the list holds three after
    // every add; any other filter leaves it as it is.
    void add(const Shared::EntryFilter& filter);

    // {"categoryFilters": [...]}. A list that breaks the rules above does not decode.
    void encode(Foundation::Encoder& encoder) const;
    static EntriesCoordinatorRecentCategoryFilters decode(Foundation::Decoder& decoder);

    friend bool operator==(const EntriesCoordinatorRecentCategoryFilters&, const EntriesCoordinatorRecentCategoryFilters&) = default;

private:
    std::vector<Shared::EntryFilter> m_categoryFilters;
};

} // namespace Corvendale
