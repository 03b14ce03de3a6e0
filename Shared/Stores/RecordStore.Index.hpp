#pragma once

#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Shared {

// The vault's item summaries in memory, opened once per unlock. It answers the list without touching
// the store: filters, sorts with a collation key made once per item, searches over one lower-cased text
// per item (made for the searchable-fields preference in force), and AutoFill's domain matching over the
// hosts each item names. The search texts and hosts are made for every item at the first search or
// domain match, not before the first list. Not thread-safe: the record store guards it.
class RecordStore::Index {
public:
    explicit Index(Settings::Items::SearchableFields searchableFields);

    // A summary packed for sealing, and back; `unpacked` throws DecodingError for anything else.
    static Foundation::Data packed(const EntryIndex& index);
    static EntryIndex unpacked(const Foundation::Data& data);

    // A summary made ready for the index: its sort key, and later its search text and hosts. Made on any
    // thread.
    // The summary with its sort key, shared with whoever reads the index and never changed: a changed
    // item gets a new one.
    struct Summary {
        EntryIndex index;
        std::string sortKey;
        // The first bytes of the identifier, big-endian, so that a sort compares a number it holds
        // rather than a text elsewhere in memory.
        std::uint64_t idPrefix = 0;
    };
    // Made for every item at the first search or domain match; until then a vault's items carry none.
    struct SearchData {
        std::string text;
        bool isASCII = true;
        std::vector<std::string> hosts;
    };
    // Kept by value, with its identifier's hash, which the positions probe with.
    struct Item {
        std::shared_ptr<const Summary> summary;
        std::size_t idHash = 0;
        mutable std::unique_ptr<SearchData> search;
        const EntryIndex& index() const { return summary->index; }
    };

    std::size_t size() const { return m_items.size(); }
    // Tells this index's items, as they are now, from any other index's and from its own before or after
    // a change: a number no other state of any index had.
    std::uint64_t version() const { return m_version; }
    const EntryIndex* find(const Foundation::String& id) const;
    Item prepare(EntryIndex index) const;
    void reserve(std::size_t count);
    // Replaces an item of the same identifier.
    void insert(Item item);
    void insert(EntryIndex index) { insert(prepare(std::move(index))); }
    void remove(const Foundation::String& id);
    void setSearchableFields(Settings::Items::SearchableFields searchableFields);

    // The items a list shows, in two steps so that only the first holds the store's lock: `select` finds
    // them (`safeForInspectionOnly` leaves out the others before any other test), `sorted` orders them.
    std::vector<std::shared_ptr<const Summary>> select(const Entry::Filter& filter, const std::optional<Foundation::String>& searchText,
                                                       const std::optional<Foundation::String>& associatedDomain, bool safeForInspectionOnly) const;
    static std::vector<std::shared_ptr<const EntryIndex>> sorted(std::vector<std::shared_ptr<const Summary>> summaries,
                                                                 Settings::Items::SortMethod sortMethod);
    std::int64_t count(const Entry::Filter& filter, bool safeForInspectionOnly) const;
    bool hasEntries(const Entry::Filter& filter, bool safeForInspectionOnly) const;
    bool hasEntries(const Foundation::String& associatedDomain, bool safeForInspectionOnly) const;
    std::vector<Foundation::String> tagsInUse(bool safeForInspectionOnly) const;
    std::vector<Foundation::String> ids() const;

    // A site's host as items and requests name it: lower case, without scheme, path, port and "www.".
    static std::string host(const Foundation::String& text);

private:
    // Makes the search texts and hosts of every item unless they are made.
    void prepareSearchData() const;
    void prepareSearchData(const Item& item) const;
    bool matchesWords(const Item& item, const std::vector<std::string>& words) const;
    bool matchesDomain(const Item& item, const std::string& domain) const;

    static std::size_t hashOf(std::string_view id);
    // The slot that holds the item of this identifier, or the empty slot where it would go.
    std::size_t slotOf(std::string_view id, std::size_t hash) const;
    // Makes room for this many items at under half the slots taken.
    void reserveSlots(std::size_t count);
    void removeSlot(std::size_t slot);

    void changed();

    Settings::Items::SearchableFields m_searchableFields;
    std::uint64_t m_version = 0;
    std::vector<Item> m_items;
    // Each item's position plus one, by identifier: open addressing over the items' own hashes (no
    // node per item, and nothing that views an identifier that a replaced item takes along). Zero is
    // an empty slot.
    std::vector<std::uint32_t> m_slots;
    mutable bool m_searchDataIsPrepared = false;
};

} // namespace Shared
