#include "Basalwork/Interface/UIStackView.hpp"

namespace Basalwork {

std::shared_ptr<UIKit::UIStackView> UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis axis,
                                                           UIKit::UIStackView::Alignment alignment,
                                                           UIKit::UIStackView::Distribution distribution,
                                                           UIKit::CGFloat spacing)
{
    auto stackView = Foundation::make<UIKit::UIStackView>();
    set(*stackView, axis, alignment, distribution, spacing);
    return stackView;
}

void set(UIKit::UIStackView& stackView, UIKit::NSLayoutConstraint::Axis axis, UIKit::UIStackView::Alignment alignment,
         UIKit::UIStackView::Distribution distribution, UIKit::CGFloat spacing)
{
    stackView.setAxis(axis);
    stackView.setAlignment(alignment);
    stackView.setDistribution(distribution);
    stackView.setSpacing(spacing);
}

} // namespace Basalwork
