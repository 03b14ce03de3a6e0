// A search keystroke over 10,000 items: the list narrows what it shows (one more letter) or searches
// everything again (a letter deleted), and shows the difference in its table as one batch, as a person
// typing sees it.
#include "Tests/Shared/Screens/EntriesVCFixture.hpp"

#include "Shared/Screens/EntriesVC.hpp"

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

    List()
    {
        const char* words[] = {"Mail", "Bank", "Router", "Shop", "Forum", "Cloud", "Work", "Game"};
        for (int i = 0; i < 10'000; ++i) {
            auto index = SharedTests::RecordingEntriesDelegate::entry(std::to_string(i), std::string(words[i % 8]) + " " + std::to_string(i),
                                                                      "user" + std::to_string(i) + "@example.com");
            delegate->entries.push_back(index);
        }
        list->setDelegate(delegate);
        window->setFrame({0, 0, 600, 800});
        window->setRootViewController(list);
        window->makeKeyAndVisible();
        list->setConfig({}, false);
        window->layoutIfNeeded();
        list->searchField()->becomeFirstResponder();
    }
};

// "m" to "ma": only what shows is searched.
void narrowingKeystroke(benchmark::State& state)
{
    List list;
    auto& field = *list.list->searchField();
    field.insertText("m");
    for (auto _ : state) {
        field.insertText("a");
        list.window->layoutIfNeeded();
        state.PauseTiming();
        field.deleteBackward();
        list.window->layoutIfNeeded();
        state.ResumeTiming();
    }
}

// "ma" back to "m": all 10,000 items are searched again.
void wideningKeystroke(benchmark::State& state)
{
    List list;
    auto& field = *list.list->searchField();
    field.insertText("m");
    for (auto _ : state) {
        state.PauseTiming();
        field.insertText("a");
        list.window->layoutIfNeeded();
        state.ResumeTiming();
        field.deleteBackward();
        list.window->layoutIfNeeded();
    }
}

} // namespace

BENCHMARK(narrowingKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(wideningKeystroke)->Unit(benchmark::kMillisecond);
