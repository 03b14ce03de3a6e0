#pragma once

#include "Platform/UIKit/CGFloat.hpp"
#include "Platform/UIKit/UIColor.hpp"

#include <memory>

namespace Basalwork {

// The two colours of a vertical gradient, fixed at creation.
class Gradient {
public:
    Gradient(std::shared_ptr<UIKit::UIColor> top, std::shared_ptr<UIKit::UIColor> bottom)
        : m_top(std::move(top))
        , m_bottom(std::move(bottom))
    {
    }
    // init(top:): the bottom a little darker.
    static Gradient withTop(const std::shared_ptr<UIKit::UIColor>& top);
    // init(bottom:): the top a little lighter.
    static Gradient withBottom(const std::shared_ptr<UIKit::UIColor>& bottom);
    static Gradient clear();

    const std::shared_ptr<UIKit::UIColor>& top() const { return m_top; }
    const std::shared_ptr<UIKit::UIColor>& bottom() const { return m_bottom; }

    Gradient withBottomBrightnessAdjusted(UIKit::CGFloat by) const;

private:
    std::shared_ptr<UIKit::UIColor> m_top;
    std::shared_ptr<UIKit::UIColor> m_bottom;
};

} // namespace Basalwork
