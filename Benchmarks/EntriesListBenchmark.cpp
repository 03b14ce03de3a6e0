// A search keystroke over 10,000 items: the list narrows what it shows (one more letter) or searches
// everything again (a letter deleted), and reloads its table, as a person typing sees it.
#include "Tests/Shared/EntriesVCFixture.hpp"

#include "Shared/EntriesVC.hpp"

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

void typeAndDelete(benchmark::State& state)
{
    List list;
    auto& field = *list.list->searchField();
    field.insertText("m");
    for (auto _ : state) {
        field.insertText("a"); // narrows "m" to "ma"
        list.window->layoutIfNeeded();
        field.deleteBackward(); // back to "m": everything is searched again
        list.window->layoutIfNeeded();
    }
    state.counters["keystroke_ms"] = benchmark::Counter(static_cast<double>(state.iterations()) * 2 / 1000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(typeAndDelete)->Unit(benchmark::kMillisecond);
