#include "Basalwork/Interface/UIButton.hpp"

namespace Basalwork {

void setTitle(UIKit::UIButton& button, const std::optional<Foundation::String>& title, UIKit::UIControl::State forState,
              bool animated)
{
    if (animated) {
        button.setTitle(title, forState);
        return;
    }
    UIKit::UIView::performWithoutAnimation([&] {
        button.setTitle(title, forState);
        button.layoutIfNeeded();
    });
}

} // namespace Basalwork
