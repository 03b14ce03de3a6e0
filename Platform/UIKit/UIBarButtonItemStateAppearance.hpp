#pragma once

#include "Platform/Foundation/NSAttributedString.hpp"

namespace UIKit {

// How bar button items look in one control state; recorded.
struct UIBarButtonItemStateAppearance {
    Foundation::NSAttributedString::Attributes titleTextAttributes;
};

} // namespace UIKit
