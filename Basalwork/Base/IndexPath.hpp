#pragma once

#include "Platform/Foundation/IndexPath.hpp"

namespace Basalwork {

// IndexPath.zero: the first item of the first section.
constexpr Foundation::IndexPath zeroIndexPath()
{
    return Foundation::IndexPath::withItem(0, 0);
}

} // namespace Basalwork
