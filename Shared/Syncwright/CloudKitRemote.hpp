#pragma once

#include "Shared/Syncwright/CloudKitRemoteDelegate.hpp"
#include "Shared/Syncwright/SyncOperationDelegate.hpp"
#include "Shared/Syncwright/SyncResult.hpp"

#include "Platform/CloudKit/CKRecordZone.ID.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Result.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace CloudKit {
class CKContainer;
}

namespace Foundation {
class DispatchQueue;
class NotificationCenter;
class UserDefaults;
}

namespace Syncwright {

class SyncOperation;

// The sync engine: keeps the records of the delegate's store in step with the private database of a
// CloudKit container, through the custom record zone. A sync signs in (the account must be the one the
// local records belong to), sets up the zone once, fetches what other devices changed and pushes what
// changed here, asking the delegate for local data and handing it what the service answered.
//
// One sync runs at a time: a sync asked for while one runs follows it once it has ended, for every
// caller that asked meanwhile. The status goes to the delegate at every step.
class CloudKitRemote : public Foundation::NSObject {
public:
    using Completion = std::function<void(const Foundation::Result<SyncResult>&)>;

    // The set-up step of the custom zone, asked of the delegate's `needsSetup`.
    static constexpr const char* customRecordZoneSetupItemID = "SyncCoordinator.didCreateCustomRecordZone";
    // Records per push request and per fetch round: as many as the service takes in one request.
    static constexpr std::int64_t resultLimit = 400;

    // The delegate adopts every protocol; it is held weakly.
    template <class Delegate>
        requires std::derived_from<Delegate, CloudKitRemoteDelegate> && std::derived_from<Delegate, SyncOperationDelegate>
    void setDelegate(const std::shared_ptr<Delegate>& delegate)
    {
        std::lock_guard lock(m_mutex);
        m_delegate = std::static_pointer_cast<CloudKitRemoteDelegate>(delegate);
        m_operationDelegate = std::static_pointer_cast<SyncOperationDelegate>(delegate);
    }

    const std::shared_ptr<CloudKit::CKContainer>& ckContainer() const { return m_ckContainer; }
    const CloudKit::CKRecordZoneID& customRecordZoneID() const;

    // Runs a sync on the queue and then calls the completion there: `synced`, `skipped` (nobody signed
    // in, or cancelled), or the error that ended it (the status says which failure it was).
    void sync(const std::shared_ptr<Foundation::DispatchQueue>& queue, Completion completion);
    // Whether a sync was asked for and has not ended: from the call of `sync` on, including the time it
    // waits for its queue, before the status says that it runs.
    bool isSyncing() const;

    std::optional<Foundation::Date> mostRecentSuccessfulSyncDate() const;
    std::optional<Foundation::Date> mostRecentCompletedFetchDate() const;
    // The signed-in account; nothing when nobody is signed in or it cannot be told. Waits for the service.
    std::optional<Foundation::String> ckAccountIdentifier() const;

    // Ends the running sync soon (it reports `idle`); syncs asked for later run as usual.
    void cancel();
    // Ends the running sync and the ones waiting, and returns once none runs: after it, the delegate's
    // store can be changed without a sync in the way, and the dates are in the defaults (the program
    // stops the remote before it ends). Called from the sync itself (a delegate call), it ends it
    // without waiting.
    void stop();
    // Forgets the remote's own state: the dates of the last sync and fetch.
    void reset();
    // Stops syncing, then deletes the custom zone with every record in it and forgets the change tokens
    // that described it; calls the completion on the queue.
    void deleteRemoteData(const std::shared_ptr<Foundation::DispatchQueue>& queue, std::function<void(const Foundation::Result<void>&)> completion);

    ~CloudKitRemote() override;

protected:
    friend Foundation::Construct;
    // init(notificationCenter:ckContainer:); the dates are kept in the user defaults given (the standard
    // ones by default).
    CloudKitRemote(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<CloudKit::CKContainer> ckContainer,
                   std::shared_ptr<Foundation::UserDefaults> userDefaults = nullptr);
    void initialize() override;

private:
    struct Request {
        std::shared_ptr<Foundation::DispatchQueue> queue;
        Completion completion;
    };
    void run(std::vector<Request> requests);
    std::shared_ptr<SyncOperation> makeOperation();
    struct Dates {
        std::optional<Foundation::Date> successfulSync;
        std::optional<Foundation::Date> completedFetch;
    };
    // Kept in memory and written to the user defaults off the sync's way.
    void setDates(Dates dates);

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<CloudKit::CKContainer> m_ckContainer;
    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
    std::shared_ptr<Foundation::NSObject> m_accountObserver;
    std::shared_ptr<Foundation::DispatchQueue> m_datesQueue;

    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    std::weak_ptr<CloudKitRemoteDelegate> m_delegate;
    std::weak_ptr<SyncOperationDelegate> m_operationDelegate;
    bool m_isSyncing = false;
    bool m_isStopping = false;
    std::shared_ptr<SyncOperation> m_operation;
    std::thread::id m_syncThread;
    std::vector<Request> m_waiting;
    Dates m_dates;
};

} // namespace Syncwright
