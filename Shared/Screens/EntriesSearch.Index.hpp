#pragma once

#include "Shared/Model/Forward.hpp"
#include "Shared/Model/Settings.Items.hpp"

#include "Platform/Foundation/String.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Shared {

// The item list's search over many items (EntriesSearch::Index). Each item keeps its haystack as
// EntriesSearch makes it, the bytes it holds and the three-byte pieces (trigrams) it contains; a typed
// word of three bytes or more is then looked for only in the items that hold all its trigrams, and a
// shorter one only in those that hold its bytes. The answers are exactly EntriesSearch::matches's: the
// index only narrows where that test runs. It follows the items one by one as they come, change and go.
// Read from several threads at once, changed from one at a time.
class EntriesSearchIndex {
public:
    using Slot = std::uint32_t;

    explicit EntriesSearchIndex(Settings::Items::SearchableFields fields = {});

    Settings::Items::SearchableFields fields() const { return m_fields; }
    // Forgets everything and takes these items (in slots 0, 1, ...), on every core: the first list of
    // a vault, or another choice of searchable fields.
    void assign(const std::vector<const EntryIndex*>& items, Settings::Items::SearchableFields fields);
    Slot insert(const EntryIndex& index);
    // The slot's item changed.
    void update(Slot slot, const EntryIndex& index);
    void remove(Slot slot);

    // The slots, in ascending order, whose items hold every word (EntriesSearch::words of a text): of
    // `candidates` (ascending) when given, else of every item.
    std::vector<Slot> matches(const std::vector<Foundation::String>& words, const std::vector<Slot>* candidates = nullptr) const;

private:
    struct Text {
        std::string haystack;
        // Which ASCII bytes the haystack holds; bit 0 stands for every byte outside ASCII.
        std::array<std::uint64_t, 2> bytes {};
        bool isASCII = true;
        bool isUsed = false;
    };
    using Postings = std::unordered_map<std::uint32_t, std::vector<Slot>>;
    static constexpr std::size_t shardCount = 16;

    Text makeText(const EntryIndex& index) const;
    // A trigram as the postings know it: its shard in the top bits, so that sorted keys come grouped by
    // shard, and the three bytes below.
    static std::uint32_t keyOf(std::uint32_t trigram) { return static_cast<std::uint32_t>(((trigram * 0x9E3779B1u) >> 28) << 24) | trigram; }
    static std::size_t shardOf(std::uint32_t key) { return key >> 24; }
    // The keys of the haystack's trigrams, ascending, each once.
    static std::vector<std::uint32_t> trigrams(const std::string& haystack);
    void addPostings(Slot slot, const std::vector<std::uint32_t>& keys);
    void removePostings(Slot slot, const std::vector<std::uint32_t>& keys);
    const std::vector<Slot>* postings(std::uint32_t key) const;
    // The slots that hold every trigram of the longer words; nothing when no word has three bytes.
    std::optional<std::vector<Slot>> slotsHoldingTrigrams(const std::vector<Foundation::String>& words) const;

    Settings::Items::SearchableFields m_fields;
    std::vector<Text> m_texts;
    std::vector<Slot> m_free;
    std::array<Postings, shardCount> m_postings;
};

} // namespace Shared
