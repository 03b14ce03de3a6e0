#pragma once

#include "Shared/Syncwright/SyncOperationDelegate.hpp"
#include "Shared/Syncwright/SyncResult.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Result.hpp"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace CloudKit {
class CKContainer;
class CKDatabaseOperation;
}

namespace Syncwright {

// One sync of the remote, run on the caller's thread: the account check, the set-up, the fetch and the
// push, each step asking the delegate. What ends it early is thrown inside and turned into its outcome;
// what only spoils part of it (an unreadable batch, a record the server refused) is noted and lets the
// rest go on, and the sync then ends failed with it.
class SyncOperation {
public:
    using StatusHandler = std::function<void(const SyncStatus&)>;

    struct Outcome {
        enum class Kind { synced, disabled, cancelled, failed };
        Kind kind = Kind::synced;
        std::optional<SyncStatus::Failure> failure;
        // Whether the fetch ran to its end (also when the sync failed afterwards).
        bool didCompleteFetch = false;
    };

    SyncOperation(std::shared_ptr<CloudKit::CKContainer> container, CloudKit::CKRecordZoneID zoneID,
                  std::shared_ptr<SyncOperationDelegate> delegate, StatusHandler statusHandler);

    Outcome run();
    // From any thread: the running service operation is cancelled and no further step starts.
    void cancel();

    // For the steps.
    SyncOperationDelegate& delegate() const { return *m_delegate; }
    const CloudKit::CKRecordZoneID& zoneID() const { return m_zoneID; }
    void report(SyncStatus::Activity activity) const { m_statusHandler(SyncStatus::syncing(activity)); }
    // Runs a service operation on the database and waits for it; throws when the sync was cancelled.
    void perform(const std::shared_ptr<CloudKit::CKDatabaseOperation>& operation);
    void throwIfCancelled() const;
    bool isCancelled() const { return m_cancelled.load(); }
    // A failure that spoils part of the sync without ending it.
    void note(Foundation::ErrorPtr error);
    // The zone is gone: the delegate hears, and the sync ends with the failure of that kind.
    [[noreturn]] void zoneWasDeleted(const Foundation::Error& error);

    // The identifier of the signed-in account; nothing when nobody is signed in. Throws what the
    // service answers otherwise.
    static std::optional<Foundation::String> currentAccountID(const CloudKit::CKContainer& container);

private:
    void checkAccount();
    void setUp();
    static SyncStatus::Failure failure(const Foundation::ErrorPtr& error);

    std::shared_ptr<CloudKit::CKContainer> m_container;
    CloudKit::CKRecordZoneID m_zoneID;
    std::shared_ptr<SyncOperationDelegate> m_delegate;
    StatusHandler m_statusHandler;

    std::atomic<bool> m_cancelled {false};
    std::mutex m_mutex;
    std::shared_ptr<CloudKit::CKDatabaseOperation> m_current;
    std::vector<Foundation::ErrorPtr> m_noted;
};

} // namespace Syncwright
