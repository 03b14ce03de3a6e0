#pragma once

#include "Shared/Model/Settings.hpp"

#include <cstdint>
#include <optional>

namespace Shared {

struct Settings::Clipboard {
    // When copied secrets leave the pasteboard; stored by its integer raw value (0 to 4).
    enum class AutoClear : std::int64_t { thirtySeconds = 0, oneMinute = 1, twoMinutes = 2, fiveMinutes = 3, never = 4 };

    // Nothing: never.
    static std::optional<double> seconds(AutoClear autoClear);
};

template <>
struct Setting<Settings::Clipboard::AutoClear> {
    using T = Settings::Clipboard::AutoClear;
    static constexpr SettingCase<T> cases[] = {
        {T::thirtySeconds, "0", "After 30 Seconds"},
        {T::oneMinute, "1", "After 1 Minute"},
        {T::twoMinutes, "2", "After 2 Minutes"},
        {T::fiveMinutes, "3", "After 5 Minutes"},
        {T::never, "4", "Never"},
    };
};

} // namespace Shared

template <>
struct Foundation::RawRepresentation<Shared::Settings::Clipboard::AutoClear> {
    using RawValue = std::int64_t;
    static RawValue rawValue(Shared::Settings::Clipboard::AutoClear value) { return static_cast<RawValue>(value); }
    static std::optional<Shared::Settings::Clipboard::AutoClear> make(RawValue raw)
    {
        if (raw < 0 || raw > 4)
            return std::nullopt;
        return static_cast<Shared::Settings::Clipboard::AutoClear>(raw);
    }
};
