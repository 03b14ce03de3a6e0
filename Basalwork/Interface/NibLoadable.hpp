#pragma once

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UINib.hpp"

#include <concepts>
#include <memory>
#include <typeinfo>

namespace Basalwork {

// The interface file a view type is loaded from: its own `xibFilename()` when it declares one, else its
// bare type name.
template <class T>
Foundation::String xibFilename()
{
    if constexpr (requires { { T::xibFilename() } -> std::convertible_to<Foundation::String>; })
        return Foundation::String(T::xibFilename());
    else
        return Foundation::String(Foundation::demangledTypeName(typeid(T).name()));
}

// nib(in:): the type's interface file in the bundle (the main bundle when null).
template <class T>
std::shared_ptr<UIKit::UINib> nib(const std::shared_ptr<Foundation::Bundle>& in)
{
    return Foundation::make<UIKit::UINib>(xibFilename<T>(), in);
}

namespace detail {

[[noreturn]] void notLoadableFromXib(const Foundation::String& xibFilename, const std::string& typeName);

} // namespace detail

// loadFromXib(in:): the first top-level object of the type's interface file, made with no owner. A file
// whose first object is of another type is the caller's programming error and stops the program.
template <class T>
std::shared_ptr<T> loadFromXib(const std::shared_ptr<Foundation::Bundle>& in)
{
    auto objects = nib<T>(in)->instantiate(nullptr);
    auto object = objects.empty() ? nullptr : std::dynamic_pointer_cast<T>(objects.front());
    if (!object)
        detail::notLoadableFromXib(xibFilename<T>(), Foundation::demangledTypeName(typeid(T).name()));
    return object;
}

} // namespace Basalwork
