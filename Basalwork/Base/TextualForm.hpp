#pragma once

#include "Basalwork/Base/Dictionary.hpp"

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/Describe.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>
#include <ranges>
#include <string>
#include <type_traits>
#include <typeinfo>

namespace Basalwork {

// The text a value gives when interpolated into a string: text as it is, numbers plainly, optionals as
// "Optional(...)" or "nil", arrays and sets as "[a, b]", dictionaries as "[k: v]" ("[:]" when empty),
// objects by their description. Inside a collection, text is quoted.
template <class T>
std::string textualForm(const T& value);

namespace detail {
template <class T>
inline constexpr bool isOptional = false;
template <class T>
inline constexpr bool isOptional<std::optional<T>> = true;
template <class T>
inline constexpr bool isSharedPointer = false;
template <class T>
inline constexpr bool isSharedPointer<std::shared_ptr<T>> = true;
} // namespace detail

// A value as it appears inside a printed collection or optional.
template <class T>
std::string debugTextualForm(const T& value)
{
    if constexpr (std::is_same_v<T, Foundation::String> || std::is_same_v<T, Foundation::Character>)
        return Foundation::debugQuoted(value.utf8());
    else if constexpr (std::is_same_v<T, std::string>)
        return Foundation::debugQuoted(value);
    else
        return textualForm(value);
}

template <class T>
std::string textualForm(const T& value)
{
    if constexpr (std::is_same_v<T, Foundation::String> || std::is_same_v<T, Foundation::Character>) {
        return value.utf8();
    } else if constexpr (std::is_same_v<T, std::string>) {
        return value;
    } else if constexpr (std::is_arithmetic_v<T>) {
        return Foundation::describe(value);
    } else if constexpr (detail::isOptional<T>) {
        return value ? "Optional(" + debugTextualForm(*value) + ")" : "nil";
    } else if constexpr (detail::isSharedPointer<T>) {
        return value ? textualForm(*value) : "nil";
    } else if constexpr (requires { { value.description() } -> std::convertible_to<std::string>; }) {
        return value.description();
    } else if constexpr (DictionaryLike<T>) {
        if (value.empty())
            return "[:]";
        std::string text = "[";
        for (const auto& [key, mapped] : value) {
            if (text.size() > 1)
                text += ", ";
            text += debugTextualForm(key) + ": " + debugTextualForm(mapped);
        }
        return text + "]";
    } else if constexpr (std::ranges::input_range<const T&>) {
        std::string text = "[";
        for (const auto& element : value) {
            if (text.size() > 1)
                text += ", ";
            text += debugTextualForm(element);
        }
        return text + "]";
    } else if constexpr (requires { { describe(value) } -> std::convertible_to<std::string>; }) {
        return describe(value);
    } else {
        return Foundation::demangledTypeName(typeid(T).name());
    }
}

} // namespace Basalwork
