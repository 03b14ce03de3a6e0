#pragma once

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIColor.hpp"

#include <memory>

namespace Basalwork {

// The corner radius travels with the border: both are applied to the layer together.
struct UIView::Border {
    UIKit::CGFloat width = 0;
    // None gives the layer no border colour.
    std::shared_ptr<UIKit::UIColor> color;
    UIKit::CGFloat cornerRadius = 0;
};

} // namespace Basalwork
