#include "Shared/Screens/EntryDetailsVC.HistoryVisibility.hpp"

#include <algorithm>

namespace Shared {

bool EntryDetailsVCHistoryVisibility::isShowing(const Foundation::String& historyVisibilityID) const
{
    return std::ranges::find(m_showingIDs, historyVisibilityID) != m_showingIDs.end();
}

EntryDetailsVCHistoryVisibility EntryDetailsVCHistoryVisibility::showing(const Foundation::String& historyVisibilityID) const
{
    auto copy = *this;
    if (!isShowing(historyVisibilityID))
        copy.m_showingIDs.push_back(historyVisibilityID);
    return copy;
}

EntryDetailsVCHistoryVisibility EntryDetailsVCHistoryVisibility::hiding(const Foundation::String& historyVisibilityID) const
{
    auto copy = *this;
    std::erase(copy.m_showingIDs, historyVisibilityID);
    return copy;
}

} // namespace Shared
