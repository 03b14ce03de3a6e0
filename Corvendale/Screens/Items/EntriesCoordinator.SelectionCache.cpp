#include "Corvendale/Screens/Items/EntriesCoordinator.SelectionCache.hpp"

#include "Shared/Stores/RecordStore.hpp"

namespace Corvendale {

void EntriesCoordinatorSelectionCache::update(const std::vector<Foundation::String>& selectedEntryIDs)
{
    if (selectedEntryIDs == m_selectedEntryIDs)
        return;
    std::optional<Foundation::String> firstID;
    if (!selectedEntryIDs.empty())
        firstID = selectedEntryIDs.front();
    auto indices = m_recordStore->entryIndices(selectedEntryIDs);
    std::optional<Shared::Entry> first;
    if (firstID)
        first = m_recordStore->entry(*firstID);

    m_selectedEntryIDs = selectedEntryIDs;
    m_firstSelectedEntryID = std::move(firstID);
    m_selectedEntryIndicies = std::move(indices);
    m_firstSelectedEntry = std::move(first);
}

} // namespace Corvendale
