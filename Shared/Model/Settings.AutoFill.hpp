#pragma once

#include "Shared/Model/Settings.hpp"

namespace Shared {

struct Settings::AutoFill {
    // Whether filling a password also copies the item's current one-time code (the first case copies).
    enum class AutoCopyOTP { enabled, disabled };
};

template <>
struct Setting<Settings::AutoFill::AutoCopyOTP> {
    using T = Settings::AutoFill::AutoCopyOTP;
    static constexpr SettingCase<T> cases[] = {{T::enabled, "enabled", "Enabled"}, {T::disabled, "disabled", "Disabled"}};
};

} // namespace Shared
