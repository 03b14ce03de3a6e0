#include "Shared/Screens/EntriesVC.Worker.hpp"

#include "Shared/Screens/EntriesSearch.hpp"

#include <algorithm>
#include <numeric>

namespace Shared {

namespace {

using Basalwork::ChangeSet;
using Basalwork::Difference;
using Slot = EntriesSearchIndex::Slot;

// A shown row as the table's difference sees it: known by its item, the same while its summary is.
struct ShownRow {
    const EntryIndex* index;
    const Foundation::String& id() const { return index->entryID; }
    friend bool operator==(const ShownRow& a, const ShownRow& b) { return a.index == b.index || *a.index == *b.index; }
};

struct ShownRows {
    using Item = ShownRow;
    std::vector<ShownRow> rows;
    Foundation::String id() const { return Foundation::String(); }
    const std::vector<ShownRow>& items() const { return rows; }
};

std::vector<ShownRows> sectionsOf(const EntriesVCRows& rows)
{
    ShownRows section;
    section.rows.reserve(rows.shownCount());
    for (std::size_t row = 0; row < rows.shownCount(); ++row)
        section.rows.push_back({&rows.shownItem(row)});
    return {std::move(section)};
}

// Two selections of the same items in the same order differ only by rows left out and rows let in.
ChangeSet selectionChanges(const std::vector<std::uint32_t>& from, const std::vector<std::uint32_t>& to)
{
    // Counted first, so that the one list is made at its size: a search can remove most of a large list.
    std::size_t common = 0;
    for (std::size_t i = 0, j = 0; i < from.size() && j < to.size();) {
        if (from[i] < to[j])
            ++i;
        else if (to[j] < from[i])
            ++j;
        else
            ++common, ++i, ++j;
    }
    std::vector<Difference> differences;
    differences.reserve(from.size() + to.size() - 2 * common);
    for (std::size_t i = 0, j = 0; i < from.size(); ++i) {
        while (j < to.size() && to[j] < from[i])
            ++j;
        if (j == to.size() || to[j] != from[i])
            differences.push_back(Difference::removed(static_cast<std::int64_t>(i)));
    }
    for (std::size_t i = 0, j = 0; j < to.size(); ++j) {
        while (i < from.size() && from[i] < to[j])
            ++i;
        if (i == from.size() || from[i] != to[j])
            differences.push_back(Difference::inserted(static_cast<std::int64_t>(j)));
    }
    std::vector<ChangeSet::ItemDifferences> sections;
    sections.push_back({0, 0, std::move(differences)});
    return ChangeSet(ChangeSet::UpdateAction::animate({}, std::move(sections)));
}

// The rows' difference as the list difference answers it (rows paired by item, the removals, then per new
// row an insertion, or an update of content followed by a move when it is not where the removals and
// insertions before it put it), from the items' pairing: no table of every row's identifier.
ChangeSet rowChanges(const EntriesVCRows& from, const EntriesVCRows& to, const std::vector<std::uint32_t>& oldPositions)
{
    constexpr auto unpaired = EntriesVCRows::Items::unpaired;
    std::vector<std::uint32_t> oldRowOfPosition(from.items()->size(), unpaired);
    for (std::size_t row = 0; row < from.shownCount(); ++row)
        oldRowOfPosition[from.shown()[row]] = static_cast<std::uint32_t>(row);
    std::vector<std::uint32_t> oldRowOfNew(to.shownCount(), unpaired);
    std::vector<bool> oldRowStays(from.shownCount());
    for (std::size_t row = 0; row < to.shownCount(); ++row) {
        auto position = oldPositions[to.shown()[row]];
        if (position == unpaired || oldRowOfPosition[position] == unpaired)
            continue;
        oldRowOfNew[row] = oldRowOfPosition[position];
        oldRowStays[oldRowOfPosition[position]] = true;
    }
    std::vector<Difference> differences;
    std::vector<std::uint32_t> removalsBefore(from.shownCount());
    std::uint32_t removals = 0;
    for (std::size_t row = 0; row < from.shownCount(); ++row) {
        removalsBefore[row] = removals;
        if (!oldRowStays[row]) {
            differences.push_back(Difference::removed(static_cast<std::int64_t>(row)));
            ++removals;
        }
    }
    std::int64_t insertions = 0;
    for (std::size_t row = 0; row < to.shownCount(); ++row) {
        const auto newRow = static_cast<std::int64_t>(row);
        const auto oldRow = oldRowOfNew[row];
        if (oldRow == unpaired) {
            differences.push_back(Difference::inserted(newRow));
            ++insertions;
            continue;
        }
        const auto& before = from.shownSummary(oldRow);
        const auto& after = to.shownSummary(row);
        if (before != after && !(*before == *after))
            differences.push_back(Difference::updatedInPlace(newRow));
        if (newRow != static_cast<std::int64_t>(oldRow) - removalsBefore[oldRow] + insertions)
            differences.push_back(Difference::moved(oldRow, newRow));
    }
    std::vector<ChangeSet::ItemDifferences> sections;
    sections.push_back({0, 0, std::move(differences)});
    return ChangeSet(ChangeSet::UpdateAction::animate({}, std::move(sections)));
}

// Every old word is part of a new one: what the new words find, the old ones found too.
bool narrows(const std::vector<Foundation::String>& before, const std::vector<Foundation::String>& after)
{
    if (before.empty())
        return false;
    return std::ranges::all_of(before, [&](const Foundation::String& old) {
        return std::ranges::any_of(after, [&](const Foundation::String& word) { return word.utf8().find(old.utf8()) != std::string::npos; });
    });
}

} // namespace

EntriesVCWorker::EntriesVCWorker()
    : m_rows(std::make_shared<const EntriesVCRows>())
    , m_indexedItems(m_rows->items())
{
}

bool EntriesVCWorker::isIndexed(const std::shared_ptr<const EntriesVCRows::Items>& items) const
{
    return m_indexedItems == items && m_search.fields() == m_fields;
}

void EntriesVCWorker::indexItems(const std::function<bool()>& shouldStop)
{
    const auto& items = m_rows->items();
    if (!isIndexed(items) && !followItems(items, m_fields)) {
        // The texts give way once: made again from the start each time, they would never be there
        // while a person types on, and every keystroke would read every item.
        if (!indexAfresh(items, m_fields, m_textsGaveWay ? std::function<bool()> {} : shouldStop)) {
            m_textsGaveWay = true;
            return;
        }
        m_textsGaveWay = false;
    }
    m_search.makeTrigramLists(shouldStop);
}

bool EntriesVCWorker::followItems(const std::shared_ptr<const EntriesVCRows::Items>& newItems, Settings::Items::SearchableFields fields)
{
    const auto& items = *newItems;
    const auto& summaries = items.summaries();
    const auto& before = *m_indexedItems;
    // Fewer than half of them could stay (the first list): made afresh, without looking any up.
    if (fields != m_search.fields() || summaries.empty() || before.size() * 2 < summaries.size())
        return false;
    const auto& positions = this->positions(m_indexedItems, newItems);
    std::vector<bool> kept(before.size());
    std::size_t staying = 0;
    for (auto position : positions)
        if (position != EntriesVCRows::Items::unpaired) {
            kept[position] = true;
            ++staying;
        }
    // Mostly new (the first list, another filter): made afresh on every core instead.
    if (staying * 2 < summaries.size())
        return false;
    // Slots of items gone are free before new items take theirs.
    for (std::size_t j = 0; j < before.size(); ++j)
        if (!kept[j])
            m_search.remove(m_slotOfPosition[j]);
    std::vector<Slot> slots(summaries.size());
    for (std::size_t i = 0; i < summaries.size(); ++i) {
        auto j = positions[i];
        if (j == EntriesVCRows::Items::unpaired) {
            slots[i] = m_search.insert(*summaries[i]);
            continue;
        }
        slots[i] = m_slotOfPosition[j];
        if (before.summaries()[j] != summaries[i])
            m_search.update(slots[i], *summaries[i]);
    }
    m_slotOfPosition = std::move(slots);
    indexedItems(newItems);
    return true;
}

const std::vector<std::uint32_t>& EntriesVCWorker::positions(const std::shared_ptr<const EntriesVCRows::Items>& before,
                                                             const std::shared_ptr<const EntriesVCRows::Items>& later)
{
    if (m_pairedBefore.lock() != before || m_pairedLater.lock() != later) {
        m_pairedPositions = before->positionsOf(*later);
        m_pairedBefore = before;
        m_pairedLater = later;
    }
    return m_pairedPositions;
}

bool EntriesVCWorker::indexAfresh(const std::shared_ptr<const EntriesVCRows::Items>& newItems, Settings::Items::SearchableFields fields,
                                  const std::function<bool()>& shouldStop)
{
    const auto& summaries = newItems->summaries();
    std::vector<const EntryIndex*> all(summaries.size());
    for (std::size_t i = 0; i < summaries.size(); ++i)
        all[i] = summaries[i].get();
    if (!m_search.assignTexts(all, fields, shouldStop)) {
        // The index holds nothing now: the next items are all new to it.
        m_slotOfPosition.clear();
        m_positionOfSlot.clear();
        m_indexedItems = std::make_shared<const EntriesVCRows::Items>(std::vector<EntriesVCRows::Summary> {});
        m_words.clear();
        m_matches.clear();
        return false;
    }
    m_slotOfPosition.resize(summaries.size());
    std::iota(m_slotOfPosition.begin(), m_slotOfPosition.end(), Slot {0});
    indexedItems(newItems);
    return true;
}

void EntriesVCWorker::indexedItems(const std::shared_ptr<const EntriesVCRows::Items>& newItems)
{
    std::size_t slotCount = 0;
    for (auto slot : m_slotOfPosition)
        slotCount = std::max<std::size_t>(slotCount, slot + 1);
    m_positionOfSlot.assign(slotCount, 0);
    for (std::size_t position = 0; position < m_slotOfPosition.size(); ++position)
        m_positionOfSlot[m_slotOfPosition[position]] = static_cast<std::uint32_t>(position);
    m_indexedItems = newItems;
    // Slots moved: what the last search found no longer names the same items.
    m_words.clear();
    m_matches.clear();
}

std::vector<std::uint32_t> EntriesVCWorker::search(const std::vector<Foundation::String>& words, std::size_t count, bool narrowing)
{
    std::vector<std::uint32_t> shown;
    if (words.empty()) {
        m_words.clear();
        m_matches.clear();
        shown.resize(count);
        std::iota(shown.begin(), shown.end(), std::uint32_t {0});
        return shown;
    }
    // Typing on only narrows what the last search found, so only that is searched.
    narrowing = narrowing && narrows(m_words, words);
    m_matches = m_search.matches(words, narrowing ? &m_matches : nullptr);
    m_words = words;
    if (m_matches.size() * 16 < count) {
        shown.reserve(m_matches.size());
        for (auto slot : m_matches)
            shown.push_back(m_positionOfSlot[slot]);
        std::sort(shown.begin(), shown.end());
    } else {
        // Many: marked in place, then read in order.
        std::vector<std::uint64_t> marked((count + 63) / 64);
        for (auto slot : m_matches) {
            auto position = m_positionOfSlot[slot];
            marked[position / 64] |= std::uint64_t {1} << (position % 64);
        }
        shown.reserve(m_matches.size());
        for (std::size_t word = 0; word < marked.size(); ++word) {
            for (auto bits = marked[word]; bits; bits &= bits - 1)
                shown.push_back(static_cast<std::uint32_t>(word * 64 + static_cast<std::size_t>(__builtin_ctzll(bits))));
        }
    }
    return shown;
}

EntriesVCWorker::Result EntriesVCWorker::run(const Request& request)
{
    auto previous = m_rows;
    auto items = previous->items();
    bool itemsArrived = request.items.has_value() || request.searchableFields != m_fields;
    if (request.items)
        items = std::make_shared<const EntriesVCRows::Items>(request.items->read());
    m_fields = request.searchableFields;
    auto words = EntriesSearch::words(request.searchText);
    // Only a search needs the index now, and only when it can follow the items: one made afresh waits
    // until the rows are shown, and meanwhile a search reads the items themselves.
    bool reindexed = false;
    std::vector<std::uint32_t> shown;
    if (!words.empty() && !isIndexed(items) && !(reindexed = followItems(items, m_fields))) {
        // Typing on only narrows what the last search showed.
        bool narrowing = !itemsArrived && narrows(EntriesSearch::words(previous->searchText()), words);
        shown = EntriesSearchIndex::scan(items->summaries(), m_fields, words, narrowing ? &previous->shown() : nullptr);
    } else {
        shown = search(words, items->size(), !itemsArrived && !reindexed);
    }
    m_rows = std::make_shared<const EntriesVCRows>(items, std::move(shown), request.searchText);
    if (!itemsArrived)
        return {m_rows, selectionChanges(previous->shown(), m_rows->shown()), false};
    // Nothing shows yet: nothing on screen to keep, and a reload costs the least.
    if (previous->shownCount() == 0)
        return {m_rows, ChangeSet(ChangeSet::UpdateAction::reload()), true};
    // An identifier given twice pairs by occurrence, which only the whole difference does.
    if (previous->items()->hasRepeats() || items->hasRepeats())
        return {m_rows, ChangeSet(sectionsOf(*previous), sectionsOf(*m_rows)), true};
    return {m_rows, rowChanges(*previous, *m_rows, positions(previous->items(), items)), true};
}

} // namespace Shared
