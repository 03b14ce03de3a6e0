#pragma once

#include "Corvendale/Services/Dependencies.hpp"
#include "Corvendale/Services/SyncCoordinator.hpp"

#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Platform/Foundation/CommandLine.hpp"
#include "Platform/Foundation/FileManager.hpp"

#include "Shared/Syncwright/CloudKitRemote.hpp"
#include "Shared/Syncwright/SyncStatus.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace CorvendaleTests {

// The launch options every test of the program starts with: nothing is kept across runs.
inline std::vector<Foundation::String> inMemoryLaunchArguments()
{
    // Sync is off: a first fetch would otherwise hold the lock screen.
    return {"Corvendale", "--record-store", "in-memory", "--attachment-data-store", "temporary", "--sync-coordinator-sync-status-override",
            "disabled"};
}

inline bool& containerIsBuilt()
{
    static bool built = false;
    return built;
}

// The process's container, built once with the in-memory launch options.
inline const Corvendale::Dependencies& inMemoryDependencies()
{
    static const bool prepared = [] {
        Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
        Foundation::CommandLine::setArguments(inMemoryLaunchArguments());
        return true;
    }();
    (void)prepared;
    containerIsBuilt() = true;
    return Corvendale::dependencies();
}

// As the program does when it terminates: the container's remote stops before the process ends, so no
// sync runs on while the process's statics go.
class ContainerRemoteStopper : public testing::Environment {
public:
    void TearDown() override
    {
        if (containerIsBuilt())
            Corvendale::dependencies().syncCoordinator->cloudKitRemote()->stop();
    }
};
inline testing::Environment* const containerRemoteStopper = testing::AddGlobalTestEnvironment(new ContainerRemoteStopper);

// Syncs run on the remote's own threads: the main loop turns until none runs (30 seconds at most). A
// sync counts from the moment it is asked for: until its queue starts it, the status still shows the
// last one, and work on the main queue may ask for another. Settled is a turn of the main loop that
// begins and ends with no sync asked for, so whatever a sync left for the main queue ran in it.
inline void settleSyncs()
{
    const auto& sync = Corvendale::dependencies().syncCoordinator;
    auto isSyncing = [&] { return sync->cloudKitRemote()->isSyncing() || sync->syncStatus().is<Syncwright::SyncStatus::Syncing>(); };
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        const bool wasSyncing = isSyncing();
        TestSupport::runMainLoopUntilIdle();
        if ((!wasSyncing && !isSyncing()) || std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::yield();
    }
}

constexpr const char* masterPassword = "correct horse battery";

// The vault unlocked: its master password created the first time, entered afterwards.
inline void unlockVault()
{
    const auto& store = inMemoryDependencies().authenticationStore;
    if (store->authenticationState().isAuthenticated())
        return;
    // The set-up steps after a first master password are the lock screen's to show, not these tests'.
    const auto& preferences = inMemoryDependencies().preferenceStore;
    preferences->setDidCompleteAutoFillOnboarding(true);
    preferences->setDidCompleteBackupOnboarding(true);
    preferences->setDidCompleteSyncOnboarding(true);
    try {
        store->createMasterPassword(masterPassword);
        store->finishCreatingMasterPassword();
    } catch (const Foundation::Error&) {
        store->unlock(masterPassword);
    }
}

} // namespace CorvendaleTests
