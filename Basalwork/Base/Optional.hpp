#pragma once

#include "Platform/Foundation/Describe.hpp"

#include <functional>
#include <optional>
#include <ranges>
#include <string>
#include <type_traits>
#include <utility>

namespace Basalwork {

// The wrapped value's own text, without the "Optional(...)" around it, or "nil".
template <class T>
std::string nonOptionalDescription(const std::optional<T>& value)
{
    return value ? Foundation::describe(*value) : "nil";
}

// Something that may hold a value: std::optional, and the shared or plain pointer that stands for an
// optional object.
template <class O>
concept OptionalLike = requires(const O& optional) {
    static_cast<bool>(optional);
    *optional;
};

template <OptionalLike O>
bool isNil(const O& optional)
{
    return !static_cast<bool>(optional);
}
template <OptionalLike O>
bool hasValue(const O& optional)
{
    return static_cast<bool>(optional);
}

// Nothing stays nothing; a value gives the transform's own (optional) answer.
template <class O, class Transform>
    requires OptionalLike<std::remove_cvref_t<O>>
auto compactMap(O&& optional, Transform transform)
{
    using Answer = std::remove_cvref_t<std::invoke_result_t<Transform&, decltype(*std::forward<O>(optional))>>;
    if (!optional)
        return Answer {};
    return Answer(std::invoke(transform, *std::forward<O>(optional)));
}

template <OptionalLike O>
    requires std::ranges::range<decltype(*std::declval<const O&>())>
bool isNilOrEmpty(const O& optional)
{
    return !optional || std::ranges::empty(*optional);
}
template <OptionalLike O>
    requires std::ranges::range<decltype(*std::declval<const O&>())>
bool hasElements(const O& optional)
{
    return optional && !std::ranges::empty(*optional);
}

} // namespace Basalwork
