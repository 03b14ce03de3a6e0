#include "Tests/Corvendale/App/AppFixture.hpp"

#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/Foundation/UserDefaults.hpp"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace Corvendale;

namespace {

// Builds the container in a child process with these launch options (after the program's name).
void build(std::vector<Foundation::String> options)
{
    Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
    options.insert(options.begin(), Foundation::String("Corvendale"));
    Foundation::CommandLine::setArguments(std::move(options));
    Dependencies::make();
}

TEST(DependenciesDeathTest, AnUnknownOptionValueStopsTheProgramNamingTheOption)
{
    EXPECT_EXIT(build({"--record-store", "on-paper"}), testing::ExitedWithCode(1),
                "^Corvendale: --record-store: unknown value \"on-paper\"\n$");
    EXPECT_EXIT(build({"--attachment-data-store", "somewhere"}), testing::ExitedWithCode(1),
                "^Corvendale: --attachment-data-store: unknown value \"somewhere\"\n$");
    EXPECT_EXIT(build({"--sync-coordinator-sync-status-override", "sometimes"}), testing::ExitedWithCode(1),
                "^Corvendale: --sync-coordinator-sync-status-override: unknown value \"sometimes\"\n$");
    EXPECT_EXIT(build({"--attachment-data-store", "temporary", "--record-store"}), testing::ExitedWithCode(1),
                "^Corvendale: --record-store: the option needs a value\n$");
}

TEST(DependenciesDeathTest, ARefusedOptionLeavesNothingBehind)
{
    Foundation::FileManager::registerApplicationGroup(Shared::Global::App::appGroupIdentifier());
    auto container = Foundation::FileManager::defaultManager()->containerURL(Shared::Global::App::appGroupIdentifier());
    ASSERT_TRUE(container);
    std::filesystem::remove_all(container->path().utf8());
    EXPECT_EXIT(build({"--attachment-data-store", "temporary", "--record-store", "x"}), testing::ExitedWithCode(1), "record-store");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(container->path().utf8()) / "Library"));
}

TEST(DependenciesDeathTest, AnInMemoryVaultLeavesNoFileAndClearedDefaultsAreGoneBeforeAnythingReadsThem)
{
    auto group = Shared::Global::App::appGroupIdentifier();
    auto check = [group] {
        Foundation::FileManager::registerApplicationGroup(group);
        auto defaults = Foundation::UserDefaults::withSuiteName(group);
        defaults->set(Foundation::PropertyListValue(std::int64_t(3)), "AutoClear");
        defaults->set(Foundation::PropertyListValue(Foundation::String("left over")), "SomethingElse");
        build({"--clear-user-defaults-on-launch", "--record-store", "in-memory", "--attachment-data-store", "temporary"});
        auto container = Foundation::FileManager::defaultManager()->containerURL(group);
        auto folder = std::filesystem::path(container->path().utf8()) / "Library/Application Support/RecordStore/Production";
        bool leftFiles = std::filesystem::exists(folder) && !std::filesystem::is_empty(folder);
        bool cleared = !Foundation::UserDefaults::withSuiteName(group)->object("SomethingElse");
        std::_Exit(leftFiles ? 2 : cleared ? 0 : 3);
    };
    EXPECT_EXIT(check(), testing::ExitedWithCode(0), "");
}

TEST(Dependencies, TheContainerIsBuiltOnceWithEveryRequiredService)
{
    const auto& dependencies = CorvendaleTests::inMemoryDependencies();
    EXPECT_EQ(&dependencies, &Corvendale::dependencies());
    EXPECT_NE(dependencies.recordStore, nullptr);
    EXPECT_NE(dependencies.authenticationStore, nullptr);
    EXPECT_NE(dependencies.pasteboardCoordinator, nullptr);
    EXPECT_EQ(dependencies.appKitBridge, nullptr) << "the test program has no plug-in";
    EXPECT_FALSE(dependencies.appExecutionContext.isExtension());
    EXPECT_NE(dependencies.syncCoordinator, nullptr);
}

} // namespace
