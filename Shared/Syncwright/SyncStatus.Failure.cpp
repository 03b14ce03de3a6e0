#include "Shared/Syncwright/SyncStatus.hpp"

#include "Shared/Syncwright/CloudKitRemoteError.hpp"

namespace Syncwright {

namespace {

struct UnderlyingError {
    Foundation::ErrorPtr operator()(const SyncStatusFailure::Error& c) const { return c.error; }
    Foundation::ErrorPtr operator()(const SyncStatusFailure::MultipleRecordsUsingTheSameID& c) const
    {
        return CloudKitRemoteError(CloudKitRemoteError::MultipleRecordsUsingTheSameID {c.recordName}).clone();
    }
    Foundation::ErrorPtr operator()(const SyncStatusFailure::ICloudAccountChanged& c) const
    {
        return CloudKitRemoteError(CloudKitRemoteError::ICloudAccountChanged {c.accountIDOfCurrentRecords, c.currentAccountID}).clone();
    }
    Foundation::ErrorPtr operator()(const SyncStatusFailure::CustomRecordZoneDeletedByUser&) const
    {
        return CloudKitRemoteError(CloudKitRemoteError::CustomRecordZoneDeletedByUser {}).clone();
    }
    Foundation::ErrorPtr operator()(const SyncStatusFailure::CustomRecordZoneNotFound&) const
    {
        return CloudKitRemoteError(CloudKitRemoteError::CustomRecordZoneNotFound {}).clone();
    }
    Foundation::ErrorPtr operator()(const SyncStatusFailure::CustomRecordZoneDeleted&) const
    {
        return CloudKitRemoteError(CloudKitRemoteError::CustomRecordZoneDeleted {}).clone();
    }
};

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

Foundation::ErrorPtr SyncStatusFailure::underlyingError() const
{
    return std::visit(UnderlyingError {}, m_case);
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
