#pragma once

#include "Platform/UIKit/UIImageView.hpp"

#include <memory>

namespace Basalwork {

struct UIImageViews {
    // init(contentMode:): an empty image view with that content mode.
    static std::shared_ptr<UIKit::UIImageView> withContentMode(UIKit::UIView::ContentMode contentMode);
};

} // namespace Basalwork
