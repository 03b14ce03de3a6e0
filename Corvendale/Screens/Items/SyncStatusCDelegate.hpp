#pragma once

namespace Corvendale {

class SyncStatusC;

// Carries out what the sync status pop-over cannot do itself.
class SyncStatusCDelegate {
public:
    virtual ~SyncStatusCDelegate() = default;

    // The user confirmed replacing the local data with the account's.
    virtual void didSelectReplaceExistingDataWithiCloudData(SyncStatusC& syncStatusC) = 0;
};

} // namespace Corvendale
