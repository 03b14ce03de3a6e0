#pragma once

#include "Basalwork/Base/Sequence.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"

#include <concepts>
#include <optional>
#include <ranges>
#include <type_traits>
#include <utility>

namespace Basalwork {

// A dictionary: a container of unique keys with a value each (std::unordered_map, std::map).
template <class M>
concept DictionaryLike = std::ranges::forward_range<M> && requires {
    typename M::key_type;
    typename M::mapped_type;
};

// Merges `with` in; for a key in both, the value from `with` wins.
template <DictionaryLike M, class Other>
    requires DictionaryLike<std::remove_cvref_t<Other>>
void update(M& dictionary, Other&& with)
{
    for (auto&& entry : with)
        dictionary.insert_or_assign(entry.first, detail::pass<Other>(entry).second);
}
template <DictionaryLike M, class Other>
    requires DictionaryLike<std::remove_cvref_t<Other>>
M updated(M dictionary, Other&& with)
{
    update(dictionary, std::forward<Other>(with));
    return dictionary;
}

// remove(keys:): keys that are not there are ignored.
template <DictionaryLike M, std::ranges::input_range Keys>
void remove(M& dictionary, const Keys& keys)
{
    for (const auto& key : keys)
        dictionary.erase(key);
}
template <DictionaryLike M, std::ranges::input_range Keys>
M removing(M dictionary, const Keys& keys)
{
    remove(dictionary, keys);
    return dictionary;
}

// dictionary[key] for a key with a raw value: the entry under the raw value. A dictionary whose keys
// wrap their values (a type-erased key) takes the raw value wrapped.
template <class M, class Key>
concept KeyedByRawValue = DictionaryLike<M> && Foundation::RawRepresentable<Key>
    && std::constructible_from<typename M::key_type, typename Foundation::RawRepresentation<Key>::RawValue>;

// The stored value, open to change in place, or nothing.
template <class M, class Key>
    requires KeyedByRawValue<std::remove_const_t<M>, Key>
auto entry(M& dictionary, const Key& key) -> std::conditional_t<std::is_const_v<M>, const typename M::mapped_type*, typename M::mapped_type*>
{
    auto found = dictionary.find(typename M::key_type(Foundation::rawValue(key)));
    return found == dictionary.end() ? nullptr : &found->second;
}

// Stores the value; nothing removes the entry.
template <class M, class Key>
    requires KeyedByRawValue<M, Key>
void setEntry(M& dictionary, const Key& key, std::optional<typename M::mapped_type> value)
{
    typename M::key_type rawKey(Foundation::rawValue(key));
    if (value)
        dictionary.insert_or_assign(std::move(rawKey), std::move(*value));
    else
        dictionary.erase(rawKey);
}

} // namespace Basalwork
