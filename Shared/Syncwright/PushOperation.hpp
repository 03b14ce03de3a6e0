#pragma once

#include "Platform/CloudKit/CKRecord.ID.hpp"

#include <set>

namespace Syncwright {

class SyncOperation;

// The push of one sync, in rounds of at most `CloudKitRemote::resultLimit` records: first the records
// marked deleted, then those marked modified, as the delegate gives them. Each record stands alone (a
// refused one does not hold back the others). After a round the delegate hears what became of the
// saves, and the deletions the server took come back to it as records deleted remotely. Rounds go on
// while one gets anything through, so records beyond the limit all go out in one sync, and a record the
// server keeps refusing cannot keep it pushing forever.
class PushOperation {
public:
    explicit PushOperation(SyncOperation& sync)
        : m_sync(sync)
    {
    }

    void run();

private:
    // False when the round got nothing through.
    bool pushRound();

    SyncOperation& m_sync;
    // A record that conflicts again after its merge is no progress.
    std::set<CloudKit::CKRecordID> m_conflicted;
};

} // namespace Syncwright
