#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewController.hpp"

#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace UIKit;
using Foundation::IndexPath;
using Foundation::make;

namespace {

class Rows : public UITableViewController {
public:
    std::vector<std::int64_t> counts {3};
    std::int64_t numberOfSections(UITableView&) override { return static_cast<std::int64_t>(counts.size()); }
    std::int64_t numberOfRowsInSection(UITableView&, std::int64_t section) override
    {
        return counts[static_cast<std::size_t>(section)];
    }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView, const IndexPath& indexPath) override
    {
        return tableView.dequeueReusableCell("Row", indexPath);
    }

protected:
    friend Foundation::Construct;
    Rows()
        : UITableViewController(UITableView::Style::plain)
    {
    }
};

struct TableTest : ::testing::Test {
    TableTest()
    {
        table->registerCell<UITableViewCell>("Row");
        table->setFrame({{0, 0}, {320, 200}});
        table->setRowHeight(44);
        table->reloadData();
    }
    std::shared_ptr<Rows> rows = make<Rows>();
    std::shared_ptr<UITableView> table = rows->tableView();
};

} // namespace

TEST_F(TableTest, OnlyRowsInsideTheBoundsHaveCellsAndScrolledAwayCellsAreReused)
{
    rows->counts = {10};
    table->reloadData();
    ASSERT_EQ(table->visibleCells().size(), 5u); // 200 / 44, the last one partly
    const auto before = table->visibleCells();
    table->setContentOffset({0, 300});
    EXPECT_EQ(table->cellForRow(IndexPath::withRow(0, 0)), nullptr);
    EXPECT_EQ(table->indexPathsForVisibleRows()->front(), IndexPath::withRow(6, 0));
    bool reused = false;
    for (const auto& cell : table->visibleCells())
        reused = reused || std::ranges::find(before, cell) != before.end();
    EXPECT_TRUE(reused);
}

TEST_F(TableTest, ConsistentUpdatesKeepTheCellsOfRowsThatStay)
{
    auto kept = table->cellForRow(IndexPath::withRow(2, 0));
    rows->counts = {3};
    table->performBatchUpdates([&] {
        table->deleteRows({IndexPath::withRow(0, 0)}, UITableView::RowAnimation::left);
        table->insertRows({IndexPath::withRow(2, 0)}, UITableView::RowAnimation::right);
    });
    EXPECT_EQ(table->cellForRow(IndexPath::withRow(1, 0)), kept);
    EXPECT_EQ(table->numberOfRows(0), 3);
    ASSERT_EQ(table->appliedUpdates().size(), 2u);
    EXPECT_EQ(table->appliedUpdates()[0].animation, UITableView::RowAnimation::left);

    rows->counts = {3, 1};
    table->insertSections({1}, UITableView::RowAnimation::fade);
    EXPECT_EQ(table->numberOfSections(), 2);
    auto moved = table->cellForRow(IndexPath::withRow(0, 0));
    table->moveRow(IndexPath::withRow(0, 0), IndexPath::withRow(2, 0));
    EXPECT_EQ(table->cellForRow(IndexPath::withRow(2, 0)), moved);
}

TEST_F(TableTest, UpdatesWhoseCountsDoNotAddUpStopTheProgram)
{
    rows->counts = {4};
    EXPECT_DEATH(table->performBatchUpdates([] {}),
                 "invalid number of rows in section 0. The number of rows contained in an existing section after the "
                 "update \\(4\\) must be equal to the number of rows contained in that section before the update \\(3\\)");
    rows->counts = {3, 0};
    EXPECT_DEATH(table->insertRows({IndexPath::withRow(0, 0)}, UITableView::RowAnimation::fade),
                 "invalid number of sections");
    rows->counts = {2};
    EXPECT_DEATH(table->deleteRows({IndexPath::withRow(5, 0)}, UITableView::RowAnimation::fade),
                 "attempt to delete row 5 from section 0 which only contains 3 rows before the update");
}

TEST_F(TableTest, BatchCompletionRunsAfterTheAnimation)
{
    bool finished = false;
    table->performBatchUpdates([] {}, [&](bool done) { finished = done; });
    EXPECT_FALSE(finished);
    TestSupport::advanceClock(1);
    EXPECT_TRUE(finished);
}
