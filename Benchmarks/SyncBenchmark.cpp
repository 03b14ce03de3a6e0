// Times the sync engine between two installations of one container, each in a process of its own as on
// two machines: the first sync of 10,000 items to an empty installation, and an incremental sync of 10
// changes against 10,000. Once with the engine's own toy records (notes), once with the record store's
// sealed items, which the store decrypts, merges and indexes as they arrive. Then the first sync of a
// newly started installation after one edit of one item and after 2,000: the container must not make it
// pay for the edits. Then the memory a process takes for a sync of 100,000 items: a new installation's
// first, and a synced installation's next after a change elsewhere, which reads the whole container.
// A small timing program (release preset): it runs itself as the other installations.
#include "Tests/Shared/Syncwright/ItemInstallation.hpp"

#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using SyncwrightTests::Installation;
using SyncwrightTests::ItemInstallation;

constexpr int itemCount = 10000;
constexpr int changeCount = 10;
constexpr int manyEdits = 2000;
constexpr int manyItems = 100000;

Foundation::String itemID(int index)
{
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012d", index);
    return text;
}

// The changed items are spread over the whole set.
int changedIndex(int change)
{
    return change * 997;
}

// Both installations hold the account's vault key.
struct Account {
    std::shared_ptr<Foundation::NotificationCenter> notificationCenter = Foundation::NotificationCenter::defaultCenter();
    std::shared_ptr<Shared::PreferenceStore> preferenceStore =
        Shared::PreferenceStore::initialize(Foundation::UserDefaults::withSuiteName(Foundation::String("SyncBenchmark.account")), notificationCenter);
    std::shared_ptr<Shared::Cryptor> cryptor = Foundation::make<Shared::Cryptor>(notificationCenter);

    Account()
    {
        std::array<std::uint8_t, Shared::Cryptor::Key::byteCount> bytes {};
        bytes.fill(7);
        cryptor->unlock(Shared::Cryptor::Key::fromBytes(bytes.data(), bytes.size()));
    }
};

int runNotes(const std::filesystem::path& folder, bool adding)
{
    Installation installation(folder);
    installation.edit([&](auto& context) {
        if (adding) {
            for (int index = 0; index < itemCount; ++index)
                SyncwrightTests::insertNote(context, itemID(index), "The text of a note, as long as a short note is.");
        } else {
            for (int change = 0; change < changeCount; ++change)
                SyncwrightTests::Note::find(CloudKit::CKRecordID(itemID(changedIndex(change))), context)->setText("Changed");
        }
    });
    return installation.sync().isSuccess() ? 0 : 1;
}

int runItems(const std::filesystem::path& folder, bool adding, int count = itemCount)
{
    Account account;
    ItemInstallation installation(account.notificationCenter, account.cryptor, account.preferenceStore, folder);
    if (adding) {
        std::vector<Shared::Entry> entries;
        auto now = Foundation::Date::now();
        for (int index = 0; index < count; ++index) {
            auto entry = Shared::Entry::make(Shared::Entry::Category::login, now);
            entry.id = itemID(index);
            entry.title = Foundation::String("Account " + std::to_string(index));
            entry.username = "someone@example.com";
            entry.password = "correct horse battery staple";
            entry.website = "https://example.com";
            entries.push_back(std::move(entry));
        }
        installation.records->insertEntries(entries, {});
    } else {
        auto editing = installation.records->makeEditingContext();
        for (int change = 0; change < changeCount; ++change)
            editing->setText("Changed", Shared::Entry::SystemField::ID::title, itemID(changedIndex(change)));
        editing->save();
    }
    return installation.sync().isSuccess() ? 0 : 1;
}

// Adds one item, or edits it `edits` times, each edit a sync of its own.
int runEdits(const std::filesystem::path& folder, int edits)
{
    Account account;
    ItemInstallation installation(account.notificationCenter, account.cryptor, account.preferenceStore, folder);
    if (edits == 0) {
        auto entry = Shared::Entry::make(Shared::Entry::Category::login, Foundation::Date::now());
        entry.id = itemID(0);
        entry.title = "Edited";
        entry.password = "first";
        installation.records->insertEntries({entry}, {});
        return installation.sync().isSuccess() ? 0 : 1;
    }
    for (int edit = 0; edit < edits; ++edit) {
        auto editing = installation.records->makeEditingContext();
        editing->setText(Foundation::String("password " + std::to_string(edit)), Shared::Entry::SystemField::ID::password, itemID(0));
        editing->save();
        if (!installation.sync().isSuccess())
            return 1;
    }
    return 0;
}

// A newly started installation's first sync, timed inside its process; the time goes to a file.
int runFirstSync(const std::filesystem::path& folder)
{
    Account account;
    auto start = Clock::now();
    ItemInstallation installation(account.notificationCenter, account.cryptor, account.preferenceStore, folder);
    bool ok = installation.sync().isSuccess() && installation.records->allEntries().size() == 1;
    auto elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    auto file = std::fopen((folder / "milliseconds").c_str(), "w");
    if (!file)
        return 1;
    std::fprintf(file, "%f", elapsed);
    std::fclose(file);
    return ok ? 0 : 1;
}

// A sync of many items in a process of its own: its time and the process's peak memory go to a file.
int runManySync(const std::filesystem::path& folder)
{
    Account account;
    auto start = Clock::now();
    ItemInstallation installation(account.notificationCenter, account.cryptor, account.preferenceStore, folder);
    // Counted in the list's index, which the program holds once unlocked.
    bool ok = installation.sync().isSuccess() && installation.records->count(Shared::Entry::Filter::allItems()) == manyItems;
    auto elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    auto file = std::fopen((folder / "figures").c_str(), "w");
    if (!file)
        return 1;
    std::fprintf(file, "%f %ld", elapsed, usage.ru_maxrss);
    std::fclose(file);
    return ok ? 0 : 1;
}

bool runItself(const std::filesystem::path& root, const char* mode, const std::string& installationName = "other")
{
    // Each installation is a device of its own.
    ::setenv("XDG_STATE_HOME", (root / ("state-" + installationName)).c_str(), 1);
    std::string self = std::filesystem::read_symlink("/proc/self/exe");
    std::string folder = (root / installationName).string();
    std::vector<char*> arguments {self.data(), const_cast<char*>(mode), folder.data(), nullptr};
    pid_t child = 0;
    bool spawned = posix_spawn(&child, self.c_str(), nullptr, nullptr, arguments.data(), environ) == 0;
    ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
    int status = 0;
    return spawned && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double milliseconds(const std::function<bool()>& sync, bool& ok)
{
    auto start = Clock::now();
    ok = sync() && ok;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
    double first = 0;
    double incremental = 0;
    bool ok = true;
};

// The other installation adds the items; this one syncs them all; the other changes some; this one
// syncs the changes.
template <class MeasuredInstallation, class Count, class IsChanged>
Figures measure(const std::filesystem::path& root, const char* addMode, const char* changeMode,
                const std::function<std::unique_ptr<MeasuredInstallation>(const std::filesystem::path&)>& make, Count count, IsChanged isChanged)
{
    Figures figures;
    figures.ok = runItself(root, addMode);
    std::filesystem::create_directories(root / "measured");
    auto installation = make(root / "measured");
    figures.first = milliseconds([&] { return installation->sync().isSuccess(); }, figures.ok);
    figures.ok = figures.ok && count(*installation) == itemCount && runItself(root, changeMode);
    figures.incremental = milliseconds([&] { return installation->sync().isSuccess(); }, figures.ok);
    figures.ok = figures.ok && isChanged(*installation);
    return figures;
}

std::filesystem::path scratchFolder()
{
    char scratch[] = "/tmp/SyncBenchmark.XXXXXX";
    if (!mkdtemp(scratch))
        std::exit(1);
    std::filesystem::path root(scratch);
    for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        ::setenv(variable, root.c_str(), 1);
    ::setenv("XDG_STATE_HOME", (root / "state").c_str(), 1);
    ::setenv("CORVENDALE_CLOUDKIT_FOLDER", (root / "containers").c_str(), 1);
    return root;
}

void print(const char* what, const Figures& figures)
{
    std::printf("%s\n", what);
    std::printf("  first sync of %d items to an empty installation: %8.1f ms (aim: under 500 ms)\n", itemCount, figures.first);
    std::printf("  incremental sync of %d changes against %d:        %8.1f ms (aim: under 20 ms)\n", changeCount, itemCount, figures.incremental);
    if (!figures.ok)
        std::printf("  the syncs did not bring the items across\n");
}

struct EditFigures {
    double afterOne = 0;
    double afterMany = 0;
    std::size_t files = 0;
    bool ok = true;
};

// The best of a few newly started installations' first syncs.
double firstSyncOfNewInstallations(const std::filesystem::path& root, const std::string& name, bool& ok)
{
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        auto installation = name + "-" + std::to_string(run);
        ok = runItself(root, "--first-sync", installation) && ok;
        double measured = 0;
        if (auto file = std::fopen((root / installation / "milliseconds").c_str(), "r")) {
            ok = std::fscanf(file, "%lf", &measured) == 1 && ok;
            std::fclose(file);
        }
        best = run == 0 ? measured : std::min(best, measured);
    }
    return best;
}

EditFigures measureEdits(const std::filesystem::path& root)
{
    EditFigures figures;
    figures.ok = runItself(root, "--add-one") && runItself(root, "--edit-once");
    figures.afterOne = firstSyncOfNewInstallations(root, "after-one", figures.ok);
    figures.ok = runItself(root, "--edit-many") && figures.ok;
    figures.afterMany = firstSyncOfNewInstallations(root, "after-many", figures.ok);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / "containers"))
        figures.files += entry.is_regular_file();
    return figures;
}

struct MemoryFigures {
    double first = 0;
    double firstMiB = 0;
    double next = 0;
    double nextMiB = 0;
    bool ok = true;
};

MemoryFigures measureMemory(const std::filesystem::path& root)
{
    MemoryFigures figures;
    auto measuredSync = [&](double& milliseconds, double& mebibytes) {
        figures.ok = runItself(root, "--sync-many", "measured") && figures.ok;
        long kibibytes = 0;
        if (auto file = std::fopen((root / "measured" / "figures").c_str(), "r")) {
            figures.ok = std::fscanf(file, "%lf %ld", &milliseconds, &kibibytes) == 2 && figures.ok;
            std::fclose(file);
        }
        mebibytes = kibibytes / 1024.0;
    };
    figures.ok = runItself(root, "--add-many-items");
    measuredSync(figures.first, figures.firstMiB);
    figures.ok = runItself(root, "--change-items") && figures.ok;
    measuredSync(figures.next, figures.nextMiB);
    return figures;
}

void print(const MemoryFigures& figures)
{
    std::printf("A sync of %d items in a process of its own (its peak memory):\n", manyItems);
    std::printf("  a new installation's first:                     %8.1f ms %8.1f MiB\n", figures.first, figures.firstMiB);
    std::printf("  a synced one's next, after %d changes elsewhere: %8.1f ms %8.1f MiB\n", changeCount, figures.next, figures.nextMiB);
    if (!figures.ok)
        std::printf("  the syncs did not bring the items across\n");
}

void print(const EditFigures& figures)
{
    std::printf("A newly started installation's first sync of one item:\n");
    std::printf("  after one edit:                                 %8.1f ms\n", figures.afterOne);
    std::printf("  after %d edits:                               %8.1f ms (aim: no slower than after one; %zu files in the container)\n",
                manyEdits + 1, figures.afterMany, figures.files);
    if (!figures.ok)
        std::printf("  the syncs did not bring the item across\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3) {
        std::string mode = argv[1];
        std::filesystem::create_directories(argv[2]);
        if (mode == "--add-notes" || mode == "--change-notes")
            return runNotes(argv[2], mode == "--add-notes");
        if (mode == "--add-one" || mode == "--edit-once" || mode == "--edit-many")
            return runEdits(argv[2], mode == "--add-one" ? 0 : mode == "--edit-once" ? 1 : manyEdits);
        if (mode == "--first-sync")
            return runFirstSync(argv[2]);
        if (mode == "--add-many-items")
            return runItems(argv[2], true, manyItems);
        if (mode == "--sync-many")
            return runManySync(argv[2]);
        return runItems(argv[2], mode == "--add-items");
    }

    // One part alone when named: notes, items, edits or memory.
    std::string only = argc == 2 ? argv[1] : "";
    auto runs = [&](const char* part) { return only.empty() || only == part; };
    bool ok = true;
    if (runs("notes")) {
        auto root = scratchFolder();
        auto notes = measure<Installation>(
            root, "--add-notes", "--change-notes", [](const auto& folder) { return std::make_unique<Installation>(folder); },
            [](Installation& installation) { return installation.notes().size(); },
            [](Installation& installation) { return installation.notes()[itemID(changedIndex(changeCount - 1)).utf8()] == "Changed"; });
        std::filesystem::remove_all(root);
        print("The sync engine with its own records:", notes);
        ok = ok && notes.ok;
    }
    if (runs("items")) {
        auto root = scratchFolder();
        Account account;
        auto items = measure<ItemInstallation>(
            root, "--add-items", "--change-items",
            [&](const auto& folder) { return std::make_unique<ItemInstallation>(account.notificationCenter, account.cryptor, account.preferenceStore, folder); },
            [](ItemInstallation& installation) { return installation.records->allEntries().size(); },
            [](ItemInstallation& installation) { return installation.records->entry(itemID(changedIndex(changeCount - 1)))->title == "Changed"; });
        std::filesystem::remove_all(root);
        print("The sync engine with the record store's sealed items:", items);
        ok = ok && items.ok;
    }
    if (runs("edits")) {
        auto root = scratchFolder();
        auto edits = measureEdits(root);
        std::filesystem::remove_all(root);
        print(edits);
        ok = ok && edits.ok;
    }
    if (runs("memory")) {
        auto root = scratchFolder();
        auto memory = measureMemory(root);
        std::filesystem::remove_all(root);
        print(memory);
        ok = ok && memory.ok;
    }
    return ok ? 0 : 1;
}
