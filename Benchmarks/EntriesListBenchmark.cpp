// A search keystroke over 10,000, 100,000 and 1,000,000 items: the list narrows what it shows (one more
// letter) or searches everything again (a letter deleted), and shows the difference in its table as one
// batch, as a person typing sees it: each lap waits for the list's worker and the main loop that applies
// its batch. The first keystroke comes as soon as a fresh list shows its items, as it does when a person
// types on unlocking, before the list has finished anything it does once the rows are shown.
#include "Tests/Shared/Screens/EntriesVCFixture.hpp"

#include "Shared/Screens/EntriesSearch.Index.hpp"
#include "Shared/Screens/EntriesVC.hpp"

#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct List {
    std::shared_ptr<SharedTests::RecordingEntriesDelegate> delegate = Foundation::make<SharedTests::RecordingEntriesDelegate>();
    std::shared_ptr<Shared::EntriesVC> list = Foundation::make<Shared::EntriesVC>();
    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);

    explicit List(std::int64_t count, bool settled = true)
    {
        const char* words[] = {"Mail", "Bank", "Router", "Shop", "Forum", "Cloud", "Work", "Game"};
        for (std::int64_t i = 0; i < count; ++i) {
            auto index = SharedTests::RecordingEntriesDelegate::entry(std::to_string(i), std::string(words[i % 8]) + " " + std::to_string(i),
                                                                      "user" + std::to_string(i) + "@example.com");
            delegate->entries.push_back(index);
        }
        list->setDelegate(delegate);
        window->setFrame({0, 0, 600, 800});
        window->setRootViewController(list);
        window->makeKeyAndVisible();
        list->setConfig({}, false);
        if (settled) {
            settle();
        } else {
            // Only until the rows show.
            untilRows([&](std::int64_t rows) { return rows == count; });
        }
        list->searchField()->becomeFirstResponder();
    }

    // The main loop turns until the table's rows pass the test, whatever the worker goes on with.
    void untilRows(const std::function<bool(std::int64_t)>& test)
    {
        while (!test(list->tableView()->numberOfRows(0)))
            Foundation::RunLoop::main()->runOnce();
        window->layoutIfNeeded();
    }

    // The worker's steps handed back and applied, and the window laid out.
    void settle()
    {
        Foundation::RunLoop::main()->runUntilIdleAwaitingWork();
        window->layoutIfNeeded();
    }
};

// "m" to "ma": only what shows is searched.
void narrowingKeystroke(benchmark::State& state)
{
    List list(state.range(0));
    auto& field = *list.list->searchField();
    field.insertText("m");
    list.settle();
    for (auto _ : state) {
        field.insertText("a");
        list.settle();
        state.PauseTiming();
        field.deleteBackward();
        list.settle();
        state.ResumeTiming();
    }
}

// "ma" back to "m": every item is searched again.
void wideningKeystroke(benchmark::State& state)
{
    List list(state.range(0));
    auto& field = *list.list->searchField();
    field.insertText("m");
    list.settle();
    for (auto _ : state) {
        state.PauseTiming();
        field.insertText("a");
        list.settle();
        state.ResumeTiming();
        field.deleteBackward();
        list.settle();
    }
}

// "m" typed as soon as the items show, until the rows it leaves show (a quarter of them).
void firstKeystroke(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto list = std::make_unique<List>(state.range(0), false);
        state.ResumeTiming();
        list->list->searchField()->insertText("m");
        list->untilRows([&](std::int64_t rows) { return rows != state.range(0); });
        state.PauseTiming();
        list->settle();
        list.reset();
        state.ResumeTiming();
    }
}

// An owner over shared summaries, as the record store answers: items that stay are the same objects.
class SharedEntriesDelegate : public SharedTests::RecordingEntriesDelegate {
public:
    std::vector<std::shared_ptr<const Shared::EntryIndex>> summaries;

    Shared::EntriesVCItems entryIndices(const Shared::Entry::Filter&, Shared::Settings::Items::SortMethod, Shared::EntriesVC&) override
    {
        return Shared::EntriesVCItems::shared(summaries);
    }

protected:
    friend Foundation::Construct;
    SharedEntriesDelegate() = default;
};

// A sync brings one new item into a shown list (first in it, as "Aaa" sorts), or changes one in its place;
// until the list's work for it is done: the items read again, the difference from what shows and the
// search index following them.
void syncedChange(benchmark::State& state, bool inserts)
{
    auto delegate = Foundation::make<SharedEntriesDelegate>();
    const char* words[] = {"Mail", "Bank", "Router", "Shop", "Forum", "Cloud", "Work", "Game"};
    for (std::int64_t i = 0; i < state.range(0); ++i)
        delegate->summaries.push_back(std::make_shared<const Shared::EntryIndex>(SharedTests::RecordingEntriesDelegate::entry(
            std::to_string(i), std::string(words[i % 8]) + " " + std::to_string(i), "user" + std::to_string(i) + "@example.com")));
    List list(0);
    list.list->setDelegate(delegate);
    Shared::EntriesVC::Config config;
    config.sortMethod = Shared::Settings::Items::SortMethod::unsorted;
    list.list->setConfig(config, false);
    list.settle();
    std::int64_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto changed = SharedTests::RecordingEntriesDelegate::entry("new-" + std::to_string(round), "Aaa synced change " + std::to_string(round));
        if (inserts) {
            delegate->summaries.insert(delegate->summaries.begin(), std::make_shared<const Shared::EntryIndex>(changed));
        } else {
            auto& item = delegate->summaries[delegate->summaries.size() / 2];
            changed.entryID = item->entryID;
            item = std::make_shared<const Shared::EntryIndex>(changed);
        }
        // Another sort asks for the items again, as a change the record store posts does.
        config.sortMethod = round++ % 2 ? Shared::Settings::Items::SortMethod::unsorted : Shared::Settings::Items::SortMethod::alphabetical;
        state.ResumeTiming();
        list.list->setConfig(config, false);
        list.settle();
    }
}

std::size_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The search index made whole (texts and trigram lists) over the items a list holds, searched by title
// and subtitle as the preference has it unless changed; beside the time, what the process grew by.
void searchIndex(benchmark::State& state)
{
    std::vector<Shared::EntryIndex> items;
    std::vector<const Shared::EntryIndex*> pointers;
    const char* words[] = {"Mail", "Bank", "Router", "Shop", "Forum", "Cloud", "Work", "Game"};
    for (std::int64_t i = 0; i < state.range(0); ++i)
        items.push_back(SharedTests::RecordingEntriesDelegate::entry(std::to_string(i), std::string(words[i % 8]) + " " + std::to_string(i),
                                                                     "user" + std::to_string(i) + "@example.com"));
    for (const auto& item : items)
        pointers.push_back(&item);
    double grown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto before = residentBytes();
        {
            Shared::EntriesSearchIndex index;
            state.ResumeTiming();
            index.assign(pointers, Shared::Settings::Items::SearchableFields::titleSubtitleTags);
            state.PauseTiming();
            grown = std::max(grown, static_cast<double>(residentBytes() - std::min(before, residentBytes())));
        }
        state.ResumeTiming();
    }
    state.counters["grownMiB"] = grown / (1024 * 1024);
}

} // namespace

BENCHMARK_CAPTURE(syncedChange, newItem, true)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(syncedChange, changedItem, false)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(searchIndex)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(firstKeystroke)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(narrowingKeystroke)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(wideningKeystroke)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
