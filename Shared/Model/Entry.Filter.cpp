#include "Shared/Model/Entry.Filter.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Model/EntryIndex.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/DecodingError.hpp"

#include <algorithm>
#include <iterator>

namespace Shared {

namespace {

// The stored name of each case, in declared order.
constexpr const char* caseNames[] = {"category", "categoryGroup", "tag", "allItems", "favorites", "safeForInspection", "archived", "trash"};
static_assert(std::size(caseNames) == std::variant_size_v<EntryFilter::Case>);

} // namespace

Foundation::String EntryFilter::titleText() const
{
    return visit(Foundation::Overloaded {
        [](const Category& category) -> Foundation::String { return Shared::titleText(category.category); },
        [](const CategoryGroup& group) -> Foundation::String { return EntryCategoryGroup::titleText(group.group); },
        [](const Tag& tag) -> Foundation::String { return tag.tag; },
        [](const AllItems&) -> Foundation::String { return "All Items"; },
        [](const Favorites&) -> Foundation::String { return "Favorites"; },
        [](const SafeForInspection&) -> Foundation::String { return "Safe for Inspection"; },
        [](const Archived&) -> Foundation::String { return "Archived"; },
        [](const Trash&) -> Foundation::String { return "Trash"; },
    });
}

template <class Item>
bool EntryFilter::matches(const Item& item, bool isTrashed) const
{
    if (as<Trash>())
        return isTrashed;
    if (isTrashed)
        return false;
    if (as<Archived>())
        return item.isArchived;
    if (item.isArchived)
        return false;
    if (const auto* category = as<Category>())
        return item.category == category->category;
    if (const auto* group = as<CategoryGroup>())
        return Shared::group(item.category) == group->group;
    if (const auto* tag = as<Tag>())
        return std::find(item.tags.begin(), item.tags.end(), tag->tag) != item.tags.end();
    if (as<Favorites>())
        return item.isFavorite;
    if (as<SafeForInspection>())
        return item.isSafeForInspection;
    return true;
}

bool EntryFilter::matches(const Entry& entry) const
{
    return matches(entry, entry.isTrashed());
}

bool EntryFilter::matches(const EntryIndex& index) const
{
    return matches(index, index.isTrashed);
}

void EntryFilter::encode(Foundation::Encoder& encoder) const
{
    auto container = encoder.container();
    container.encode(caseNames[index()], "case");
    if (const auto* category = as<Category>())
        container.encode(category->category, "value");
    else if (const auto* group = as<CategoryGroup>())
        container.encode(static_cast<std::int64_t>(group->group), "value");
    else if (const auto* tag = as<Tag>())
        container.encode(tag->tag, "value");
}

EntryFilter EntryFilter::decode(Foundation::Decoder& decoder)
{
    auto container = decoder.container();
    auto name = container.decode<Foundation::String>("case");
    if (name == "category")
        return category(container.decode<EntryCategory>("value"));
    if (name == "categoryGroup") {
        auto index = container.decode<std::int64_t>("value");
        auto groups = EntryCategoryGroup::allCases();
        if (index < 0 || index >= static_cast<std::int64_t>(groups.size()))
            throw Foundation::DecodingError::dataCorrupted({container.codingPath(), "Unknown category group", nullptr});
        return categoryGroup(groups[static_cast<std::size_t>(index)]);
    }
    if (name == "tag")
        return tag(container.decode<Foundation::String>("value"));
    if (name == "allItems")
        return allItems();
    if (name == "favorites")
        return favorites();
    if (name == "safeForInspection")
        return safeForInspection();
    if (name == "archived")
        return archived();
    if (name == "trash")
        return trash();
    throw Foundation::DecodingError::dataCorrupted({container.codingPath(), "Unknown filter", nullptr});
}

} // namespace Shared
