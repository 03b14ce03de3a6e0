#include "Basalwork/Interface/Gradient.hpp"

#include "Basalwork/Interface/UIColor.hpp"

namespace Basalwork {
namespace {

// How far apart in brightness the two ends of a gradient made from one colour are.
constexpr UIKit::CGFloat defaultBrightnessStep = 0.17;

} // namespace

Gradient Gradient::withTop(const std::shared_ptr<UIKit::UIColor>& top)
{
    return {top, withBrightnessAdjusted(top, -defaultBrightnessStep)};
}

Gradient Gradient::withBottom(const std::shared_ptr<UIKit::UIColor>& bottom)
{
    return {withBrightnessAdjusted(bottom, defaultBrightnessStep), bottom};
}

Gradient Gradient::clear()
{
    return {UIKit::UIColor::clear(), UIKit::UIColor::clear()};
}

Gradient Gradient::withBottomBrightnessAdjusted(UIKit::CGFloat by) const
{
    return {m_top, withBrightnessAdjusted(m_bottom, by)};
}

} // namespace Basalwork
