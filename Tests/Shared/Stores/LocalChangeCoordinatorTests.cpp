#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Shared/Stores/LocalChangeCoordinator.hpp"

#include <gtest/gtest.h>

using namespace Shared;

TEST(LocalChangeCoordinatorTests, TheProgramHearsOfChangesTheExtensionMade)
{
    SharedTests::removeApplicationGroup();
    SharedTests::Vault extensionVault(AppExecutionContext::extension());
    auto extension = Foundation::make<LocalChangeCoordinator>(extensionVault.notificationCenter, extensionVault.authenticationStore, nullptr,
                                                              AppExecutionContext::extension());
    SharedTests::Vault programVault(AppExecutionContext::app(nullptr));
    auto program = Foundation::make<LocalChangeCoordinator>(programVault.notificationCenter, programVault.authenticationStore, nullptr,
                                                            AppExecutionContext::app(nullptr));
    int announcements = 0;
    auto token = programVault.notificationCenter->addObserver(LocalChangeCoordinator::localChangeCoordinatorDidMonitorChange(), program, nullptr,
                                                              [&](const Foundation::Notification&) { ++announcements; });

    extensionVault.authenticationStore->createMasterPassword("correct horse battery");
    extension->registerLocalChange();
    EXPECT_TRUE(program->hasPendingLocalChanges());

    // Only an unlocked program announces it, and only once.
    program->checkForLocalChanges();
    EXPECT_EQ(announcements, 0);
    programVault.authenticationStore->unlock("correct horse battery");
    EXPECT_EQ(announcements, 1);
    program->checkForLocalChanges();
    EXPECT_EQ(announcements, 1);

    program->localChangesDidSynchronize();
    EXPECT_FALSE(program->hasPendingLocalChanges());
    programVault.notificationCenter->removeObserver(token);
}
