#pragma once

#include "Basalwork/Base/ClosedRange.hpp"
#include "Basalwork/Base/Collection.hpp"
#include "Basalwork/Interface/DiffableSection.hpp"
#include "Basalwork/Interface/Difference.hpp"
#include "Basalwork/Interface/Identifiable.hpp"
#include "Basalwork/Interface/ListPairing.hpp"

#include "Platform/Foundation/ClosedRange.hpp"
#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/Foundation/String.hpp"

#include <algorithm>
#include <concepts>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

namespace Basalwork {

// differences(requiredToBecome:): the steps that turn `old` into `requiredToBecome`, in linear time. Rows
// are matched by identifier and compared by content; see ListPairing for the order of the steps.
template <class T>
    requires Identifiable<T> && std::equality_comparable<T>
std::vector<Difference> differences(const std::vector<T>& old, const std::vector<T>& requiredToBecome)
{
    const auto pairing = detail::ListPairing::of(old, requiredToBecome);
    std::vector<bool> changed(requiredToBecome.size());
    for (std::size_t i = 0; i < requiredToBecome.size(); ++i) {
        const auto j = pairing.oldIndex(static_cast<std::int64_t>(i));
        if (j != detail::ListPairing::unpaired)
            changed[i] = !(old[static_cast<std::size_t>(j)] == requiredToBecome[i]);
    }
    return pairing.differences(changed);
}

// Lookups over an array of sections. An index path's section is the section's index and its item the
// row's index within that section; "flattened order" is section by section, rows in order within each.
// Rows are answered as the collection lookups answer elements: a pointer into the sections when a
// section holds its rows, else a copy. The sections must outlive the answer, so temporaries are refused.

template <DiffableSection S>
using ItemLookup = SafeElement<decltype(std::declval<const S&>().items())>;

namespace detail {

template <class S>
std::int64_t itemCount(const S& section)
{
    return static_cast<std::int64_t>(std::ranges::ssize(section.items()));
}

} // namespace detail

// item(at:): nothing when either index is out of range.
template <DiffableSection S>
ItemLookup<S> item(const std::vector<S>& sections, const Foundation::IndexPath& at)
{
    if (auto section = elementAtIndex(sections, at.section()))
        return elementAtIndex(section->items(), at.item());
    return {};
}
template <DiffableSection S>
void item(std::vector<S>&&, const Foundation::IndexPath&) = delete;

// items(for:): the rows at those index paths, in order, leaving out the paths that name none.
template <DiffableSection S>
std::vector<typename S::Item> items(const std::vector<S>& sections, const std::vector<Foundation::IndexPath>& for_)
{
    std::vector<typename S::Item> result;
    for (const auto& indexPath : for_) {
        if (auto found = item(sections, indexPath))
            result.push_back(*found);
    }
    return result;
}

// The index path of the first row, in flattened order, with that identifier.
template <DiffableSection S>
std::optional<Foundation::IndexPath> indexPathOfItem(const std::vector<S>& sections, const Foundation::String& withID)
{
    for (std::size_t section = 0; section < sections.size(); ++section) {
        if (auto index = indexOfElement(sections[section].items(), withID))
            return Foundation::IndexPath::withItem(*index, static_cast<std::int64_t>(section));
    }
    return std::nullopt;
}

template <DiffableSection S>
bool containsItem(const std::vector<S>& sections, const Foundation::String& withID)
{
    for (const auto& section : sections) {
        if (containsElement(section.items(), withID))
            return true;
    }
    return false;
}

template <DiffableSection S>
std::vector<typename S::Item> allItems(const std::vector<S>& sections)
{
    std::vector<typename S::Item> result;
    for (const auto& section : sections) {
        const auto& rows = section.items();
        result.insert(result.end(), std::ranges::begin(rows), std::ranges::end(rows));
    }
    return result;
}

// indexPathsForItems(where:): the predicate is called once per row, in flattened order.
template <DiffableSection S, class Predicate>
    requires std::predicate<Predicate&, const Foundation::IndexPath&, const typename S::Item&>
std::vector<Foundation::IndexPath> indexPathsForItems(const std::vector<S>& sections, Predicate where)
{
    std::vector<Foundation::IndexPath> result;
    for (std::size_t section = 0; section < sections.size(); ++section) {
        std::int64_t index = 0;
        for (const auto& row : sections[section].items()) {
            const auto indexPath = Foundation::IndexPath::withItem(index++, static_cast<std::int64_t>(section));
            if (std::invoke(where, indexPath, row))
                result.push_back(indexPath);
        }
    }
    return result;
}

template <DiffableSection S>
std::vector<Foundation::IndexPath> indexPathsForAllItems(const std::vector<S>& sections)
{
    return indexPathsForItems(sections, [](const Foundation::IndexPath&, const typename S::Item&) { return true; });
}

// indexPath(before:): the index path of the row just before, in flattened order, across section
// boundaries and over empty sections; nothing at the first row or for a path that names no row. The
// neighbour is found by position, never by identifier, so repeated identifiers cannot send a walk back.
template <DiffableSection S>
std::optional<Foundation::IndexPath> indexPathBefore(const std::vector<S>& sections, const Foundation::IndexPath& before)
{
    if (!item(sections, before))
        return std::nullopt;
    if (before.item() > 0)
        return Foundation::IndexPath::withItem(before.item() - 1, before.section());
    for (auto section = before.section() - 1; section >= 0; --section) {
        if (const auto count = detail::itemCount(sections[static_cast<std::size_t>(section)]); count > 0)
            return Foundation::IndexPath::withItem(count - 1, section);
    }
    return std::nullopt;
}

// indexPath(after:): as indexPathBefore, the row just after.
template <DiffableSection S>
std::optional<Foundation::IndexPath> indexPathAfter(const std::vector<S>& sections, const Foundation::IndexPath& after)
{
    if (!item(sections, after))
        return std::nullopt;
    if (after.item() + 1 < detail::itemCount(sections[static_cast<std::size_t>(after.section())]))
        return Foundation::IndexPath::withItem(after.item() + 1, after.section());
    for (auto section = static_cast<std::size_t>(after.section()) + 1; section < sections.size(); ++section) {
        if (detail::itemCount(sections[section]) > 0)
            return Foundation::IndexPath::withItem(0, static_cast<std::int64_t>(section));
    }
    return std::nullopt;
}

// item(before:)
template <DiffableSection S>
ItemLookup<S> itemBefore(const std::vector<S>& sections, const Foundation::IndexPath& before)
{
    if (auto indexPath = indexPathBefore(sections, before))
        return item(sections, *indexPath);
    return {};
}
template <DiffableSection S>
void itemBefore(std::vector<S>&&, const Foundation::IndexPath&) = delete;

// item(after:)
template <DiffableSection S>
ItemLookup<S> itemAfter(const std::vector<S>& sections, const Foundation::IndexPath& after)
{
    if (auto indexPath = indexPathAfter(sections, after))
        return item(sections, *indexPath);
    return {};
}
template <DiffableSection S>
void itemAfter(std::vector<S>&&, const Foundation::IndexPath&) = delete;

namespace detail {

template <class S, class Step, class Predicate>
ItemLookup<S> firstItem(const std::vector<S>& sections, Foundation::IndexPath from, Step step, Predicate& where)
{
    while (auto next = step(sections, from)) {
        auto found = item(sections, *next);
        if (std::invoke(where, *found))
            return found;
        from = *next;
    }
    return {};
}

} // namespace detail

// firstItem(after:where:): the first row after the given position, stepping row by row, that satisfies
// the predicate.
template <DiffableSection S, class Predicate>
    requires std::predicate<Predicate&, const typename S::Item&>
ItemLookup<S> firstItemAfter(const std::vector<S>& sections, const Foundation::IndexPath& after, Predicate where)
{
    return detail::firstItem(sections, after, [](const auto& all, const auto& at) { return indexPathAfter(all, at); }, where);
}
template <DiffableSection S, class Predicate>
void firstItemAfter(std::vector<S>&&, const Foundation::IndexPath&, Predicate) = delete;

// firstItem(before:where:)
template <DiffableSection S, class Predicate>
    requires std::predicate<Predicate&, const typename S::Item&>
ItemLookup<S> firstItemBefore(const std::vector<S>& sections, const Foundation::IndexPath& before, Predicate where)
{
    return detail::firstItem(sections, before, [](const auto& all, const auto& at) { return indexPathBefore(all, at); }, where);
}
template <DiffableSection S, class Predicate>
void firstItemBefore(std::vector<S>&&, const Foundation::IndexPath&, Predicate) = delete;

// indexPaths(in:): the index path of every row from the lower bound to the upper bound inclusive, in
// flattened order. Only rows that exist are answered: bounds beyond the array are cut back to it rather
// than read past its end or counted out to no end.
template <DiffableSection S>
std::vector<Foundation::IndexPath> indexPaths(const std::vector<S>& sections, const Foundation::ClosedRange<Foundation::IndexPath>& in)
{
    std::vector<Foundation::IndexPath> result;
    const auto& lower = in.lowerBound();
    const auto& upper = in.upperBound();
    const auto firstSection = std::max<std::int64_t>(lower.section(), 0);
    const auto lastSection = std::min<std::int64_t>(upper.section(), static_cast<std::int64_t>(sections.size()) - 1);
    for (auto section = firstSection; section <= lastSection; ++section) {
        const auto count = detail::itemCount(sections[static_cast<std::size_t>(section)]);
        const auto first = section == lower.section() ? std::max<std::int64_t>(lower.item(), 0) : 0;
        const auto last = section == upper.section() ? std::min(upper.item(), count - 1) : count - 1;
        for (auto index = first; index <= last; ++index)
            result.push_back(Foundation::IndexPath::withItem(index, section));
    }
    return result;
}

// indexPaths(between:and:): the two bounds in either order.
template <DiffableSection S>
std::vector<Foundation::IndexPath> indexPaths(const std::vector<S>& sections, const Foundation::IndexPath& between,
                                              const Foundation::IndexPath& and_)
{
    return indexPaths(sections, closedRange(between, and_));
}

} // namespace Basalwork
