#pragma once

#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Shared {

// Which histories the details show under their field (EntryDetailsVC::HistoryVisibility), by the
// history identifier of Menu::Source.
class EntryDetailsVCHistoryVisibility {
public:
    bool isShowing(const Foundation::String& historyVisibilityID) const;
    EntryDetailsVCHistoryVisibility showing(const Foundation::String& historyVisibilityID) const;
    EntryDetailsVCHistoryVisibility hiding(const Foundation::String& historyVisibilityID) const;
    const std::vector<Foundation::String>& showingIDs() const { return m_showingIDs; }

    friend bool operator==(const EntryDetailsVCHistoryVisibility&, const EntryDetailsVCHistoryVisibility&) = default;

private:
    std::vector<Foundation::String> m_showingIDs;
};

} // namespace Shared
