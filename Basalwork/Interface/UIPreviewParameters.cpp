#include "Basalwork/Interface/UIPreviewParameters.hpp"

namespace Basalwork {

std::shared_ptr<UIKit::UIPreviewParameters> UIPreviewParametersFactory::withBackgroundColor(
    std::shared_ptr<UIKit::UIColor> backgroundColor, std::shared_ptr<UIKit::UIBezierPath> visiblePath)
{
    auto parameters = Foundation::make<UIKit::UIPreviewParameters>();
    parameters->setBackgroundColor(std::move(backgroundColor));
    parameters->setVisiblePath(std::move(visiblePath));
    return parameters;
}

} // namespace Basalwork
