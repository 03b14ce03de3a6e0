#include "Corvendale/Screens/Items/EntriesCoordinator.FilterStore.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinator.RecentCategoryFilters.hpp"

#include "Basalwork/Base/JSONCoder.hpp"
#include "Basalwork/Base/UserDefaults.hpp"
#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

using Corvendale::EntriesCoordinatorFilterStore;
using Corvendale::EntriesCoordinatorRecentCategoryFilters;
using Shared::EntryCategory;
using Filter = Shared::EntryFilter;
using Filters = std::vector<Filter>;

namespace {

constexpr const char* suite = "EntriesCoordinatorFilterStoreTests";

Filter category(EntryCategory value)
{
    return Filter::category(value);
}

class FilterPersistence : public testing::Test {
protected:
    void SetUp() override { defaults->removePersistentDomain(suite); }
    void TearDown() override { defaults->removePersistentDomain(suite); }

    void storeJSON(const char* key, std::string_view json)
    {
        defaults->set(Foundation::PropertyListValue(Foundation::Data::fromString(json)), key);
    }
    Filters storedRecent() const { return EntriesCoordinatorRecentCategoryFilters::load(*defaults).categoryFilters(); }

    std::shared_ptr<Foundation::UserDefaults> defaults = Foundation::UserDefaults::withSuiteName(Foundation::String(suite));
};

} // namespace

TEST(RecentCategoryFilters, AddingMovesACategoryToTheFrontAndKeepsThreeWithoutRepeats)
{
    const auto defaults = EntriesCoordinatorRecentCategoryFilters::defaultCategoryFilters();
    EXPECT_EQ(defaults, (Filters {category(EntryCategory::login), category(EntryCategory::secureNote), category(EntryCategory::creditCard)}));

    EntriesCoordinatorRecentCategoryFilters recent;
    recent.add(category(EntryCategory::secureNote));
    EXPECT_EQ(recent.categoryFilters(), (Filters {category(EntryCategory::secureNote), category(EntryCategory::login),
                                                  category(EntryCategory::creditCard)}));

    recent.add(category(EntryCategory::passport));
    recent.add(category(EntryCategory::server));
    EXPECT_EQ(recent.categoryFilters(), (Filters {category(EntryCategory::server), category(EntryCategory::passport),
                                                  category(EntryCategory::secureNote)}));

    for (const auto& other : {Filter::tag("work"), Filter::favorites(), Filter::trash(), Filter::categoryGroup(Shared::EntryCategoryGroup::Case::payments)})
        recent.add(other);
    EXPECT_EQ(recent.categoryFilters().size(), 3u) << "only category filters are recent";
    EXPECT_EQ(recent.categoryFilters().front(), category(EntryCategory::server));
    EXPECT_EQ(Filters(recent.begin(), recent.end()), recent.categoryFilters());
}

TEST_F(FilterPersistence, AnEmptyStoredListFillsUpWithTheDefaultsThatDifferFromTheNewFilter)
{
    storeJSON(EntriesCoordinatorRecentCategoryFilters::userDefaultsKey, R"({"categoryFilters":[]})");
    auto recent = EntriesCoordinatorRecentCategoryFilters::load(*defaults);
    EXPECT_TRUE(recent.categoryFilters().empty());
    recent.add(category(EntryCategory::creditCard));
    EXPECT_EQ(recent.categoryFilters(), (Filters {category(EntryCategory::creditCard), category(EntryCategory::login),
                                                  category(EntryCategory::secureNote)}));
}

TEST_F(FilterPersistence, RecentListsThatBreakTheRulesOrDoNotDecodeAreTheDefaultList)
{
    const auto fallback = EntriesCoordinatorRecentCategoryFilters::defaultCategoryFilters();
    EXPECT_EQ(storedRecent(), fallback) << "nothing stored";
    for (const char* json : {
             R"({"categoryFilters":[{"case":"category","value":"spaceship"}]})",
             R"({"categoryFilters":[{"case":"favorites"}]})",
             R"({"categoryFilters":[{"case":"category","value":"login"},{"case":"category","value":"login"}]})",
             R"({"categoryFilters":[{"case":"category","value":"login"},{"case":"category","value":"server"},)"
             R"({"case":"category","value":"passport"},{"case":"category","value":"identity"}]})",
             R"({"filters":[]})",
             "not json",
         }) {
        storeJSON(EntriesCoordinatorRecentCategoryFilters::userDefaultsKey, json);
        EXPECT_EQ(storedRecent(), fallback) << json;
    }
    defaults->set(Foundation::PropertyListValue("a text, not data"), EntriesCoordinatorRecentCategoryFilters::userDefaultsKey);
    EXPECT_EQ(storedRecent(), fallback);
}

TEST_F(FilterPersistence, TheFirstLaunchShowsTheDefaultFilterAndTheFirstChangeWritesBothKeys)
{
    EntriesCoordinatorFilterStore store(defaults);
    EXPECT_EQ(store.selectedFilter(), Filter::default_());
    EXPECT_FALSE(defaults->object(EntriesCoordinatorFilterStore::selectedFilterKey));
    EXPECT_FALSE(defaults->object(EntriesCoordinatorRecentCategoryFilters::userDefaultsKey));

    store.setSelectedFilter(Filter::tag("travel"));
    EXPECT_TRUE(defaults->object(EntriesCoordinatorRecentCategoryFilters::userDefaultsKey)) << "written back though unchanged";
    EXPECT_EQ(storedRecent(), EntriesCoordinatorRecentCategoryFilters::defaultCategoryFilters());

    store.setSelectedFilter(category(EntryCategory::passport));
    EXPECT_EQ(store.selectedFilter(), category(EntryCategory::passport));
    EXPECT_EQ(store.recentCategoryFilters().categoryFilters().front(), category(EntryCategory::passport));

    // The next launch reads what this one stored.
    EntriesCoordinatorFilterStore relaunched(defaults);
    EXPECT_EQ(relaunched.selectedFilter(), category(EntryCategory::passport));
    EXPECT_EQ(relaunched.recentCategoryFilters().categoryFilters(),
              (Filters {category(EntryCategory::passport), category(EntryCategory::login), category(EntryCategory::secureNote)}));
}

TEST_F(FilterPersistence, AStoredFilterThatNoLongerDecodesFallsBackToTheDefault)
{
    storeJSON(EntriesCoordinatorFilterStore::selectedFilterKey, R"({"case":"category","value":"spaceship"})");
    EXPECT_EQ(EntriesCoordinatorFilterStore(defaults).selectedFilter(), Filter::default_());

    storeJSON(EntriesCoordinatorFilterStore::selectedFilterKey, R"({"case":"archived"})");
    EntriesCoordinatorFilterStore store(defaults);
    EXPECT_EQ(store.selectedFilter(), Filter::archived());
    // Read once: a later change by someone else does not move the list.
    storeJSON(EntriesCoordinatorFilterStore::selectedFilterKey, R"({"case":"trash"})");
    EXPECT_EQ(store.selectedFilter(), Filter::archived());
}
