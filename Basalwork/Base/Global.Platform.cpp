#include "Basalwork/Base/Global.Platform.hpp"

#include "Platform/Foundation/ProcessInfo.hpp"

namespace Basalwork {
namespace {

bool systemIsAtLeast(std::int64_t major, std::int64_t minor = 0)
{
    return Foundation::ProcessInfo::processInfo()->isOperatingSystemAtLeast({major, minor, 0});
}

} // namespace

bool Global::Platform::isiOS17OrHigher() const { return isiOS() && systemIsAtLeast(17); }
bool Global::Platform::isiOS18OrHigher() const { return isiOS() && systemIsAtLeast(18); }
bool Global::Platform::isiOS26OrHigher() const { return isiOS() && systemIsAtLeast(26); }
bool Global::Platform::isMacOS13OrHigher() const { return isMacOS() && systemIsAtLeast(16); }
bool Global::Platform::isMacOS14OrHigher() const { return isMacOS() && systemIsAtLeast(17); }
bool Global::Platform::isMacOS14_4OrHigher() const { return isMacOS() && systemIsAtLeast(17, 4); }
bool Global::Platform::isMacOS15OrHigher() const { return isMacOS() && systemIsAtLeast(18); }
bool Global::Platform::isMacOS26OrHigher() const { return isMacOS() && systemIsAtLeast(26); }
bool Global::Platform::isiOS17OrMacOS14OrHigher() const { return systemIsAtLeast(17); }
bool Global::Platform::isiOS17OrMacOS14_4OrHigher() const { return isMacOS() ? systemIsAtLeast(17, 4) : systemIsAtLeast(17); }
bool Global::Platform::isiOS18OrMacOS15OrHigher() const { return systemIsAtLeast(18); }
bool Global::Platform::isiOS26OrMacOS26OrHigher() const { return systemIsAtLeast(26); }

Foundation::String Global::Platform::tapOrClick() const
{
    return isMacOS() ? "Click" : "Tap";
}

Foundation::String Global::Platform::settingsOrPreferences() const
{
    if (isMacOS() && !systemIsAtLeast(16))
        return "Preferences";
    return "Settings";
}

Foundation::String Global::Platform::systemSettingsAppName() const
{
    if (isMacOS())
        return Foundation::String("System ") + (systemIsAtLeast(16) ? "Settings" : "Preferences");
    return Global::Device::name() + " Settings";
}

} // namespace Basalwork
