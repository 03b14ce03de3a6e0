#include "Tests/Shared/Syncwright/ItemInstallation.hpp"
#include "Tests/Shared/Syncwright/SeparateInstallations.hpp"
#include "Tests/Shared/Syncwright/SyncwrightFixture.hpp"

#include "Shared/Crypto/Cryptor.Key.hpp"
#include "Platform/Foundation/Clock.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"

#include <array>
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

// What an item installation's process answers: each item's password, then every text its history and
// merged-away values keep; under "" the status its last sync ended with.
using Traces = std::map<std::string, std::vector<std::string>>;

// Inside the installation's process: unlocks the account's vault key, makes `change`, syncs at `at`
// seconds past the start of the clock, and hands the items and the sync's status to `read`.
template <typename Read>
std::string syncHere(const SeparateInstallation& installation, double at, const std::function<void(ItemInstallation&)>& change, Read read)
{
    Foundation::Clock::advance(at);
    auto notificationCenter = Foundation::NotificationCenter::defaultCenter();
    auto preferences = Shared::PreferenceStore::initialize(Foundation::UserDefaults::withSuiteName(String("Convergence.account")), notificationCenter);
    auto cryptor = Foundation::make<Shared::Cryptor>(notificationCenter);
    std::array<std::uint8_t, Shared::Cryptor::Key::byteCount> key {};
    key.fill(29);
    cryptor->unlock(Shared::Cryptor::Key::fromBytes(key.data(), key.size()));
    ItemInstallation items(notificationCenter, cryptor, preferences, installation.root() / "store");
    if (change)
        change(items);
    auto result = items.sync();
    auto status = items.delegate->lastStatus();
    return read(items, result.isSuccess() && status.is<SyncStatus::UpToDate>() ? std::string("up to date") : status.description());
}

// What the items keep of every password: the current one, its history and the values merged away.
std::string syncItemsHere(const SeparateInstallation& installation, const std::function<void(ItemInstallation&)>& change, double at)
{
    return syncHere(installation, at, change, [](ItemInstallation& items, const std::string& status) {
        Traces traces;
        traces[""] = {status};
        for (const auto& entry : items.entries()) {
            auto& trace = traces[entry.id.utf8()];
            trace.push_back(entry.password.utf8());
            for (const auto& previous : entry.passwordHistory)
                trace.push_back(previous.text.utf8());
            for (const auto& [field, values] : entry.mergedAwayValues) {
                for (const auto& previous : values)
                    trace.push_back(previous.text.utf8());
            }
        }
        return std::string(Foundation::make<Foundation::JSONEncoder>()->encode(traces).view());
    });
}

// One sync of the record store's items in the installation's own process, after `change`.
Traces syncItems(const SeparateInstallation& installation, double at, const std::function<void(ItemInstallation&)>& change = {})
{
    auto answer = installation.inOwnProcess([&]() -> std::string {
        auto failed = [](const std::string& what) { return std::string(Foundation::make<Foundation::JSONEncoder>()->encode(Traces {{"", {what}}}).view()); };
        try {
            return syncItemsHere(installation, change, at);
        } catch (const Foundation::Error& error) {
            return failed(error.description());
        } catch (const std::exception& error) {
            return failed(error.what());
        }
    });
    try {
        return Foundation::make<Foundation::JSONDecoder>()->decode<Traces>(Foundation::Data::fromString(answer));
    } catch (const Foundation::Error&) {
        return {{"", {"the installation's process ended without an answer"}}};
    }
}

// The same with the record store's items, whose passwords keep their history: every password typed
// into an item nobody deleted is, on every installation, the item's password or in its history.
TEST_F(ConvergenceTests, EveryPasswordTypedIsInItsItemOrItsHistoryOnEveryInstallation)
{
    const char* asked = std::getenv("CORVENDALE_SYNC_STEPS");
    const int steps = asked ? std::atoi(asked) : 45;
    auto root = m_folder / "items";
    std::vector<SeparateInstallation> installations {SeparateInstallation(root / "a"), SeparateInstallation(root / "b"), SeparateInstallation(root / "c")};
    std::mt19937 random(2929);
    auto pick = [&](int count) { return std::uniform_int_distribution(0, count - 1)(random); };
    int typed = 0;
    int added = 0;
    std::map<std::string, std::vector<std::string>> typedInto;
    std::set<std::string> deleted;
    std::vector<Traces> known(3);
    auto itemID = [](int index) {
        char text[40];
        std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012d", index);
        return std::string(text);
    };

    for (int step = 0; step < steps; ++step) {
        auto index = static_cast<std::size_t>(pick(3));
        auto& installation = installations[index];
        switch (pick(4)) {
        case 0:
        case 1: {
            // Items this installation had at its last sync; a new one now and then.
            std::vector<std::string> ids;
            for (const auto& [id, trace] : known[index]) {
                if (!id.empty())
                    ids.push_back(id);
            }
            auto text = "typed " + std::to_string(++typed);
            std::string id = ids.empty() || pick(4) == 0 ? itemID(++added) : ids[static_cast<std::size_t>(pick(static_cast<int>(ids.size())))];
            bool isNew = !known[index].contains(id);
            bool remove = !isNew && pick(6) == 0;
            // Each step a minute later, as edits on real clocks are.
            known[index] = syncItems(installation, step * 60.0, [&](ItemInstallation& it) {
                if (isNew) {
                    auto entry = Shared::Entry::make(Shared::Entry::Category::login, Foundation::Date::now());
                    entry.id = String(id);
                    entry.title = "Item";
                    entry.password = String(text);
                    it.records->insertEntries({entry}, {});
                } else if (remove) {
                    it.records->permanentlyDelete({String(id)});
                } else if (it.records->containsEntry(String(id))) {
                    auto editing = it.records->makeEditingContext();
                    editing->setText(String(text), Shared::Entry::SystemField::ID::password, String(id));
                    editing->save();
                }
            });
            if (remove)
                deleted.insert(id);
            else
                typedInto[id].push_back(text);
            ASSERT_TRUE(known[index].contains("")) << step;
            break;
        }
        case 2: {
            auto& to = installations[static_cast<std::size_t>(pick(3))];
            if (&to == &installation)
                break;
            std::map<std::string, SyncTool::Damage> damage;
            auto names = batchNames(installation.batches());
            if (!names.empty() && pick(3) == 0)
                damage[names[static_cast<std::size_t>(pick(static_cast<int>(names.size())))]] = pick(2) ? SyncTool::cutInHalf() : SyncTool::flipBit(static_cast<std::size_t>(pick(4096)), pick(8));
            SyncTool::carry(installation, to, damage);
            break;
        }
        default:
            known[index] = syncItems(installation, step * 60.0);
            break;
        }
    }

    for (int round = 0; round < 4; ++round) {
        for (auto& from : installations) {
            for (auto& to : installations) {
                if (&from != &to)
                    SyncTool::carry(from, to);
            }
        }
        for (std::size_t index = 0; index < installations.size(); ++index)
            known[index] = syncItems(installations[index], steps * 60.0 + round);
    }
    for (const auto& traces : known)
        EXPECT_EQ(traces.at("").front(), "up to date");
    auto passwords = [](const Traces& traces) {
        std::map<std::string, std::string> current;
        for (const auto& [id, trace] : traces) {
            if (!id.empty())
                current[id] = trace.front();
        }
        return current;
    };
    EXPECT_EQ(passwords(known[0]), passwords(known[1]));
    EXPECT_EQ(passwords(known[0]), passwords(known[2]));
    for (const auto& [id, texts] : typedInto) {
        if (deleted.contains(id) || texts.size() > Shared::Entry::maximumHistoryCount)
            continue;
        for (std::size_t index = 0; index < known.size(); ++index) {
            auto found = known[index].find(id);
            ASSERT_NE(found, known[index].end()) << id << " is missing on installation " << index;
            for (const auto& text : texts)
                EXPECT_NE(std::find(found->second.begin(), found->second.end(), text), found->second.end()) << text << " of " << id << " is lost on installation " << index;
        }
    }
}

// What an item installation's process answers about one item: its fields under their names, what merges
// kept of them under "kept <name>", and under "" the status of its last sync.
using ItemView = std::map<std::string, std::vector<std::string>>;

ItemView syncItem(const SeparateInstallation& installation, double at, const std::string& id, const std::function<void(ItemInstallation&)>& change = {})
{
    auto answer = installation.inOwnProcess([&]() -> std::string {
        return syncHere(installation, at, change, [&](ItemInstallation& items, const std::string& status) {
            ItemView view;
            view[""] = {status};
            if (auto entry = items.records->entry(String(id))) {
                view["title"] = {entry->title.utf8()};
                view["notes"] = {entry->notes.utf8()};
                view["password"] = {entry->password.utf8()};
                for (const auto& [field, values] : entry->mergedAwayValues) {
                    for (const auto& value : values)
                        view["kept " + field].push_back(value.text.utf8());
                }
                for (const auto& value : entry->passwordHistory)
                    view["kept password"].push_back(value.text.utf8());
            }
            return std::string(Foundation::make<Foundation::JSONEncoder>()->encode(view).view());
        });
    });
    try {
        return Foundation::make<Foundation::JSONDecoder>()->decode<ItemView>(Foundation::Data::fromString(answer));
    } catch (const Foundation::Error&) {
        return {{"", {"the installation's process ended without an answer"}}};
    }
}

// Two installations in processes of their own, their folders carried by a file-sync tool: a change made
// on one side only is taken as it is and nothing goes back; texts changed on both sides converge on the
// later one and keep the earlier in the item; an edit meets a deletion made elsewhere and the item stays.
TEST_F(ConvergenceTests, ValuesTypedApartAreKeptAndAChangeFromOneSideGoesNowhereBack)
{
    auto root = m_folder / "apart";
    SeparateInstallation first(root / "a");
    SeparateInstallation second(root / "b");
    const std::string bank = "00000000-0000-4000-8000-000000000001";
    const std::string mail = "00000000-0000-4000-8000-000000000002";
    auto add = [](const std::string& id, const char* title) {
        return [=](ItemInstallation& it) {
            auto entry = Shared::Entry::make(Shared::Entry::Category::login, Foundation::Date::now());
            entry.id = String(id);
            entry.title = title;
            entry.password = "first";
            it.records->insertEntries({entry}, {});
        };
    };
    auto edit = [](const std::string& id, std::vector<std::pair<Shared::Entry::SystemField::ID, std::string>> texts) {
        return [=](ItemInstallation& it) {
            auto editing = it.records->makeEditingContext();
            for (const auto& [field, text] : texts)
                editing->setText(String(text), field, String(id));
            editing->save();
        };
    };
    using Field = Shared::Entry::SystemField::ID;
    auto both = [&] {
        SyncTool::carry(first, second);
        SyncTool::carry(second, first);
    };
    auto device = [](const SeparateInstallation& installation) { return TestSupport::readText(installation.root() / "state" / "CloudKit" / "DeviceIdentifier"); };
    auto written = [&](const SeparateInstallation& by, const SeparateInstallation& in) {
        auto names = batchNames(in.batches());
        return std::count_if(names.begin(), names.end(), [&](const std::string& name) { return name.starts_with(device(by) + "-"); });
    };

    ASSERT_EQ(syncItem(first, 0, bank, [&](ItemInstallation& it) { add(bank, "Bank")(it); add(mail, "Mail")(it); })[""].front(), "up to date");
    both();
    ASSERT_EQ(syncItem(second, 60, bank)["title"], std::vector<std::string> {"Bank"});
    both();

    // A secret changed on one side: the other takes it as it is and writes nothing.
    for (int round = 0; round < 3; ++round) {
        auto secret = "secret " + std::to_string(round);
        ASSERT_EQ(syncItem(first, 120 + round * 60, bank, edit(bank, {{Field::password, secret}}))[""].front(), "up to date");
        SyncTool::carry(first, second);
        auto before = written(second, second);
        auto taken = syncItem(second, 150 + round * 60, bank);
        EXPECT_EQ(taken[""].front(), "up to date");
        EXPECT_EQ(taken["password"], std::vector<std::string> {secret});
        EXPECT_EQ(written(second, second), before) << "round " << round;
    }
    both();

    // Texts changed on both sides before either heard of the other, and an edit of an item the other
    // side deleted meanwhile.
    syncItem(first, 600, bank, [&](ItemInstallation& it) {
        edit(bank, {{Field::title, "Bank, here"}, {Field::notes, "notes typed here"}})(it);
        it.records->permanentlyDelete({String(mail)});
    });
    syncItem(second, 660, bank, [&](ItemInstallation& it) {
        edit(bank, {{Field::title, "Bank, there"}, {Field::notes, "notes typed there"}})(it);
        edit(mail, {{Field::password, "typed into the deleted one"}})(it);
    });
    std::vector<ItemView> last(2);
    for (int round = 0; round < 3; ++round) {
        both();
        last[0] = syncItem(first, 720 + round * 60, bank);
        both();
        last[1] = syncItem(second, 750 + round * 60, bank);
    }
    for (const auto& view : last) {
        EXPECT_EQ(view.at("").front(), "up to date");
        EXPECT_EQ(view.at("title"), std::vector<std::string> {"Bank, there"});
        EXPECT_EQ(view.at("notes"), std::vector<std::string> {"notes typed there"});
        auto keeps = [&](const std::string& field, const std::string& text) {
            auto found = view.find("kept " + field);
            return found != view.end() && std::find(found->second.begin(), found->second.end(), text) != found->second.end();
        };
        EXPECT_TRUE(keeps("title", "Bank, here"));
        EXPECT_TRUE(keeps("notes", "notes typed here"));
    }
    EXPECT_EQ(last[0], last[1]);
    auto kept = syncItem(first, 1000, mail);
    EXPECT_EQ(kept["password"], std::vector<std::string> {"typed into the deleted one"});
    EXPECT_EQ(syncItem(second, 1010, mail)["password"], std::vector<std::string> {"typed into the deleted one"});
}

} // namespace

} // namespace SyncwrightTests
