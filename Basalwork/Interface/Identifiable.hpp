#pragma once

#include "Basalwork/Base/Collection.hpp"

#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <cstdint>
#include <optional>
#include <ranges>

namespace Basalwork {

// Text is its own identifier, so arrays of identifiers can be diffed like arrays of rows.
inline const Foundation::String& id(const Foundation::String& text)
{
    return text;
}

template <class T>
    requires requires(const T& element) {
        { element.id() } -> std::convertible_to<Foundation::String>;
    }
decltype(auto) id(const T& element)
{
    return element.id();
}

// Something known by a text identifier. Identifiers compare as text does: case-sensitive, canonically
// equivalent spellings equal.
template <class T>
concept Identifiable = requires(const T& element) {
    { Basalwork::id(element) } -> std::convertible_to<Foundation::String>;
};

// Lookups by identifier

template <std::ranges::input_range S>
    requires Identifiable<std::ranges::range_value_t<S>>
bool containsElement(S&& sequence, const Foundation::String& withID)
{
    for (auto&& element : sequence) {
        if (Basalwork::id(element) == withID)
            return true;
    }
    return false;
}

// The first element, in sequence order, with that identifier.
template <std::ranges::forward_range S>
    requires Identifiable<std::ranges::range_value_t<S>>
SafeElement<S> firstElement(S&& sequence, const Foundation::String& withID)
{
    for (auto position = std::ranges::begin(sequence); position != std::ranges::end(sequence); ++position) {
        if (Basalwork::id(*position) == withID)
            return detail::safeElement<S>(position);
    }
    return {};
}

template <std::ranges::input_range C>
    requires Identifiable<std::ranges::range_value_t<C>>
std::optional<std::int64_t> indexOfElement(C&& collection, const Foundation::String& withID)
{
    std::int64_t index = 0;
    for (auto&& element : collection) {
        if (Basalwork::id(element) == withID)
            return index;
        ++index;
    }
    return std::nullopt;
}

} // namespace Basalwork
