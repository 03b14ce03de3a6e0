#pragma once

#include "Shared/RecordStore.hpp"

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Shared {

// The vault's item summaries in memory, opened once per unlock. It answers the list without touching
// the store: filters, sorts with a collation key made once per item, searches over one lower-cased text
// per item (made for the searchable-fields preference in force), and AutoFill's domain matching over the
// hosts each item names. Not thread-safe: the record store guards it.
class RecordStore::Index {
public:
    explicit Index(Settings::Items::SearchableFields searchableFields);

    // A summary packed for sealing, and back; `unpacked` throws DecodingError for anything else.
    static Foundation::Data packed(const EntryIndex& index);
    static EntryIndex unpacked(const Foundation::Data& data);

    std::size_t size() const { return m_items.size(); }
    const EntryIndex* find(const Foundation::String& id) const;
    void insert(EntryIndex index);
    // Many at once, prepared in parallel (the index as a vault opens).
    void insert(std::vector<EntryIndex> indices);
    // `count` summaries, each opened by `open` and prepared in one parallel pass; answers the positions
    // `open` had nothing for, in order.
    std::vector<std::size_t> insertOpening(std::size_t count, const std::function<std::optional<EntryIndex>(std::size_t)>& open);
    void remove(const Foundation::String& id);
    void setSearchableFields(Settings::Items::SearchableFields searchableFields);

    // `include` leaves items out before any other test (the safe-for-inspection mode).
    std::vector<EntryIndex> query(const Entry::Filter& filter, Settings::Items::SortMethod sortMethod, const std::optional<Foundation::String>& searchText,
                                  const std::optional<Foundation::String>& associatedDomain, bool safeForInspectionOnly) const;
    std::int64_t count(const Entry::Filter& filter, bool safeForInspectionOnly) const;
    bool hasEntries(const Foundation::String& associatedDomain, bool safeForInspectionOnly) const;
    std::vector<Foundation::String> tagsInUse(bool safeForInspectionOnly) const;
    std::vector<Foundation::String> ids() const;

    // A site's host as items and requests name it: lower case, without scheme, path, port and "www.".
    static std::string host(const Foundation::String& text);

private:
    struct Item {
        EntryIndex index;
        std::string searchText;
        bool searchTextIsASCII = true;
        std::string sortKey;
        std::vector<std::string> hosts;
    };
    Item prepare(EntryIndex index) const;
    void place(Item item);
    void prepareSearchText(Item& item) const;
    bool matchesWords(const Item& item, const std::vector<std::string>& words) const;
    bool matchesDomain(const Item& item, const std::string& domain) const;

    Settings::Items::SearchableFields m_searchableFields;
    std::vector<Item> m_items;
    std::unordered_map<std::string, std::size_t> m_positions;
};

} // namespace Shared
