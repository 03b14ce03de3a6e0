#pragma once

#include "Tests/Corvendale/App/AppFixture.hpp"
#include "Tests/Support/Driver.hpp"

#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/CloudKit/CKSimulation.hpp"

#include <gtest/gtest.h>

namespace CorvendaleTests {

// The process's in-memory container, unlocked and without items.
inline void prepareUnlockedEmptyContainer()
{
    const auto& services = inMemoryDependencies();
    unlockVault();
    // A master password just created waits for its set-up steps; entering it again unlocks for good.
    if (!services.authenticationStore->authenticationState().isAuthenticated()) {
        services.authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, std::nullopt, "test");
        unlockVault();
    }
    ASSERT_TRUE(services.authenticationStore->authenticationState().isAuthenticated());
    for (const auto& filter : {Shared::EntryFilter::allItems(), Shared::EntryFilter::archived(), Shared::EntryFilter::trash()}) {
        std::vector<Foundation::String> ids;
        for (const auto& index : services.recordStore->entryIndices(filter, Shared::Settings::Items::SortMethod::unsorted))
            ids.push_back(index.entryID);
        services.recordStore->permanentlyDelete(ids);
    }
}

// While it lives, the syncs that the tests' changes start run offline: none brings back records that other
// tests left in the shared simulated cloud, and none lands in the middle of a test to change the list.
class OfflineCloud {
public:
    OfflineCloud()
    {
        inMemoryDependencies();
        CloudKit::CKSimulation::injectFailure({CloudKit::CKError::Code::networkUnavailable, CloudKit::CKSimulation::Operation::any, std::nullopt, 0, std::nullopt});
    }
    ~OfflineCloud()
    {
        settleSyncs();
        CloudKit::CKSimulation::removeInjectedFailures();
    }
    OfflineCloud(const OfflineCloud&) = delete;
    OfflineCloud& operator=(const OfflineCloud&) = delete;
};

// Locks the container's vault and unlocks it again, the screens following each step.
inline void lockAndUnlock(TestSupport::Driver& driver)
{
    inMemoryDependencies().authenticationStore->lock(Shared::AuthenticationStore::LockKind::requireMasterPassword, false, std::nullopt, "test");
    driver.settle();
    unlockVault();
    driver.settle();
}

} // namespace CorvendaleTests
