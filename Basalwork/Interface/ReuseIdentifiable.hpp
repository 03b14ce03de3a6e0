#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <typeinfo>

namespace Basalwork {

// The identifier a view type is registered and dequeued under: its own `reuseIdentifier()` when it
// declares one, else its bare type name, so two types of one name in different namespaces share it.
template <class T>
Foundation::String reuseIdentifier()
{
    if constexpr (requires { { T::reuseIdentifier() } -> std::convertible_to<Foundation::String>; })
        return Foundation::String(T::reuseIdentifier());
    else
        return Foundation::String(Foundation::demangledTypeName(typeid(T).name()));
}

} // namespace Basalwork
