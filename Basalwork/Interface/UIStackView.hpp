#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <memory>

namespace Basalwork {

struct UIStackViews {
    // init(axis:alignment:distribution:spacing:)
    static std::shared_ptr<UIKit::UIStackView> withAxis(UIKit::NSLayoutConstraint::Axis axis,
                                                        UIKit::UIStackView::Alignment alignment,
                                                        UIKit::UIStackView::Distribution distribution,
                                                        UIKit::CGFloat spacing);
};

// set(axis:alignment:distribution:spacing:), in that order.
void set(UIKit::UIStackView& stackView, UIKit::NSLayoutConstraint::Axis axis, UIKit::UIStackView::Alignment alignment,
         UIKit::UIStackView::Distribution distribution, UIKit::CGFloat spacing);

} // namespace Basalwork
