#include "Basalwork/Interface/UIView.FrameConversion.Error.hpp"

#include "Platform/Foundation/Describe.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Basalwork {

std::string UIView::FrameConversion::Error::description() const
{
    const auto& failed = std::get<FailedToConvertViewFrameToCoordinateSystem>(m_case);
    return "failedToConvertViewFrameToCoordinateSystem(view: " + Foundation::describe(failed.view)
        + ", coordinateSystem: " + failed.coordinateSystem.description() + ")";
}

} // namespace Basalwork
