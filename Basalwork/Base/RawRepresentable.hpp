#pragma once

#include "Platform/Foundation/RawRepresentable.hpp"

#include <optional>

namespace Basalwork {

// init(rawValue:) for a raw value that may be absent: nothing when it is, else the type's own lookup.
template <Foundation::RawRepresentable T>
std::optional<T> fromRawValue(const std::optional<typename Foundation::RawRepresentation<T>::RawValue>& rawValue)
{
    if (!rawValue)
        return std::nullopt;
    return Foundation::fromRawValue<T>(*rawValue);
}

} // namespace Basalwork
