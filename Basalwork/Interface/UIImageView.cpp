#include "Basalwork/Interface/UIImageView.hpp"

namespace Basalwork {

std::shared_ptr<UIKit::UIImageView> UIImageViews::withContentMode(UIKit::UIView::ContentMode contentMode)
{
    auto imageView = Foundation::make<UIKit::UIImageView>();
    imageView->setContentMode(contentMode);
    return imageView;
}

} // namespace Basalwork
