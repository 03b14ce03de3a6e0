#pragma once

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/CGPath.hpp"
#include "Platform/UIKit/CGSize.hpp"
#include "Platform/UIKit/UIColor.hpp"

#include <memory>

namespace Basalwork {

struct UIView::Shadow {
    // 0 to 1; the layer keeps it in single precision.
    UIKit::CGFloat opacity = 0;
    UIKit::CGFloat radius = 0;
    UIKit::CGSize offset;
    // None gives the layer no shadow colour.
    std::shared_ptr<UIKit::UIColor> color;
    // None lets the layer derive the outline from its content.
    std::shared_ptr<UIKit::CGPath> path;
};

} // namespace Basalwork
