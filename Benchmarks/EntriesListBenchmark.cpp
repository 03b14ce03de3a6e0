// A search keystroke over 10,000, 100,000 and 1,000,000 items: the list narrows what it shows (one more
// letter) or searches everything again (a letter deleted), and shows the difference in its table as one
// batch, as a person typing sees it: each lap waits for the list's worker and the main loop that applies
// its batch.
#include "Tests/Shared/Screens/EntriesVCFixture.hpp"

#include "Shared/Screens/EntriesVC.hpp"

#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct List {
    std::shared_ptr<SharedTests::RecordingEntriesDelegate> delegate = Foundation::make<SharedTests::RecordingEntriesDelegate>();
    std::shared_ptr<Shared::EntriesVC> list = Foundation::make<Shared::EntriesVC>();
    std::shared_ptr<UIKit::UIWindowScene> scene = Foundation::make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = Foundation::make<UIKit::UIWindow>(scene);

    explicit List(std::int64_t count)
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
        settle();
        list->searchField()->becomeFirstResponder();
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

} // namespace

BENCHMARK(narrowingKeystroke)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(wideningKeystroke)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
