#pragma once

namespace Syncwright {

class SyncStatus;

// Hears the remote's status. Called on the remote's queues, never on the main queue.
class CloudKitRemoteDelegate {
public:
    virtual ~CloudKitRemoteDelegate() = default;

    virtual void cloudKitRemoteDidUpdate(const SyncStatus& syncStatus) = 0;
};

} // namespace Syncwright
