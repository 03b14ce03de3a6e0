#pragma once

#include <concepts>
#include <numbers>

namespace Basalwork {

template <std::floating_point T>
constexpr T oneOneMillionth()
{
    // Spelled per type, so each rounds the decimal once.
    if constexpr (std::same_as<T, float>)
        return 0.000001F;
    else if constexpr (std::same_as<T, double>)
        return 0.000001;
    else
        return static_cast<T>(0.000001L);
}

template <std::floating_point T>
constexpr T degreesToRadians(T degrees)
{
    return degrees * std::numbers::pi_v<T> / static_cast<T>(180);
}

template <std::floating_point T>
constexpr T radiansToDegrees(T radians)
{
    return radians * static_cast<T>(180) / std::numbers::pi_v<T>;
}

} // namespace Basalwork
