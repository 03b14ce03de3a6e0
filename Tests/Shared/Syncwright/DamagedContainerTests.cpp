#include "Tests/Shared/Syncwright/SeparateInstallations.hpp"
#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

namespace SyncwrightTests {

namespace {

using Notes = std::map<std::string, std::string>;

// Two installations, each its own processes and its own copy of the container, carried by a file-sync
// tool that can spoil or lose files on the way.
class DamagedContainerTests : public ContainerFixture {
protected:
    SeparateInstallation first {m_folderFor("first")};
    SeparateInstallation second {m_folderFor("second")};

    std::filesystem::path m_folderFor(const std::string& name)
    {
        static int counter = 0;
        return std::filesystem::path(std::getenv("TMPDIR")) / ("separate-" + std::to_string(::getpid()) + "-" + std::to_string(++counter)) / name;
    }

    static Summary add(const SeparateInstallation& installation, const std::string& id, const std::string& text)
    {
        return installation.sync([&](Installation& it) { it.add(String(id), String(text)); });
    }
    // The name of an installation's batch of this sequence.
    static std::string batchOf(const SeparateInstallation& installation, int sequence)
    {
        auto device = TestSupport::readText(installation.root() / "state" / "CloudKit" / "DeviceIdentifier");
        return device + "-" + std::to_string(sequence) + ".batch";
    }
    static Notes notes(const Summary& summary)
    {
        if (!summary.notes)
            ADD_FAILURE() << summary.description();
        return summary.notes.value_or(Notes {});
    }
    static std::string status(const Summary& summary) { return summary.thrown ? summary.description() : summary.status; }
};

TEST_F(DamagedContainerTests, ABatchThatArrivedDamagedIsReadOnceItArrivesWhole)
{
    ASSERT_TRUE(add(first, "a", "Alpha").upToDate);
    SyncTool::carry(first, second);
    ASSERT_EQ(notes(second.sync()), (Notes {{"a", "Alpha"}}));

    ASSERT_TRUE(add(first, "b", "Bravo").upToDate);
    auto newest = batchNames(first.batches()).back();
    for (auto damage : {SyncTool::cutInHalf(), SyncTool::flipBit(0, 1), SyncTool::flipBit(120, 0), SyncTool::flipBit(9999, 3)}) {
        SyncTool::carry(first, second, {{newest, damage}});
        auto damaged = second.sync();
        EXPECT_FALSE(damaged.upToDate) << status(damaged);
        EXPECT_NE(status(damaged).find(newest), std::string::npos) << status(damaged);
        EXPECT_EQ(notes(damaged), (Notes {{"a", "Alpha"}}));
    }

    SyncTool::carry(first, second);
    auto repaired = second.sync();
    EXPECT_TRUE(repaired.upToDate) << status(repaired);
    EXPECT_EQ(notes(repaired), (Notes {{"a", "Alpha"}, {"b", "Bravo"}}));
}

TEST_F(DamagedContainerTests, ABatchRemovedByHandNeverHasItsNameTakenAgainAndTheGapIsReported)
{
    ASSERT_TRUE(add(first, "a", "Alpha").upToDate);
    ASSERT_TRUE(add(first, "b", "Bravo").upToDate);
    SyncTool::carry(first, second);
    ASSERT_EQ(notes(second.sync()), (Notes {{"a", "Alpha"}, {"b", "Bravo"}}));

    auto removed = batchNames(first.batches()).back();
    ASSERT_EQ(removed, batchOf(first, 3));
    std::filesystem::remove(first.batches() / removed);
    ASSERT_TRUE(add(first, "c", "Charlie").notes.has_value());
    EXPECT_TRUE(std::filesystem::exists(first.batches() / batchOf(first, 4)));
    // The writer's own folder lost a batch: it says so instead of "up to date".
    auto after = first.sync();
    EXPECT_FALSE(after.upToDate);
    EXPECT_NE(status(after).find(removed + " is missing"), std::string::npos) << status(after);
    EXPECT_FALSE(std::filesystem::exists(first.batches() / removed));

    SyncTool::carry(first, second);
    auto received = second.sync();
    EXPECT_EQ(notes(received), (Notes {{"a", "Alpha"}, {"b", "Bravo"}, {"c", "Charlie"}}));

    // An installation that never got the lost batch sees the gap.
    SeparateInstallation third {first.root().parent_path() / "third"};
    std::filesystem::create_directories(third.batches());
    for (const auto& name : batchNames(first.batches()))
        std::filesystem::copy_file(first.batches() / name, third.batches() / name);
    auto fresh = third.sync();
    EXPECT_FALSE(fresh.upToDate);
    EXPECT_NE(status(fresh).find(removed + " is missing"), std::string::npos) << status(fresh);
}

TEST_F(DamagedContainerTests, AMissingZoneBatchIsReportedAndNeverResetsTheRecords)
{
    ASSERT_TRUE(add(first, "a", "Alpha").upToDate);
    SyncTool::carry(first, second);
    ASSERT_EQ(notes(add(second, "b", "Bravo")), (Notes {{"a", "Alpha"}, {"b", "Bravo"}}));
    SyncTool::carry(second, first);

    // The oldest batch, the one that made the zone, is removed by hand everywhere.
    auto zoneBatch = batchOf(first, 1);
    std::filesystem::remove(first.batches() / zoneBatch);
    std::filesystem::remove(second.batches() / zoneBatch);

    auto pushed = add(second, "c", "Charlie");
    EXPECT_FALSE(pushed.upToDate);
    EXPECT_NE(status(pushed).find("missing"), std::string::npos) << status(pushed);
    EXPECT_TRUE(pushed.deletedZones.empty()) << pushed.description();
    EXPECT_EQ(notes(pushed), (Notes {{"a", "Alpha"}, {"b", "Bravo"}, {"c", "Charlie"}}));

    SyncTool::carry(second, first);
    auto received = first.sync();
    EXPECT_TRUE(received.deletedZones.empty()) << received.description();
    EXPECT_EQ(notes(received), (Notes {{"a", "Alpha"}, {"b", "Bravo"}, {"c", "Charlie"}}));
}

TEST_F(DamagedContainerTests, AFullRefetchRemovesWhatWasDeletedElsewhereAndKeepsWhatWasEditedHere)
{
    ASSERT_TRUE(add(first, "a", "Alpha").upToDate);
    ASSERT_TRUE(add(first, "b", "Bravo").upToDate);
    ASSERT_TRUE(add(first, "c", "Charlie").upToDate);
    SyncTool::carry(first, second);
    ASSERT_EQ(notes(second.sync()).size(), 3u);

    ASSERT_TRUE(first.sync([](Installation& it) {
        it.deleteLocally(String("b"));
        it.deleteLocally(String("c"));
    }).upToDate);
    SyncTool::carry(first, second);

    // The second installation starts over (its tokens are gone) with an edit of one of them waiting.
    auto refetched = second.sync([](Installation& it) {
        it.delegate->setChangeToken(nullptr, Syncwright::CKServerChangeToken::Key::customRecordZone);
        it.delegate->setChangeToken(nullptr, Syncwright::CKServerChangeToken::Key::privateDatabase);
        it.setText(String("c"), String("Charlie, edited"));
    });
    EXPECT_EQ(notes(refetched), (Notes {{"a", "Alpha"}, {"c", "Charlie, edited"}}));

    // A later edit elsewhere brings nothing back, and the edited item reaches the other side.
    SyncTool::carry(second, first);
    auto later = first.sync([](Installation& it) { it.setText(String("a"), String("Alpha, edited")); });
    EXPECT_EQ(notes(later), (Notes {{"a", "Alpha, edited"}, {"c", "Charlie, edited"}}));
    SyncTool::carry(first, second);
    EXPECT_EQ(notes(second.sync()), (Notes {{"a", "Alpha, edited"}, {"c", "Charlie, edited"}}));
}

} // namespace

} // namespace SyncwrightTests
