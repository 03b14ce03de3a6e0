#pragma once

#include "Basalwork/Base/Array.OxfordCommaMode.hpp"
#include "Basalwork/Base/Collection.hpp"
#include "Basalwork/Base/Sequence.hpp"

#include "Platform/Foundation/String.hpp"

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <ranges>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace Basalwork {

// The copy-making operations take the array by value: a caller that hands over a temporary (or moves
// its array in) pays for no copy.

namespace detail {
// A range of elements for an array of T, as opposed to a single element: something that is itself a T
// (text is also a range of characters) counts as an element.
template <class R, class T>
concept ElementsOf = std::ranges::input_range<R> && !std::convertible_to<R, T>
    && std::convertible_to<std::ranges::range_reference_t<R>, T>;

template <class T, class A, class R>
void appendAll(std::vector<T, A>& array, R&& elements)
{
    if constexpr (std::ranges::sized_range<R>)
        array.reserve(array.size() + std::ranges::size(elements));
    for (auto&& element : elements)
        array.push_back(pass<R>(element));
}
} // namespace detail

template <class T, class A>
std::vector<T, A> prepending(std::vector<T, A> array, std::type_identity_t<T> element)
{
    array.insert(array.begin(), std::move(element));
    return array;
}
// The given elements, then the array's.
template <class T, class A, detail::ElementsOf<T> R>
std::vector<T, A> prepending(std::vector<T, A> array, R&& elements)
{
    std::vector<T, A> result;
    detail::appendAll(result, std::forward<R>(elements));
    detail::appendAll(result, std::move(array));
    return result;
}

template <class T, class A>
std::vector<T, A> appending(std::vector<T, A> array, std::type_identity_t<T> element)
{
    array.push_back(std::move(element));
    return array;
}
template <class T, class A, detail::ElementsOf<T> R>
std::vector<T, A> appending(std::vector<T, A> array, R&& elements)
{
    detail::appendAll(array, std::forward<R>(elements));
    return array;
}

// appending(_:if:)
template <class T, class A>
std::vector<T, A> appending(std::vector<T, A> array, std::type_identity_t<T> element, bool if_)
{
    if (if_)
        array.push_back(std::move(element));
    return array;
}
// appending(if:_:)
template <class T, class A>
std::vector<T, A> appendingIf(std::vector<T, A> array, bool if_, std::type_identity_t<T> element)
{
    return appending(std::move(array), std::move(element), if_);
}

// Puts `with` in the place of every element the predicate picks, asking it once per element, front to
// back. Nothing changes until every element has been asked, so a failing predicate leaves the array whole.
template <class T, class A, class Predicate>
void replace(std::vector<T, A>& array, Predicate where, const std::type_identity_t<T>& with)
{
    std::vector<std::size_t> picked;
    for (std::size_t index = 0; index < array.size(); ++index) {
        if (std::invoke(where, std::as_const(array[index])))
            picked.push_back(index);
    }
    for (auto index : picked)
        array[index] = with;
}
template <class T, class A, class Predicate>
std::vector<T, A> replacing(std::vector<T, A> array, Predicate where, const std::type_identity_t<T>& with)
{
    replace(array, std::move(where), with);
    return array;
}

// Keeps, front to back, each element for which no element already kept satisfies `where(kept,
// candidate)`: the first of a group of duplicates stays. The array changes only after every comparison
// has been made, so a failing predicate leaves it whole.
template <class T, class A, class Predicate>
void removeDuplicates(std::vector<T, A>& array, Predicate where)
{
    std::vector<std::size_t> kept;
    for (std::size_t candidate = 0; candidate < array.size(); ++candidate) {
        const bool isDuplicate = std::ranges::any_of(kept, [&](std::size_t index) {
            return std::invoke(where, std::as_const(array[index]), std::as_const(array[candidate]));
        });
        if (!isDuplicate)
            kept.push_back(candidate);
    }
    std::size_t written = 0;
    for (auto index : kept) {
        if (index != written)
            array[written] = std::move(array[index]);
        ++written;
    }
    array.erase(array.begin() + static_cast<std::ptrdiff_t>(written), array.end());
}
template <class T, class A, class Predicate>
std::vector<T, A> removingDuplicates(std::vector<T, A> array, Predicate where)
{
    removeDuplicates(array, std::move(where));
    return array;
}

// filter(if:_:): the elements the predicate keeps, when the condition holds; else the array as it is.
template <class T, class A, class Predicate>
std::vector<T, A> filter(std::vector<T, A> array, bool if_, Predicate isIncluded)
{
    if (if_)
        std::erase_if(array, [&](const T& element) { return !std::invoke(isIncluded, element); });
    return array;
}

// reversed(if:)
template <class T, class A>
std::vector<T, A> reversed(std::vector<T, A> array, bool if_)
{
    if (if_)
        std::ranges::reverse(array);
    return array;
}

// Circular and neighbour access

// The element at `index` mod count, taken into 0 ..< count: -1 is the last element, count the first.
template <std::ranges::forward_range R>
SafeElement<R> elementAtCircularIndex(R&& collection, std::int64_t atCircularIndex)
{
    const auto n = detail::count(collection);
    if (n == 0)
        return {};
    return detail::elementAt<R>(collection, (atCircularIndex % n + n) % n);
}
// collection[circular: index]
template <std::ranges::forward_range R>
SafeElement<R> circular(R&& collection, std::int64_t index)
{
    return elementAtCircularIndex(std::forward<R>(collection), index);
}

namespace detail {
// Position of the first element equal to `element`, or nothing.
template <class R, class Value>
std::optional<std::int64_t> firstIndex(R& collection, const Value& element)
{
    std::int64_t index = 0;
    for (auto&& candidate : collection) {
        if (candidate == element)
            return index;
        ++index;
    }
    return std::nullopt;
}
} // namespace detail

// element(before:): the element before the first occurrence of `before`.
template <std::ranges::forward_range R>
SafeElement<R> elementBefore(R&& collection, const std::ranges::range_value_t<R>& before)
{
    if (auto index = detail::firstIndex(collection, before))
        return elementBeforeIndex(std::forward<R>(collection), *index);
    return {};
}
// element(after:): the element after the first occurrence of `after`.
template <std::ranges::forward_range R>
SafeElement<R> elementAfter(R&& collection, const std::ranges::range_value_t<R>& after)
{
    if (auto index = detail::firstIndex(collection, after))
        return elementAfterIndex(std::forward<R>(collection), *index);
    return {};
}

// Inserts directly after the first occurrence of `after`; without one the array stays as it is.
template <class T, class A>
void insert(std::vector<T, A>& array, std::type_identity_t<T> element, const std::type_identity_t<T>& after)
{
    if (auto index = detail::firstIndex(array, after))
        array.insert(array.begin() + static_cast<std::ptrdiff_t>(*index + 1), std::move(element));
}

// Arrays of text

// "a and b"; "a, b, and c" (the comma stands before the word too). No piece is trimmed or skipped.
template <std::ranges::forward_range R>
    requires std::convertible_to<std::ranges::range_reference_t<R>, const Foundation::String&>
Foundation::String joined(R&& strings, Array::OxfordCommaMode oxfordCommaMode)
{
    const auto n = std::ranges::distance(strings);
    const Foundation::String word(describe(oxfordCommaMode));
    Foundation::String result;
    std::ranges::range_difference_t<R> index = 0;
    for (auto&& piece : strings) {
        if (index > 0 && n > 2)
            result += ",";
        if (index > 0)
            result += " ";
        if (index > 0 && index == n - 1)
            result += word + " ";
        result += piece;
        ++index;
    }
    return result;
}

} // namespace Basalwork
