#include "Basalwork/Interface/ListPairing.hpp"

#include <unordered_map>

namespace Basalwork::detail {

namespace {

struct IdentifierHash {
    std::size_t operator()(const Foundation::String* id) const { return id->hash(); }
};
struct IdentifierEqual {
    bool operator()(const Foundation::String* lhs, const Foundation::String* rhs) const { return *lhs == *rhs; }
};

// The old occurrences of one identifier not yet paired, as a chain through `nextOccurrence`, so that
// taking the first is constant time however often the identifier repeats.
struct Occurrences {
    std::int64_t first = ListPairing::unpaired;
    std::int64_t last = ListPairing::unpaired;
};

} // namespace

ListPairing::ListPairing(std::span<const Foundation::String* const> oldIDs, std::span<const Foundation::String* const> newIDs)
    : m_oldIndexOfNew(newIDs.size(), unpaired)
    , m_newIndexOfOld(oldIDs.size(), unpaired)
{
    std::unordered_map<const Foundation::String*, Occurrences, IdentifierHash, IdentifierEqual> occurrencesOf;
    occurrencesOf.reserve(oldIDs.size());
    std::vector<std::int64_t> nextOccurrence(oldIDs.size(), unpaired);
    for (std::size_t j = 0; j < oldIDs.size(); ++j) {
        auto& occurrences = occurrencesOf[oldIDs[j]];
        const auto index = static_cast<std::int64_t>(j);
        if (occurrences.last == unpaired)
            occurrences.first = index;
        else
            nextOccurrence[static_cast<std::size_t>(occurrences.last)] = index;
        occurrences.last = index;
    }
    for (std::size_t i = 0; i < newIDs.size(); ++i) {
        auto found = occurrencesOf.find(newIDs[i]);
        if (found == occurrencesOf.end() || found->second.first == unpaired)
            continue;
        const auto j = found->second.first;
        found->second.first = nextOccurrence[static_cast<std::size_t>(j)];
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
