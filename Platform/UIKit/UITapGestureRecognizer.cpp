#include "Platform/UIKit/UITapGestureRecognizer.hpp"

#include "Platform/UIKit/UITouch.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace UIKit {

bool UITapGestureRecognizer::touchEnded(const UITouch& touch)
{
    auto view = this->view();
    if (!view || !isEnabled())
        return false;
    // A finger dragged off the view before lifting is no tap.
    if (!view->bounds().contains(touch.location(view)))
        return false;
    performAction();
    return true;
}

} // namespace UIKit
