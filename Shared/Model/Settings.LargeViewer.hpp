#pragma once

#include "Shared/Model/Settings.hpp"

namespace Shared {

struct Settings::LargeViewer {
    // Under which secrets the large-type viewer numbers the characters.
    enum class Positions { passwordsAndPins, passwordsOnly, never };
};

template <>
struct Setting<Settings::LargeViewer::Positions> {
    using T = Settings::LargeViewer::Positions;
    static constexpr SettingCase<T> cases[] = {
        {T::passwordsAndPins, "passwordsAndPins", "Under passwords, passcodes, and PINs"},
        {T::passwordsOnly, "passwordsOnly", "Under passwords only"},
        {T::never, "never", "Never"},
    };
};

} // namespace Shared
