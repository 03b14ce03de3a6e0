#pragma once

#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIImage.hpp"

#include <memory>

namespace Basalwork {

struct UIImages {
    // with(color:size:): an image of the size filled entirely with the colour. A size with no area, or
    // one too large to hold, gives the empty image instead of failing.
    static std::shared_ptr<UIKit::UIImage> withColor(const UIKit::UIColor& color, UIKit::CGSize size);
};

} // namespace Basalwork
