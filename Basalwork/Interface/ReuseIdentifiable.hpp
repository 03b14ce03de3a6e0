#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <source_location>
#include <typeinfo>

namespace Basalwork {

// The identifier a view type is registered and dequeued under: its own `reuseIdentifier()` when it
// declares one, else its bare type name (without any enclosing namespace or class), so two types of one
// name in different namespaces share it.
template <class T>
Foundation::String reuseIdentifier()
{
    if constexpr (requires { { T::reuseIdentifier() } -> std::convertible_to<Foundation::String>; })
        return Foundation::String(T::reuseIdentifier());
    else
        return Foundation::String(Foundation::demangledTypeName(typeid(T).name()));
}

namespace detail {

// A view dequeued under an identifier nothing of its type was registered for: the caller's programming
// error, reported where the caller dequeued.
[[noreturn]] void couldNotDequeue(const Foundation::String& identifier, const std::source_location& location);

} // namespace detail

} // namespace Basalwork
