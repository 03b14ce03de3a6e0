#include "Tests/Shared/Syncwright/SeparateInstallations.hpp"
#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/Foundation/Clock.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"

#include <future>

namespace SyncwrightTests {

namespace {

using Notes = std::map<std::string, std::string>;
namespace fs = std::filesystem;

// Installations in processes of their own, each with its copy of the container, carried by a file-sync
// tool; one of them edits until its batches are compacted into a snapshot.
class CompactionTests : public ContainerFixture {
protected:
    SeparateInstallation first {folderFor("first")};
    SeparateInstallation second {folderFor("second")};
    SeparateInstallation third {folderFor("third")};

    static fs::path folderFor(const std::string& name)
    {
        static int counter = 0;
        return fs::path(std::getenv("TMPDIR")) / ("compaction-" + std::to_string(::getpid()) + "-" + std::to_string(++counter)) / name;
    }
    static std::vector<std::string> files(const SeparateInstallation& installation, const std::string& extension)
    {
        std::vector<std::string> names;
        for (const auto& name : TestSupport::entryNames(installation.batches())) {
            if (name.ends_with(extension))
                names.push_back(name);
        }
        return names;
    }
    // Each edit is a sync of its own, so each makes a batch.
    static Summary edit(const SeparateInstallation& installation, int edits, const std::string& prefix, double ageFirst = 0,
                        const std::string& item = "a")
    {
        return installation.run([&](Installation& it) {
            if (ageFirst > 0)
                Foundation::Clock::advance(ageFirst);
            for (int index = 0; index < edits; ++index) {
                it.setText(String(item), String(prefix + std::to_string(index)));
                it.sync();
            }
            return SeparateInstallation::summary(it);
        });
    }
    // What a sync tool does with a file removed on one side: it removes it on the other.
    static void carryRemovals(const std::set<std::string>& before, const SeparateInstallation& from, const SeparateInstallation& to)
    {
        auto now = TestSupport::entryNames(from.batches());
        for (const auto& name : before) {
            if (std::find(now.begin(), now.end(), name) == now.end())
                fs::remove(to.batches() / name);
        }
    }
    static std::set<std::string> names(const SeparateInstallation& installation)
    {
        auto list = TestSupport::entryNames(installation.batches());
        return {list.begin(), list.end()};
    }
    static Notes notes(const Summary& summary)
    {
        if (!summary.notes)
            ADD_FAILURE() << summary.description();
        return summary.notes.value_or(Notes {});
    }
};

TEST_F(CompactionTests, ManyEditsOfOneItemLeaveAFolderTheSizeOfTheItemsAndANewInstallationReadsIt)
{
    ASSERT_TRUE(first.sync([](Installation& it) { it.add(String("a"), String("start")); it.add(String("b"), String("Bravo")); }).upToDate);
    auto edited = edit(first, 200, "edit ");
    ASSERT_TRUE(edited.upToDate) << edited.description();

    // Nobody else ever read the folder: what the snapshot covers is gone.
    EXPECT_EQ(files(first, ".snapshot").size(), 1u);
    EXPECT_LT(files(first, ".batch").size(), CloudKit::DatabaseFolder::changesBeforeSnapshot);

    SyncTool::carry(first, second);
    auto fresh = second.sync();
    EXPECT_TRUE(fresh.upToDate) << fresh.description();
    EXPECT_EQ(notes(fresh), (Notes {{"a", "edit 199"}, {"b", "Bravo"}}));

    // Both go on from there, each edit reaching the other.
    ASSERT_TRUE(second.sync([](Installation& it) { it.setText(String("b"), String("from second")); }).upToDate);
    SyncTool::carry(second, first);
    EXPECT_EQ(notes(first.sync()), (Notes {{"a", "edit 199"}, {"b", "from second"}}));
}

TEST_F(CompactionTests, AReaderMidWayAndAnInstallationAwayPastTheSnapshotConverge)
{
    ASSERT_TRUE(first.sync([](Installation& it) { it.add(String("a"), String("start")); it.add(String("b"), String("Bravo")); }).upToDate);
    for (const auto* other : {&second, &third}) {
        SyncTool::carry(first, *other);
        ASSERT_EQ(notes(other->sync()), (Notes {{"a", "start"}, {"b", "Bravo"}}));
        SyncTool::carry(*other, first);
    }

    // The second takes in part of the edits, then everything with the snapshot that covers them.
    ASSERT_TRUE(edit(first, 5, "early ").upToDate);
    SyncTool::carry(first, second);
    ASSERT_EQ(notes(second.sync()), (Notes {{"a", "early 4"}, {"b", "Bravo"}}));
    ASSERT_TRUE(first.sync([](Installation& it) { it.deleteLocally(String("b")); }).upToDate);
    ASSERT_TRUE(edit(first, 40, "late ").upToDate);
    ASSERT_FALSE(files(first, ".snapshot").empty());
    SyncTool::carry(first, second);
    auto midWay = second.sync();
    EXPECT_TRUE(midWay.upToDate) << midWay.description();
    EXPECT_EQ(notes(midWay), (Notes {{"a", "late 39"}}));

    // The third has not read the snapshot: the batches it covers stay while it is young.
    SyncTool::carry(second, first);
    ASSERT_TRUE(edit(first, 1, "kept ").upToDate);
    auto covered = files(first, ".batch").size();
    EXPECT_GT(covered, CloudKit::DatabaseFolder::changesBeforeSnapshot);

    // Meanwhile the third, away, adds an item of its own.
    ASSERT_TRUE(third.sync([](Installation& it) { it.add(String("c"), String("Charlie")); }).notes.has_value());

    // Once the snapshot is old, the next save removes them all the same.
    auto before = names(first);
    ASSERT_TRUE(edit(first, 1, "aged ", CloudKit::DatabaseFolder::supersededBatchesKeptFor + 3600).upToDate);
    EXPECT_LT(files(first, ".batch").size(), covered);

    // The sync tool brings the removals before the snapshot: the third never takes the loss for
    // deletions, and once everything arrived it converges.
    carryRemovals(before, first, third);
    auto partial = third.sync();
    EXPECT_FALSE(partial.upToDate) << partial.description();
    EXPECT_EQ(notes(partial).count("c"), 1u);
    SyncTool::carry(first, third);
    auto back = third.sync();
    EXPECT_TRUE(back.upToDate) << back.description();
    EXPECT_EQ(notes(back), (Notes {{"a", "aged 0"}, {"c", "Charlie"}}));

    SyncTool::carry(third, first);
    SyncTool::carry(third, second);
    EXPECT_EQ(notes(first.sync()), (Notes {{"a", "aged 0"}, {"c", "Charlie"}}));
    EXPECT_EQ(notes(second.sync()), (Notes {{"a", "aged 0"}, {"c", "Charlie"}}));
}

TEST_F(CompactionTests, AResetTheSnapshotCoversIsStillAnnounced)
{
    ASSERT_TRUE(first.sync([](Installation& it) { it.add(String("a"), String("start")); it.add(String("b"), String("Bravo")); }).upToDate);
    SyncTool::carry(first, second);
    ASSERT_EQ(notes(second.sync()), (Notes {{"a", "start"}, {"b", "Bravo"}}));

    auto reset = first.run([](Installation& it) {
        std::promise<Foundation::Result<void>> deleted;
        it.remote->deleteRemoteData(Foundation::DispatchQueue::global(), [&](const auto& result) { deleted.set_value(result); });
        if (!deleted.get_future().get().isSuccess())
            return Summary::throwing("the reset failed");
        it.sync();
        it.add(String("c"), String("Charlie"));
        it.sync();
        return SeparateInstallation::summary(it);
    });
    ASSERT_FALSE(reset.thrown) << reset.description();
    auto edited = edit(first, 40, "after reset ", 0, "c");
    ASSERT_TRUE(edited.upToDate) << reset.description() << " / " << edited.description();
    ASSERT_FALSE(files(first, ".snapshot").empty());

    SyncTool::carry(first, second);
    auto told = second.sync();
    EXPECT_FALSE(told.upToDate) << told.description();
    EXPECT_EQ(told.deletedZones.size(), 1u) << told.description();
    // Taken in by the second, the reset is as it was before the snapshot: announced, nothing local lost.
    EXPECT_EQ(notes(told), (Notes {{"a", "start"}, {"b", "Bravo"}}));
}

// A reader of a snapshot keeps its records once, and a batch that arrives late from a machine away
// (it sorts before batches already applied past the snapshot) makes the reader apply everything again on
// the snapshot's records and reads the batches past it again, in the same process: none of them is
// lost or goes back, and one damaged since it was first read is reported until it is repaired.
TEST_F(CompactionTests, ABatchArrivingLateAtAReaderOfASnapshotKeepsTheSnapshotsItems)
{
    ASSERT_TRUE(first.sync([](Installation& it) { it.add(String("a"), String("start")); it.add(String("b"), String("Bravo")); }).upToDate);
    SyncTool::carry(first, third);
    ASSERT_TRUE(third.sync([](Installation& it) { it.add(String("c"), String("Charlie")); }).upToDate);
    ASSERT_TRUE(edit(first, 40, "edit ").upToDate);
    ASSERT_FALSE(files(first, ".snapshot").empty());
    ASSERT_FALSE(files(first, ".batch").empty()) << "batches past the snapshot, which the late one sorts before";
    SyncTool::carry(first, second);

    auto late = second.run([&](Installation& it) {
        it.sync();
        auto before = it.notes();
        if (before != Notes {{"a", "edit 39"}, {"b", "Bravo"}})
            return Summary::throwing("the snapshot read as " + SeparateInstallation::summary(it).description());
        // Meanwhile a batch it read was damaged where it lies: applying everything again meets the
        // damage, which counts until it is repaired.
        auto newest = batchNames(second.batches()).back();
        auto bytes = TestSupport::readText(second.batches() / newest);
        auto damaged = bytes;
        SyncTool::flipBit(damaged.size() / 2, 2)(damaged);
        TestSupport::writeText(second.batches() / newest, damaged);
        SyncTool::carry(third, second);
        it.sync();
        auto withDamage = SeparateInstallation::summary(it);
        if (withDamage.upToDate || withDamage.description().find(newest) == std::string::npos)
            return Summary::throwing("the damage went unreported: " + withDamage.description());
        TestSupport::writeText(second.batches() / newest, bytes);
        it.sync();
        return SeparateInstallation::summary(it);
    });
    EXPECT_TRUE(late.upToDate) << late.description();
    EXPECT_EQ(notes(late), (Notes {{"a", "edit 39"}, {"b", "Bravo"}, {"c", "Charlie"}}));
}

// A start over a folder that nothing changed in since the last sync opens none of its files, however
// many edits they hold; anything new, or a file damaged since, is read again and reported.
TEST_F(CompactionTests, AStartOverAnUnchangedFolderOpensNoFile)
{
    ASSERT_TRUE(first.sync([](Installation& it) { it.add(String("a"), String("start")); it.add(String("b"), String("Bravo")); }).upToDate);
    ASSERT_TRUE(edit(first, 40, "edit ").upToDate);
    ASSERT_FALSE(files(first, ".snapshot").empty());
    SyncTool::carry(first, second);
    // The program keeps that it made the zone; the test's installations do not.
    auto start = [&] { return second.sync([](Installation& it) { it.delegate->didCreateCustomRecordZone(); }); };
    auto fresh = start();
    ASSERT_TRUE(fresh.upToDate) << fresh.description();
    EXPECT_GT(fresh.filesRead, 0);

    auto again = start();
    EXPECT_TRUE(again.upToDate) << again.description();
    EXPECT_EQ(again.filesRead, 0);
    EXPECT_EQ(notes(again), (Notes {{"a", "edit 39"}, {"b", "Bravo"}}));

    ASSERT_TRUE(first.sync([](Installation& it) { it.add(String("c"), String("Charlie")); }).upToDate);
    SyncTool::carry(first, second);
    auto later = start();
    EXPECT_TRUE(later.upToDate) << later.description();
    EXPECT_GT(later.filesRead, 0);
    EXPECT_EQ(notes(later).count("c"), 1u);
    EXPECT_EQ(start().filesRead, 0);

    // A file this installation took in and that was damaged since where it lies.
    auto newest = batchNames(second.batches()).back();
    auto bytes = TestSupport::readText(second.batches() / newest);
    SyncTool::flipBit(bytes.size() / 2, 2)(bytes);
    TestSupport::writeText(second.batches() / newest, bytes);
    auto damaged = start();
    EXPECT_FALSE(damaged.upToDate);
    EXPECT_NE(damaged.description().find(newest), std::string::npos) << damaged.description();
    EXPECT_FALSE(start().upToDate);
}

} // namespace

} // namespace SyncwrightTests
