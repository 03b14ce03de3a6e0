#include "Basalwork/Interface/HandleView.hpp"

#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/UIColor.hpp"

namespace Basalwork {

HandleView::HandleView(const UIKit::CGRect& frame)
    : UIView(frame)
{
    setBackgroundColor(UIKit::UIColor::systemFill());
}

HandleView::HandleView(Foundation::NSCoder& coder)
    : UIView(coder)
{
    setBackgroundColor(UIKit::UIColor::systemFill());
}

void HandleView::layoutSubviews()
{
    UIView::layoutSubviews();
    // Half the height rounds the ends into a capsule at whatever height layout gives.
    layer()->setCornerRadius(layer()->bounds().height() / 2);
}

} // namespace Basalwork
