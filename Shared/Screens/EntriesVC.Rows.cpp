#include "Shared/Screens/EntriesVC.Rows.hpp"

#include <algorithm>
#include <functional>

namespace Shared {

EntriesVCRows::Items::Items(std::vector<Summary> summaries)
    : m_summaries(std::move(summaries))
{
    std::size_t capacity = 16;
    while (capacity < m_summaries.size() * 2)
        capacity *= 2;
    m_table.assign(capacity, 0);
    m_mask = capacity - 1;
    for (std::size_t position = 0; position < m_summaries.size(); ++position) {
        auto id = m_summaries[position]->entryID.view();
        for (auto at = std::hash<std::string_view> {}(id) & m_mask;; at = (at + 1) & m_mask) {
            if (!m_table[at]) {
                m_table[at] = static_cast<std::uint32_t>(position + 1);
                break;
            }
            // An identifier given twice keeps its first place.
            if (m_summaries[m_table[at] - 1]->entryID.view() == id)
                break;
        }
    }
}

std::optional<std::uint32_t> EntriesVCRows::Items::position(std::string_view entryID) const
{
    for (auto at = std::hash<std::string_view> {}(entryID) & m_mask;; at = (at + 1) & m_mask) {
        if (!m_table[at])
            return std::nullopt;
        if (m_summaries[m_table[at] - 1]->entryID.view() == entryID)
            return m_table[at] - 1;
    }
}

EntriesVCRows::EntriesVCRows()
    : m_items(std::make_shared<const Items>(std::vector<Summary> {}))
{
}

EntriesVCRows::EntriesVCRows(std::shared_ptr<const Items> items, std::vector<std::uint32_t> shown, Foundation::String searchText)
    : m_items(std::move(items))
    , m_shown(std::move(shown))
    , m_searchText(std::move(searchText))
{
}

std::optional<std::int64_t> EntriesVCRows::shownRow(const Foundation::String& entryID) const
{
    auto position = m_items->position(entryID.view());
    if (!position)
        return std::nullopt;
    auto found = std::lower_bound(m_shown.begin(), m_shown.end(), *position);
    if (found == m_shown.end() || *found != *position)
        return std::nullopt;
    return found - m_shown.begin();
}

} // namespace Shared
