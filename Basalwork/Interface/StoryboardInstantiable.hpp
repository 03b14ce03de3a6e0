#pragma once

#include "Basalwork/Base/String.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIStoryboard.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <concepts>
#include <memory>
#include <string>
#include <typeinfo>

namespace Basalwork {

// The storyboard a controller type is the initial controller of: its own `storyboardFilename()` when it
// declares one, else its bare type name without a trailing "ViewController".
template <class T>
    requires std::derived_from<T, UIKit::UIViewController>
Foundation::String storyboardFilename()
{
    if constexpr (requires { { T::storyboardFilename() } -> std::convertible_to<Foundation::String>; })
        return Foundation::String(T::storyboardFilename());
    else
        return removingSuffix(Foundation::String(Foundation::demangledTypeName(typeid(T).name())), "ViewController");
}

namespace detail {

[[noreturn]] void failedToInstantiate(const std::string& typeName, const Foundation::String& storyboardFilename);

} // namespace detail

// instantiateFromStoryboard(in:): the initial controller of the type's storyboard in the bundle (the main
// bundle when null). A storyboard whose initial controller is missing or of another type does not match
// the class, a programming error that stops the program.
template <class T>
    requires std::derived_from<T, UIKit::UIViewController>
std::shared_ptr<T> instantiateFromStoryboard(const std::shared_ptr<Foundation::Bundle>& in)
{
    const auto filename = storyboardFilename<T>();
    auto storyboard = Foundation::make<UIKit::UIStoryboard>(removingSuffix(filename, ".storyboard"), in);
    auto controller = std::dynamic_pointer_cast<T>(storyboard->instantiateInitialViewController());
    if (!controller)
        detail::failedToInstantiate(Foundation::demangledTypeName(typeid(T).name()), filename);
    return controller;
}

} // namespace Basalwork
