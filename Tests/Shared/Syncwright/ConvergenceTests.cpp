#include "Tests/Shared/Syncwright/SeparateInstallations.hpp"
#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include <random>

namespace SyncwrightTests {

namespace {

using Notes = std::map<std::string, std::string>;

class ConvergenceTests : public ContainerFixture { };

// Three installations edit, add and delete at random, sync at random, and a file-sync tool carries
// their folders between them, now and then damaging a file it repairs later: once everything is
// carried whole, all three hold the same notes. CORVENDALE_SYNC_STEPS asks for a longer run.
TEST_F(ConvergenceTests, ThreeInstallationsConvergeThroughDamageAndRepair)
{
    const char* asked = std::getenv("CORVENDALE_SYNC_STEPS");
    const int steps = asked ? std::atoi(asked) : 45;
    auto root = m_folder / "three";
    std::vector<SeparateInstallation> installations {SeparateInstallation(root / "a"), SeparateInstallation(root / "b"), SeparateInstallation(root / "c")};
    std::mt19937 random(29);
    auto pick = [&](int count) { return std::uniform_int_distribution(0, count - 1)(random); };
    int typed = 0;

    for (int step = 0; step < steps; ++step) {
        auto& installation = installations[pick(3)];
        switch (pick(4)) {
        case 0:
        case 1: {
            // A few local changes, then a sync.
            auto id = "n" + std::to_string(pick(6));
            auto text = "typed " + std::to_string(++typed);
            bool remove = pick(5) == 0;
            auto summary = installation.sync([&](Installation& it) {
                auto notes = it.notes();
                if (!notes.contains(id))
                    it.add(String(id), String(text));
                else if (remove)
                    it.deleteLocally(String(id));
                else
                    it.setText(String(id), String(text));
            });
            ASSERT_TRUE(summary.notes) << summary.description();
            break;
        }
        case 2: {
            auto& to = installations[pick(3)];
            if (&to == &installation)
                break;
            std::map<std::string, SyncTool::Damage> damage;
            auto names = batchNames(installation.batches());
            if (!names.empty() && pick(3) == 0)
                damage[names[pick(static_cast<int>(names.size()))]] = pick(2) ? SyncTool::cutInHalf() : SyncTool::flipBit(pick(4096), pick(8));
            SyncTool::carry(installation, to, damage);
            break;
        }
        default:
            ASSERT_TRUE(installation.sync().notes);
            break;
        }
    }

    // Everything carried whole everywhere, a few times round: all agree and every sync is clean.
    std::vector<Summary> last(3);
    for (int round = 0; round < 3; ++round) {
        for (auto& from : installations) {
            for (auto& to : installations) {
                if (&from != &to)
                    SyncTool::carry(from, to);
            }
        }
        for (std::size_t index = 0; index < installations.size(); ++index)
            last[index] = installations[index].sync();
    }
    for (auto& from : installations) {
        for (auto& to : installations) {
            if (&from != &to)
                SyncTool::carry(from, to);
        }
    }
    for (std::size_t index = 0; index < installations.size(); ++index)
        last[index] = installations[index].sync();
    for (const auto& summary : last)
        EXPECT_TRUE(summary.upToDate) << summary.description();
    ASSERT_TRUE(last[0].notes);
    EXPECT_EQ(last[0].notes, last[1].notes);
    EXPECT_EQ(last[0].notes, last[2].notes);
}

} // namespace

} // namespace SyncwrightTests
