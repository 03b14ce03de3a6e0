#pragma once

#include "Platform/UIKit/UIUserInterfaceIdiom.hpp"

namespace Basalwork {

inline bool isPad(UIKit::UIUserInterfaceIdiom idiom)
{
    return idiom == UIKit::UIUserInterfaceIdiom::pad;
}

} // namespace Basalwork
