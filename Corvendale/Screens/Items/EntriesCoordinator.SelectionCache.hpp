#pragma once

#include "Shared/Model/Entry.hpp"
#include "Shared/Model/EntryIndex.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Shared {
class RecordStore;
} // namespace Shared

namespace Corvendale {

// EntriesCoordinator.SelectionCache: the list's selection and what the commands that act on it need to
// judge it (its summaries and its first item), read from the record store once per change of selection.
class EntriesCoordinatorSelectionCache : public Foundation::NSObject {
public:
    const std::shared_ptr<Shared::RecordStore>& recordStore() const { return m_recordStore; }
    const std::vector<Foundation::String>& selectedEntryIDs() const { return m_selectedEntryIDs; }
    const std::optional<Foundation::String>& firstSelectedEntryID() const { return m_firstSelectedEntryID; }
    const std::vector<Shared::EntryIndex>& selectedEntryIndicies() const { return m_selectedEntryIndicies; }
    const std::optional<Shared::Entry>& firstSelectedEntry() const { return m_firstSelectedEntry; }

    // Reads the new selection's summaries and first item when the identifiers changed. Everything is
    // read before anything is kept: a failing read throws and leaves the cache as it was, so the commands
    // never judge new identifiers by an old item and the next update tries again.
    void update(const std::vector<Foundation::String>& selectedEntryIDs);

protected:
    friend Foundation::Construct;
    explicit EntriesCoordinatorSelectionCache(std::shared_ptr<Shared::RecordStore> recordStore)
        : m_recordStore(std::move(recordStore))
    {
    }

private:
    std::shared_ptr<Shared::RecordStore> m_recordStore;
    std::vector<Foundation::String> m_selectedEntryIDs;
    std::optional<Foundation::String> m_firstSelectedEntryID;
    std::vector<Shared::EntryIndex> m_selectedEntryIndicies;
    std::optional<Shared::Entry> m_firstSelectedEntry;
};

} // namespace Corvendale
