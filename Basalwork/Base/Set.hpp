#pragma once

#include "Basalwork/Base/Sequence.hpp"

#include <concepts>
#include <functional>
#include <ranges>
#include <type_traits>
#include <utility>
#include <vector>

namespace Basalwork {

// A set: a container of unique keys with no mapped values (std::unordered_set, std::set).
template <class S>
concept SetLike = std::ranges::forward_range<S> && requires { typename S::key_type; }
    && !requires { typename S::mapped_type; };

namespace detail {
// A sequence of keys, as opposed to one key: something that is itself a key counts as a key.
template <class R, class Key>
concept KeysOf = std::ranges::input_range<R> && !std::convertible_to<R, Key>
    && std::convertible_to<std::ranges::range_reference_t<R>, Key>;
} // namespace detail

// The copy-making operations take the set by value, so a set handed over as a temporary is not copied.

template <SetLike S>
S inserting(S set, typename S::key_type element)
{
    set.insert(std::move(element));
    return set;
}
template <SetLike S, detail::KeysOf<typename S::key_type> R>
S inserting(S set, R&& elements)
{
    for (auto&& element : elements)
        set.insert(detail::pass<R>(element));
    return set;
}

template <SetLike S>
S removing(S set, const typename S::key_type& element)
{
    set.erase(element);
    return set;
}
template <SetLike S, detail::KeysOf<typename S::key_type> R>
S removing(S set, R&& elements)
{
    for (auto&& element : elements)
        set.erase(element);
    return set;
}

// remove(where:): removes the elements the predicate picks, as the name says. The set changes only after
// every element has been asked, so a failing predicate leaves it whole.
template <SetLike S, class Predicate>
    requires std::predicate<Predicate&, const typename S::key_type&>
void remove(S& set, Predicate where)
{
    std::vector<typename S::const_iterator> picked;
    for (auto position = set.cbegin(); position != set.cend(); ++position) {
        if (std::invoke(where, *position))
            picked.push_back(position);
    }
    for (auto position : picked)
        set.erase(position);
}

} // namespace Basalwork
