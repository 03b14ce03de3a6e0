#include "Platform/UIKit/UIScreen.hpp"

#include "Platform/Foundation/FatalError.hpp"

#include <cmath>

namespace UIKit {

const std::shared_ptr<UIScreen>& UIScreen::main()
{
    static auto* screen = new std::shared_ptr<UIScreen>(Foundation::make<UIScreen>());
    return *screen;
}

void UIScreen::setScale(CGFloat scale)
{
    Foundation::precondition(std::isfinite(scale) && scale > 0, "A screen's scale must be a positive number");
    m_scale = scale;
}

} // namespace UIKit
