#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIScreen.hpp"

namespace Basalwork {

// The height in points of one device pixel: the thinnest line the screen can show.
inline UIKit::CGFloat pointHeightOfSingleDevicePixel(const UIKit::UIScreen& screen)
{
    return 1.0 / screen.scale();
}

} // namespace Basalwork
