#pragma once

#include "Basalwork/Interface/Difference.hpp"
#include "Basalwork/Interface/Identifiable.hpp"

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <ranges>
#include <span>
#include <type_traits>
#include <vector>

namespace Basalwork::detail {

// Which elements of an old and a new list are the same row. The k-th occurrence of an identifier in the
// new list pairs with its k-th occurrence in the old list; surplus occurrences on either side stay
// unpaired, so no unpaired new element shares an identifier with an unpaired old one.
class ListPairing {
public:
    template <std::ranges::random_access_range R>
    static ListPairing of(const R& old, const R& new_)
    {
        std::vector<Foundation::String> oldStorage;
        std::vector<Foundation::String> newStorage;
        const auto oldIDs = identifiers(old, oldStorage);
        const auto newIDs = identifiers(new_, newStorage);
        return ListPairing(oldIDs, newIDs);
    }

    static constexpr std::int64_t unpaired = -1;
    std::int64_t oldIndex(std::int64_t newIndex) const { return m_oldIndexOfNew[static_cast<std::size_t>(newIndex)]; }

    // The removals in ascending old index, then per new index an insertion, or an update of content (when
    // `changed` says so) followed by a move when the element is no longer where the removals and
    // insertions before it would put it.
    std::vector<Difference> differences(const std::vector<bool>& changed) const;

private:
    ListPairing(std::span<const Foundation::String* const> oldIDs, std::span<const Foundation::String* const> newIDs);

    // Points at each element's identifier; identifiers computed on the fly are kept in `storage`.
    template <class R>
    static std::vector<const Foundation::String*> identifiers(const R& elements, std::vector<Foundation::String>& storage)
    {
        std::vector<const Foundation::String*> result;
        result.reserve(std::ranges::size(elements));
        if constexpr (std::is_lvalue_reference_v<decltype(Basalwork::id(*std::ranges::begin(elements)))>) {
            for (const auto& element : elements)
                result.push_back(&Basalwork::id(element));
        } else {
            storage.reserve(std::ranges::size(elements));
            for (const auto& element : elements)
                result.push_back(&storage.emplace_back(Basalwork::id(element)));
        }
        return result;
    }

    std::vector<std::int64_t> m_oldIndexOfNew;
    std::vector<std::int64_t> m_newIndexOfOld;
};

} // namespace Basalwork::detail
