#pragma once

#include "Platform/Foundation/String.hpp"

namespace Basalwork {

// Facts about the running process. The outside framework adds its own constants beside these.
struct Global {
    class Platform;
    struct Device {
        // The current device's localized model name.
        static Foundation::String name();
    };

    static Platform platform();
    static bool isDebugBuild();
    static bool isNotDebugBuild() { return !isDebugBuild(); }
    static bool isRunningOnSimulator();
    static bool isNotRunningOnSimulator() { return !isRunningOnSimulator(); }
};

} // namespace Basalwork

#include "Basalwork/Base/Global.Platform.hpp"
