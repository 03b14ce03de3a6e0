#pragma once

#include <memory>

namespace CloudKit {
class CKServerChangeToken;
}

namespace Syncwright {

class SyncOperation;

// The fetch of one sync. First the database's changes since its kept token: a deleted custom zone ends
// the sync (the user's records were reset), and a zone nothing changed in is left alone. Then the custom
// zone's changes since its kept token, in rounds. Each round goes to
// the delegate (changed records, then deleted ones) and only then is its token kept, so a fetch that
// stops resumes after the last round applied. A token the service no longer takes is dropped and the
// zone fetched from the start; the sync then reports it. A fetch from no token also removes what was
// deleted while this installation was not looking.
class FetchOperation {
public:
    explicit FetchOperation(SyncOperation& sync)
        : m_sync(sync)
    {
    }

    void run();

private:
    void fetch();
    struct DatabaseChanges {
        std::shared_ptr<CloudKit::CKServerChangeToken> token;
        bool customZoneChanged = false;
    };
    DatabaseChanges fetchDatabaseChanges();
    DatabaseChanges fetchDatabaseChanges(const std::shared_ptr<CloudKit::CKServerChangeToken>& token);
    // `reconcileWhole`: a fetch from no token tells the delegate every record the zone holds.
    void fetchZoneChanges(const std::shared_ptr<CloudKit::CKServerChangeToken>& token, bool reconcileWhole);

    SyncOperation& m_sync;
};

} // namespace Syncwright
