#pragma once

#include "Platform/UIKit/UIUserInterfaceSizeClass.hpp"

namespace Basalwork {

inline bool isCompactOrUnspecified(UIKit::UIUserInterfaceSizeClass sizeClass)
{
    return sizeClass == UIKit::UIUserInterfaceSizeClass::unspecified
        || sizeClass == UIKit::UIUserInterfaceSizeClass::compact;
}

} // namespace Basalwork
