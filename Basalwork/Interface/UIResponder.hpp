#pragma once

#include "Platform/UIKit/UIResponder.hpp"

namespace Basalwork {

inline bool isNotFirstResponder(const UIKit::UIResponder& responder)
{
    return !responder.isFirstResponder();
}

} // namespace Basalwork
