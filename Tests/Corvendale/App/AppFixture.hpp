#pragma once

#include "Corvendale/App/Dependencies.hpp"

#include "Shared/AuthenticationState.hpp"
#include "Shared/AuthenticationStore.hpp"
#include "Shared/Global.hpp"

#include "Platform/Foundation/CommandLine.hpp"
#include "Platform/Foundation/FileManager.hpp"

#include <string>
#include <vector>

namespace CorvendaleTests {

// The launch options every test of the program starts with: nothing is kept across runs.
inline std::vector<Foundation::String> inMemoryLaunchArguments()
{
    return {"Corvendale", "--record-store", "in-memory", "--attachment-data-store", "temporary"};
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
    return Corvendale::dependencies();
}

constexpr const char* masterPassword = "correct horse battery";

// The vault unlocked: its master password created the first time, entered afterwards.
inline void unlockVault()
{
    const auto& store = inMemoryDependencies().authenticationStore;
    if (store->authenticationState().isAuthenticated())
        return;
    try {
        store->createMasterPassword(masterPassword);
        store->finishCreatingMasterPassword();
    } catch (const Foundation::Error&) {
        store->unlock(masterPassword);
    }
}

} // namespace CorvendaleTests
