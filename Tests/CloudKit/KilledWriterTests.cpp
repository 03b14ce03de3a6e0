#include "Tests/CloudKit/CloudKitFixture.hpp"

#include "Platform/CloudKit/AtomicFile.hpp"
#include "Platform/CloudKit/ChangeBatch.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <csignal>
#include <poll.h>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace CloudKitTests;
using Foundation::Data;

namespace {

// Over 48 KB of text once encoded: each batch is written in four pieces.
constexpr std::size_t payloadSize = 40 * 1024;
// Pieces, the flush and the rename of two batches.
constexpr int stepsOfTwoBatches = 12;

// Writes batches for ever; at step `stopAt` of its writing it tells the parent and waits to be killed.
[[noreturn]] void writeBatches(DatabaseFolder& folder, const CKRecordZone::ID& zoneID, int pipe, int writer, int stopAt)
{
    int steps = 0;
    AtomicFile::setProgressObserver([&] {
        if (++steps != stopAt)
            return;
        char stopped = 1;
        if (::write(pipe, &stopped, 1) != 1)
            ::_exit(1);
        ::pause();
    });
    for (int sequence = 0;; ++sequence) {
        auto name = "K" + std::to_string(writer) + "-" + std::to_string(sequence);
        auto record = Foundation::make<CKRecord>("Entry", CKRecord::ID(name, zoneID));
        record->setObject(Data(std::vector<std::uint8_t>(payloadSize, static_cast<std::uint8_t>(sequence % 251))), "payload");
        record->setObject(std::int64_t(sequence % 251), "fill");
        folder.modifyRecords({{record}, {}, DatabaseFolder::SavePolicy::allKeys, true, std::nullopt});
    }
}

bool isWhole(const std::shared_ptr<CKRecord>& record)
{
    auto payload = record->object("payload")->as<Data>();
    auto fill = record->object("fill")->as<std::int64_t>();
    if (!payload || !fill || payload->count() != payloadSize)
        return false;
    return std::all_of(payload->begin(), payload->end(), [&](std::uint8_t byte) { return byte == *fill; });
}

} // namespace

class KilledWriterTests : public CloudKitFixture { };

// A writer killed at any point of its writing leaves its whole batch or none: never a part that
// readers see, and nothing that stops the next fetch.
TEST_F(KilledWriterTests, AWriterKilledMidBatchNeverLeavesAPartialBatch)
{
    ASSERT_TRUE(modifyZones(database(), {zoneID}).isSuccess());
    auto folder = DatabaseFolder::open(containerIdentifier, "_localAccount");
    std::mt19937 random(20260101);
    std::shared_ptr<CKServerChangeToken> token;
    std::size_t delivered = 0;
    std::set<std::string> checked;

    for (int writer = 0; writer < 100; ++writer) {
        int stopAt = std::uniform_int_distribution(1, stepsOfTwoBatches)(random);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            writeBatches(*folder, zoneID, fds[1], writer, stopAt);
        }
        ::close(fds[1]);
        // A child forked from this threaded process can block on a lock another thread held at the fork;
        // killing it there is one more kill point, so the wait is bounded rather than required to succeed.
        pollfd ready {fds[0], POLLIN, 0};
        ::poll(&ready, 1, 30'000);
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ::close(fds[0]);

        for (const auto& file : std::filesystem::directory_iterator(batchesFolder())) {
            auto name = file.path().filename().string();
            if (name.starts_with(".") || !checked.insert(name).second)
                continue;
            EXPECT_NO_THROW(ChangeBatch::decode(Foundation::FileIO::readFile(file.path().string()), name, containerIdentifier,
                                                "_localAccount", [](const std::string&) { return nullptr; }))
                << name;
        }
        auto fetched = fetchChanges(database(), zoneID, token);
        ASSERT_TRUE(fetched.result->isSuccess()) << fetched.result->failureError()->description();
        for (const auto& record : fetched.changed)
            EXPECT_TRUE(isWhole(record)) << record->recordID().recordName().utf8();
        delivered += fetched.changed.size();
        token = fetched.token();
    }
    EXPECT_GT(delivered, 10u);

    // The next writer clears what the killed ones left half written.
    ASSERT_TRUE(modify(database(), {entry("E1", zoneID, "after")}).result->isSuccess());
    for (const auto& file : std::filesystem::directory_iterator(batchesFolder()))
        EXPECT_FALSE(file.path().filename().string().ends_with(".tmp")) << file.path();
}
