#pragma once

#include <concepts>
#include <type_traits>

// Integers as counts of time, in seconds: Basalwork::minutes(5) is 300.0.

namespace Basalwork {

template <class T>
concept BinaryInteger = std::integral<T> && !std::same_as<std::remove_cv_t<T>, bool>;

template <BinaryInteger T>
constexpr bool isEven(T value)
{
    return value % 2 == 0;
}

template <BinaryInteger T>
constexpr bool isOdd(T value)
{
    return !isEven(value);
}

template <BinaryInteger T>
constexpr double seconds(T value)
{
    return static_cast<double>(value);
}

template <BinaryInteger T>
constexpr double minutes(T value)
{
    return seconds(value) * 60.0;
}

template <BinaryInteger T>
constexpr double hours(T value)
{
    return seconds(value) * 3600.0;
}

template <BinaryInteger T>
constexpr double days(T value)
{
    return seconds(value) * 86400.0;
}

template <BinaryInteger T>
constexpr double weeks(T value)
{
    return seconds(value) * 604800.0;
}

} // namespace Basalwork
