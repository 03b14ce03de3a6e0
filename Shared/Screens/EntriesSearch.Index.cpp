#include "Shared/Screens/EntriesSearch.Index.hpp"

#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Screens/EntriesSearch.hpp"

#include <algorithm>
#include <optional>

namespace Shared {

namespace {

using Slot = EntriesSearchIndex::Slot;

// Checking this many candidates takes long enough to share among the cores.
constexpr std::size_t sharedCheckThreshold = 16'384;

std::array<std::uint64_t, 2> bytesOf(std::string_view text)
{
    std::array<std::uint64_t, 2> bytes {};
    for (unsigned char c : text) {
        unsigned bit = c < 0x80 ? c : 0;
        bytes[bit >> 6] |= std::uint64_t {1} << (bit & 63);
    }
    return bytes;
}

bool holds(const std::array<std::uint64_t, 2>& bytes, const std::array<std::uint64_t, 2>& wanted)
{
    return (bytes[0] & wanted[0]) == wanted[0] && (bytes[1] & wanted[1]) == wanted[1];
}

std::uint32_t trigramAt(std::string_view text, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[at])) << 16
        | static_cast<std::uint32_t>(static_cast<unsigned char>(text[at + 1])) << 8 | static_cast<unsigned char>(text[at + 2]);
}

// A key's place in a table of a power of two: every bit of the key reaches the low ones.
std::size_t spread(std::uint32_t key)
{
    std::uint64_t mixed = key * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(mixed ^ (mixed >> 29));
}

std::vector<Slot> intersection(const std::vector<Slot>& a, const std::vector<Slot>& b)
{
    std::vector<Slot> result;
    result.reserve(std::min(a.size(), b.size()));
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result));
    return result;
}

} // namespace

EntriesSearchIndex::EntriesSearchIndex(Settings::Items::SearchableFields fields)
    : m_fields(fields)
{
}

EntriesSearchIndex::Text EntriesSearchIndex::makeText(const EntryIndex& index) const
{
    Text text;
    text.haystack = EntriesSearch::haystack(index, m_fields);
    text.bytes = bytesOf(text.haystack);
    text.isASCII = !(text.bytes[0] & 1);
    text.isUsed = true;
    return text;
}

std::vector<std::uint32_t> EntriesSearchIndex::trigrams(const std::string& haystack)
{
    std::vector<std::uint32_t> result;
    if (haystack.size() < 3)
        return result;
    result.reserve(haystack.size() - 2);
    for (std::size_t at = 0; at + 3 <= haystack.size(); ++at) {
        // No typed word holds a line break, so no trigram across two fields is ever asked for.
        if (haystack[at] == '\n' || haystack[at + 1] == '\n' || haystack[at + 2] == '\n')
            continue;
        result.push_back(keyOf(trigramAt(haystack, at)));
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

void EntriesSearchIndex::assign(const std::vector<const EntryIndex*>& items, Settings::Items::SearchableFields fields)
{
    m_fields = fields;
    m_free.clear();
    for (auto& shard : m_postings)
        shard.clear();
    m_texts.assign(items.size(), Text {});
    std::vector<std::vector<std::uint32_t>> pieces(items.size());
    concurrentPerform(items.size(), [&](std::size_t i) {
        m_texts[i] = makeText(*items[i]);
        pieces[i] = trigrams(m_texts[i].haystack);
    });
    // Each shard of the trigrams is filled by one core from the part of each item's keys in that shard
    // (sorted keys come grouped by shard): its lists counted in a flat table, made at their final sizes
    // and filled in ascending slot order.
    concurrentPerform(shardCount, [&](std::size_t shard) {
        const auto first = static_cast<std::uint32_t>(shard << 24);
        const auto last = static_cast<std::uint32_t>((shard + 1) << 24);
        auto partOf = [&](const std::vector<std::uint32_t>& keys) {
            auto begin = std::lower_bound(keys.begin(), keys.end(), first);
            return std::ranges::subrange(begin, std::lower_bound(begin, keys.end(), last));
        };
        // Open addressing: key plus one (zero is free) beside the key's list.
        std::vector<std::uint32_t> table(1024, 0);
        std::vector<std::uint32_t> listOf(table.size());
        std::vector<std::vector<Slot>> lists;
        std::vector<std::uint32_t> counts;
        auto find = [&](std::uint32_t key) -> std::uint32_t& {
            auto mask = table.size() - 1;
            for (auto at = spread(key) & mask;; at = (at + 1) & mask) {
                if (table[at] == key + 1)
                    return listOf[at];
                if (!table[at]) {
                    table[at] = key + 1;
                    listOf[at] = static_cast<std::uint32_t>(counts.size());
                    counts.push_back(0);
                    return listOf[at];
                }
            }
        };
        for (const auto& slotKeys : pieces) {
            for (auto key : partOf(slotKeys)) {
                if (counts.size() * 2 >= table.size()) {
                    // Grown before it is half full.
                    std::vector<std::uint32_t> oldTable(table.size() * 2, 0);
                    std::vector<std::uint32_t> oldLists(oldTable.size());
                    std::swap(oldTable, table);
                    std::swap(oldLists, listOf);
                    auto mask = table.size() - 1;
                    for (std::size_t i = 0; i < oldTable.size(); ++i) {
                        if (!oldTable[i])
                            continue;
                        auto at = spread(oldTable[i] - 1) & mask;
                        while (table[at])
                            at = (at + 1) & mask;
                        table[at] = oldTable[i];
                        listOf[at] = oldLists[i];
                    }
                }
                ++counts[find(key)];
            }
        }
        lists.resize(counts.size());
        for (std::size_t i = 0; i < counts.size(); ++i)
            lists[i].reserve(counts[i]);
        for (std::size_t slot = 0; slot < pieces.size(); ++slot) {
            for (auto key : partOf(pieces[slot]))
                lists[find(key)].push_back(static_cast<Slot>(slot));
        }
        auto& postings = m_postings[shard];
        postings.reserve(lists.size());
        for (std::size_t i = 0; i < table.size(); ++i)
            if (table[i])
                postings.emplace(table[i] - 1, std::move(lists[listOf[i]]));
    });
}

Slot EntriesSearchIndex::insert(const EntryIndex& index)
{
    Slot slot;
    if (!m_free.empty()) {
        slot = m_free.back();
        m_free.pop_back();
    } else {
        slot = static_cast<Slot>(m_texts.size());
        m_texts.emplace_back();
    }
    m_texts[slot] = makeText(index);
    addPostings(slot, trigrams(m_texts[slot].haystack));
    return slot;
}

void EntriesSearchIndex::update(Slot slot, const EntryIndex& index)
{
    auto text = makeText(index);
    if (text.haystack == m_texts[slot].haystack)
        return;
    auto before = trigrams(m_texts[slot].haystack);
    auto after = trigrams(text.haystack);
    std::vector<std::uint32_t> gone;
    std::vector<std::uint32_t> come;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(gone));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(come));
    removePostings(slot, gone);
    addPostings(slot, come);
    m_texts[slot] = std::move(text);
}

void EntriesSearchIndex::remove(Slot slot)
{
    removePostings(slot, trigrams(m_texts[slot].haystack));
    m_texts[slot] = Text {};
    m_free.push_back(slot);
}

void EntriesSearchIndex::addPostings(Slot slot, const std::vector<std::uint32_t>& keys)
{
    for (auto key : keys) {
        auto& slots = m_postings[shardOf(key)][key];
        // New slots come last; a slot used again goes back to its place.
        if (slots.empty() || slots.back() < slot)
            slots.push_back(slot);
        else
            slots.insert(std::lower_bound(slots.begin(), slots.end(), slot), slot);
    }
}

void EntriesSearchIndex::removePostings(Slot slot, const std::vector<std::uint32_t>& keys)
{
    for (auto key : keys) {
        auto& shard = m_postings[shardOf(key)];
        auto found = shard.find(key);
        if (found == shard.end())
            continue;
        auto& slots = found->second;
        if (auto at = std::lower_bound(slots.begin(), slots.end(), slot); at != slots.end() && *at == slot)
            slots.erase(at);
        if (slots.empty())
            shard.erase(found);
    }
}

const std::vector<Slot>* EntriesSearchIndex::postings(std::uint32_t key) const
{
    const auto& shard = m_postings[shardOf(key)];
    auto found = shard.find(key);
    return found == shard.end() ? nullptr : &found->second;
}

std::optional<std::vector<Slot>> EntriesSearchIndex::slotsHoldingTrigrams(const std::vector<Foundation::String>& words) const
{
    std::vector<std::uint32_t> wanted;
    for (const auto& word : words) {
        const auto& bytes = word.utf8();
        for (std::size_t at = 0; at + 3 <= bytes.size(); ++at)
            wanted.push_back(keyOf(trigramAt(bytes, at)));
    }
    if (wanted.empty())
        return std::nullopt;
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    std::vector<const std::vector<Slot>*> lists;
    for (auto trigram : wanted) {
        const auto* slots = postings(trigram);
        if (!slots)
            return std::vector<Slot> {};
        lists.push_back(slots);
    }
    std::sort(lists.begin(), lists.end(), [](const auto* a, const auto* b) { return a->size() < b->size(); });
    std::vector<Slot> result = *lists.front();
    // Once few are left, checking them whole is cheaper than narrowing further.
    for (std::size_t i = 1; i < lists.size() && result.size() > 64; ++i)
        result = intersection(result, *lists[i]);
    return result;
}

std::vector<Slot> EntriesSearchIndex::matches(const std::vector<Foundation::String>& words, const std::vector<Slot>* candidates) const
{
    std::array<std::uint64_t, 2> wantedBytes {};
    bool onlySingleBytes = true;
    for (const auto& word : words) {
        auto bytes = bytesOf(word.utf8());
        wantedBytes[0] |= bytes[0];
        wantedBytes[1] |= bytes[1];
        onlySingleBytes = onlySingleBytes && word.utf8().size() == 1;
    }
    auto checked = [&](Slot slot) {
        const auto& text = m_texts[slot];
        if (!text.isUsed || !holds(text.bytes, wantedBytes))
            return false;
        // A byte of ASCII text is found exactly when the text holds it.
        if (onlySingleBytes && text.isASCII)
            return true;
        return EntriesSearch::matches(text.haystack, text.isASCII, words);
    };

    std::vector<Slot> pool;
    const std::vector<Slot>* from = candidates;
    if (auto holding = slotsHoldingTrigrams(words)) {
        pool = candidates ? intersection(*candidates, *holding) : std::move(*holding);
        from = &pool;
    } else if (!candidates) {
        pool.resize(m_texts.size());
        for (std::size_t slot = 0; slot < pool.size(); ++slot)
            pool[slot] = static_cast<Slot>(slot);
        from = &pool;
    }

    const auto& slots = *from;
    if (slots.size() < sharedCheckThreshold) {
        std::vector<Slot> result;
        for (auto slot : slots)
            if (checked(slot))
                result.push_back(slot);
        return result;
    }
    // In runs shared among the cores, each kept in order.
    constexpr std::size_t run = 4096;
    std::vector<std::vector<Slot>> found((slots.size() + run - 1) / run);
    concurrentPerform(found.size(), [&](std::size_t part) {
        auto end = std::min(slots.size(), (part + 1) * run);
        for (auto i = part * run; i < end; ++i)
            if (checked(slots[i]))
                found[part].push_back(slots[i]);
    });
    std::vector<Slot> result;
    for (const auto& part : found)
        result.insert(result.end(), part.begin(), part.end());
    return result;
}

} // namespace Shared
