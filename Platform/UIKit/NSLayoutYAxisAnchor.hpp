#pragma once

#include "Platform/UIKit/NSLayoutAnchor.hpp"

namespace UIKit {

// Top, bottom and centre y.
class NSLayoutYAxisAnchor : public NSLayoutAnchor<NSLayoutYAxisAnchor> {
public:
    NSLayoutYAxisAnchor(const Foundation::NSObject& item, NSLayoutConstraint::Attribute attribute)
        : NSLayoutAnchor(item, attribute)
    {
    }
};

} // namespace UIKit
