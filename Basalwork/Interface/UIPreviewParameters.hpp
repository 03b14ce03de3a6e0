#pragma once

#include "Platform/UIKit/UIBezierPath.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIPreviewParameters.hpp"

#include <memory>

namespace Basalwork {

struct UIPreviewParametersFactory {
    // init(backgroundColor:visiblePath:): either may be nil, and is set as given.
    static std::shared_ptr<UIKit::UIPreviewParameters> withBackgroundColor(std::shared_ptr<UIKit::UIColor> backgroundColor,
                                                                           std::shared_ptr<UIKit::UIBezierPath> visiblePath);
};

} // namespace Basalwork
