#pragma once

#include "Platform/CloudKit/CKRecord.hpp"
#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/Error.hpp"

#include <memory>
#include <set>
#include <vector>

namespace Syncwright {

// Applies what the fetch brings, a round at a time; the remote keeps the round's change token only
// after these returned, so a round is applied at least once, and a fetch that stopped resumes after the
// last round applied. Requirements other than the first may throw; the fetch then stops and the sync
// fails with the error.
class FetchOperationDelegate {
public:
    virtual ~FetchOperationDelegate() = default;

    // A zone of the private database was deleted (the custom zone: the user's records were reset).
    virtual void didDeleteRecordZone(const CloudKit::CKRecordZoneID& zoneID) = 0;
    // Records that no longer exist: deleted by another device, or deletions this installation pushed.
    virtual void processRemotelyDeleted(const std::vector<CloudKit::CKRecordID>& ckRecordIDs) = 0;
    // Records as the server holds them now, saved by another device or by this one.
    virtual void processRemotelyModified(const std::vector<std::shared_ptr<CloudKit::CKRecord>>& ckRecords) = 0;
    // After the zone was fetched whole from no token, without damage: every record it holds. Records here
    // that the account had and no longer has were deleted while this installation was not looking
    // (`SyncableType::absentFromZone` finds them).
    virtual void processRecordsOfWholeZone(const std::set<CloudKit::CKRecordID>& ckRecordIDs) = 0;
    // Records fetched now or before that cannot be taken in here (they do not open): every sync fails with
    // this while any remain, so that "up to date" never hides them. Nothing when there are none.
    virtual Foundation::ErrorPtr fetchedRecordsNotTakenIn() = 0;
};

} // namespace Syncwright
