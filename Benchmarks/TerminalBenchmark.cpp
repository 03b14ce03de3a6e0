// The terminal display after a keystroke: a list of 10,000 items, each row a cell with two labels, on a
// terminal of 120 x 40 cells. One iteration is what the display does for a key: the key through the
// responder chain (Down moves the selection, scrolling as needed), the main loop's turn, layout, and the
// frame drawn. Aim: under 16 ms.
#include "Platform/Foundation/RunLoop.hpp"
#include "Platform/Terminal/TerminalSession.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UIViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace UIKit;
using Foundation::make;

class ItemCell : public UITableViewCell {
public:
    std::shared_ptr<UILabel> title = make<UILabel>();
    std::shared_ptr<UILabel> subtitle = make<UILabel>();

    void layoutSubviews() override
    {
        UITableViewCell::layoutSubviews();
        const auto width = contentView()->bounds().size.width;
        title->setFrame({20, 0, width - 40, 20});
        subtitle->setFrame({20, 20, width - 40, 20});
    }

protected:
    friend Foundation::Construct;
    ItemCell() = default;
    void initialize() override
    {
        UITableViewCell::initialize();
        contentView()->addSubview(title);
        contentView()->addSubview(subtitle);
    }
};

class Items : public UIViewController, public UITableViewDataSource {
public:
    std::shared_ptr<UITableView> table;
    void loadView() override
    {
        table = make<UITableView>(CGRect {0, 0, 1200, 780}, UITableView::Style::plain);
        table->registerCell<ItemCell>("Item");
        table->setRowHeight(40);
        table->setDataSource(std::dynamic_pointer_cast<UITableViewDataSource>(sharedSelf(this)));
        setView(table);
    }
    std::int64_t numberOfRowsInSection(UITableView&, std::int64_t) override { return 10'000; }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView, const Foundation::IndexPath& indexPath) override
    {
        auto cell = std::static_pointer_cast<ItemCell>(tableView.dequeueReusableCell("Item", indexPath));
        cell->title->setText(Foundation::String("Item " + std::to_string(indexPath.row())));
        cell->subtitle->setText(Foundation::String("user" + std::to_string(indexPath.row()) + "@example.com"));
        return cell;
    }

protected:
    friend Foundation::Construct;
    Items() = default;
};

void RedrawAfterKeystroke(benchmark::State& state)
{
    auto scene = make<UIWindowScene>();
    auto window = make<UIWindow>(scene);
    auto items = make<Items>();
    window->setRootViewController(items);
    window->makeKeyAndVisible();
    Terminal::TerminalSession session(scene, 120, 40);
    session.frame();
    std::int64_t step = 0;
    for (auto _ : state) {
        // Down through the list, then back up, so that rows keep scrolling in.
        session.press({Foundation::String(step++ % 200 < 100 ? "Down" : "Up"), {}});
        Foundation::RunLoop::main()->runUntilIdle();
        benchmark::DoNotOptimize(session.frame());
    }
    state.SetLabel("aim: under 16 ms");
}
BENCHMARK(RedrawAfterKeystroke)->Unit(benchmark::kMillisecond);

} // namespace
