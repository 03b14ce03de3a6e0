#pragma once

#include "Basalwork/Interface/Identifiable.hpp"

#include <concepts>
#include <vector>

namespace Basalwork {

// A section of a list: known by an identifier, holding rows that are known by theirs and that compare
// by content, so a change of content can be told from a change of identity.
template <class S>
concept DiffableSection = Identifiable<S> && requires(const S& section) {
    typename S::Item;
    requires Identifiable<typename S::Item>;
    requires std::equality_comparable<typename S::Item>;
    { section.items() } -> std::convertible_to<std::vector<typename S::Item>>;
};

} // namespace Basalwork
