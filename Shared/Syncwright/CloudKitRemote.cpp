#include "Shared/Syncwright/CloudKitRemote.hpp"

#include "Shared/Syncwright/CustomRecordZone.hpp"
#include "Shared/Syncwright/SyncOperation.hpp"

#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKModifyRecordZonesOperation.hpp"
#include "Platform/CloudKit/NotificationNames.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

namespace Syncwright {

namespace {

constexpr const char* successfulSyncDateKey = "CloudKitRemote.mostRecentSuccessfulSyncDate";
constexpr const char* completedFetchDateKey = "CloudKitRemote.mostRecentCompletedFetchDate";

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Syncwright", "CloudKitRemote");
    return logger;
}

} // namespace

CloudKitRemote::CloudKitRemote(std::shared_ptr<Foundation::NotificationCenter> notificationCenter,
                               std::shared_ptr<CloudKit::CKContainer> ckContainer, std::shared_ptr<Foundation::UserDefaults> userDefaults)
    : m_notificationCenter(std::move(notificationCenter))
    , m_ckContainer(std::move(ckContainer))
    , m_userDefaults(userDefaults ? std::move(userDefaults) : Foundation::UserDefaults::standard())
    , m_datesQueue(Foundation::DispatchQueue::create("CloudKitRemote.dates"))
{
    auto date = [&](const char* key) -> std::optional<Foundation::Date> {
        auto value = m_userDefaults->object(key);
        return value ? value->as<Foundation::Date>() : std::nullopt;
    };
    m_dates = {date(successfulSyncDateKey), date(completedFetchDateKey)};
}

void CloudKitRemote::initialize()
{
    // A sync that goes on after the account changed would mix the two accounts' records.
    std::weak_ptr<CloudKitRemote> weakSelf = std::static_pointer_cast<CloudKitRemote>(shared_from_this());
    m_accountObserver = m_notificationCenter->addObserver(CloudKit::NotificationNames::CKAccountChanged(), nullptr, nullptr,
                                                          [weakSelf](const Foundation::Notification&) {
                                                              if (auto self = weakSelf.lock())
                                                                  self->cancel();
                                                          });
}

CloudKitRemote::~CloudKitRemote()
{
    if (m_accountObserver)
        m_notificationCenter->removeObserver(m_accountObserver);
    // The last dates reach the defaults before the remote (or the process) is gone.
    m_datesQueue->sync([] {});
}

const CloudKit::CKRecordZoneID& CloudKitRemote::customRecordZoneID() const
{
    return Syncwright::customRecordZoneID();
}

void CloudKitRemote::sync(const std::shared_ptr<Foundation::DispatchQueue>& queue, Completion completion)
{
    std::unique_lock lock(m_mutex);
    if (m_isSyncing) {
        // The running sync may have read the local changes already: a later one takes them all.
        m_waiting.push_back({queue, std::move(completion)});
        return;
    }
    m_isSyncing = true;
    lock.unlock();
    auto self = std::static_pointer_cast<CloudKitRemote>(shared_from_this());
    queue->async([self, queue, completion = std::move(completion)]() mutable { self->run({{queue, std::move(completion)}}); });
}

bool CloudKitRemote::isSyncing() const
{
    std::lock_guard lock(m_mutex);
    return m_isSyncing;
}

void CloudKitRemote::run(std::vector<Request> requests)
{
    {
        std::lock_guard lock(m_mutex);
        m_syncThread = std::this_thread::get_id();
    }
    auto operation = makeOperation();
    Foundation::Result<SyncResult> result = Foundation::Result<SyncResult>::success(SyncResult::skipped);
    if (operation) {
        auto outcome = operation->run();
        auto now = Foundation::Date::now();
        auto dates = [&] {
            std::lock_guard lock(m_mutex);
            return m_dates;
        }();
        if (outcome.didCompleteFetch)
            dates.completedFetch = now;
        if (outcome.kind == SyncOperation::Outcome::Kind::synced)
            dates.successfulSync = now;
        setDates(dates);
        std::optional<SyncStatus> status;
        switch (outcome.kind) {
        case SyncOperation::Outcome::Kind::synced:
            status = SyncStatus::upToDate(now);
            result = Foundation::Result<SyncResult>::success(SyncResult::synced);
            break;
        case SyncOperation::Outcome::Kind::disabled:
            status = SyncStatus::disabled();
            break;
        case SyncOperation::Outcome::Kind::cancelled:
            status = SyncStatus::idle(mostRecentSuccessfulSyncDate());
            break;
        case SyncOperation::Outcome::Kind::failed:
            log().error("Sync failed: %@", outcome.failure->description());
            result = Foundation::Result<SyncResult>::failure(outcome.failure->underlyingError());
            status = SyncStatus::failed(*outcome.failure, mostRecentSuccessfulSyncDate());
            break;
        }
        std::unique_lock lock(m_mutex);
        m_operation.reset();
        auto delegate = m_delegate.lock();
        lock.unlock();
        if (delegate)
            delegate->cloudKitRemoteDidUpdate(*status);
    }

    for (std::size_t index = 0; index < requests.size(); ++index) {
        auto& request = requests[index];
        if (!request.completion)
            continue;
        if (index == 0)
            request.completion(result);
        else
            request.queue->async([completion = std::move(request.completion), result] { completion(result); });
    }

    std::unique_lock lock(m_mutex);
    m_syncThread = {};
    if (m_waiting.empty()) {
        m_isSyncing = false;
        m_idle.notify_all();
        return;
    }
    auto next = std::move(m_waiting);
    m_waiting.clear();
    lock.unlock();
    auto queue = next.front().queue;
    auto self = std::static_pointer_cast<CloudKitRemote>(shared_from_this());
    queue->async([self, next = std::move(next)]() mutable { self->run(std::move(next)); });
}

std::shared_ptr<SyncOperation> CloudKitRemote::makeOperation()
{
    std::lock_guard lock(m_mutex);
    auto operationDelegate = m_operationDelegate.lock();
    if (!operationDelegate || m_isStopping)
        return nullptr;
    std::weak_ptr<CloudKitRemoteDelegate> delegate = m_delegate;
    m_operation = std::make_shared<SyncOperation>(m_ckContainer, customRecordZoneID(), std::move(operationDelegate),
                                                  [delegate](const SyncStatus& status) {
                                                      if (auto strong = delegate.lock())
                                                          strong->cloudKitRemoteDidUpdate(status);
                                                  });
    return m_operation;
}

std::optional<Foundation::Date> CloudKitRemote::mostRecentSuccessfulSyncDate() const
{
    std::lock_guard lock(m_mutex);
    return m_dates.successfulSync;
}

std::optional<Foundation::Date> CloudKitRemote::mostRecentCompletedFetchDate() const
{
    std::lock_guard lock(m_mutex);
    return m_dates.completedFetch;
}

std::optional<Foundation::String> CloudKitRemote::ckAccountIdentifier() const
{
    try {
        return SyncOperation::currentAccountID(*m_ckContainer);
    } catch (const Foundation::Error& error) {
        log().error("Failed %@ with error: %{public}@", std::string("ckAccountIdentifier()"), error.description());
        return std::nullopt;
    }
}

void CloudKitRemote::cancel()
{
    std::lock_guard lock(m_mutex);
    if (m_operation)
        m_operation->cancel();
}

void CloudKitRemote::stop()
{
    std::unique_lock lock(m_mutex);
    if (m_operation)
        m_operation->cancel();
    if (m_syncThread == std::this_thread::get_id())
        return;
    m_isStopping = true;
    // Waiting syncs still run, but find nothing to do and complete as skipped.
    m_idle.wait(lock, [this] { return !m_isSyncing; });
    m_isStopping = false;
    lock.unlock();
    m_datesQueue->sync([] {});
}

void CloudKitRemote::reset()
{
    setDates({});
}

void CloudKitRemote::deleteRemoteData(const std::shared_ptr<Foundation::DispatchQueue>& queue,
                                      std::function<void(const Foundation::Result<void>&)> completion)
{
    auto self = std::static_pointer_cast<CloudKitRemote>(shared_from_this());
    queue->async([self, completion = std::move(completion)] {
        self->stop();
        auto operation = Foundation::make<CloudKit::CKModifyRecordZonesOperation>(std::nullopt, std::vector {self->customRecordZoneID()});
        Foundation::ErrorPtr failure;
        operation->setPerRecordZoneDeleteBlock([&](const CloudKit::CKRecordZoneID&, const Foundation::Result<void>& result) {
            if (result.isFailure() && CloudKit::ckErrorCode(*result.failureError()) != CloudKit::CKError::Code::zoneNotFound)
                failure = result.failureError();
        });
        operation->setModifyRecordZonesResultBlock([&](const Foundation::Result<void>& result) {
            if (!failure && result.isFailure() && CloudKit::ckErrorCode(*result.failureError()) != CloudKit::CKError::Code::partialFailure)
                failure = result.failureError();
        });
        self->m_ckContainer->privateCloudDatabase()->add(operation);
        operation->waitUntilFinished();
        if (!failure) {
            // The tokens described the zone that is gone; the next sync starts afresh.
            failure = Foundation::catchError([&] {
                std::unique_lock lock(self->m_mutex);
                auto delegate = self->m_operationDelegate.lock();
                lock.unlock();
                if (delegate) {
                    delegate->setChangeToken(nullptr, CKServerChangeToken::Key::customRecordZone);
                    delegate->setChangeToken(nullptr, CKServerChangeToken::Key::privateDatabase);
                }
            });
        }
        completion(failure ? Foundation::Result<void>::failure(failure) : Foundation::Result<void>::success());
    });
}

void CloudKitRemote::setDates(Dates dates)
{
    {
        std::lock_guard lock(m_mutex);
        m_dates = dates;
    }
    // A write waits for other processes' writes to the defaults; the sync need not.
    m_datesQueue->async([userDefaults = m_userDefaults, dates] {
        auto write = [&](const char* key, const std::optional<Foundation::Date>& date) {
            if (date)
                userDefaults->set(Foundation::PropertyListValue(*date), key);
            else
                userDefaults->removeObject(key);
        };
        write(successfulSyncDateKey, dates.successfulSync);
        write(completedFetchDateKey, dates.completedFetch);
    });
}

} // namespace Syncwright
