#include "Basalwork/Interface/UIView.FrameConversion.CoordinateSystem.hpp"

#include "Platform/Foundation/Describe.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

std::string UIView::FrameConversion::CoordinateSystem::description() const
{
    if (const auto* other = as<OtherView>())
        return "otherView(" + Foundation::describe(other->view) + ")";
    return "windowBase";
}

} // namespace Basalwork
