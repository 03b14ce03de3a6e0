#include "Platform/UIKit/UIDevice.hpp"

namespace UIKit {

const std::shared_ptr<UIDevice>& UIDevice::current()
{
    static auto* device = new std::shared_ptr<UIDevice>(Foundation::make<UIDevice>());
    return *device;
}

Foundation::String UIDevice::name() const
{
    return localizedModel();
}

Foundation::String UIDevice::localizedModel() const
{
    std::lock_guard lock(m_mutex);
    return m_localizedModel;
}

void UIDevice::setLocalizedModel(Foundation::String model)
{
    std::lock_guard lock(m_mutex);
    m_localizedModel = std::move(model);
}

} // namespace UIKit
