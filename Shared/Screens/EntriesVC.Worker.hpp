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
    // Brings the search index up to the rows' items. A step that brings items without a search leaves
    // it behind, so that the list shows before every item's search text is made; the owner calls this
    // once that step is handed back, and a search makes the texts first. The trigram lists come last
    // and give way to a step waiting (`shouldStop`): until they are there a search reads every text.
    void indexItems(const std::function<bool()>& shouldStop = {});

private:
    // Takes new items into the search index: the ones that stay keep their slots, only changed ones are
    // indexed again.
    void takeItems(const std::shared_ptr<const EntriesVCRows::Items>& items, Settings::Items::SearchableFields fields);
    std::vector<std::uint32_t> search(const std::vector<Foundation::String>& words, std::size_t count, bool narrowing);

    std::shared_ptr<const EntriesVCRows> m_rows;
    Settings::Items::SearchableFields m_fields {};
    // The items the search index holds, in the positions `m_slotOfPosition` names.
    std::shared_ptr<const EntriesVCRows::Items> m_indexedItems;
    EntriesSearchIndex m_search;
    std::vector<EntriesSearchIndex::Slot> m_slotOfPosition;
    std::vector<std::uint32_t> m_positionOfSlot;
    // What the last search asked and found, for a search that only narrows it.
    std::vector<Foundation::String> m_words;
    std::vector<EntriesSearchIndex::Slot> m_matches;
};

} // namespace Shared
