#pragma once

#include "Tests/Shared/Syncwright/Installation.hpp"

#include "Platform/CloudKit/CKSimulation.hpp"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>

namespace Syncwright {

// Readable failures in test output.
inline void PrintTo(const SyncStatusFailure& failure, std::ostream* stream)
{
    *stream << failure.description();
}
inline void PrintTo(const SyncStatus& status, std::ostream* stream)
{
    *stream << status.description();
}

} // namespace Syncwright

namespace SyncwrightTests {

// Every test gets a container folder of its own, two installations, the local account and no failures.
class SyncwrightFixture : public testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        ++counter;
        m_folder = std::filesystem::path(std::getenv("TMPDIR")) / ("syncwright-" + std::to_string(counter));
        std::filesystem::create_directories(m_folder / "containers");
        ::setenv("CORVENDALE_CLOUDKIT_FOLDER", (m_folder / "containers").c_str(), 1);
        CloudKit::CKSimulation::setAccount(String("_localAccount"));
        CloudKit::CKSimulation::removeInjectedFailures();
        first = makeInstallation("first-" + std::to_string(counter));
        second = makeInstallation("second-" + std::to_string(counter));
    }
    void TearDown() override
    {
        CloudKit::CKSimulation::removeInjectedFailures();
        CloudKit::CKSimulation::setAccount(String("_localAccount"));
        CloudKit::CKSimulation::setDeliversPushesForOwnBatches(false);
    }

    std::unique_ptr<Installation> makeInstallation(const std::string& name)
    {
        std::filesystem::create_directories(m_folder / name);
        return std::make_unique<Installation>(m_folder / name);
    }
    std::filesystem::path batchesFolder() const { return m_folder / "containers" / Installation::containerIdentifier / "_localAccount" / "Batches"; }

    std::filesystem::path m_folder;
    std::unique_ptr<Installation> first;
    std::unique_ptr<Installation> second;
};

} // namespace SyncwrightTests
