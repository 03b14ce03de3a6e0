#pragma once

#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Metricove/AnalyticsStore.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"
#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Transfer/Importer.hpp"

#include "Basalwork/Base/CodableStore.hpp"
#include "Basalwork/Base/File.Location.hpp"
#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/CloudKit/CKContainer.hpp"
#include "Platform/CloudKit/CKSimulation.hpp"
#include "Platform/Foundation/CommandLine.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/OperationQueue.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/Foundation/WorkerPool.hpp"
#include "Platform/UIKit/UIApplication.hpp"

#include "Tests/Corvendale/RecordingAnalyticsStore.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace Syncwright {

inline void PrintTo(const SyncStatus& status, std::ostream* stream)
{
    *stream << status.description();
}

} // namespace Syncwright

namespace CorvendaleTests {

using Foundation::String;
using Syncwright::SyncStatus;

// The program's coordinator, with what the tests watch: every status it heard and every sync asked of
// it. With `startsSyncs` false a sync is only counted.
class TestSyncCoordinator : public Corvendale::SyncCoordinator {
public:
    bool startsSyncs = true;
    int syncRequests = 0;
    // Runs on the remote's queue when the push asks for records; may block or throw.
    std::function<void()> beforePush;

    std::vector<SyncStatus> statuses() const
    {
        std::lock_guard lock(m_statusesMutex);
        return m_statuses;
    }
    std::vector<std::int64_t> statusIndices() const
    {
        std::vector<std::int64_t> indices;
        for (const auto& status : statuses())
            indices.push_back(status.index());
        return indices;
    }

    void sync(std::optional<SyncResultHandler> resultHandler) override
    {
        ++syncRequests;
        if (startsSyncs)
            SyncCoordinator::sync(std::move(resultHandler));
    }
    using SyncCoordinator::sync;
    void cloudKitRemoteDidUpdate(const SyncStatus& syncStatus) override
    {
        {
            std::lock_guard lock(m_statusesMutex);
            m_statuses.push_back(syncStatus);
        }
        SyncCoordinator::cloudKitRemoteDidUpdate(syncStatus);
    }
    std::vector<std::shared_ptr<CloudKit::CKRecord>> locallyModifiedCKRecords(std::int64_t resultLimit) override
    {
        if (beforePush)
            beforePush();
        return SyncCoordinator::locallyModifiedCKRecords(resultLimit);
    }

protected:
    friend Foundation::Construct;
    using SyncCoordinator::SyncCoordinator;

private:
    mutable std::mutex m_statusesMutex;
    std::vector<SyncStatus> m_statuses;
};

// One installation of the program: its own application-group folder, defaults, stores and remote, over
// the container folder every installation of the test shares. The vault is unlocked with the account's
// key.
struct ProgramInstallation {
    ProgramInstallation(const std::filesystem::path& folder, const Shared::Cryptor::Key& vaultKey)
    {
        auto location = [&](const char* name) { return Basalwork::File::Location::raw(String((folder / name).string())); };
        auto suite = String(folder.parent_path().filename().string() + "-" + folder.filename().string());
        userDefaults = Foundation::UserDefaults::withSuiteName(suite);
        preferenceStore = Shared::PreferenceStore::initialize(userDefaults, notificationCenter);
        cryptor = Foundation::make<Shared::Cryptor>(notificationCenter);
        cryptor->unlock(vaultKey.copy());
        attachments = Foundation::make<Shared::AttachmentDataStore>(location("AttachmentStore"), Foundation::FileManager::defaultManager(), cryptor);
        records = Foundation::make<Shared::RecordStore>(notificationCenter, cryptor, attachments, preferenceStore,
                                                        Shared::RecordStore::StoreType::onDisk(location("RecordStore"), "recordStore"));
        importer = Foundation::make<Shared::Importer>(notificationCenter, records, attachments, Shared::AppExecutionContext::app(UIKit::UIApplication::shared()),
                                                      Foundation::FileManager::defaultManager());
        cacheStore = Foundation::make<Basalwork::CodableStore>(location("SyncCoordinator.cacheStore"), Foundation::FileManager::defaultManager(),
                                                               Basalwork::JSONCoder::shared());
        remote = Foundation::make<Syncwright::CloudKitRemote>(notificationCenter, CloudKit::CKContainer::withIdentifier(containerIdentifier), userDefaults);
        makeCoordinator();
    }
    ~ProgramInstallation()
    {
        remote->stop();
        for (const auto& observer : observers)
            notificationCenter->removeObserver(observer);
    }

    static inline const std::string containerIdentifier = "iCloud.test.Corvendale";

    // As the container makes it.
    void makeCoordinator()
    {
        coordinator = Foundation::make<TestSyncCoordinator>(notificationCenter, userDefaults, records, attachments, importer, remote, analytics,
                                                            nullptr, cacheStore);
        coordinator->applyCKAccountIDOverride();
        coordinator->startObserving();
    }

    // Counts the notifications of this name that the coordinator posts.
    std::shared_ptr<int> count(const Foundation::Notification::Name& name)
    {
        auto counter = std::make_shared<int>(0);
        observers.push_back(notificationCenter->addObserver(name, coordinator, Foundation::OperationQueue::main(),
                                                            [counter](const Foundation::Notification&) { ++*counter; }));
        return counter;
    }

    // As the remote reports it.
    void report(const SyncStatus& status)
    {
        coordinator->cloudKitRemoteDidUpdate(status);
        TestSupport::runMainLoopUntilIdle();
    }

    // Saves a login item, with a website when given; answers its identifier.
    String addEntry(const String& title, const std::optional<String>& website = std::nullopt)
    {
        auto context = records->makeEditingContext();
        auto id = context->insert(Foundation::UUID().uuidString(), records->vaultIDForNewEntries(), Shared::Entry::Category::login, false);
        context->setText(title, Shared::Entry::SystemField::ID::title, id);
        if (website)
            context->setText(*website, Shared::Entry::SystemField::ID::website, id);
        context->save();
        return id;
    }
    std::vector<String> titles() const
    {
        std::vector<String> titles;
        for (const auto& entry : records->allEntries())
            titles.push_back(entry.title);
        std::sort(titles.begin(), titles.end(), [](const auto& lhs, const auto& rhs) { return lhs.utf8() < rhs.utf8(); });
        return titles;
    }

    void becomeActive()
    {
        notificationCenter->post(Foundation::Notification::Name("NSApplicationDidBecomeActiveNotification"));
        TestSupport::runMainLoopUntilIdle();
    }

    // Starts a sync through the coordinator and turns the main loop until its outcome and every
    // notification it caused have arrived.
    Foundation::Result<Syncwright::SyncResult> sync()
    {
        std::optional<Foundation::Result<Syncwright::SyncResult>> outcome;
        coordinator->sync(Corvendale::SyncCoordinator::SyncResultHandler(Foundation::DispatchQueue::main(), [&](auto result) { outcome = result; }));
        waitUntil([&] { return outcome.has_value(); });
        return outcome.value_or(Foundation::Result<Syncwright::SyncResult>::success(Syncwright::SyncResult::skipped));
    }

    // Turns the main loop until the condition holds (work on the remote's queues hands its results to
    // it), for at most 30 seconds of real time.
    template <class Predicate>
    static bool waitUntil(Predicate done)
    {
        // Done only when it still holds once the main queue is drained: a push may start another sync
        // just as one ends.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (std::chrono::steady_clock::now() < deadline) {
            TestSupport::runMainLoopUntilIdle();
            if (done())
                return true;
            std::this_thread::yield();
        }
        return done();
    }

    std::shared_ptr<Foundation::NotificationCenter> notificationCenter = Foundation::make<Foundation::NotificationCenter>();
    std::shared_ptr<Foundation::UserDefaults> userDefaults;
    std::shared_ptr<Shared::PreferenceStore> preferenceStore;
    std::shared_ptr<Shared::Cryptor> cryptor;
    std::shared_ptr<Shared::AttachmentDataStore> attachments;
    std::shared_ptr<Shared::RecordStore> records;
    std::shared_ptr<Shared::Importer> importer;
    std::shared_ptr<RecordingAnalyticsStore> analytics = Foundation::make<RecordingAnalyticsStore>();
    std::shared_ptr<Basalwork::CodableStore> cacheStore;
    std::shared_ptr<Syncwright::CloudKitRemote> remote;
    std::shared_ptr<TestSyncCoordinator> coordinator;
    std::vector<std::shared_ptr<Foundation::NSObject>> observers;
};

// Every test gets its own folder and container folder, the local account, no injected failures and no
// launch options.
class SyncCoordinatorFixture : public testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_folder = std::filesystem::path(std::getenv("TMPDIR")) / ("SyncCoordinatorTests-" + std::to_string(++counter));
        std::filesystem::create_directories(m_folder / "containers");
        ::setenv("CORVENDALE_CLOUDKIT_FOLDER", (m_folder / "containers").c_str(), 1);
        CloudKit::CKSimulation::setAccount(String("_localAccount"));
        CloudKit::CKSimulation::removeInjectedFailures();
        setLaunchOptions({});
    }
    void TearDown() override
    {
        CloudKit::CKSimulation::removeInjectedFailures();
        CloudKit::CKSimulation::setAccount(String("_localAccount"));
        setLaunchOptions({});
        TestSupport::runMainLoopUntilIdle();
        // Work the coordinator left on the global queues (the credential store's rebuild) ends before
        // the test does, so none of it outlives the process's statics.
        auto& pool = Foundation::WorkerPool::shared();
        auto timeout = pool.idleTimeout();
        pool.setIdleTimeout(0.01);
        EXPECT_TRUE(pool.waitForThreadCount(0, 30));
        pool.setIdleTimeout(timeout);
    }

    // The system takes back the application's background time.
    static void expireBackgroundTime()
    {
        UIKit::UIApplication::shared()->expireBackgroundTasks();
        TestSupport::runMainLoopUntilIdle();
    }

    static void setLaunchOptions(std::vector<String> options)
    {
        options.insert(options.begin(), String("Corvendale"));
        Foundation::CommandLine::setArguments(std::move(options));
    }

    std::unique_ptr<ProgramInstallation> makeInstallation(const std::string& name)
    {
        std::filesystem::create_directories(m_folder / name);
        return std::make_unique<ProgramInstallation>(m_folder / name, m_vaultKey);
    }

    std::filesystem::path m_folder;
    Shared::Cryptor::Key m_vaultKey = Shared::Cryptor::Key::random();
};

} // namespace CorvendaleTests
