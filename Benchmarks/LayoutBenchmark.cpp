// A window laid out by its constraints: the first layout solves everything from nothing, and a change
// of one constant afterwards should cost a few pivots, not a new solution. Aims: a window of 1,000
// views with 4,000 constraints in under 20 ms from scratch, and under 1 ms again after one change.
// A settings page of long option lists (stacks in stacks, wrapping titles, most rows hidden) should lay
// out from scratch in a few milliseconds too, and show a hidden list again in about as long.
#include "Basalwork/Interface/EdgeConstraints.hpp"
#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIStackView.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UIStackView.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using UIKit::CGRect;

struct Window {
    std::shared_ptr<UIKit::UIView> root;
    std::shared_ptr<UIKit::NSLayoutConstraint> margin;
    std::int64_t constraints = 0;
};

// 40 rows of 25 cells, every fifth one a label: each cell follows its left neighbour (or the window's
// edge) and the row above (or the window's top), as wide as its neighbour and as high as the cell above,
// with a label's text deciding its height where it has one.
Window makeWindow()
{
    constexpr int rows = 40;
    constexpr int columns = 25;
    Window window;
    window.root = Foundation::make<UIKit::UIView>(CGRect {0, 0, 1600, 1000});
    std::vector<std::shared_ptr<UIKit::UIView>> previousRow(columns);
    std::vector<std::shared_ptr<UIKit::NSLayoutConstraint>> constraints;
    for (int row = 0; row < rows; ++row) {
        std::vector<std::shared_ptr<UIKit::UIView>> currentRow(columns);
        for (int column = 0; column < columns; ++column) {
            std::shared_ptr<UIKit::UIView> cell;
            if ((row * columns + column) % 5 == 0) {
                auto label = Foundation::make<UIKit::UILabel>();
                label->setText(Foundation::String("Cell"));
                cell = label;
            } else {
                cell = Foundation::make<UIKit::UIView>();
            }
            cell->setTranslatesAutoresizingMaskIntoConstraints(false);
            window.root->addSubview(cell);
            const auto& left = column > 0 ? currentRow[column - 1] : nullptr;
            const auto& above = row > 0 ? previousRow[column] : nullptr;
            if (left)
                constraints.push_back(cell->leadingAnchor().constraintEqualTo(left->trailingAnchor(), 4));
            else if (row == 0)
                constraints.push_back(window.margin = cell->leadingAnchor().constraintEqualTo(window.root->leadingAnchor(), 4));
            else
                constraints.push_back(cell->leadingAnchor().constraintEqualTo(above->leadingAnchor()));
            if (above)
                constraints.push_back(cell->topAnchor().constraintEqualTo(above->bottomAnchor(), 4));
            else
                constraints.push_back(cell->topAnchor().constraintEqualTo(window.root->topAnchor(), 4));
            if (left)
                constraints.push_back(cell->widthAnchor().constraintEqualTo(left->widthAnchor()));
            else
                constraints.push_back(cell->widthAnchor().constraintEqualToConstant(56));
            if (above)
                constraints.push_back(cell->heightAnchor().constraintGreaterThanOrEqualTo(above->heightAnchor(), -2));
            else
                constraints.push_back(cell->heightAnchor().constraintEqualToConstant(20));
            currentRow[column] = cell;
        }
        previousRow = std::move(currentRow);
    }
    UIKit::NSLayoutConstraint::activate(constraints);
    window.constraints = static_cast<std::int64_t>(constraints.size());
    return window;
}

void solveFromScratch(benchmark::State& state)
{
    std::int64_t views = 0;
    std::int64_t constraints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = makeWindow();
        views = static_cast<std::int64_t>(window.root->subviews().size());
        constraints = window.constraints;
        state.ResumeTiming();
        window.root->layoutIfNeeded();
        state.PauseTiming();
        window = {};
        state.ResumeTiming();
    }
    state.counters["views"] = static_cast<double>(views);
    state.counters["constraints"] = static_cast<double>(constraints);
}
BENCHMARK(solveFromScratch)->Unit(benchmark::kMillisecond);

void solveAgainAfterOneConstantChanges(benchmark::State& state)
{
    auto window = makeWindow();
    window.root->layoutIfNeeded();
    double constant = 4;
    for (auto _ : state) {
        constant = constant == 4 ? 8 : 4;
        window.margin->setConstant(constant);
        window.root->layoutIfNeeded();
    }
    benchmark::DoNotOptimize(window.root->subviews().back()->frame());
}
BENCHMARK(solveAgainAfterOneConstantChanges)->Unit(benchmark::kMillisecond);

// A page as the import page builds it: a header over a scroll view whose content is a vertical stack of
// sections; two of them are option lists (23 and 41 rows, each row a bordered view around a horizontal
// stack of a wrapping title, a one-line subtitle and a clear button in a stack of its own), the second
// one hidden row by row, as a list shows only the options of the chosen app.
struct Page {
    std::shared_ptr<UIKit::UIView> root;
    std::vector<std::shared_ptr<UIKit::UIView>> formatRows;
};

std::shared_ptr<UIKit::UIView> makeOptionList(int rows, const char* question, std::vector<std::shared_ptr<UIKit::UIView>>* made)
{
    using Axis = UIKit::NSLayoutConstraint::Axis;
    using Alignment = UIKit::UIStackView::Alignment;
    using Distribution = UIKit::UIStackView::Distribution;
    auto list = Foundation::make<UIKit::UIView>();
    auto stack = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 8);
    Basalwork::addSubviewWithEdgeContraints(*list, stack);
    auto title = Foundation::make<UIKit::UILabel>();
    title->setText(Foundation::String(question));
    title->setNumberOfLines(0);
    stack->addArrangedSubview(title);
    auto options = Basalwork::UIStackViews::withAxis(Axis::vertical, Alignment::fill, Distribution::fill, 0);
    stack->addArrangedSubview(options);
    for (int row = 0; row < rows; ++row) {
        auto option = Foundation::make<UIKit::UIView>();
        auto content = Basalwork::UIStackViews::withAxis(Axis::horizontal, Alignment::fill, Distribution::fill, 12);
        Basalwork::addSubviewWithEdgeContraints(*option, content, Basalwork::LayoutInsets::withAll(12));
        auto optionTitle = Foundation::make<UIKit::UILabel>();
        optionTitle->setText(Foundation::String("Password manager number " + std::to_string(row) + " (CSV export)"));
        optionTitle->setNumberOfLines(0);
        content->addArrangedSubview(optionTitle);
        auto subtitle = Foundation::make<UIKit::UILabel>();
        subtitle->setText(Foundation::String(".csv"));
        subtitle->setContentHuggingPriority(UIKit::UILayoutPriority {900}, Axis::horizontal);
        subtitle->setContentCompressionResistancePriority(UIKit::UILayoutPriority {900}, Axis::horizontal);
        content->addArrangedSubview(subtitle);
        auto clearContainer = Basalwork::UIStackViews::withAxis(Axis::horizontal, Alignment::center, Distribution::fill, 0);
        content->addArrangedSubview(clearContainer);
        auto clear = Foundation::make<UIKit::UIButton>();
        clear->setTitle(Foundation::String("x"), UIKit::UIControl::State::normal());
        clear->setContentHuggingPriority(UIKit::UILayoutPriority {910}, Axis::horizontal);
        Basalwork::constrain(*clear, 24, UIKit::UILayoutPriority::required(), 1, UIKit::UILayoutPriority::required());
        clearContainer->addArrangedSubview(clear);
        Basalwork::setIsVisible(*clearContainer, false);
        options->addArrangedSubview(option);
        if (made)
            made->push_back(option);
    }
    return list;
}

Page makePage(CGRect frame = {0, 0, 1000, 700})
{
    Page page;
    page.root = Foundation::make<UIKit::UIView>(frame);
    auto header = Foundation::make<UIKit::UILabel>();
    header->setText(Foundation::String("Import Items"));
    Basalwork::addSubviewWithEdgeContraints(*page.root, header, Basalwork::LayoutInsets::zero(),
                                            [](const Basalwork::EdgeConstraints& constraints) { constraints.bottom()->setIsActive(false); });
    auto scrollView = Foundation::make<UIKit::UIScrollView>();
    Basalwork::addSubviewWithEdgeContraints(*page.root, scrollView, Basalwork::LayoutInsets::zero(),
                                            [](const Basalwork::EdgeConstraints& constraints) { constraints.top()->setIsActive(false); });
    UIKit::NSLayoutConstraint::activate({scrollView->topAnchor().constraintEqualTo(header->bottomAnchor())});
    auto content = Foundation::make<UIKit::UIView>();
    Basalwork::addSubviewWithEdgeContraints(*scrollView, content);
    UIKit::NSLayoutConstraint::activate({content->widthAnchor().constraintEqualTo(scrollView->widthAnchor())});
    auto sections = Basalwork::UIStackViews::withAxis(UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill,
                                                      UIKit::UIStackView::Distribution::fill, 36);
    Basalwork::addSubviewWithMarginContraints(*content, sections, Basalwork::LayoutInsets(8, 8, 0, 20));
    sections->addArrangedSubview(makeOptionList(23, "Which app would you like to import from?", nullptr));
    sections->addArrangedSubview(makeOptionList(41, "Which file format did you export to?", &page.formatRows));
    auto button = Foundation::make<UIKit::UIButton>();
    button->setTitle(Foundation::String("Start Import"), UIKit::UIControl::State::normal());
    sections->addArrangedSubview(button);
    for (const auto& row : page.formatRows)
        Basalwork::setIsVisible(*row, false);
    return page;
}

// From scratch at the window's size, and before the page has a size, when nothing fits and most optional
// constraints break at once.
void layOutAPageOfOptionLists(benchmark::State& state, CGRect frame)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto page = makePage(frame);
        state.ResumeTiming();
        page.root->layoutIfNeeded();
        state.PauseTiming();
        page = {};
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(layOutAPageOfOptionLists, fromScratch, CGRect {0, 0, 1000, 700})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(layOutAPageOfOptionLists, atNoSize, CGRect::zero())->Unit(benchmark::kMillisecond);

void showAndHideAListOfThePage(benchmark::State& state)
{
    auto page = makePage();
    page.root->layoutIfNeeded();
    bool visible = false;
    for (auto _ : state) {
        visible = !visible;
        for (std::size_t row = 0; row < page.formatRows.size(); row += 8)
            Basalwork::setIsVisible(*page.formatRows[row], visible);
        page.root->layoutIfNeeded();
    }
}
BENCHMARK(showAndHideAListOfThePage)->Unit(benchmark::kMillisecond);

} // namespace
