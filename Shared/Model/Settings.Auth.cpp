#include "Shared/Model/Settings.Auth.hpp"

namespace Shared {

std::vector<Biometry> Settings::Auth::availableBiometries(Method method)
{
    switch (method) {
    case Method::masterPasswordOnly:
        return {};
    case Method::touchID:
        return {Biometry::touchID};
    case Method::faceID:
        return {Biometry::faceID};
    case Method::appleWatch:
        return {Biometry::appleWatch};
    case Method::touchIDOrAppleWatch:
        return {Biometry::touchID, Biometry::appleWatch};
    case Method::faceIDOrAppleWatch:
        return {Biometry::faceID, Biometry::appleWatch};
    }
    return {};
}

double Settings::Auth::seconds(RequireMasterPasswordInterval interval)
{
    constexpr double day = 24 * 3600;
    switch (interval) {
    case RequireMasterPasswordInterval::everyDay:
        return day;
    case RequireMasterPasswordInterval::everyThreeDays:
        return 3 * day;
    case RequireMasterPasswordInterval::everyWeek:
        return 7 * day;
    case RequireMasterPasswordInterval::everyTwoWeeks:
        return 14 * day;
    }
    return day;
}

std::optional<double> Settings::Auth::seconds(AutoLock autoLock)
{
    switch (autoLock) {
    case AutoLock::fiveMinutes:
        return 300;
    case AutoLock::fifteenMinutes:
        return 900;
    case AutoLock::oneHour:
        return 3600;
    case AutoLock::twoHours:
        return 7200;
    case AutoLock::fiveHours:
        return 18000;
    case AutoLock::never:
        return std::nullopt;
    }
    return std::nullopt;
}

double Settings::Auth::seconds(Expiration expiration)
{
    switch (expiration) {
    case Expiration::immediately:
        return 0;
    case Expiration::oneMinute:
        return 60;
    case Expiration::fiveMinutes:
        return 300;
    case Expiration::fifteenMinutes:
        return 900;
    case Expiration::oneHour:
        return 3600;
    }
    return 0;
}

} // namespace Shared
