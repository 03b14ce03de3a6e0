#pragma once

#include "Shared/Syncwright/CloudKitRemoteError.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <string>
#include <variant>

namespace Syncwright {

// Why the last sync failed. Three kinds say that the user's records were reset in iCloud (the program
// then resets its own copy); one asks the user to replace the local data with the account's; one asks
// for a repair of records that share an identifier; every other failure carries its error.
class SyncStatusFailure : public Foundation::Enumeration<SyncStatusFailure> {
public:
    // Any other failure: the service's or the delegate's error.
    struct Error {
        Foundation::ErrorPtr error;
    };
    // The kinds, as the remote's error names them: two records of one push carry the same identifier
    // (the record store must repair them first); the local records belong to another iCloud account
    // than the one signed in (syncing would mix two accounts' data, so only replacing the local data
    // can go on); and the three resets of the records in iCloud: the user deleted the app's data there,
    // the zone the records lived in no longer exists, or another device deleted the zone.
    using MultipleRecordsUsingTheSameID = CloudKitRemoteError::MultipleRecordsUsingTheSameID;
    using ICloudAccountChanged = CloudKitRemoteError::ICloudAccountChanged;
    using CustomRecordZoneDeletedByUser = CloudKitRemoteError::CustomRecordZoneDeletedByUser;
    using CustomRecordZoneNotFound = CloudKitRemoteError::CustomRecordZoneNotFound;
    using CustomRecordZoneDeleted = CloudKitRemoteError::CustomRecordZoneDeleted;

    using Case = std::variant<Error, MultipleRecordsUsingTheSameID, ICloudAccountChanged, CustomRecordZoneDeletedByUser,
                              CustomRecordZoneNotFound, CustomRecordZoneDeleted>;

    static SyncStatusFailure error(Foundation::ErrorPtr error) { return SyncStatusFailure(Error {std::move(error)}); }
    static SyncStatusFailure error(const Foundation::Error& error) { return SyncStatusFailure(Error {error.clone()}); }
    static SyncStatusFailure multipleRecordsUsingTheSameID(Foundation::String recordName)
    {
        return SyncStatusFailure(MultipleRecordsUsingTheSameID {std::move(recordName)});
    }
    static SyncStatusFailure iCloudAccountChanged(Foundation::String accountIDOfCurrentRecords, Foundation::String currentAccountID)
    {
        return SyncStatusFailure(ICloudAccountChanged {std::move(accountIDOfCurrentRecords), std::move(currentAccountID)});
    }
    static SyncStatusFailure customRecordZoneDeletedByUser() { return SyncStatusFailure(CustomRecordZoneDeletedByUser {}); }
    static SyncStatusFailure customRecordZoneNotFound() { return SyncStatusFailure(CustomRecordZoneNotFound {}); }
    static SyncStatusFailure customRecordZoneDeleted() { return SyncStatusFailure(CustomRecordZoneDeleted {}); }

    const Case& value() const { return m_case; }

    // The three kinds that report that the user's records were reset in iCloud.
    bool isRecordsResetInICloud() const;
    // The kind that only replacing the local data with the account's can resolve.
    bool requiresReplacingLocalData() const { return is<ICloudAccountChanged>(); }
    // The failure of the remote's error's kind.
    static SyncStatusFailure from(const CloudKitRemoteError& error);
    // The error behind the failure: the carried one, or the remote's error of the kind.
    Foundation::ErrorPtr underlyingError() const;
    std::string description() const;

    // Errors compare by domain, code and description.
    friend bool operator==(const SyncStatusFailure& lhs, const SyncStatusFailure& rhs);

private:
    explicit SyncStatusFailure(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Syncwright
