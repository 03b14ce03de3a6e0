#pragma once

#include "Platform/UIKit/NSLayoutAnchor.hpp"

namespace UIKit {

// Leading, trailing, left, right and centre x.
class NSLayoutXAxisAnchor : public NSLayoutAnchor<NSLayoutXAxisAnchor> {
public:
    NSLayoutXAxisAnchor(const Foundation::NSObject& item, NSLayoutConstraint::Attribute attribute)
        : NSLayoutAnchor(item, attribute)
    {
    }
};

} // namespace UIKit
