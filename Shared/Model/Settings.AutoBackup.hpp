#pragma once

#include "Shared/Model/Settings.hpp"

namespace Shared {

struct Settings::AutoBackup {
    enum class Interval { daily, weekly, monthly, never };
    enum class AutoDelete { keepMostRecentFive, keepMostRecentTen, keepMostRecentThirty, keepAll };
};

template <>
struct Setting<Settings::AutoBackup::Interval> {
    using T = Settings::AutoBackup::Interval;
    static constexpr SettingCase<T> cases[] = {
        {T::daily, "daily", "Daily"},
        {T::weekly, "weekly", "Weekly"},
        {T::monthly, "monthly", "Monthly"},
        {T::never, "never", "Never"},
    };
};

template <>
struct Setting<Settings::AutoBackup::AutoDelete> {
    using T = Settings::AutoBackup::AutoDelete;
    static constexpr SettingCase<T> cases[] = {
        {T::keepMostRecentFive, "keepMostRecentFive", "Keep Most Recent 5"},
        {T::keepMostRecentTen, "keepMostRecentTen", "Keep Most Recent 10"},
        {T::keepMostRecentThirty, "keepMostRecentThirty", "Keep Most Recent 30"},
        {T::keepAll, "keepAll", "Keep All"},
    };
};

} // namespace Shared
