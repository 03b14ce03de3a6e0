#include "Basalwork/Interface/SeparatorView.hpp"

#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIScreen.hpp"

namespace Basalwork {

SeparatorView::SeparatorView(const UIKit::CGRect& frame)
    : UIView(frame)
{
    setBackgroundColor(UIKit::UIColor::systemFill());
}

SeparatorView::SeparatorView(Foundation::NSCoder& coder)
    : UIView(coder)
{
    setBackgroundColor(UIKit::UIColor::systemFill());
}

UIKit::CGSize SeparatorView::onePixelHigh()
{
    return {noIntrinsicMetric, 1 / UIKit::UIScreen::main()->scale()};
}

} // namespace Basalwork
