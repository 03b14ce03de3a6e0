#pragma once

#include "Platform/Foundation/Result.hpp"

#include <optional>

namespace Basalwork {

// The success value, or nothing for a failure.
template <class T>
std::optional<T> value(const Foundation::Result<T>& result)
{
    if (const T* success = result.successValue())
        return *success;
    return std::nullopt;
}

// The failure's error, or nothing for a success.
template <class T>
Foundation::ErrorPtr error(const Foundation::Result<T>& result)
{
    return result.failureError();
}

} // namespace Basalwork
