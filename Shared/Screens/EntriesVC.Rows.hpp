#pragma once

#include "Shared/Model/EntryIndex.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace Shared {

// What the item list shows (EntriesVC::Rows), made on its worker and never changed afterwards, so that
// the main thread reads it without a lock: the filter's items in order, shared with the store's index,
// and the positions among them that the search leaves, in order.
class EntriesVCRows {
public:
    using Summary = std::shared_ptr<const EntryIndex>;

    // The filter's items; each identifier once.
    class Items {
    public:
        explicit Items(std::vector<Summary> summaries);
        const std::vector<Summary>& summaries() const { return m_summaries; }
        std::size_t size() const { return m_summaries.size(); }
        std::optional<std::uint32_t> position(std::string_view entryID) const;
        // Whether an identifier was given more than once (only its first place is found).
        bool hasRepeats() const { return m_hasRepeats; }

        static constexpr std::uint32_t unpaired = 0xFFFF'FFFF;
        // For each of `later`'s items, its position here, or `unpaired`; no position twice. Items that stay
        // mostly keep their order, so each is looked for first just after the one before it, and by its
        // identifier only when it is not there: a sync's few changes cost a few lookups, not one an item.
        std::vector<std::uint32_t> positionsOf(const Items& later) const;

    private:
        std::vector<Summary> m_summaries;
        bool m_hasRepeats = false;
        // Open addressing over positions (plus one, in the low half; zero is free) beside the upper half of
        // their identifier's hash, so that a probe reads an item only when the hashes agree.
        std::vector<std::uint64_t> m_table;
        std::size_t m_mask = 0;
    };

    EntriesVCRows();
    EntriesVCRows(std::shared_ptr<const Items> items, std::vector<std::uint32_t> shown, Foundation::String searchText);

    const std::shared_ptr<const Items>& items() const { return m_items; }
    // Positions in `items()`, ascending.
    const std::vector<std::uint32_t>& shown() const { return m_shown; }
    std::size_t shownCount() const { return m_shown.size(); }
    const EntryIndex& shownItem(std::size_t row) const { return *m_items->summaries()[m_shown[row]]; }
    const Summary& shownSummary(std::size_t row) const { return m_items->summaries()[m_shown[row]]; }
    // The item's row among those shown.
    std::optional<std::int64_t> shownRow(const Foundation::String& entryID) const;
    bool contains(const Foundation::String& entryID) const { return m_items->position(entryID.view()).has_value(); }
    // The search text the shown rows answer.
    const Foundation::String& searchText() const { return m_searchText; }

private:
    std::shared_ptr<const Items> m_items;
    std::vector<std::uint32_t> m_shown;
    Foundation::String m_searchText;
};

} // namespace Shared
