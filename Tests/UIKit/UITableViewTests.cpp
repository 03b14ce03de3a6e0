#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewController.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UILabel.hpp"

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

namespace {

// A row of text of one to five lines, its label pinned inside the content view.
class TextCell : public UITableViewCell {
public:
    std::shared_ptr<UILabel> label = make<UILabel>();

protected:
    friend Foundation::Construct;
    TextCell() = default;
    void initialize() override
    {
        UITableViewCell::initialize();
        label->setNumberOfLines(0);
        label->setTranslatesAutoresizingMaskIntoConstraints(false);
        contentView()->addSubview(label);
        NSLayoutConstraint::activate({
            label->topAnchor().constraintEqualTo(contentView()->topAnchor(), 8),
            contentView()->bottomAnchor().constraintEqualTo(label->bottomAnchor(), 8),
            label->leadingAnchor().constraintEqualTo(contentView()->leadingAnchor(), 16),
            contentView()->trailingAnchor().constraintEqualTo(label->trailingAnchor(), 16),
        });
    }
};

class TextRows : public UITableViewController {
public:
    std::vector<Foundation::String> texts;
    std::int64_t numberOfRowsInSection(UITableView&, std::int64_t) override
    {
        return static_cast<std::int64_t>(texts.size());
    }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView, const IndexPath& indexPath) override
    {
        auto cell = std::static_pointer_cast<TextCell>(tableView.dequeueReusableCell("Text", indexPath));
        cell->label->setText(texts[static_cast<std::size_t>(indexPath.row())]);
        return cell;
    }

protected:
    friend Foundation::Construct;
    TextRows()
        : UITableViewController(UITableView::Style::plain)
    {
    }
};

} // namespace

TEST(SelfSizingRows, EachRowIsAsTallAsItsText)
{
    auto rows = make<TextRows>();
    auto table = rows->tableView();
    table->registerCell<TextCell>("Text");
    table->setFrame({{0, 0}, {320, 2000}});
    table->setEstimatedRowHeight(30);
    // 288 points leave 28 columns a line: two words of 13 letters and a space fit, three do not.
    rows->texts = {"one", "one\ntwo", "one\ntwo\nthree", "abcdefghijklm abcdefghijklm\none\ntwo\nthree",
                   "abcdefghijklm abcdefghijklm abcdefghijklm abcdefghijklm abcdefghijklm abcdefghijklm abcdefghijklm "
                   "abcdefghijklm abcdefghijklm"};
    table->reloadData();
    table->layoutIfNeeded();
    CGFloat y = 0;
    for (std::int64_t row = 0; row < 5; ++row) {
        const auto path = IndexPath::withRow(row, 0);
        const CGFloat height = 16 + TextGrid::lineHeight * static_cast<CGFloat>(row + 1);
        EXPECT_EQ(table->rectForRow(path), (CGRect {0, y, 320, height})) << "row " << row;
        auto cell = std::static_pointer_cast<TextCell>(table->cellForRow(path));
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->label->frame(), (CGRect {16, 8, 288, height - 16})) << "row " << row;
        y += height;
    }
    EXPECT_EQ(table->contentSize().height, y);

    // A row scrolled away keeps the height it was shown at; one never shown counts as estimated.
    rows->texts.resize(40, "one");
    table->setFrame({{0, 0}, {320, 100}});
    table->reloadData();
    table->layoutIfNeeded();
    EXPECT_EQ(table->rectForRow(IndexPath::withRow(1, 0)).size.height, 56);
    EXPECT_EQ(table->rectForRow(IndexPath::withRow(30, 0)).size.height, 30);
    table->setContentOffset({0, 100});
    EXPECT_EQ(table->rectForRow(IndexPath::withRow(1, 0)).size.height, 56);
}
