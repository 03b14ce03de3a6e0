#pragma once

#include "Platform/UIKit/UILayoutPriority.hpp"

namespace Basalwork {

// The priorities the layout helpers give their constraints. The application may change them; each helper
// reads them when it makes its constraints, so a change reaches only constraints made afterwards.
struct UILayoutPriorities {
    // 999 unless changed: one below required, so the helpers' constraints give way instead of breaking.
    static UIKit::UILayoutPriority highest();
    static void setHighest(UIKit::UILayoutPriority priority);
    // 1 unless changed.
    static UIKit::UILayoutPriority lowest();
    static void setLowest(UIKit::UILayoutPriority priority);
};

} // namespace Basalwork
