#pragma once

#include "Platform/Foundation/String.hpp"

namespace UIKit {

// Keys of the views a transition context hands out.
struct UITransitionContextViewKey {
    Foundation::String rawValue;

    static UITransitionContextViewKey from() { return {"fromView"}; }
    static UITransitionContextViewKey to() { return {"toView"}; }
    friend bool operator==(const UITransitionContextViewKey&, const UITransitionContextViewKey&) = default;
};

// Keys of the controllers a transition context hands out.
struct UITransitionContextViewControllerKey {
    Foundation::String rawValue;

    static UITransitionContextViewControllerKey from() { return {"UITransitionContextFromViewController"}; }
    static UITransitionContextViewControllerKey to() { return {"UITransitionContextToViewController"}; }
    friend bool operator==(const UITransitionContextViewControllerKey&, const UITransitionContextViewControllerKey&) = default;
};

} // namespace UIKit
