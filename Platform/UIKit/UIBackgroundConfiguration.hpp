#pragma once

#include "Platform/UIKit/CGFloat.hpp"

#include <memory>

namespace UIKit {

class UIColor;

// The background a button configuration asks for: fill, border and corners, recorded.
struct UIBackgroundConfiguration {
    std::shared_ptr<UIColor> backgroundColor;
    std::shared_ptr<UIColor> strokeColor;
    CGFloat strokeWidth = 0;
    CGFloat cornerRadius = 0;

    friend bool operator==(const UIBackgroundConfiguration&, const UIBackgroundConfiguration&) = default;
};

} // namespace UIKit
