#pragma once

#include "Platform/Foundation/String.hpp"

namespace Syncwright {

// Keeps which one-time set-up steps of the remote are done, under identifiers the remote names. A
// step whose marker is gone (after a forced refetch or a reset) runs again. Requirements may throw;
// the sync then fails with the error.
class SetupOperationDelegate {
public:
    virtual ~SetupOperationDelegate() = default;

    // Whether the step with this identifier is still to be done.
    virtual bool needsSetup(const Foundation::String& itemID) = 0;
    virtual void didCompleteSetup(const Foundation::String& itemID) = 0;
    // The custom record zone exists. The remote asks `needsSetup` for it under the identifier the
    // delegate keeps this marker under, "SyncCoordinator.didCreateCustomRecordZone".
    virtual void didCreateCustomRecordZone() = 0;
};

} // namespace Syncwright
