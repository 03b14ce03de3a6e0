#pragma once

#include <optional>
#include <type_traits>

namespace Basalwork {

// The value kept within whichever bounds are given. Bounds the wrong way round (lower above upper) leave
// the value as it is.
template <class T>
T limitedTo(const T& value, const std::optional<std::type_identity_t<T>>& lower,
            const std::optional<std::type_identity_t<T>>& upper)
{
    if (lower && upper) {
        if (*upper < *lower)
            return value;
        const T& belowUpper = *upper < value ? *upper : value;
        return belowUpper < *lower ? *lower : belowUpper;
    }
    if (lower)
        return value < *lower ? *lower : value;
    if (upper)
        return *upper < value ? *upper : value;
    return value;
}

// limitedTo(lower:)
template <class T>
T limitedToLower(const T& value, const std::type_identity_t<T>& lower)
{
    return limitedTo<T>(value, lower, std::nullopt);
}
// limitedTo(upper:)
template <class T>
T limitedToUpper(const T& value, const std::type_identity_t<T>& upper)
{
    return limitedTo<T>(value, std::nullopt, upper);
}

} // namespace Basalwork
