#pragma once

#include "Basalwork/Base/Sequence.hpp"

#include "Platform/Foundation/RawRepresentable.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <ranges>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Basalwork {

// Collections are addressed by position, 0 ..< count, whatever iterators the range has; the positions
// are the collection's indices and its count is the end index.
//
// A safe access answers a SafeElement: a pointer to the element when the collection holds its elements and
// outlives the call, so nothing is copied; otherwise (a range that computes its elements, a temporary
// container) an optional copy. Either tests false for nothing and dereferences to the element.
template <class R>
using SafeElement = std::conditional_t<std::ranges::borrowed_range<R>
                                           && std::is_lvalue_reference_v<std::ranges::range_reference_t<R>>,
                                       std::add_pointer_t<std::ranges::range_reference_t<R>>,
                                       std::optional<std::ranges::range_value_t<R>>>;

// A run of a collection's elements, viewed in place.
template <class R>
using Slice = std::ranges::subrange<std::ranges::iterator_t<R>>;

// A window of three, as `triplets` answers it.
template <class E>
struct Triplet {
    E first;
    E second;
    E third;
    friend bool operator==(const Triplet&, const Triplet&) = default;
};

namespace detail {

template <class R>
std::int64_t count(R& collection)
{
    return static_cast<std::int64_t>(std::ranges::distance(collection));
}

// Whether the collection holds at least `n` elements, walking no further than that.
template <class R>
bool hasAtLeast(R& collection, std::int64_t n)
{
    if (n <= 0)
        return true;
    auto position = std::ranges::begin(collection);
    return std::ranges::advance(position, static_cast<std::ranges::range_difference_t<R>>(n), std::ranges::end(collection)) == 0;
}

// The iterator at `index`, or nothing outside 0 ..< count.
template <class R>
std::optional<std::ranges::iterator_t<R>> iteratorAt(R& collection, std::int64_t index)
{
    if (index < 0)
        return std::nullopt;
    auto position = std::ranges::begin(collection);
    const auto end = std::ranges::end(collection);
    if (std::ranges::advance(position, static_cast<std::ranges::range_difference_t<R>>(index), end) != 0 || position == end)
        return std::nullopt;
    return position;
}

template <class R, class Iterator>
SafeElement<R> safeElement(const Iterator& position)
{
    if constexpr (std::is_pointer_v<SafeElement<R>>)
        return std::addressof(*position);
    else
        return SafeElement<R>(std::in_place, *position);
}

template <class R>
SafeElement<R> elementAt(std::remove_reference_t<R>& collection, std::int64_t index)
{
    if (auto position = iteratorAt(collection, index))
        return safeElement<R>(*position);
    return {};
}

template <class R>
Slice<R> slice(std::remove_reference_t<R>& collection, std::int64_t lower, std::int64_t upper)
{
    auto first = std::ranges::next(std::ranges::begin(collection), lower);
    auto last = std::ranges::next(first, upper - lower);
    return {first, last};
}

template <class R>
Slice<R> emptySliceAtEnd(std::remove_reference_t<R>& collection)
{
    auto end = std::ranges::next(std::ranges::begin(collection), std::ranges::end(collection));
    return {end, end};
}

// Windows of `Width` elements starting every `Width` positions from the first bound up to the second;
// a window that runs past the end holds nothing in its missing places.
template <std::size_t Width, class R, class Make>
auto windows(std::remove_reference_t<R>& collection, std::optional<std::int64_t> from, std::optional<std::int64_t> to, Make make)
{
    using Window = std::array<SafeElement<R>, Width>;
    std::vector<std::invoke_result_t<Make, Window&>> result;
    const auto n = count(collection);
    const auto first = from ? std::clamp<std::int64_t>(*from, 0, n) : 0;
    const auto last = to ? std::clamp<std::int64_t>(*to, 0, n) : n;
    if (last < first)
        return result;
    const auto end = std::ranges::end(collection);
    auto position = std::ranges::next(std::ranges::begin(collection), first);
    for (auto index = first; index < last; index += static_cast<std::int64_t>(Width)) {
        Window window {};
        auto cursor = position;
        for (std::size_t place = 0; place < Width && cursor != end; ++place, ++cursor)
            window[place] = safeElement<R>(cursor);
        result.push_back(make(window));
        std::ranges::advance(position, static_cast<std::ranges::range_difference_t<R>>(Width), end);
    }
    return result;
}

} // namespace detail

// Safe access

// collection[safe: index]: the element at a valid index, else nothing.
template <std::ranges::forward_range R>
SafeElement<R> elementAtIndex(R&& collection, std::int64_t atIndex)
{
    return detail::elementAt<R>(collection, atIndex);
}
template <std::ranges::forward_range R>
SafeElement<R> safe(R&& collection, std::int64_t index)
{
    return detail::elementAt<R>(collection, index);
}

// The index one back, when start < index <= end: the end index gives the last valid index.
template <std::ranges::forward_range R>
std::optional<std::int64_t> safeIndexBefore(R&& collection, std::int64_t before)
{
    if (before > 0 && detail::hasAtLeast(collection, before))
        return before - 1;
    return std::nullopt;
}

// The index one on, when start <= index < end: the last valid index gives the end index.
template <std::ranges::forward_range R>
std::optional<std::int64_t> safeIndexAfter(R&& collection, std::int64_t after)
{
    if (after >= 0 && after < std::numeric_limits<std::int64_t>::max() && detail::hasAtLeast(collection, after + 1))
        return after + 1;
    return std::nullopt;
}

template <std::ranges::forward_range R>
SafeElement<R> elementBeforeIndex(R&& collection, std::int64_t beforeIndex)
{
    if (auto index = safeIndexBefore(collection, beforeIndex))
        return detail::elementAt<R>(collection, *index);
    return {};
}

template <std::ranges::forward_range R>
SafeElement<R> elementAfterIndex(R&& collection, std::int64_t afterIndex)
{
    if (auto index = safeIndexAfter(collection, afterIndex))
        return detail::elementAt<R>(collection, *index);
    return {};
}

template <std::ranges::forward_range R>
std::optional<std::int64_t> lastValidSubscriptIndex(R&& collection)
{
    if (std::ranges::begin(collection) == std::ranges::end(collection))
        return std::nullopt;
    return detail::count(collection) - 1;
}

// The elements from max(start, from) to min(to, end), including `to` itself when asked and it is a valid
// index. Bounds that cross or meet give an empty slice at the start.
template <std::ranges::forward_range R>
    requires std::ranges::borrowed_range<R>
Slice<R> elements(R&& collection, std::int64_t from, std::int64_t to, bool isInclusive)
{
    const auto n = detail::count(collection);
    const auto lower = std::max<std::int64_t>(0, from);
    const auto upper = std::min(to, n);
    if (lower >= upper)
        return detail::slice<R>(collection, 0, 0);
    return detail::slice<R>(collection, lower, isInclusive && upper < n ? upper + 1 : upper);
}

// The elements from a valid index on. Any other index (before the start, at or past the end) gives an
// empty slice rather than stopping the program.
template <std::ranges::forward_range R>
    requires std::ranges::borrowed_range<R>
Slice<R> safeSuffix(R&& collection, std::int64_t from)
{
    if (auto position = detail::iteratorAt(collection, from))
        return {*position, std::ranges::next(*position, std::ranges::end(collection))};
    return detail::emptySliceAtEnd<R>(collection);
}

// Counts and shapes

template <std::ranges::forward_range R>
bool hasElements(R&& collection)
{
    return std::ranges::begin(collection) != std::ranges::end(collection);
}
template <std::ranges::forward_range R>
bool hasExactlyOneElement(R&& collection)
{
    return detail::hasAtLeast(collection, 1) && !detail::hasAtLeast(collection, 2);
}
template <std::ranges::forward_range R>
bool hasOneOrMoreElements(R&& collection)
{
    return detail::hasAtLeast(collection, 1);
}
template <std::ranges::forward_range R>
bool hasMoreThanOneElement(R&& collection)
{
    return detail::hasAtLeast(collection, 2);
}

// Every run of `ofLength` consecutive elements, one starting at each index (overlapping windows).
template <std::ranges::forward_range R>
    requires std::ranges::borrowed_range<R>
std::vector<Slice<R>> subSequences(R&& collection, std::int64_t ofLength)
{
    std::vector<Slice<R>> result;
    if (ofLength < 1)
        return result;
    const auto end = std::ranges::end(collection);
    auto first = std::ranges::begin(collection);
    auto last = first;
    if (std::ranges::advance(last, static_cast<std::ranges::range_difference_t<R>>(ofLength), end) != 0)
        return result;
    for (;;) {
        result.emplace_back(first, last);
        if (last == end)
            return result;
        ++first;
        ++last;
    }
}

// The indices from `from` towards `to`, excluding `to`, `by` apart; a step against the direction, or of
// zero, gives none.
template <std::ranges::forward_range R>
auto stride(R&& /*collection*/, std::int64_t from, std::int64_t to, std::int64_t by)
{
    // Distances in unsigned arithmetic: the full span of Int fits, where a signed difference would overflow.
    std::uint64_t steps = 0;
    if (by > 0 && from < to)
        steps = (static_cast<std::uint64_t>(to) - static_cast<std::uint64_t>(from) - 1) / static_cast<std::uint64_t>(by) + 1;
    else if (by < 0 && from > to)
        steps = (static_cast<std::uint64_t>(from) - static_cast<std::uint64_t>(to) - 1) / (0 - static_cast<std::uint64_t>(by)) + 1;
    return std::views::iota(std::uint64_t {0}, steps) | std::views::transform([from, by](std::uint64_t step) {
               return static_cast<std::int64_t>(static_cast<std::uint64_t>(from) + step * static_cast<std::uint64_t>(by));
           });
}

// Non-overlapping windows of two from `from` (default the start) to `to` (default the end), both clamped
// into the collection; a last window past the end has no `second`.
template <std::ranges::forward_range R>
std::vector<std::pair<SafeElement<R>, SafeElement<R>>> pairs(R&& collection, std::optional<std::int64_t> from = std::nullopt,
                                                             std::optional<std::int64_t> to = std::nullopt)
{
    return detail::windows<2, R>(collection, from, to, [](auto& window) { return std::pair {window[0], window[1]}; });
}

template <std::ranges::forward_range R>
std::vector<Triplet<SafeElement<R>>> triplets(R&& collection, std::optional<std::int64_t> from = std::nullopt,
                                              std::optional<std::int64_t> to = std::nullopt)
{
    return detail::windows<3, R>(collection, from, to, [](auto& window) {
        return Triplet<SafeElement<R>> {window[0], window[1], window[2]};
    });
}

// Consecutive slices of `of` elements from the start, the last holding what remains. A size below one
// gives none: there is no way to step through the collection by it.
template <std::ranges::forward_range R>
    requires std::ranges::borrowed_range<R>
std::vector<Slice<R>> groups(R&& collection, std::int64_t of)
{
    std::vector<Slice<R>> result;
    if (of < 1)
        return result;
    const auto end = std::ranges::end(collection);
    auto first = std::ranges::begin(collection);
    while (first != end) {
        auto last = first;
        std::ranges::advance(last, static_cast<std::ranges::range_difference_t<R>>(of), end);
        result.emplace_back(first, last);
        first = last;
    }
    return result;
}

// Statistics

template <std::ranges::input_range R>
std::unordered_map<std::ranges::range_value_t<R>, std::int64_t> frequencyOfEachElement(R&& collection)
{
    std::unordered_map<std::ranges::range_value_t<R>, std::int64_t> counts;
    for (auto&& element : collection)
        ++counts[element];
    return counts;
}

namespace detail {
// The elements whose count is the highest (or lowest) there is, in the counts' own order.
template <class R, class Pick>
std::vector<std::ranges::range_value_t<R>> elementsWithExtremeCount(R& collection, Pick pick)
{
    std::vector<std::ranges::range_value_t<R>> result;
    const auto counts = frequencyOfEachElement(collection);
    if (counts.empty())
        return result;
    const auto extreme = pick(counts, [](const auto& a, const auto& b) { return a.second < b.second; })->second;
    for (const auto& [element, count] : counts) {
        if (count == extreme)
            result.push_back(element);
    }
    return result;
}
} // namespace detail

// Ties all come back, in no defined order.
template <std::ranges::input_range R>
std::vector<std::ranges::range_value_t<R>> mostFrequentlyOccuringElements(R&& collection)
{
    return detail::elementsWithExtremeCount(collection, [](const auto& counts, auto less) { return std::ranges::max_element(counts, less); });
}
template <std::ranges::input_range R>
std::vector<std::ranges::range_value_t<R>> leastFrequentlyOccuringElements(R&& collection)
{
    return detail::elementsWithExtremeCount(collection, [](const auto& counts, auto less) { return std::ranges::min_element(counts, less); });
}

// Not a number for an empty collection.
template <std::ranges::forward_range R>
    requires std::floating_point<std::ranges::range_value_t<R>>
std::ranges::range_value_t<R> average(R&& collection)
{
    using Value = std::ranges::range_value_t<R>;
    const auto n = detail::count(collection);
    if (n == 0)
        return std::numeric_limits<Value>::quiet_NaN();
    return sum(collection) / static_cast<Value>(n);
}

template <std::ranges::input_range R>
    requires Foundation::RawRepresentable<std::ranges::range_value_t<R>>
auto rawValues(R&& collection)
{
    std::vector<typename Foundation::RawRepresentation<std::ranges::range_value_t<R>>::RawValue> result;
    if constexpr (std::ranges::sized_range<R>)
        result.reserve(std::ranges::size(collection));
    for (auto&& element : collection)
        result.push_back(Foundation::rawValue(element));
    return result;
}

} // namespace Basalwork
