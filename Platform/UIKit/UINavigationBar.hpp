#pragma once

#include "Platform/UIKit/UIView.hpp"

namespace UIKit {

// The bar above a navigation stack; nothing is drawn, so it is a plain view.
class UINavigationBar : public UIView {
protected:
    friend Foundation::Construct;
    UINavigationBar() = default;
};

} // namespace UIKit
