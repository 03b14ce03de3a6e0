#pragma once

#include <concepts>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace Basalwork {

// A sequence whose elements arrive over time: `makeAsyncIterator()` gives an iterator whose `next()` waits
// for the next element, answers nothing once the sequence has ended, and throws the sequence's failure.
template <class S>
concept AsyncSequence = requires(S& sequence) {
    sequence.makeAsyncIterator();
    requires requires(decltype(sequence.makeAsyncIterator()) iterator) {
        { iterator.next() } -> std::same_as<std::optional<typename decltype(iterator.next())::value_type>>;
    };
};

template <AsyncSequence S>
using AsyncElement = typename decltype(std::declval<S&>().makeAsyncIterator().next())::value_type;

// Every element in arrival order, once the sequence has ended.
template <AsyncSequence S>
std::vector<AsyncElement<S>> collect(S& sequence)
{
    std::vector<AsyncElement<S>> elements;
    auto iterator = sequence.makeAsyncIterator();
    while (auto element = iterator.next())
        elements.push_back(std::move(*element));
    return elements;
}

// The transform runs only once the whole sequence has arrived, so a sequence that fails part-way
// transforms nothing. The transform's first failure ends the operation.
template <AsyncSequence S, class Transform>
auto mapToSyncArray(S& sequence, Transform transform)
{
    using Mapped = std::remove_cvref_t<std::invoke_result_t<Transform&, AsyncElement<S>&>>;
    auto elements = collect(sequence);
    std::vector<Mapped> mapped;
    mapped.reserve(elements.size());
    for (auto& element : elements)
        mapped.push_back(transform(element));
    return mapped;
}

// As `mapToSyncArray`, keeping only what the transform gives.
template <AsyncSequence S, class Transform>
auto compactMapToSyncArray(S& sequence, Transform transform)
{
    using Mapped = typename std::remove_cvref_t<std::invoke_result_t<Transform&, AsyncElement<S>&>>::value_type;
    auto elements = collect(sequence);
    std::vector<Mapped> mapped;
    for (auto& element : elements) {
        if (auto value = transform(element))
            mapped.push_back(std::move(*value));
    }
    return mapped;
}

} // namespace Basalwork
