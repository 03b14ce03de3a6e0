#pragma once

#include "Platform/UIKit/UIViewController.hpp"

#include <functional>
#include <memory>

namespace Shared {

// Dismisses whatever the controller presents, then runs the completion; with nothing presented the
// completion runs at once.
void dismissIfPresenting(UIKit::UIViewController& controller, bool animated, std::function<void()> completion = nullptr);

// dismissPresentedViewController(ofType:): dismisses the presented controller, animated, only when it is a T.
template <class T>
void dismissPresentedViewController(UIKit::UIViewController& controller)
{
    if (std::dynamic_pointer_cast<T>(controller.presentedViewController()))
        controller.dismiss(true);
}

// Runs the updates and lays the view out again, over `animationDuration` when animated; the completion
// follows the animation, or runs at once when not animated.
void perform(UIKit::UIViewController& controller, const std::function<void()>& updates, bool animated, double animationDuration,
             std::function<void()> completion = nullptr);

} // namespace Shared
