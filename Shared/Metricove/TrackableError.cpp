#include "Shared/Metricove/TrackableError.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/NSError.hpp"

namespace Metricove {

namespace {

constexpr std::int64_t userCancelledCocoaCode = 3072;
constexpr std::int64_t notConnectedToInternetCode = -1009;
constexpr std::int64_t networkConnectionLostCode = -1005;

} // namespace

bool shouldTrackInAnalytics(const Foundation::Error& error)
{
    if (const auto* trackable = dynamic_cast<const TrackableError*>(&error))
        return trackable->shouldTrackInAnalytics();
    if (const auto* general = dynamic_cast<const Basalwork::GeneralError*>(&error))
        return general->as<Basalwork::GeneralError::UserDidCancel>() == nullptr;
    if (error.domain() == Foundation::NSCocoaErrorDomain && error.code() == userCancelledCocoaCode)
        return false;
    if (error.domain() == Foundation::NSURLErrorDomain
        && (error.code() == notConnectedToInternetCode || error.code() == networkConnectionLostCode))
        return false;
    return true;
}

} // namespace Metricove
