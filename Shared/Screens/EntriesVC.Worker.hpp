#pragma once

#include "Shared/Screens/EntriesSearch.Index.hpp"
#include "Shared/Screens/EntriesVC.Items.hpp"
#include "Shared/Screens/EntriesVC.Rows.hpp"

#include "Basalwork/Interface/ChangeSet.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Shared {

// The item list's work that grows with the vault (EntriesVC::Worker): reading the owner's items,
// searching them and working out the difference from what shows. It runs on the list's worker thread,
// one step at a time; each step starts from the rows the step before made, which is what the table
// shows once the main thread has applied that step.
class EntriesVCWorker {
public:
    struct Request {
        // New items to show; none keeps the items.
        std::optional<EntriesVCItems> items;
        Settings::Items::SearchableFields searchableFields {};
        Foundation::String searchText;
    };
    struct Result {
        std::shared_ptr<const EntriesVCRows> rows;
        // From the rows of the step before to these: one batch for the table.
        Basalwork::ChangeSet changes;
        bool itemsArrived = false;
    };

    EntriesVCWorker();
    Result run(const Request& request);
    // Brings the search index up to the rows' items. A step leaves it behind when its items are mostly
    // new, so that the list shows before every item's search text is made: the owner calls this once
    // that step is handed back. It gives way to a step waiting (`shouldStop`); until the texts are
    // there a search reads the items themselves, and until the trigram lists are, every text.
    void indexItems(const std::function<bool()>& shouldStop = {});
    // Whether the search index holds the rows' items (their texts, whatever of the trigram lists).
    bool isIndexCurrent() const { return isIndexed(m_rows->items()); }

private:
    bool isIndexed(const std::shared_ptr<const EntriesVCRows::Items>& items) const;
    // Takes new items into the search index when most of them stay: the ones that stay keep their
    // slots, only changed ones are indexed again. False when the index must be made afresh instead.
    bool followItems(const std::shared_ptr<const EntriesVCRows::Items>& items, Settings::Items::SearchableFields fields);
    // Makes the index afresh; stopped, it holds no item.
    bool indexAfresh(const std::shared_ptr<const EntriesVCRows::Items>& items, Settings::Items::SearchableFields fields,
                     const std::function<bool()>& shouldStop);
    void indexedItems(const std::shared_ptr<const EntriesVCRows::Items>& items);
    // Where each of `later`'s items was in `before` (EntriesVCRows::Items::positionsOf): worked out once
    // for the step's rows and the search index that follows the same items.
    const std::vector<std::uint32_t>& positions(const std::shared_ptr<const EntriesVCRows::Items>& before,
                                                const std::shared_ptr<const EntriesVCRows::Items>& later);
    std::vector<std::uint32_t> search(const std::vector<Foundation::String>& words, std::size_t count, bool narrowing);

    std::shared_ptr<const EntriesVCRows> m_rows;
    Settings::Items::SearchableFields m_fields {};
    // The items the search index holds, in the positions `m_slotOfPosition` names.
    std::shared_ptr<const EntriesVCRows::Items> m_indexedItems;
    EntriesSearchIndex m_search;
    std::vector<EntriesSearchIndex::Slot> m_slotOfPosition;
    std::vector<std::uint32_t> m_positionOfSlot;
    bool m_textsGaveWay = false;
    // The last pairing `positions` worked out; held weakly, so that no list outlives its step for it.
    std::weak_ptr<const EntriesVCRows::Items> m_pairedBefore;
    std::weak_ptr<const EntriesVCRows::Items> m_pairedLater;
    std::vector<std::uint32_t> m_pairedPositions;
    // What the last search asked and found, for a search that only narrows it.
    std::vector<Foundation::String> m_words;
    std::vector<EntriesSearchIndex::Slot> m_matches;
};

} // namespace Shared
