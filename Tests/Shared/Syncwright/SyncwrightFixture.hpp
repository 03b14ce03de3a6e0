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

// Every test gets a container folder of its own, the local account and no injected failures.
class ContainerFixture : public testing::Test {
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_folder = std::filesystem::path(std::getenv("TMPDIR")) / ("syncwright-" + std::to_string(++counter));
        std::filesystem::create_directories(m_folder / "containers");
        ::setenv("CORVENDALE_CLOUDKIT_FOLDER", (m_folder / "containers").c_str(), 1);
        CloudKit::CKSimulation::setAccount(String("_localAccount"));
        CloudKit::CKSimulation::removeInjectedFailures();
    }
    void TearDown() override
    {
        CloudKit::CKSimulation::removeInjectedFailures();
        CloudKit::CKSimulation::setAccount(String("_localAccount"));
        CloudKit::CKSimulation::setDeliversPushesForOwnBatches(false);
    }

    // An installation's own folder, as its application group would be.
    std::filesystem::path installationFolder(const std::string& name) const
    {
        std::filesystem::create_directories(m_folder / name);
        return m_folder / name;
    }
    std::filesystem::path batchesFolder() const { return m_folder / "containers" / Installation::containerIdentifier / "_localAccount" / "Batches"; }

    std::filesystem::path m_folder;
};

// Two installations of a store of notes.
class SyncwrightFixture : public ContainerFixture {
protected:
    void SetUp() override
    {
        ContainerFixture::SetUp();
        first = std::make_unique<Installation>(installationFolder("first"));
        second = std::make_unique<Installation>(installationFolder("second"));
    }

    std::unique_ptr<Installation> first;
    std::unique_ptr<Installation> second;
};

} // namespace SyncwrightTests
