#pragma once

#include "Shared/Model/Entry.hpp"

#include <array>
#include <cstddef>
#include <tuple>
#include <utility>

namespace Shared {

// How a value appears in an item's coding.
enum class EntryPropertyPresence {
    // Always written; an item without it does not decode.
    required,
    // Always written; an item without it reads as holding the default.
    always,
    // Written only when set (an optional that has a value, a collection that is not empty); an item
    // without it reads as holding the default.
    whenSet,
};

// How two copies of an item that changed apart combine a value.
enum class EntryPropertyMerge {
    // Dated on its own: a change on one side is taken, of changes on both the later wins.
    byDate,
    // Both sides' values are kept (histories, service identifiers, merged-away values).
    united,
    // The item's identifier and its own dates, which the merge sets itself.
    ofTheItem,
};

inline constexpr int entryPropertyNotExported = -1;
// In this program's JSON export (and so in backups) but without a CSV column, so the CSV layout stays.
inline constexpr int entryPropertyWithoutCSVColumn = -2;

// One value an item keeps, as its coding, this program's exports and the merge of two copies see it.
template <class T>
struct EntryProperty {
    // Its coding key, which is also its column label in the CSV export.
    const char* key;
    T Entry::* member;
    EntryPropertyPresence presence;
    // Its column in this program's CSV export; `entryPropertyWithoutCSVColumn` puts it in the JSON export
    // only, `entryPropertyNotExported` leaves it out of both, to live only in storage and sync.
    int exportColumn;
    EntryPropertyMerge merge;

    constexpr bool isExported() const { return exportColumn != entryPropertyNotExported; }
    constexpr bool hasCSVColumn() const { return exportColumn >= 0; }
};

template <class T>
EntryProperty(const char*, T Entry::*, EntryPropertyPresence, int, EntryPropertyMerge) -> EntryProperty<T>;

// Every value of an item, in the order its coding writes them: its coding for storage and sync, the JSON
// export (which writes the exported ones in the same order and form), the CSV export's columns and the
// merge of two copies follow this one list, so a new value is added here and nowhere else.
inline constexpr std::tuple entryProperties {
    EntryProperty {"id", &Entry::id, EntryPropertyPresence::required, 0, EntryPropertyMerge::ofTheItem},
    EntryProperty {"category", &Entry::category, EntryPropertyPresence::required, 1, EntryPropertyMerge::byDate},
    EntryProperty {"title", &Entry::title, EntryPropertyPresence::always, 2, EntryPropertyMerge::byDate},
    EntryProperty {"username", &Entry::username, EntryPropertyPresence::always, 3, EntryPropertyMerge::byDate},
    EntryProperty {"password", &Entry::password, EntryPropertyPresence::always, 4, EntryPropertyMerge::byDate},
    EntryProperty {"totpSecretKey", &Entry::totpSecretKey, EntryPropertyPresence::always, 5, EntryPropertyMerge::byDate},
    EntryProperty {"website", &Entry::website, EntryPropertyPresence::always, 6, EntryPropertyMerge::byDate},
    EntryProperty {"notes", &Entry::notes, EntryPropertyPresence::always, 7, EntryPropertyMerge::byDate},
    EntryProperty {"tags", &Entry::tags, EntryPropertyPresence::always, 8, EntryPropertyMerge::byDate},
    EntryProperty {"serviceIdentifiers", &Entry::serviceIdentifiers, EntryPropertyPresence::always, 16, EntryPropertyMerge::united},
    EntryProperty {"sections", &Entry::sections, EntryPropertyPresence::always, 17, EntryPropertyMerge::byDate},
    EntryProperty {"passwordHistory", &Entry::passwordHistory, EntryPropertyPresence::always, 18, EntryPropertyMerge::united},
    EntryProperty {"totpSecretKeyHistory", &Entry::totpSecretKeyHistory, EntryPropertyPresence::always, 19, EntryPropertyMerge::united},
    EntryProperty {"mergedAwayValues", &Entry::mergedAwayValues, EntryPropertyPresence::whenSet, entryPropertyWithoutCSVColumn, EntryPropertyMerge::united},
    EntryProperty {"subtitleSource", &Entry::subtitleSource, EntryPropertyPresence::whenSet, 20, EntryPropertyMerge::byDate},
    EntryProperty {"isFavorite", &Entry::isFavorite, EntryPropertyPresence::always, 9, EntryPropertyMerge::byDate},
    EntryProperty {"isArchived", &Entry::isArchived, EntryPropertyPresence::always, 10, EntryPropertyMerge::byDate},
    EntryProperty {"isSafeForInspection", &Entry::isSafeForInspection, EntryPropertyPresence::always, 11, EntryPropertyMerge::byDate},
    EntryProperty {"showsEmptyLoginFields", &Entry::showsEmptyLoginFields, EntryPropertyPresence::always, 12, EntryPropertyMerge::byDate},
    EntryProperty {"trashedAt", &Entry::trashedAt, EntryPropertyPresence::whenSet, 15, EntryPropertyMerge::byDate},
    EntryProperty {"createdAt", &Entry::createdAt, EntryPropertyPresence::required, 13, EntryPropertyMerge::ofTheItem},
    EntryProperty {"modifiedAt", &Entry::modifiedAt, EntryPropertyPresence::required, 14, EntryPropertyMerge::ofTheItem},
};

inline constexpr std::size_t entryPropertyCount = std::tuple_size_v<std::remove_cvref_t<decltype(entryProperties)>>;

// A property by its place in the list, usable where a constant is needed (`if constexpr`).
template <std::size_t index>
inline constexpr const auto& entryProperty = std::get<index>(entryProperties);

namespace EntryPropertyDetail {

// The property at each CSV column; checks that the columns are 0, 1, 2, ... with none taken twice.
consteval auto exportedInColumnOrder()
{
    constexpr auto exportedCount = [] {
        std::size_t count = 0;
        std::apply([&](const auto&... property) { ((count += property.hasCSVColumn()), ...); }, entryProperties);
        return count;
    }();
    std::array<std::size_t, exportedCount> order {};
    std::array<bool, exportedCount> taken {};
    std::size_t index = 0;
    std::apply(
        [&](const auto&... property) {
            auto place = [&](const auto& each) {
                if (each.hasCSVColumn()) {
                    const auto column = static_cast<std::size_t>(each.exportColumn);
                    // Out of range or taken twice: not a constant expression, so the build stops here.
                    if (column >= exportedCount || taken[column])
                        throw "export columns must be 0, 1, 2, ... once each";
                    taken[column] = true;
                    order[column] = index;
                }
                ++index;
            };
            (place(property), ...);
        },
        entryProperties);
    return order;
}

} // namespace EntryPropertyDetail

// Positions in `entryProperties`, by CSV column.
inline constexpr auto entryPropertiesByExportColumn = EntryPropertyDetail::exportedInColumnOrder();

// Calls `body.template operator()<index>()` for every property in list order; `body` is a lambda
// `[&]<std::size_t index>() { constexpr const auto& property = entryProperty<index>; ... }`.
template <class Body>
constexpr void forEachEntryProperty(Body&& body)
{
    [&]<std::size_t... index>(std::index_sequence<index...>) {
        (body.template operator()<index>(), ...);
    }(std::make_index_sequence<entryPropertyCount> {});
}

// The same for the exported properties, in the order of their CSV columns.
template <class Body>
constexpr void forEachExportedEntryProperty(Body&& body)
{
    [&]<std::size_t... column>(std::index_sequence<column...>) {
        (body.template operator()<entryPropertiesByExportColumn[column]>(), ...);
    }(std::make_index_sequence<entryPropertiesByExportColumn.size()> {});
}

} // namespace Shared
