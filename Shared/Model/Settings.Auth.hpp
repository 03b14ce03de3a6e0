#pragma once

#include "Shared/Model/Biometry.hpp"
#include "Shared/Model/Settings.hpp"

#include <optional>
#include <vector>

namespace Shared {

struct Settings::Auth {
    // What may unlock the locked program besides the master password.
    enum class Method { masterPasswordOnly, touchID, faceID, appleWatch, touchIDOrAppleWatch, faceIDOrAppleWatch };
    // How long biometric unlocking may go on before the master password is asked for again.
    enum class RequireMasterPasswordInterval { everyDay, everyThreeDays, everyWeek, everyTwoWeeks };
    enum class RequireMasterPasswordAfterDeviceRestart { enabled, disabled };
    enum class AutoBiometry { onFirstLaunch, onDidBecomeActive };
    // Inactivity before the open program locks itself; positions 5 and later never lock.
    enum class AutoLock { fiveMinutes, fifteenMinutes, oneHour, twoHours, fiveHours, never };
    // How long the closed program (or the AutoFill extension) stays unlocked.
    enum class Expiration { immediately, oneMinute, fiveMinutes, fifteenMinutes, oneHour };
    enum class Concealing { enabled, disabled };

    // The biometries a method unlocks with, in order; empty for the master password alone.
    static std::vector<Biometry> availableBiometries(Method method);
    static double seconds(RequireMasterPasswordInterval interval);
    // Nothing: never.
    static std::optional<double> seconds(AutoLock autoLock);
    static double seconds(Expiration expiration);
};

template <>
struct Setting<Settings::Auth::Method> {
    using T = Settings::Auth::Method;
    static constexpr SettingCase<T> cases[] = {
        {T::masterPasswordOnly, "masterPasswordOnly", "Master Password Only"},
        {T::touchID, "touchID", "Touch ID"},
        {T::faceID, "faceID", "Face ID"},
        {T::appleWatch, "appleWatch", "Apple Watch"},
        {T::touchIDOrAppleWatch, "touchIDOrAppleWatch", "Touch ID or Apple Watch"},
        {T::faceIDOrAppleWatch, "faceIDOrAppleWatch", "Face ID or Apple Watch"},
    };
};

template <>
struct Setting<Settings::Auth::RequireMasterPasswordInterval> {
    using T = Settings::Auth::RequireMasterPasswordInterval;
    static constexpr SettingCase<T> cases[] = {
        {T::everyDay, "everyDay", "Every Day"},
        {T::everyThreeDays, "everyThreeDays", "Every 3 Days"},
        {T::everyWeek, "everyWeek", "Every Week"},
        {T::everyTwoWeeks, "everyTwoWeeks", "Every 2 Weeks"},
    };
};

template <>
struct Setting<Settings::Auth::RequireMasterPasswordAfterDeviceRestart> {
    using T = Settings::Auth::RequireMasterPasswordAfterDeviceRestart;
    static constexpr SettingCase<T> cases[] = {
        {T::enabled, "enabled", "Require master password to unlock"},
        {T::disabled, "disabled", "Allow unlocking with biometrics"},
    };
};

template <>
struct Setting<Settings::Auth::AutoBiometry> {
    using T = Settings::Auth::AutoBiometry;
    static constexpr SettingCase<T> cases[] = {
        {T::onFirstLaunch, "onFirstLaunch", "On Launch"},
        {T::onDidBecomeActive, "onDidBecomeActive", "On Launch and Every Return"},
    };
};

template <>
struct Setting<Settings::Auth::AutoLock> {
    using T = Settings::Auth::AutoLock;
    static constexpr SettingCase<T> cases[] = {
        {T::fiveMinutes, "fiveMinutes", "After 5 Minutes"},
        {T::fifteenMinutes, "fifteenMinutes", "After 15 Minutes"},
        {T::oneHour, "oneHour", "After 1 Hour"},
        {T::twoHours, "twoHours", "After 2 Hours"},
        {T::fiveHours, "fiveHours", "After 5 Hours"},
        {T::never, "never", "Never"},
    };
};

template <>
struct Setting<Settings::Auth::Expiration> {
    using T = Settings::Auth::Expiration;
    static constexpr SettingCase<T> cases[] = {
        {T::immediately, "immediately", "Lock Immediately"},
        {T::oneMinute, "oneMinute", "1 Minute"},
        {T::fiveMinutes, "fiveMinutes", "5 Minutes"},
        {T::fifteenMinutes, "fifteenMinutes", "15 Minutes"},
        {T::oneHour, "oneHour", "1 Hour"},
    };
};

template <>
struct Setting<Settings::Auth::Concealing> {
    using T = Settings::Auth::Concealing;
    static constexpr SettingCase<T> cases[] = {{T::enabled, "enabled", "Enabled"}, {T::disabled, "disabled", "Disabled"}};
};

} // namespace Shared
