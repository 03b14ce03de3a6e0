#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace Foundation {

// The textual form a value takes when interpolated into a message or a log line.
inline std::string describe(const std::string& text) { return text; }
inline std::string describe(std::string_view text) { return std::string(text); }
inline std::string describe(const char* text) { return text ? text : "(null)"; }
inline std::string describe(const String& text) { return text.utf8(); }
inline std::string describe(bool value) { return value ? "true" : "false"; }
inline std::string describe(const Error& error) { return error.description(); }

// A string as it appears inside a printed value: in double quotes, with quotes, backslashes and control
// characters escaped.
std::string debugQuoted(std::string_view text);

// Numbers as the platform prints them: floating point in the shortest form that reads back as the same
// value, with ".0" on whole numbers and exponents beyond the plain range ("1e-05", "2e+16"); integers of
// every width, one-byte ones included, as numbers.
std::string describe(double value);
std::string describe(float value);

template <class T>
    requires std::is_integral_v<T>
std::string describe(T value)
{
    if constexpr (std::is_signed_v<T>)
        return std::to_string(static_cast<long long>(value));
    else
        return std::to_string(static_cast<unsigned long long>(value));
}

template <class T>
    requires requires(const T& value) {
        { value.description() } -> std::convertible_to<std::string>;
    }
std::string describe(const T& value)
{
    return value.description();
}

template <class T>
std::string describe(const std::shared_ptr<T>& object)
{
    return object ? describe(*object) : "nil";
}

template <class T>
std::string describe(const std::optional<T>& value)
{
    return value ? "Optional(" + describe(*value) + ")" : "nil";
}

} // namespace Foundation
