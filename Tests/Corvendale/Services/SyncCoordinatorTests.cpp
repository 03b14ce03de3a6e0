#include "Tests/Corvendale/Services/SyncCoordinatorFixture.hpp"

#include "Shared/Model/Notification.Name.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/LocalChangeCoordinator.hpp"
#include "Shared/Syncwright/CloudKitChangeToken.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/NSManagedObjectContext.hpp"
#include "Basalwork/Base/SemanticVersion.hpp"

#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"
#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CloudKit/NotificationNames.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Logger.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <atomic>
#include <thread>

using namespace CorvendaleTests;
using Corvendale::SyncCoordinator;

namespace {

class SyncCoordinatorTests : public SyncCoordinatorFixture {
protected:
    void SetUp() override
    {
        SyncCoordinatorFixture::SetUp();
        program = makeInstallation("program");
        program->coordinator->startsSyncs = false;
    }
    void TearDown() override
    {
        program.reset();
        SyncCoordinatorFixture::TearDown();
    }

    // Whether an activation (not the first) starts a sync.
    bool activationSyncs()
    {
        auto before = program->coordinator->syncRequests;
        program->becomeActive();
        return program->coordinator->syncRequests > before;
    }

    std::optional<String> storedString(const char* key) const { return program->userDefaults->string(key); }

    std::unique_ptr<ProgramInstallation> program;
};

Foundation::Date secondsAgo(double seconds)
{
    return Foundation::Date::now() - seconds;
}

} // namespace

TEST_F(SyncCoordinatorTests, TheFirstActivationAlwaysSyncsAndLaterOnesFollowTheStatus)
{
    auto failure = SyncStatus::Failure::error(Basalwork::GeneralError::failedWithMessage("offline"));
    program->report(SyncStatus::upToDate(Foundation::Date::now()));
    EXPECT_TRUE(activationSyncs());
    EXPECT_TRUE(program->coordinator->hasBecomeActiveAtLeastOnce());

    // Four hours exactly are not enough.
    EXPECT_FALSE(activationSyncs());
    TestSupport::advanceClock(4 * 60 * 60);
    EXPECT_FALSE(activationSyncs());
    TestSupport::advanceClock(1);
    EXPECT_TRUE(activationSyncs());

    program->report(SyncStatus::idle(std::nullopt));
    EXPECT_TRUE(activationSyncs());
    program->report(SyncStatus::idle(secondsAgo(60)));
    EXPECT_FALSE(activationSyncs());

    // A failure is retried after a minute.
    program->report(SyncStatus::failed(failure, secondsAgo(59)));
    EXPECT_FALSE(activationSyncs());
    program->report(SyncStatus::failed(failure, secondsAgo(61)));
    EXPECT_TRUE(activationSyncs());
    program->report(SyncStatus::failed(failure, std::nullopt));
    EXPECT_TRUE(activationSyncs());

    for (const auto& status : {SyncStatus::disabled(), SyncStatus::unknown(), SyncStatus::syncing(SyncStatus::Activity::pushing)}) {
        program->report(status);
        EXPECT_FALSE(activationSyncs()) << status.description();
    }
    program->report(SyncStatus::idle(std::nullopt));
}

TEST_F(SyncCoordinatorTests, ChangesImportsAndTheAccountStartASync)
{
    auto syncsAfter = [&](const Foundation::Notification::Name& name) {
        auto before = program->coordinator->syncRequests;
        program->notificationCenter->post(name);
        TestSupport::runMainLoopUntilIdle();
        return program->coordinator->syncRequests - before;
    };
    EXPECT_EQ(syncsAfter(CloudKit::NotificationNames::CKAccountChanged()), 1);
    EXPECT_EQ(syncsAfter(Shared::AuthenticationStore::authenticationStoreDidUpdateAuthenticationRecords()), 1);
    EXPECT_EQ(syncsAfter(Shared::LocalChangeCoordinator::localChangeCoordinatorDidMonitorChange()), 1);

    // Only an import that ended without an error starts one.
    auto folder = m_folder / "imports";
    std::filesystem::create_directories(folder);
    auto importFile = [&](const std::string& name, const std::string& text) {
        auto before = program->coordinator->syncRequests;
        std::ofstream(folder / name) << text;
        program->importer->startImport(Shared::Importer::FileFormat::chromeCSV, Foundation::URL::fileURLWithPath(String((folder / name).string())), std::nullopt,
                                       std::nullopt);
        EXPECT_TRUE(program->importer->status().is<Shared::Importer::Status::InProgress>());
        EXPECT_EQ(program->coordinator->syncRequests, before);
        ProgramInstallation::waitUntil([&] { return !program->importer->status().is<Shared::Importer::Status::InProgress>(); });
        return program->coordinator->syncRequests - before;
    };
    EXPECT_EQ(importFile("broken.csv", "not,a,chrome\nexport\n"), 0);
    EXPECT_TRUE(program->importer->status().is<Shared::Importer::Status::Failed>());
    EXPECT_EQ(importFile("chrome.csv", "name,url,username,password\nA,https://a.example,me,pw\n"), 1);

    // Gone, the coordinator is not called.
    std::weak_ptr<TestSyncCoordinator> gone = program->coordinator;
    program->coordinator.reset();
    program->notificationCenter->post(CloudKit::NotificationNames::CKAccountChanged());
    TestSupport::runMainLoopUntilIdle();
    EXPECT_TRUE(gone.expired());
}

TEST_F(SyncCoordinatorTests, TheStatusOverrideSetsEachStatusItNames)
{
    auto statusWith = [&](const char* value) {
        setLaunchOptions({String(SyncCoordinator::syncStatusOverrideOption), String(value)});
        program->makeCoordinator();
        return program->coordinator->syncStatus();
    };
    EXPECT_EQ(statusWith("disabled"), SyncStatus::disabled());
    EXPECT_EQ(statusWith("fetching"), SyncStatus::syncing(SyncStatus::Activity::fetching));
    EXPECT_EQ(statusWith("up-to-date"), SyncStatus::upToDate(Foundation::Date::now()));

    auto failed = statusWith("failed");
    ASSERT_TRUE(failed.is<SyncStatus::Failed>());
    // Ten minutes back through the calendar, which may round the last bit of the clock's time differently.
    ASSERT_TRUE(failed.as<SyncStatus::Failed>()->lastSuccessfulSyncDate.has_value());
    EXPECT_NEAR(failed.as<SyncStatus::Failed>()->lastSuccessfulSyncDate->timeIntervalSince(secondsAgo(600)), 0, 1e-3);
    auto error = failed.as<SyncStatus::Failed>()->failure.underlyingError();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->description(), Basalwork::GeneralError::failedWithMessage("Testing").description());

    // Without the option the remote's last success decides.
    setLaunchOptions({});
    program->makeCoordinator();
    EXPECT_EQ(program->coordinator->syncStatus(), SyncStatus::unknown());
}

TEST_F(SyncCoordinatorTests, TheAccountIsAssociatedOnceAndOnlyAResetForgetsIt)
{
    const char* key = SyncCoordinator::ckAccountIDAssociatedWithCurrentRecordsKey;
    program->coordinator->associateCurrentRecordsWithCKAccountIfNeeded();
    EXPECT_EQ(storedString(key), String("_localAccount"));
    EXPECT_EQ(program->coordinator->ckAccountIDAssociatedWithCurrentRecords(), String("_localAccount"));

    CloudKit::CKSimulation::setAccount(String("someoneElse"));
    program->coordinator->associateCurrentRecordsWithCKAccountIfNeeded();
    EXPECT_EQ(storedString(key), String("_localAccount"));

    // Signed out: nothing to store.
    program->coordinator->resetCKAccountAssociation();
    EXPECT_EQ(storedString(key), std::nullopt);
    CloudKit::CKSimulation::setAccount(std::nullopt);
    program->coordinator->associateCurrentRecordsWithCKAccountIfNeeded();
    EXPECT_EQ(storedString(key), std::nullopt);

    // The launch option replaces it, or removes it when it has no value.
    setLaunchOptions({String(SyncCoordinator::ckAccountIDOverrideOption), String("chosen")});
    program->coordinator->applyCKAccountIDOverride();
    EXPECT_EQ(storedString(key), String("chosen"));
    setLaunchOptions({String(SyncCoordinator::ckAccountIDOverrideOption)});
    program->coordinator->applyCKAccountIDOverride();
    EXPECT_EQ(storedString(key), std::nullopt);
}

TEST_F(SyncCoordinatorTests, ARefetchHappensOnceForVersionsBeforeThreePointOne)
{
    const char* key = SyncCoordinator::mostRecentlyForceRefetchedAppVersionKey;
    EXPECT_TRUE(program->coordinator->shouldForceRefetch());
    for (const auto& [version, refetches] : std::vector<std::pair<const char*, bool>> {{"3.0.9", true}, {"3.1.0", false}, {"3.2", false}, {"three", true}}) {
        program->userDefaults->set(Foundation::PropertyListValue(String(version)), key);
        EXPECT_EQ(program->coordinator->shouldForceRefetch(), refetches) << version;
    }

    // The refetch forgets the set-up markers and the change tokens, and records the version.
    program->cacheStore->save(true, SyncCoordinator::didCreateCustomRecordZoneItemID);
    program->coordinator->setChangeToken(CloudKit::CKServerChangeToken::withPayload(Foundation::Data::fromString("token")),
                                         Syncwright::CKServerChangeToken::Key::privateDatabase);
    program->coordinator->forceRefetch();
    EXPECT_TRUE(program->coordinator->needsSetup(SyncCoordinator::didCreateCustomRecordZoneItemID));
    EXPECT_EQ(program->coordinator->changeToken(Syncwright::CKServerChangeToken::Key::privateDatabase), nullptr);
    // The test program has no version.
    EXPECT_EQ(storedString(key), Basalwork::SemanticVersion::zero().string());
}

TEST_F(SyncCoordinatorTests, ARunningSyncHoldsOneBackgroundTaskUntilItsNextStatus)
{
    auto application = UIKit::UIApplication::shared();
    auto tasks = [&] {
        auto names = application->backgroundTaskNames();
        return std::count(names.begin(), names.end(), String("SyncCoordinator.backgroundSyncTask"));
    };
    auto assets = std::filesystem::path(Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8()) / SyncCoordinator::ckRecordAssetsFolderName;
    auto posted = program->count(SyncCoordinator::syncCoordinatorDidUpdateSyncStatus());

    program->report(SyncStatus::syncing(SyncStatus::Activity::fetching));
    program->report(SyncStatus::syncing(SyncStatus::Activity::pushing));
    EXPECT_EQ(tasks(), 1);
    EXPECT_TRUE(program->coordinator->backgroundSyncTask().has_value());
    EXPECT_EQ(*posted, 2);

    std::filesystem::create_directories(assets);
    program->report(SyncStatus::upToDate(Foundation::Date::now()));
    EXPECT_EQ(tasks(), 0);
    EXPECT_FALSE(program->coordinator->backgroundSyncTask().has_value());
    EXPECT_FALSE(std::filesystem::exists(assets));

    // When the time is up the sync is cancelled and its task ends then, not at the next status.
    program->report(SyncStatus::syncing(SyncStatus::Activity::fetching));
    ASSERT_EQ(tasks(), 1);
    expireBackgroundTime();
    EXPECT_EQ(tasks(), 0);
    EXPECT_FALSE(program->coordinator->backgroundSyncTask().has_value());
    program->report(SyncStatus::idle(std::nullopt));
    EXPECT_EQ(tasks(), 0);
    EXPECT_EQ(*posted, 5);
}

TEST_F(SyncCoordinatorTests, FailuresAreTrackedAndAResetInICloudIsAnnouncedOnce)
{
    auto resets = program->count(Shared::syncCoordinatorUserDidResetAccountRemotelyNotification());
    program->report(SyncStatus::failed(SyncStatus::Failure::error(Basalwork::GeneralError::failedWithMessage("offline")), std::nullopt));
    EXPECT_EQ(program->analytics->events().size(), 1u);

    for (const auto& failure : {SyncStatus::Failure::multipleRecordsUsingTheSameID("a"), SyncStatus::Failure::iCloudAccountChanged("one", "two")})
        program->report(SyncStatus::failed(failure, std::nullopt));
    EXPECT_EQ(*resets, 0);
    for (const auto& failure : {SyncStatus::Failure::customRecordZoneDeletedByUser(), SyncStatus::Failure::customRecordZoneNotFound()})
        program->report(SyncStatus::failed(failure, std::nullopt));
    EXPECT_EQ(*resets, 2);

    // A deleted zone is named by the fetch, then ends the sync: one announcement.
    program->report(SyncStatus::syncing(SyncStatus::Activity::fetching));
    program->coordinator->didDeleteRecordZone(CloudKit::CKRecordZoneID("SomeOtherZone"));
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(*resets, 2);
    program->coordinator->didDeleteRecordZone(program->remote->customRecordZoneID());
    program->report(SyncStatus::failed(SyncStatus::Failure::customRecordZoneDeleted(), std::nullopt));
    EXPECT_EQ(*resets, 3);
}

TEST_F(SyncCoordinatorTests, TheCredentialListIsRebuiltWhenTheVaultOpensNotWhileItIsLocked)
{
    Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
    std::mutex mutex;
    std::vector<std::string> errors;
    auto previous = Foundation::Logger::setCaptureSink([&](const Foundation::LogRecord& record) {
        std::lock_guard lock(mutex);
        if (record.type == Foundation::OSLogType::error)
            errors.push_back(record.message);
    });
    auto id = program->addEntry("Shop", String("https://shop.example"));
    program->cryptor->lock();
    TestSupport::runMainLoopUntilIdle();
    for (const auto& status : {SyncStatus::idle(std::nullopt), SyncStatus::upToDate(Foundation::Date::now()),
                               SyncStatus::failed(SyncStatus::Failure::error(Basalwork::GeneralError::failedWithMessage("offline")), std::nullopt)})
        program->report(status);
    // Whatever those statuses started off the main thread has ended.
    auto& pool = Foundation::WorkerPool::shared();
    auto timeout = pool.idleTimeout();
    pool.setIdleTimeout(0.01);
    EXPECT_TRUE(pool.waitForThreadCount(0, 30));
    pool.setIdleTimeout(timeout);
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(errors, std::vector<std::string> {});
    }

    AuthenticationServices::ASCredentialIdentityStore identities(Shared::Global::App::appGroupIdentifier());
    auto listsShop = [&] {
        auto listed = identities.credentialIdentities();
        return std::any_of(listed.begin(), listed.end(), [&](const auto& identity) { return identity.recordIdentifier == id; });
    };
    EXPECT_FALSE(listsShop());
    program->cryptor->unlock(m_vaultKey.copy());
    // Once the unlocked window had time for its first list.
    TestSupport::runMainLoopUntilIdle();
    TestSupport::advanceClock(2);
    EXPECT_TRUE(ProgramInstallation::waitUntil(listsShop));
    Foundation::Logger::setCaptureSink(previous);
    std::lock_guard lock(mutex);
    EXPECT_EQ(errors, std::vector<std::string> {});
}

TEST_F(SyncCoordinatorTests, TheCredentialListWaitsForASyncRunningAtTheUnlockAndIsMadeOnceItEnds)
{
    Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
    auto id = program->addEntry("Shop", String("https://shop.example"));
    program->cryptor->lock();
    TestSupport::runMainLoopUntilIdle();

    // A sync that holds at its push until told; let go however the test ends, or the remote's stop
    // would wait for it.
    struct Gate {
        std::atomic<bool> pushing = false;
        std::atomic<bool> released = false;
    };
    auto gate = std::make_shared<Gate>();
    struct Release {
        std::shared_ptr<Gate> gate;
        ~Release() { gate->released = true; }
    } release {gate};
    program->coordinator->beforePush = [gate] {
        gate->pushing = true;
        while (!gate->released)
            std::this_thread::yield();
    };
    program->coordinator->startsSyncs = true;
    program->coordinator->sync();
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return gate->pushing.load(); }));

    AuthenticationServices::ASCredentialIdentityStore identities(Shared::Global::App::appGroupIdentifier());
    auto listsShop = [&] {
        auto listed = identities.credentialIdentities();
        return std::any_of(listed.begin(), listed.end(), [&](const auto& identity) { return identity.recordIdentifier == id; });
    };
    program->cryptor->unlock(m_vaultKey.copy());
    TestSupport::runMainLoopUntilIdle();
    for (int second = 0; second < 4; ++second) {
        TestSupport::advanceClock(1);
        TestSupport::runMainLoopUntilIdle();
    }
    // Nothing left off the main thread but the held sync: a list begun by now would be written.
    auto& pool = Foundation::WorkerPool::shared();
    auto timeout = pool.idleTimeout();
    pool.setIdleTimeout(0.01);
    EXPECT_TRUE(pool.waitForThreadCount(1, 30));
    pool.setIdleTimeout(timeout);
    EXPECT_FALSE(listsShop()) << "made while the sync ran";

    gate->released = true;
    ASSERT_TRUE(ProgramInstallation::waitUntil([&] { return !program->remote->isSyncing(); }));
    TestSupport::advanceClock(1);
    EXPECT_TRUE(ProgramInstallation::waitUntil(listsShop));
    program->coordinator->beforePush = nullptr;
}
