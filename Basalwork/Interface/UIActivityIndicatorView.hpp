#pragma once

#include "Platform/UIKit/UIActivityIndicatorView.hpp"

namespace Basalwork {

// set(isAnimating:): starts or stops the spinner only when it is not already so, so that a spinner that
// is told again to spin is not restarted.
void setIsAnimating(UIKit::UIActivityIndicatorView& indicator, bool isAnimating);

} // namespace Basalwork
