#include "Platform/UIKit/CGColor.hpp"

#include "Platform/UIKit/UIColor.hpp"

namespace UIKit {

CGColor::CGColor(const UIColor& color, const UITraitCollection& traits)
{
    auto resolved = color.resolvedColor(traits);
    m_red = resolved->red();
    m_green = resolved->green();
    m_blue = resolved->blue();
    m_alpha = resolved->alpha();
}

} // namespace UIKit
