#include "Shared/Screens/EntriesVC.Rows.hpp"

#include "Shared/Model/DispatchQueue.hpp"

#include <algorithm>
#include <functional>

namespace Shared {

namespace {

std::uint64_t tagOf(std::size_t hash)
{
    return static_cast<std::uint64_t>(hash >> 32 | 1) << 32;
}

} // namespace

EntriesVCRows::Items::Items(std::vector<Summary> summaries)
    : m_summaries(std::move(summaries))
{
    std::size_t capacity = 16;
    while (capacity < m_summaries.size() * 2)
        capacity *= 2;
    m_table.assign(capacity, 0);
    m_mask = capacity - 1;
    // Hashing reads every identifier where it lies: shared among the cores for a large list.
    std::vector<std::size_t> hashes(m_summaries.size());
    auto hashOf = [&](std::size_t position) { hashes[position] = std::hash<std::string_view> {}(m_summaries[position]->entryID.view()); };
    if (m_summaries.size() >= 16'384) {
        constexpr std::size_t run = 4096;
        concurrentPerform((m_summaries.size() + run - 1) / run, [&](std::size_t part) {
            for (auto position = part * run; position < std::min(m_summaries.size(), (part + 1) * run); ++position)
                hashOf(position);
        });
    } else {
        for (std::size_t position = 0; position < m_summaries.size(); ++position)
            hashOf(position);
    }
    for (std::size_t position = 0; position < m_summaries.size(); ++position) {
        auto id = m_summaries[position]->entryID.view();
        auto hash = hashes[position];
        auto tag = tagOf(hash);
        for (auto at = hash & m_mask;; at = (at + 1) & m_mask) {
            auto entry = m_table[at];
            if (!entry) {
                m_table[at] = tag | (position + 1);
                break;
            }
            // An identifier given twice keeps its first place.
            if ((entry & ~std::uint64_t {0xFFFF'FFFF}) == tag && m_summaries[(entry & 0xFFFF'FFFF) - 1]->entryID.view() == id) {
                m_hasRepeats = true;
                break;
            }
        }
    }
}

std::optional<std::uint32_t> EntriesVCRows::Items::position(std::string_view entryID) const
{
    auto hash = std::hash<std::string_view> {}(entryID);
    auto tag = tagOf(hash);
    for (auto at = hash & m_mask;; at = (at + 1) & m_mask) {
        auto entry = m_table[at];
        if (!entry)
            return std::nullopt;
        auto position = static_cast<std::uint32_t>(entry & 0xFFFF'FFFF) - 1;
        if ((entry & ~std::uint64_t {0xFFFF'FFFF}) == tag && m_summaries[position]->entryID.view() == entryID)
            return position;
    }
}

std::vector<std::uint32_t> EntriesVCRows::Items::positionsOf(const Items& later) const
{
    std::vector<std::uint32_t> positions(later.size(), unpaired);
    std::vector<bool> taken(size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < later.size(); ++i) {
        const auto& summary = later.m_summaries[i];
        std::optional<std::uint32_t> found;
        if (next < size() && !taken[next]
            && (m_summaries[next] == summary || m_summaries[next]->entryID.view() == summary->entryID.view()))
            found = static_cast<std::uint32_t>(next);
        else if (found = position(summary->entryID.view()); found && taken[*found])
            found.reset();
        if (!found)
            continue;
        taken[*found] = true;
        positions[i] = *found;
        next = *found + 1;
    }
    return positions;
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
