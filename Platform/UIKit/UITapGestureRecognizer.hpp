#pragma once

#include "Platform/UIKit/UIGestureRecognizer.hpp"

namespace UIKit {

// A single tap: a touch that lifts inside the recogniser's view.
class UITapGestureRecognizer : public UIGestureRecognizer {
public:
    bool touchEnded(const UITouch& touch) override;

protected:
    friend Foundation::Construct;
    explicit UITapGestureRecognizer(std::function<void(UIGestureRecognizer&)> action)
        : UIGestureRecognizer(std::move(action))
    {
    }
};

} // namespace UIKit
