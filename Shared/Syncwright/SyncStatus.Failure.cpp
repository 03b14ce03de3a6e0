#include "Shared/Syncwright/SyncStatus.hpp"

#include <type_traits>

namespace Syncwright {

namespace {

bool sameError(const Foundation::ErrorPtr& lhs, const Foundation::ErrorPtr& rhs)
{
    if (!lhs || !rhs)
        return lhs == rhs;
    return lhs->domain() == rhs->domain() && lhs->code() == rhs->code() && lhs->description() == rhs->description();
}

} // namespace

bool SyncStatusFailure::isRecordsResetInICloud() const
{
    return is<CustomRecordZoneDeletedByUser>() || is<CustomRecordZoneNotFound>() || is<CustomRecordZoneDeleted>();
}

SyncStatusFailure SyncStatusFailure::from(const CloudKitRemoteError& error)
{
    return std::visit([](const auto& kind) { return SyncStatusFailure(kind); }, error.value());
}

Foundation::ErrorPtr SyncStatusFailure::underlyingError() const
{
    return std::visit(
        [](const auto& kind) -> Foundation::ErrorPtr {
            if constexpr (std::is_same_v<std::decay_t<decltype(kind)>, Error>)
                return kind.error;
            else
                return CloudKitRemoteError(kind).clone();
        },
        m_case);
}

std::string SyncStatusFailure::description() const
{
    if (const auto* failure = as<Error>())
        return "error(" + (failure->error ? failure->error->description() : std::string("nil")) + ")";
    return underlyingError()->description();
}

bool operator==(const SyncStatusFailure& lhs, const SyncStatusFailure& rhs)
{
    if (lhs.m_case.index() != rhs.m_case.index())
        return false;
    if (const auto* failure = lhs.as<SyncStatusFailure::Error>())
        return sameError(failure->error, rhs.as<SyncStatusFailure::Error>()->error);
    return sameError(lhs.underlyingError(), rhs.underlyingError());
}

} // namespace Syncwright
