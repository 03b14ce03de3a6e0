#include "Shared/Screens/UIView.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/NSLayoutDimension.hpp"
#include "Platform/UIKit/UILayoutPriority.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Shared {

void addSubviewAsCenteredColumn(UIKit::UIView& container, const std::shared_ptr<UIKit::UIView>& subview, UIKit::CGFloat inset,
                                UIKit::CGFloat maxWidth)
{
    Basalwork::addSubviewCenteredLimitedToMargins(container, subview, Basalwork::LayoutInsets::withAll(inset), maxWidth);
    // Above the content's hugging, below everything that keeps the column in place.
    auto width = subview->widthAnchor().constraintEqualToConstant(maxWidth);
    width->setPriority(UIKit::UILayoutPriority::defaultHigh());
    width->setIsActive(true);
}

} // namespace Shared
