#include "Corvendale/Screens/Items/EntriesCoordinator.RecentCategoryFilters.hpp"

#include "Basalwork/Base/Sequence.hpp"
#include "Basalwork/Base/UserDefaults.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DecodingError.hpp"

#include <algorithm>

namespace Corvendale {

namespace {

constexpr std::size_t limit = 3;

bool isCategoryFilter(const Shared::EntryFilter& filter)
{
    return filter.as<Shared::EntryFilter::Category>() != nullptr;
}

} // namespace

std::vector<Shared::EntryFilter> EntriesCoordinatorRecentCategoryFilters::defaultCategoryFilters()
{
    const auto categories = Shared::allEntryCategories();
    return {Shared::EntryFilter::category(categories.at(0)), Shared::EntryFilter::category(categories.at(4)),
            Shared::EntryFilter::category(categories.at(5))};
}

EntriesCoordinatorRecentCategoryFilters EntriesCoordinatorRecentCategoryFilters::load(const Foundation::UserDefaults& userDefaults)
{
    return Basalwork::codableValue<EntriesCoordinatorRecentCategoryFilters>(userDefaults, userDefaultsKey)
        .value_or(EntriesCoordinatorRecentCategoryFilters());
}

void EntriesCoordinatorRecentCategoryFilters::store(Foundation::UserDefaults& userDefaults) const
{
    Basalwork::setCodable(userDefaults, *this, userDefaultsKey);
}

void EntriesCoordinatorRecentCategoryFilters::add(const Shared::EntryFilter& filter)
{
    if (!isCategoryFilter(filter))
        return;
    std::vector<Shared::EntryFilter> candidates {filter};
    candidates.insert(candidates.end(), m_categoryFilters.begin(), m_categoryFilters.end());
    for (auto&& fallback : defaultCategoryFilters())
        candidates.push_back(std::move(fallback));
    auto filters = Basalwork::removingDuplicates(candidates);
    if (filters.size() > limit)
        filters.erase(filters.begin() + limit, filters.end());
    m_categoryFilters = std::move(filters);
}

void EntriesCoordinatorRecentCategoryFilters::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(m_categoryFilters, "categoryFilters");
}

EntriesCoordinatorRecentCategoryFilters EntriesCoordinatorRecentCategoryFilters::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    auto filters = container.decode<std::vector<Shared::EntryFilter>>("categoryFilters");
    // The menu relies on the list's rules, so a hand-edited or damaged list counts as absent.
    if (filters.size() > limit || !std::ranges::all_of(filters, isCategoryFilter)
        || Basalwork::removingDuplicates(filters).size() != filters.size())
        throw Foundation::DecodingError::dataCorrupted({container.codingPath(), "Not a list of recent category filters", nullptr});
    EntriesCoordinatorRecentCategoryFilters result;
    result.m_categoryFilters = std::move(filters);
    return result;
}

} // namespace Corvendale
