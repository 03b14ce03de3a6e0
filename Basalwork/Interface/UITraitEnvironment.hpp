#pragma once

#include "Platform/UIKit/UITraitCollection.hpp"

#include <concepts>

namespace Basalwork {

// Anything that has traits: views, windows, controllers, scenes.
template <class T>
concept UITraitEnvironment = requires(const T& environment) {
    { environment.traitCollection() } -> std::convertible_to<UIKit::UITraitCollection>;
};

template <UITraitEnvironment T>
UIKit::UIUserInterfaceSizeClass horizontalSizeClass(const T& environment)
{
    return environment.traitCollection().horizontalSizeClass;
}

template <UITraitEnvironment T>
UIKit::UIUserInterfaceSizeClass verticalSizeClass(const T& environment)
{
    return environment.traitCollection().verticalSizeClass;
}

template <UITraitEnvironment T>
UIKit::UIUserInterfaceIdiom userInterfaceIdiom(const T& environment)
{
    return environment.traitCollection().userInterfaceIdiom;
}

template <UITraitEnvironment T>
UIKit::UIUserInterfaceStyle userInterfaceStyle(const T& environment)
{
    return environment.traitCollection().userInterfaceStyle;
}

} // namespace Basalwork
