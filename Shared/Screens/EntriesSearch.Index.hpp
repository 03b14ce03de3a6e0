#pragma once

#include "Shared/Model/Forward.hpp"
#include "Shared/Model/Settings.Items.hpp"

#include "Platform/Foundation/String.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Shared {

// The item list's search over many items (EntriesSearch::Index). Each item keeps its haystack as
// EntriesSearch makes it and the bytes it holds; the index also keeps which items hold each three-byte
// piece (trigram), so that a typed word of three bytes or more is looked for only in the items that hold
// all its trigrams, and a shorter one only in those that hold its bytes. The answers are exactly
// EntriesSearch::matches's: the index only narrows where that test runs, so its trigram lists may name
// more items than hold a trigram (ones changed or gone since the lists were made), never fewer.
// The lists are made apart from the texts and can be left for later: until they are there, a search
// checks every item. It follows the items one by one as they come, change and go.
// Read from several threads at once, changed from one at a time.
class EntriesSearchIndex {
public:
    using Slot = std::uint32_t;

    explicit EntriesSearchIndex(Settings::Items::SearchableFields fields = {});

    Settings::Items::SearchableFields fields() const { return m_fields; }
    // Forgets everything and takes these items (in slots 0, 1, ...), on every core: the first list of
    // a vault, or another choice of searchable fields. `assignTexts` leaves the trigram lists for
    // `makeTrigramLists`, and gives way as that does: stopped, it holds no item at all.
    void assign(const std::vector<const EntryIndex*>& items, Settings::Items::SearchableFields fields);
    bool assignTexts(const std::vector<const EntryIndex*>& items, Settings::Items::SearchableFields fields,
                     const std::function<bool()>& shouldStop = {});
    // Makes the trigram lists if they are not there, on every core, unless `shouldStop` answers true
    // first (asked now and then from any of them): then nothing is kept, and a later call starts again.
    // True once they are there.
    bool makeTrigramLists(const std::function<bool()>& shouldStop = {});
    bool hasTrigramLists() const { return m_lists.has_value(); }
    Slot insert(const EntryIndex& index);
    // The slot's item changed.
    void update(Slot slot, const EntryIndex& index);
    void remove(Slot slot);

    // The slots, in ascending order, whose items hold every word (EntriesSearch::words of a text): of
    // `candidates` (ascending) when given, else of every item.
    std::vector<Slot> matches(const std::vector<Foundation::String>& words, const std::vector<Slot>* candidates = nullptr) const;

    // The same answer without an index, for items it does not hold yet: the positions, ascending, of
    // `items` (of `candidates`, ascending, when given) whose texts hold every word. Nothing is kept, so
    // one search costs less than making the texts.
    static std::vector<std::uint32_t> scan(const std::vector<std::shared_ptr<const EntryIndex>>& items, Settings::Items::SearchableFields fields,
                                           const std::vector<Foundation::String>& words, const std::vector<std::uint32_t>* candidates = nullptr);

    // What the index holds, in bytes, beyond its own object.
    std::size_t memoryUsed() const;

private:
    struct Text {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
        // Which ASCII bytes the haystack holds; bit 0 stands for every byte outside ASCII.
        std::array<std::uint64_t, 2> bytes {};
        bool isUsed = false;
        bool isASCII() const { return !(bytes[0] & 1); }
    };
    // One shard's trigram lists, made at once: each list's slots ascending, as the gaps between them,
    // seven bits to a byte with the top bit saying that more bytes follow. Most gaps are small.
    struct Shard {
        // Open addressing: key plus one (zero is free) beside the key's list.
        std::vector<std::uint32_t> keys;
        std::vector<std::uint32_t> listOf;
        std::vector<std::uint32_t> starts; // each list's first byte, and one past the last list's end
        std::vector<std::uint32_t> counts;
        std::vector<std::uint8_t> bytes;
        // The list's slots, or nothing for a key no item held when the lists were made.
        std::optional<std::uint32_t> find(std::uint32_t key) const;
    };
    struct Lists {
        std::vector<Shard> shards;
        // Slots that took trigrams since the lists were made, per trigram, ascending.
        std::unordered_map<std::uint32_t, std::vector<Slot>> added;
        std::size_t made = 0;
        std::size_t addedCount = 0;
        // Slots whose old trigrams linger in the lists: changed or gone since they were made.
        std::size_t staleCount = 0;
    };
    static constexpr std::size_t shardCount = 16;

    std::string makeHaystack(const EntryIndex& index) const;
    void setText(Slot slot, const std::string& haystack);
    std::string_view haystack(const Text& text) const { return std::string_view(m_arena).substr(text.offset, text.length); }
    // A trigram as the lists know it: its shard in the top bits, so that sorted keys come grouped by
    // shard, and the three bytes below.
    static std::uint32_t keyOf(std::uint32_t trigram) { return static_cast<std::uint32_t>(((trigram * 0x9E3779B1u) >> 28) << 24) | trigram; }
    static std::size_t shardOf(std::uint32_t key) { return key >> 24; }
    // The keys of the haystack's trigrams, ascending, each once.
    static void trigrams(std::string_view haystack, std::vector<std::uint32_t>& keys);
    // Slots taking trigrams after the lists were made go beside them, until there are so many that the
    // lists are better made again.
    void addToLists(Slot slot, const std::vector<std::uint32_t>& keys);
    void dropListsIfWorn();
    std::size_t listSize(std::uint32_t key) const;
    std::vector<Slot> list(std::uint32_t key) const;
    // The slots that hold every trigram of the longer words; nothing when no word has three bytes.
    std::optional<std::vector<Slot>> slotsHoldingTrigrams(const std::vector<Foundation::String>& words) const;
    void compactArena();

    Settings::Items::SearchableFields m_fields;
    std::vector<Text> m_texts;
    // Every haystack, one after the other; those of items changed or gone stay until they are many.
    std::string m_arena;
    std::size_t m_unusedArena = 0;
    std::vector<Slot> m_free;
    std::optional<Lists> m_lists;
};

} // namespace Shared
