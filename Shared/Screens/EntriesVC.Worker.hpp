#pragma once

#include "Shared/Screens/EntriesSearch.Index.hpp"
#include "Shared/Screens/EntriesVC.Items.hpp"
#include "Shared/Screens/EntriesVC.Rows.hpp"

#include "Basalwork/Interface/ChangeSet.hpp"

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

private:
    // Takes new items into the search index: the ones that stay keep their slots, only changed ones are
    // indexed again.
    void takeItems(const EntriesVCRows::Items& items, Settings::Items::SearchableFields fields);
    std::vector<std::uint32_t> search(const std::vector<Foundation::String>& words, bool itemsArrived);

    std::shared_ptr<const EntriesVCRows> m_rows;
    EntriesSearchIndex m_search;
    std::vector<EntriesSearchIndex::Slot> m_slotOfPosition;
    std::vector<std::uint32_t> m_positionOfSlot;
    // What the last search asked and found, for a search that only narrows it.
    std::vector<Foundation::String> m_words;
    std::vector<EntriesSearchIndex::Slot> m_matches;
};

} // namespace Shared
