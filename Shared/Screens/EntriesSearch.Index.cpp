#include "Shared/Screens/EntriesSearch.Index.hpp"

#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Screens/EntriesSearch.hpp"

#include <algorithm>
#include <atomic>
#include <optional>

namespace Shared {

namespace {

using Slot = EntriesSearchIndex::Slot;

// Checking this many candidates takes long enough to share among the cores.
constexpr std::size_t sharedCheckThreshold = 16'384;
// Items are read in runs of this many when the work is shared among the cores.
constexpr std::size_t run = 4096;
constexpr std::uint32_t none = 0xFFFF'FFFF;

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

std::size_t gapSize(std::uint32_t gap)
{
    std::size_t size = 1;
    for (; gap >= 0x80; gap >>= 7)
        ++size;
    return size;
}

std::uint8_t* putGap(std::uint8_t* out, std::uint32_t gap)
{
    for (; gap >= 0x80; gap >>= 7)
        *out++ = static_cast<std::uint8_t>(gap | 0x80);
    *out++ = static_cast<std::uint8_t>(gap);
    return out;
}

// Reads a list's slots one by one.
class ListReader {
public:
    ListReader(const std::uint8_t* at, std::uint32_t count)
        : m_at(at)
        , m_left(count)
    {
    }
    bool next(Slot& slot)
    {
        if (!m_left)
            return false;
        --m_left;
        std::uint32_t gap = 0;
        for (unsigned shift = 0;; shift += 7) {
            auto byte = *m_at++;
            gap |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if (!(byte & 0x80))
                break;
        }
        m_slot = m_first ? gap : m_slot + gap;
        m_first = false;
        slot = m_slot;
        return true;
    }

private:
    const std::uint8_t* m_at;
    std::uint32_t m_left;
    Slot m_slot = 0;
    bool m_first = true;
};

std::vector<Slot> intersection(const std::vector<Slot>& a, const std::vector<Slot>& b)
{
    std::vector<Slot> result;
    result.reserve(std::min(a.size(), b.size()));
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result));
    return result;
}

std::vector<Slot> united(const std::vector<Slot>& a, const std::vector<Slot>& b)
{
    if (b.empty())
        return a;
    std::vector<Slot> result;
    result.reserve(a.size() + b.size());
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result));
    return result;
}

// A table of keys that grows before it is half full, each key numbered in the order it came.
class KeyTable {
public:
    KeyTable()
        : m_keys(1024, 0)
        , m_numbers(1024)
    {
    }
    std::uint32_t number(std::uint32_t key)
    {
        if ((m_count + 1) * 2 >= m_keys.size())
            grow();
        auto mask = m_keys.size() - 1;
        for (auto at = spread(key) & mask;; at = (at + 1) & mask) {
            if (m_keys[at] == key + 1)
                return m_numbers[at];
            if (!m_keys[at]) {
                m_keys[at] = key + 1;
                m_numbers[at] = m_count;
                return m_count++;
            }
        }
    }
    std::uint32_t count() const { return m_count; }
    std::vector<std::uint32_t> takeKeys() { return std::move(m_keys); }
    std::vector<std::uint32_t> takeNumbers() { return std::move(m_numbers); }

private:
    void grow()
    {
        std::vector<std::uint32_t> keys(m_keys.size() * 2, 0);
        std::vector<std::uint32_t> numbers(keys.size());
        auto mask = keys.size() - 1;
        for (std::size_t i = 0; i < m_keys.size(); ++i) {
            if (!m_keys[i])
                continue;
            auto at = spread(m_keys[i] - 1) & mask;
            while (keys[at])
                at = (at + 1) & mask;
            keys[at] = m_keys[i];
            numbers[at] = m_numbers[i];
        }
        m_keys = std::move(keys);
        m_numbers = std::move(numbers);
    }

    std::vector<std::uint32_t> m_keys;
    std::vector<std::uint32_t> m_numbers;
    std::uint32_t m_count = 0;
};

} // namespace

std::optional<std::uint32_t> EntriesSearchIndex::Shard::find(std::uint32_t key) const
{
    if (keys.empty())
        return std::nullopt;
    auto mask = keys.size() - 1;
    for (auto at = spread(key) & mask;; at = (at + 1) & mask) {
        if (keys[at] == key + 1)
            return listOf[at];
        if (!keys[at])
            return std::nullopt;
    }
}

EntriesSearchIndex::EntriesSearchIndex(Settings::Items::SearchableFields fields)
    : m_fields(fields)
    , m_lists(Lists {})
{
    m_lists->shards.resize(shardCount);
}

std::string EntriesSearchIndex::makeHaystack(const EntryIndex& index) const
{
    return EntriesSearch::haystack(index, m_fields);
}

void EntriesSearchIndex::setText(Slot slot, const std::string& haystack)
{
    auto& text = m_texts[slot];
    if (text.isUsed)
        m_unusedArena += text.length;
    text.offset = static_cast<std::uint32_t>(m_arena.size());
    text.length = static_cast<std::uint32_t>(haystack.size());
    text.bytes = bytesOf(haystack);
    text.isUsed = true;
    m_arena += haystack;
    if (m_unusedArena > (1u << 16) && m_unusedArena * 2 > m_arena.size())
        compactArena();
}

void EntriesSearchIndex::compactArena()
{
    std::string arena;
    arena.reserve(m_arena.size() - m_unusedArena);
    for (auto& text : m_texts) {
        if (!text.isUsed)
            continue;
        auto offset = static_cast<std::uint32_t>(arena.size());
        arena += haystack(text);
        text.offset = offset;
    }
    m_arena = std::move(arena);
    m_unusedArena = 0;
}

void EntriesSearchIndex::trigrams(std::string_view haystack, std::vector<std::uint32_t>& keys)
{
    keys.clear();
    if (haystack.size() < 3)
        return;
    for (std::size_t at = 0; at + 3 <= haystack.size(); ++at) {
        // No typed word holds a line break, so no trigram across two fields is ever asked for.
        if (haystack[at] == '\n' || haystack[at + 1] == '\n' || haystack[at + 2] == '\n')
            continue;
        keys.push_back(keyOf(trigramAt(haystack, at)));
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
}

void EntriesSearchIndex::assign(const std::vector<const EntryIndex*>& items, Settings::Items::SearchableFields fields)
{
    if (assignTexts(items, fields))
        makeTrigramLists();
}

bool EntriesSearchIndex::assignTexts(const std::vector<const EntryIndex*>& items, Settings::Items::SearchableFields fields,
                                     const std::function<bool()>& shouldStop)
{
    m_fields = fields;
    m_free.clear();
    m_lists.reset();
    m_texts.assign(items.size(), Text {});
    std::atomic<bool> stopped {false};
    // Each run's haystacks one after the other, then the runs one after the other.
    std::vector<std::string> runs((items.size() + run - 1) / run);
    concurrentPerform(runs.size(), [&](std::size_t part) {
        if (stopped.load(std::memory_order_relaxed) || (shouldStop && shouldStop())) {
            stopped.store(true, std::memory_order_relaxed);
            return;
        }
        auto& texts = runs[part];
        texts.reserve(64 * run);
        for (auto i = part * run; i < std::min(items.size(), (part + 1) * run); ++i) {
            auto& text = m_texts[i];
            text.offset = static_cast<std::uint32_t>(texts.size());
            EntriesSearch::appendHaystack(texts, *items[i], m_fields);
            text.length = static_cast<std::uint32_t>(texts.size() - text.offset);
            text.bytes = bytesOf(std::string_view(texts).substr(text.offset));
            text.isUsed = true;
        }
    });
    m_arena.clear();
    if (stopped) {
        m_texts.clear();
        m_texts.shrink_to_fit();
        m_arena.shrink_to_fit();
        m_unusedArena = 0;
        return false;
    }
    std::size_t total = 0;
    for (const auto& texts : runs)
        total += texts.size();
    m_arena.shrink_to_fit();
    m_arena.reserve(total);
    m_unusedArena = 0;
    for (std::size_t part = 0; part < runs.size(); ++part) {
        auto base = static_cast<std::uint32_t>(m_arena.size());
        for (auto i = part * run; i < std::min(items.size(), (part + 1) * run); ++i)
            m_texts[i].offset += base;
        m_arena += runs[part];
        std::string().swap(runs[part]);
    }
    return true;
}

bool EntriesSearchIndex::makeTrigramLists(const std::function<bool()>& shouldStop)
{
    if (m_lists)
        return true;
    std::atomic<bool> stopped {false};
    auto stop = [&] {
        if (stopped.load(std::memory_order_relaxed))
            return true;
        if (shouldStop && shouldStop()) {
            stopped.store(true, std::memory_order_relaxed);
            return true;
        }
        return false;
    };
    // Each item's keys, a run of items at a time in one array, each item's end beside it.
    struct Keys {
        std::vector<std::uint32_t> keys;
        std::vector<std::uint32_t> ends;
    };
    const auto slotCount = m_texts.size();
    std::vector<Keys> runs((slotCount + run - 1) / run);
    concurrentPerform(runs.size(), [&](std::size_t part) {
        if (stop())
            return;
        auto& piece = runs[part];
        std::vector<std::uint32_t> keys;
        for (auto slot = part * run; slot < std::min(slotCount, (part + 1) * run); ++slot) {
            if (m_texts[slot].isUsed) {
                trigrams(haystack(m_texts[slot]), keys);
                piece.keys.insert(piece.keys.end(), keys.begin(), keys.end());
            }
            piece.ends.push_back(static_cast<std::uint32_t>(piece.keys.size()));
        }
        piece.keys.shrink_to_fit();
    });
    if (stopped)
        return false;

    // Each shard filled by one core from the part of each item's keys in that shard (sorted keys come
    // grouped by shard): its lists counted and sized, then written in ascending slot order.
    Lists lists;
    lists.shards.resize(shardCount);
    std::atomic<std::size_t> made {0};
    concurrentPerform(shardCount, [&](std::size_t shardIndex) {
        const auto first = static_cast<std::uint32_t>(shardIndex << 24);
        const auto last = static_cast<std::uint32_t>((shardIndex + 1) << 24);
        auto eachKey = [&](auto&& visit) {
            for (std::size_t part = 0; part < runs.size(); ++part) {
                if (stop())
                    return;
                const auto& piece = runs[part];
                std::uint32_t begin = 0;
                for (std::size_t i = 0; i < piece.ends.size(); ++i) {
                    auto itemBegin = piece.keys.begin() + begin;
                    auto itemEnd = piece.keys.begin() + piece.ends[i];
                    begin = piece.ends[i];
                    auto from = std::lower_bound(itemBegin, itemEnd, first);
                    auto slot = static_cast<Slot>(part * run + i);
                    for (auto at = from; at != itemEnd && *at < last; ++at)
                        visit(*at, slot);
                }
            }
        };
        KeyTable table;
        std::vector<std::uint32_t> counts;
        std::vector<std::uint32_t> sizes;
        std::vector<Slot> previous;
        eachKey([&](std::uint32_t key, Slot slot) {
            auto number = table.number(key);
            if (number == counts.size()) {
                counts.push_back(0);
                sizes.push_back(0);
                previous.push_back(none);
            }
            ++counts[number];
            sizes[number] += static_cast<std::uint32_t>(gapSize(previous[number] == none ? slot : slot - previous[number]));
            previous[number] = slot;
        });
        if (stopped)
            return;
        auto& shard = lists.shards[shardIndex];
        shard.starts.resize(counts.size() + 1);
        std::size_t total = 0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            shard.starts[i] = static_cast<std::uint32_t>(total);
            total += sizes[i];
        }
        shard.starts[counts.size()] = static_cast<std::uint32_t>(total);
        shard.bytes.resize(total);
        std::vector<std::uint32_t> cursor(shard.starts.begin(), shard.starts.end() - 1);
        std::fill(previous.begin(), previous.end(), none);
        eachKey([&](std::uint32_t key, Slot slot) {
            auto number = table.number(key);
            auto* out = shard.bytes.data() + cursor[number];
            cursor[number] = static_cast<std::uint32_t>(putGap(out, previous[number] == none ? slot : slot - previous[number]) - shard.bytes.data());
            previous[number] = slot;
        });
        std::size_t postings = 0;
        for (auto count : counts)
            postings += count;
        made += postings;
        shard.counts = std::move(counts);
        shard.keys = table.takeKeys();
        shard.listOf = table.takeNumbers();
    });
    if (stopped)
        return false;
    lists.made = made;
    m_lists = std::move(lists);
    return true;
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
    setText(slot, makeHaystack(index));
    if (m_lists) {
        std::vector<std::uint32_t> keys;
        trigrams(haystack(m_texts[slot]), keys);
        addToLists(slot, keys);
    }
    return slot;
}

void EntriesSearchIndex::update(Slot slot, const EntryIndex& index)
{
    auto text = makeHaystack(index);
    if (text == haystack(m_texts[slot]))
        return;
    if (m_lists) {
        // The old trigrams stay in the lists; only the new ones are added.
        std::vector<std::uint32_t> before;
        std::vector<std::uint32_t> after;
        trigrams(haystack(m_texts[slot]), before);
        trigrams(text, after);
        std::vector<std::uint32_t> come;
        std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(come));
        setText(slot, text);
        ++m_lists->staleCount;
        addToLists(slot, come);
    } else {
        setText(slot, text);
    }
}

void EntriesSearchIndex::remove(Slot slot)
{
    auto& text = m_texts[slot];
    if (!text.isUsed)
        return;
    m_unusedArena += text.length;
    text = Text {};
    m_free.push_back(slot);
    if (m_lists) {
        ++m_lists->staleCount;
        dropListsIfWorn();
    }
}

void EntriesSearchIndex::addToLists(Slot slot, const std::vector<std::uint32_t>& keys)
{
    auto& lists = *m_lists;
    for (auto key : keys) {
        auto& slots = lists.added[key];
        // New slots come last; a slot used again goes back to its place.
        if (slots.empty() || slots.back() < slot) {
            slots.push_back(slot);
        } else {
            auto at = std::lower_bound(slots.begin(), slots.end(), slot);
            if (at != slots.end() && *at == slot)
                continue;
            slots.insert(at, slot);
        }
        ++lists.addedCount;
    }
    dropListsIfWorn();
}

void EntriesSearchIndex::dropListsIfWorn()
{
    // Made again, once they are next wanted, when what was added beside them or lingers in them is a
    // good part of them: until then a search checks every item.
    const auto& lists = *m_lists;
    if (lists.addedCount > std::max<std::size_t>(lists.made / 4, 1 << 16) || lists.staleCount > std::max<std::size_t>(m_texts.size() / 4, 4096))
        m_lists.reset();
}

std::size_t EntriesSearchIndex::listSize(std::uint32_t key) const
{
    std::size_t size = 0;
    const auto& shard = m_lists->shards[shardOf(key)];
    if (auto number = shard.find(key))
        size += shard.counts[*number];
    if (auto added = m_lists->added.find(key); added != m_lists->added.end())
        size += added->second.size();
    return size;
}

std::vector<Slot> EntriesSearchIndex::list(std::uint32_t key) const
{
    std::vector<Slot> slots;
    const auto& shard = m_lists->shards[shardOf(key)];
    if (auto number = shard.find(key)) {
        slots.reserve(shard.counts[*number]);
        ListReader reader(shard.bytes.data() + shard.starts[*number], shard.counts[*number]);
        for (Slot slot; reader.next(slot);)
            slots.push_back(slot);
    }
    if (auto added = m_lists->added.find(key); added != m_lists->added.end())
        slots = united(slots, added->second);
    return slots;
}

std::optional<std::vector<Slot>> EntriesSearchIndex::slotsHoldingTrigrams(const std::vector<Foundation::String>& words) const
{
    if (!m_lists)
        return std::nullopt;
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
    std::vector<std::pair<std::size_t, std::uint32_t>> sized;
    for (auto key : wanted) {
        auto size = listSize(key);
        if (!size)
            return std::vector<Slot> {};
        sized.emplace_back(size, key);
    }
    std::sort(sized.begin(), sized.end());
    std::vector<Slot> result = list(sized.front().second);
    // Once few are left, checking them whole is cheaper than narrowing further.
    for (std::size_t i = 1; i < sized.size() && result.size() > 64; ++i) {
        const auto key = sized[i].second;
        std::vector<Slot> kept;
        const auto& shard = m_lists->shards[shardOf(key)];
        if (auto number = shard.find(key)) {
            // Read along the list, never made whole: only the slots still in the running are kept.
            ListReader reader(shard.bytes.data() + shard.starts[*number], shard.counts[*number]);
            std::size_t at = 0;
            for (Slot slot; at < result.size() && reader.next(slot);) {
                while (at < result.size() && result[at] < slot)
                    ++at;
                if (at < result.size() && result[at] == slot)
                    kept.push_back(result[at++]);
            }
        }
        if (auto added = m_lists->added.find(key); added != m_lists->added.end())
            kept = united(kept, intersection(result, added->second));
        result = std::move(kept);
    }
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
        if (onlySingleBytes && text.isASCII())
            return true;
        return EntriesSearch::matches(haystack(text), text.isASCII(), words);
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

std::vector<std::uint32_t> EntriesSearchIndex::scan(const std::vector<std::shared_ptr<const EntryIndex>>& items,
                                                    Settings::Items::SearchableFields fields, const std::vector<Foundation::String>& words,
                                                    const std::vector<std::uint32_t>* candidates)
{
    std::array<std::uint64_t, 2> wantedBytes {};
    for (const auto& word : words) {
        auto bytes = bytesOf(word.utf8());
        wantedBytes[0] |= bytes[0];
        wantedBytes[1] |= bytes[1];
    }
    const auto count = candidates ? candidates->size() : items.size();
    std::vector<std::vector<std::uint32_t>> found((count + run - 1) / run);
    concurrentPerform(found.size(), [&](std::size_t part) {
        std::string haystack;
        for (auto i = part * run; i < std::min(count, (part + 1) * run); ++i) {
            auto position = candidates ? (*candidates)[i] : static_cast<std::uint32_t>(i);
            haystack.clear();
            EntriesSearch::appendHaystack(haystack, *items[position], fields);
            auto bytes = bytesOf(haystack);
            bool isASCII = !(bytes[0] & 1);
            if (holds(bytes, wantedBytes) && EntriesSearch::matches(haystack, isASCII, words))
                found[part].push_back(position);
        }
    });
    std::vector<std::uint32_t> result;
    for (const auto& part : found)
        result.insert(result.end(), part.begin(), part.end());
    return result;
}

std::size_t EntriesSearchIndex::memoryUsed() const
{
    std::size_t bytes = m_texts.capacity() * sizeof(Text) + m_arena.capacity() + m_free.capacity() * sizeof(Slot);
    if (m_lists) {
        for (const auto& shard : m_lists->shards)
            bytes += (shard.keys.capacity() + shard.listOf.capacity() + shard.starts.capacity() + shard.counts.capacity()) * sizeof(std::uint32_t)
                + shard.bytes.capacity();
        for (const auto& [key, slots] : m_lists->added)
            bytes += sizeof(key) + sizeof(slots) + slots.capacity() * sizeof(Slot);
    }
    return bytes;
}

} // namespace Shared
