// A vault of 10,000 items in the record store: how long unlocking (the key derivation aside) and showing
// the first list take, and each filter, sort and search keystroke after it. Aims: unlock and first list
// under 50 ms, a search keystroke under 5 ms. The unlock is timed in a fresh process each time, as a person
// meets it after a launch: opening the store (the launch) apart, then the vault key and the first list.
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Crypto/Cryptor.hpp"
#include "Shared/Model/Global.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/Foundation/UserDefaults.hpp"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace Shared;
using Filter = Entry::Filter;
using SortMethod = Settings::Items::SortMethod;

namespace {

constexpr int itemCount = 10000;

const char* const words[] = {"Bank", "Mail", "Forum", "Shop", "Cloud", "Router", "Server", "Travel", "Games", "News", "Health", "School"};

struct Vault {
    std::shared_ptr<Foundation::NotificationCenter> center = Foundation::make<Foundation::NotificationCenter>();
    std::shared_ptr<PreferenceStore> preferences;
    std::shared_ptr<Cryptor> cryptor;
    std::shared_ptr<AttachmentDataStore> attachments;
    std::unique_ptr<Cryptor::Key> key;
    std::shared_ptr<RecordStore> store;

    std::filesystem::path home;
    bool owner = true;

    // Everything lives in a folder of its own, never in the user's data.
    static std::filesystem::path folder() { return std::filesystem::temp_directory_path() / ("RecordStoreBenchmark-" + std::to_string(getpid())); }

    // The stores over the folder, as a launch makes them, still locked.
    Vault(std::filesystem::path folder, bool makesItems)
        : home(std::move(folder))
        , owner(makesItems)
    {
        std::filesystem::create_directories(home);
        ::setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
        Foundation::FileManager::registerApplicationGroup(Global::App::appGroupIdentifier());
        preferences = PreferenceStore::initialize(Foundation::UserDefaults::withSuiteName(Global::App::appGroupIdentifier()), center);
        cryptor = Foundation::make<Cryptor>(center);
        attachments = Foundation::make<AttachmentDataStore>(
            Basalwork::File::Location::appGroup(Global::App::appGroupIdentifier(), Foundation::String("Library/Application Support/AttachmentStore")),
            Foundation::FileManager::defaultManager(), cryptor);
        if (!makesItems)
            return;
        key = std::make_unique<Cryptor::Key>(Cryptor::Key::random());
        cryptor->unlock(key->copy());
        store = open();
        auto context = store->makeEditingContext();
        auto vaultID = store->vaultIDForNewEntries();
        for (int i = 0; i < itemCount; ++i) {
            auto id = context->insert(Foundation::UUID().uuidString(), vaultID, i % 5 == 0 ? Entry::Category::secureNote : Entry::Category::login, false);
            auto title = std::string(words[i % 12]) + " " + std::to_string((i * 7919) % itemCount);
            context->setText(Foundation::String(title), Entry::SystemField::ID::title, id);
            context->setText(Foundation::String("user" + std::to_string(i) + "@example.com"), Entry::SystemField::ID::username, id);
            context->setText(Foundation::String("secret-" + std::to_string(i)), Entry::SystemField::ID::password, id);
            context->setText(Foundation::String("https://" + std::string(words[(i / 12) % 12]) + std::to_string(i) + ".example.com"),
                             Entry::SystemField::ID::website, id);
            context->setText(Foundation::String("Notes about item " + std::to_string(i)), Entry::SystemField::ID::notes, id);
            context->setFavorite(i % 17 == 0, id);
        }
        context->save();
    }

    std::shared_ptr<RecordStore> open()
    {
        return Foundation::make<RecordStore>(
            center, cryptor, attachments, preferences,
            RecordStore::StoreType::onDisk(Basalwork::File::Location::appGroup(Global::App::appGroupIdentifier(),
                                                                              Foundation::String("Library/Application Support/RecordStore/Production")),
                                           "recordStore"));
    }

    // Stores every summary as a build from before the attachment mark wrote it (format 1).
    void writeEarlierSummaries()
    {
        auto itemKey = cryptor->itemSecretsKey();
        auto context = store->managedObjectContext();
        context->performAndWait([&] {
            for (const auto& object : context->fetch(SyncedObject::existing<EntryObject>())) {
                auto indexContext = Foundation::Data::fromString(object->id().utf8() + "/index");
                auto summary = RecordStore::Index::unpacked(Cryptor::open(*object->sealedIndex(), itemKey, indexContext));
                auto bytes = RecordStore::Index::packed(summary).byteVector();
                bytes[0] = 1;
                bytes.erase(bytes.end() - 17);
                object->setValue(Cryptor::seal(Foundation::Data(bytes), itemKey, indexContext), "sealedIndex");
            }
            context->save();
        });
    }

    ~Vault()
    {
        store.reset();
        if (owner)
            std::filesystem::remove_all(home);
    }
};

Vault& vault()
{
    static Vault instance(Vault::folder(), true);
    return instance;
}

std::string hex(const Cryptor::Key& key)
{
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < Cryptor::Key::byteCount; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", key.bytes()[i]);
        text += digits;
    }
    return text;
}

// The fresh process: opens the stores over the vault, then takes the key and asks for the first list.
// Writes "<open seconds> <unlock seconds>" on the descriptor.
int firstUnlock(const char* home, const char* keyText, int reportFd)
{
    using Clock = std::chrono::steady_clock;
    std::uint8_t bytes[Cryptor::Key::byteCount];
    for (std::size_t i = 0; i < Cryptor::Key::byteCount; ++i)
        bytes[i] = static_cast<std::uint8_t>(std::stoi(std::string(keyText + 2 * i, 2), nullptr, 16));
    auto start = Clock::now();
    Vault fresh(home, false);
    fresh.store = fresh.open();
    auto opened = Clock::now();
    fresh.cryptor->unlock(Cryptor::Key::fromBytes(bytes, sizeof bytes));
    auto list = fresh.store->entryIndices(Filter::allItems(), SortMethod::alphabetical);
    auto listed = Clock::now();
    if (list.size() != itemCount)
        return 1;
    auto seconds = [](auto from, auto to) { return std::chrono::duration<double>(to - from).count(); };
    auto text = std::to_string(seconds(start, opened)) + " " + std::to_string(seconds(opened, listed));
    return write(reportFd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1;
}

// Runs `firstUnlock` in a new process of this program; nothing when it failed.
std::optional<std::pair<double, double>> measureFirstUnlock(const Vault& shared)
{
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    auto key = hex(*shared.key);
    auto fd = std::to_string(fds[1]);
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        execl("/proc/self/exe", "RecordStoreBenchmark", "--first-unlock", shared.home.c_str(), key.c_str(), fd.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char text[128] = {};
    auto length = child > 0 ? read(fds[0], text, sizeof text - 1) : -1;
    close(fds[0]);
    int status = 0;
    if (child <= 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || length <= 0)
        return std::nullopt;
    double open = 0;
    double unlock = 0;
    if (std::sscanf(text, "%lf %lf", &open, &unlock) != 2)
        return std::nullopt;
    return std::pair(open, unlock);
}

void OpenStore(benchmark::State& state)
{
    auto& shared = vault();
    for (auto _ : state)
        benchmark::DoNotOptimize(shared.open());
}
BENCHMARK(OpenStore)->Unit(benchmark::kMillisecond);

// In a fresh process each time: the vault key arrives (the key derivation is done) and the list asks for
// its first page. The store's opening, which a launch does before anyone types, is shown apart.
void UnlockAndFirstList(benchmark::State& state)
{
    auto& shared = vault();
    double opening = 0;
    for (auto _ : state) {
        auto measured = measureFirstUnlock(shared);
        if (!measured) {
            state.SkipWithError("the fresh process did not unlock and list every item");
            break;
        }
        opening += measured->first;
        state.SetIterationTime(measured->second);
    }
    state.counters["open_ms"] = benchmark::Counter(opening * 1000 / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1)));
}
BENCHMARK(UnlockAndFirstList)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The same for a vault whose summaries an earlier build wrote: the first unlock makes them again from
// the items (and stores them); every later one opens them as above.
void UnlockAndFirstListAfterAnUpgrade(benchmark::State& state)
{
    auto& shared = vault();
    for (auto _ : state) {
        state.PauseTiming();
        shared.writeEarlierSummaries();
        shared.cryptor->lock();
        state.ResumeTiming();
        shared.cryptor->unlock(shared.key->copy());
        auto list = shared.store->entryIndices(Filter::allItems(), SortMethod::alphabetical);
        if (list.size() != itemCount)
            state.SkipWithError("the list lost items");
        benchmark::DoNotOptimize(list);
    }
}
BENCHMARK(UnlockAndFirstListAfterAnUpgrade)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void Filter_(benchmark::State& state)
{
    auto& shared = vault();
    for (auto _ : state)
        benchmark::DoNotOptimize(shared.store->entryIndices(Filter::favorites(), SortMethod::alphabetical));
}
BENCHMARK(Filter_)->Name("FilterFavorites")->Unit(benchmark::kMillisecond);

void SortByDate(benchmark::State& state)
{
    auto& shared = vault();
    for (auto _ : state)
        benchmark::DoNotOptimize(shared.store->entryIndices(Filter::allItems(), SortMethod::modifiedAtDesc));
}
BENCHMARK(SortByDate)->Unit(benchmark::kMillisecond);

void Count(benchmark::State& state)
{
    auto& shared = vault();
    for (auto _ : state)
        benchmark::DoNotOptimize(shared.store->count(Filter::category(Entry::Category::secureNote)));
}
BENCHMARK(Count)->Unit(benchmark::kMillisecond);

// One keystroke each: the search text as the user types it, over the widest searchable fields.
void SearchKeystroke(benchmark::State& state)
{
    auto& shared = vault();
    shared.preferences->setSearchableFields(Settings::Items::SearchableFields::titleSubtitleUsernameTagsNotes);
    shared.store->refreshSearchData();
    const char* typed[] = {"b", "ba", "ban", "bank", "bank ", "bank 4", "bank 42"};
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(shared.store->entryIndices(Filter::allItems(), SortMethod::alphabetical, Foundation::String(typed[next])));
        next = (next + 1) % std::size(typed);
    }
}
BENCHMARK(SearchKeystroke)->Unit(benchmark::kMillisecond);

void AutoFillDomain(benchmark::State& state)
{
    auto& shared = vault();
    for (auto _ : state)
        benchmark::DoNotOptimize(shared.store->entryIndices(Filter::allItems(), SortMethod::alphabetical, std::nullopt, Foundation::String("login.bank42.example.com")));
}
BENCHMARK(AutoFillDomain)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--first-unlock")
        return firstUnlock(argv[2], argv[3], std::atoi(argv[4]));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
