#include "Basalwork/Interface/UIActivityIndicatorView.hpp"

namespace Basalwork {

void setIsAnimating(UIKit::UIActivityIndicatorView& indicator, bool isAnimating)
{
    if (indicator.isAnimating() == isAnimating)
        return;
    if (isAnimating)
        indicator.startAnimating();
    else
        indicator.stopAnimating();
}

} // namespace Basalwork
