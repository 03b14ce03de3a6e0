#include "Basalwork/Base/Global.hpp"

#include "Platform/UIKit/UIDevice.hpp"

namespace Basalwork {

Global::Platform Global::platform()
{
    return Platform::macOS;
}

bool Global::isDebugBuild()
{
#ifdef NDEBUG
    return false;
#else
    return true;
#endif
}

bool Global::isRunningOnSimulator()
{
    return false;
}

Foundation::String Global::Device::name()
{
    return UIKit::UIDevice::current()->localizedModel();
}

} // namespace Basalwork
