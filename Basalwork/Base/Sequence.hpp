#pragma once

#include "Platform/Foundation/FatalError.hpp"

#include <concepts>
#include <cstdint>
#include <functional>
#include <iterator>
#include <ranges>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace Basalwork {

namespace detail {

// Elements may be moved out of a range the call owns (a container handed over as a temporary) or out of
// the temporaries a computing range yields; never out of a view or a container the caller keeps.
template <class S>
inline constexpr bool movesElements = !std::is_lvalue_reference_v<std::ranges::range_reference_t<S>>
    || (!std::is_lvalue_reference_v<S> && !std::ranges::view<std::remove_cvref_t<S>> && !std::ranges::borrowed_range<S>);

template <class S, class E>
decltype(auto) pass(E& element)
{
    if constexpr (movesElements<S>)
        return std::move(element);
    else
        return static_cast<E&>(element);
}

// Equality by the elements' own `==`, so any comparable pair of types works (text against a literal).
template <class R, class Value>
bool contains(R&& elements, const Value& value)
{
    for (auto&& element : elements) {
        if (element == value)
            return true;
    }
    return false;
}

template <class S, class Function>
using Mapped = std::remove_cvref_t<std::invoke_result_t<Function&, std::ranges::range_reference_t<S>>>;

} // namespace detail

template <class V>
concept Summable = !std::same_as<V, bool> && std::default_initializable<V> && requires(V total, const V& element) {
    { total + element } -> std::convertible_to<V>;
};

// The elements added from the front, starting from zero. Integer overflow stops the program rather than
// wrapping into a wrong total.
template <std::ranges::input_range S>
    requires Summable<std::ranges::range_value_t<S>>
std::ranges::range_value_t<S> sum(S&& sequence)
{
    using Value = std::ranges::range_value_t<S>;
    Value total {};
    for (auto&& element : sequence) {
        if constexpr (std::is_integral_v<Value>) {
            if (__builtin_add_overflow(total, static_cast<Value>(element), &total))
                Foundation::fatalError("Arithmetic overflow in sum");
        } else {
            total = total + element;
        }
    }
    return total;
}

template <std::ranges::input_range S>
bool doesNotContain(S&& sequence, const std::ranges::range_value_t<S>& element)
{
    return !detail::contains(sequence, element);
}
template <std::ranges::input_range S, class Predicate>
    requires std::predicate<Predicate&, std::ranges::range_reference_t<S>>
bool doesNotContain(S&& sequence, Predicate where)
{
    for (auto&& element : sequence) {
        if (std::invoke(where, element))
            return false;
    }
    return true;
}

// contains(all:): every element of `all` occurs in the sequence; an empty `all` is always contained.
template <std::ranges::forward_range S, std::ranges::input_range All>
bool containsAll(S&& sequence, All&& all)
{
    for (auto&& wanted : all) {
        if (!detail::contains(sequence, wanted))
            return false;
    }
    return true;
}

// Each value once, in the order it first occurs. Needs only equality: each candidate is compared with the
// elements kept so far.
template <std::ranges::input_range S>
std::vector<std::ranges::range_value_t<S>> removingDuplicates(S&& sequence)
{
    std::vector<std::ranges::range_value_t<S>> kept;
    for (auto&& element : sequence) {
        if (!detail::contains(kept, element))
            kept.push_back(detail::pass<S>(element));
    }
    return kept;
}

// The transform of each element, each distinct result once, in first-occurrence order.
template <std::ranges::input_range S, class Transform>
std::vector<detail::Mapped<S, Transform>> uniqueMap(S&& sequence, Transform transform)
{
    std::vector<detail::Mapped<S, Transform>> kept;
    for (auto&& element : sequence) {
        auto mapped = std::invoke(transform, element);
        if (!detail::contains(kept, mapped))
            kept.push_back(std::move(mapped));
    }
    return kept;
}

// map(first:): the first non-empty answer of the transform, which is called no further.
template <std::ranges::input_range S, class Transform>
detail::Mapped<S, Transform> mapFirst(S&& sequence, Transform first)
{
    for (auto&& element : sequence) {
        if (detail::Mapped<S, Transform> answer = std::invoke(first, element))
            return answer;
    }
    return {};
}

// prefix(where:maxLength:): the first `maxLength` elements that satisfy the predicate, skipping the others;
// the predicate is not called once enough are collected. A maximum below one collects nothing.
template <std::ranges::input_range S, class Predicate>
std::vector<std::ranges::range_value_t<S>> prefix(S&& sequence, Predicate where, std::int64_t maxLength)
{
    std::vector<std::ranges::range_value_t<S>> result;
    if (maxLength < 1)
        return result;
    for (auto&& element : sequence) {
        if (!std::invoke(where, element))
            continue;
        result.push_back(detail::pass<S>(element));
        if (static_cast<std::int64_t>(result.size()) == maxLength)
            break;
    }
    return result;
}

// forEach(batchOf:body:): the body gets full batches of `batchOf` elements and then, always, one last call
// with the remainder, which is empty for an empty sequence. A batch size below one calls nothing.
template <std::ranges::input_range S, class Body>
void forEach(S&& sequence, std::int64_t batchOf, Body body)
{
    if (batchOf < 1)
        return;
    std::vector<std::ranges::range_value_t<S>> batch;
    for (auto&& element : sequence) {
        if (static_cast<std::int64_t>(batch.size()) == batchOf) {
            std::invoke(body, std::as_const(batch));
            batch.clear();
        }
        batch.push_back(detail::pass<S>(element));
    }
    std::invoke(body, std::as_const(batch));
}

// Each element under its key; of two elements with the same key the later one stays.
template <std::ranges::input_range S, class KeyFunction>
std::unordered_map<detail::Mapped<S, KeyFunction>, std::ranges::range_value_t<S>> mapToDictionary(S&& sequence,
                                                                                                   KeyFunction keyedWith)
{
    std::unordered_map<detail::Mapped<S, KeyFunction>, std::ranges::range_value_t<S>> result;
    for (auto&& element : sequence) {
        auto key = std::invoke(keyedWith, element);
        result.insert_or_assign(std::move(key), detail::pass<S>(element));
    }
    return result;
}

// As mapToDictionary, leaving out the elements that have no key.
template <std::ranges::input_range S, class KeyFunction>
auto compactMapToDictionary(S&& sequence, KeyFunction keyedWith)
{
    using Key = std::remove_cvref_t<decltype(*std::declval<detail::Mapped<S, KeyFunction>>())>;
    std::unordered_map<Key, std::ranges::range_value_t<S>> result;
    for (auto&& element : sequence) {
        if (auto key = std::invoke(keyedWith, element))
            result.insert_or_assign(std::move(*key), detail::pass<S>(element));
    }
    return result;
}

template <class S, class KeyFunction>
using Groups = std::unordered_map<detail::Mapped<S, KeyFunction>, std::vector<std::ranges::range_value_t<S>>>;

// The elements under each key, in the order they occur.
template <std::ranges::input_range S, class KeyFunction>
Groups<S, KeyFunction> grouped(S&& sequence, KeyFunction by)
{
    Groups<S, KeyFunction> result;
    for (auto&& element : sequence) {
        auto key = std::invoke(by, element);
        result[std::move(key)].push_back(detail::pass<S>(element));
    }
    return result;
}

// The groups of more than one element.
template <std::ranges::input_range S, class KeyFunction>
Groups<S, KeyFunction> duplicatesByKey(S&& sequence, KeyFunction havingSame)
{
    auto groups = grouped(std::forward<S>(sequence), std::move(havingSame));
    std::erase_if(groups, [](const auto& group) { return group.second.size() < 2; });
    return groups;
}

// The groups of duplicatesByKey, in no defined order.
template <std::ranges::input_range S, class KeyFunction>
std::vector<std::vector<std::ranges::range_value_t<S>>> duplicates(S&& sequence, KeyFunction havingSame)
{
    std::vector<std::vector<std::ranges::range_value_t<S>>> result;
    for (auto& [key, group] : duplicatesByKey(std::forward<S>(sequence), std::move(havingSame)))
        result.push_back(std::move(group));
    return result;
}

template <std::ranges::input_range S>
std::vector<std::ranges::range_value_t<S>> asArray(S&& sequence)
{
    using Array = std::vector<std::ranges::range_value_t<S>>;
    if constexpr (std::is_same_v<S, Array>) {
        return std::move(sequence);
    } else {
        Array result;
        if constexpr (std::ranges::sized_range<S>)
            result.reserve(std::ranges::size(sequence));
        for (auto&& element : sequence)
            result.push_back(detail::pass<S>(element));
        return result;
    }
}

template <std::ranges::input_range S>
std::unordered_set<std::ranges::range_value_t<S>> asSet(S&& sequence)
{
    std::unordered_set<std::ranges::range_value_t<S>> result;
    for (auto&& element : sequence)
        result.insert(detail::pass<S>(element));
    return result;
}

} // namespace Basalwork
