#include "Basalwork/Interface/ListPairing.hpp"

#include <vector>

namespace Basalwork::detail {

namespace {

// The old occurrences of one identifier not yet paired, as a chain through `nextOccurrence`, so that
// taking the first is constant time however often the identifier repeats.
struct Occurrences {
    std::size_t hash = 0;
    std::int64_t first = ListPairing::unpaired; // unpaired also marks an empty slot before any occurrence
    std::int64_t last = ListPairing::unpaired;
    const Foundation::String* id = nullptr;
};

// Open addressing over one flat array: one hash per identifier, no allocation per entry.
class OccurrenceTable {
public:
    explicit OccurrenceTable(std::size_t count)
    {
        std::size_t capacity = 16;
        while (capacity < count * 2)
            capacity *= 2;
        m_slots.resize(capacity);
        m_mask = capacity - 1;
    }

    // The slot of the identifier, made when missing and `create` is set; nothing otherwise.
    Occurrences* find(const Foundation::String* id, std::size_t hash, bool create)
    {
        for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
            Occurrences& slot = m_slots[at];
            if (!slot.id) {
                if (!create)
                    return nullptr;
                slot.id = id;
                slot.hash = hash;
                return &slot;
            }
            if (slot.hash == hash && *slot.id == *id)
                return &slot;
        }
    }

private:
    std::vector<Occurrences> m_slots;
    std::size_t m_mask = 0;
};

} // namespace

ListPairing::ListPairing(std::span<const Foundation::String* const> oldIDs, std::span<const Foundation::String* const> newIDs)
    : m_oldIndexOfNew(newIDs.size(), unpaired)
    , m_newIndexOfOld(oldIDs.size(), unpaired)
{
    OccurrenceTable occurrencesOf(oldIDs.size());
    std::vector<std::int64_t> nextOccurrence(oldIDs.size(), unpaired);
    for (std::size_t j = 0; j < oldIDs.size(); ++j) {
        Occurrences& occurrences = *occurrencesOf.find(oldIDs[j], oldIDs[j]->hash(), true);
        const auto index = static_cast<std::int64_t>(j);
        if (occurrences.last == unpaired)
            occurrences.first = index;
        else
            nextOccurrence[static_cast<std::size_t>(occurrences.last)] = index;
        occurrences.last = index;
    }
    for (std::size_t i = 0; i < newIDs.size(); ++i) {
        Occurrences* found = occurrencesOf.find(newIDs[i], newIDs[i]->hash(), false);
        if (!found || found->first == unpaired)
            continue;
        const auto j = found->first;
        found->first = nextOccurrence[static_cast<std::size_t>(j)];
        m_oldIndexOfNew[i] = j;
        m_newIndexOfOld[static_cast<std::size_t>(j)] = static_cast<std::int64_t>(i);
    }
}
std::vector<Difference> ListPairing::differences(const std::vector<bool>& changed) const
{
    std::vector<Difference> result;
    std::vector<std::int64_t> removalsBefore(m_newIndexOfOld.size());
    std::int64_t removals = 0;
    for (std::size_t j = 0; j < m_newIndexOfOld.size(); ++j) {
        removalsBefore[j] = removals;
        if (m_newIndexOfOld[j] == unpaired) {
            result.push_back(Difference::removed(static_cast<std::int64_t>(j)));
            ++removals;
        }
    }
    std::int64_t insertions = 0;
    for (std::size_t i = 0; i < m_oldIndexOfNew.size(); ++i) {
        const auto newIndex = static_cast<std::int64_t>(i);
        const auto j = m_oldIndexOfNew[i];
        if (j == unpaired) {
            result.push_back(Difference::inserted(newIndex));
            ++insertions;
            continue;
        }
        if (i < changed.size() && changed[i])
            result.push_back(Difference::updatedInPlace(newIndex));
        // It stays put when as many paired elements precede it in the new list as in the old one.
        if (newIndex != j - removalsBefore[static_cast<std::size_t>(j)] + insertions)
            result.push_back(Difference::moved(j, newIndex));
    }
    return result;
}

} // namespace Basalwork::detail
