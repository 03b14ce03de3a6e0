#pragma once

#include "Shared/Model/Settings.hpp"

namespace Shared {

struct Settings::ItemDetails {
    // Whether the password generator shows under the field being edited or only as a pop-over.
    enum class InlineGenerator { disabled, enabled };
};

template <>
struct Setting<Settings::ItemDetails::InlineGenerator> {
    using T = Settings::ItemDetails::InlineGenerator;
    static constexpr SettingCase<T> cases[] = {{T::disabled, "disabled", "As popover only"}, {T::enabled, "enabled", "In-line under field"}};
};

} // namespace Shared
