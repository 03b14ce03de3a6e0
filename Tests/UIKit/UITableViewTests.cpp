#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewController.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIEventDriver.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

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

// A batch as a search over a large list makes it: most rows of one section out, some in, a row moved in
// another, given in no particular order and with repeats. Cells, the selection and row lookups follow the
// rows that stay.
TEST_F(TableTest, ALargeBatchMovesCellsSelectionAndLookupsWithTheRowsThatStay)
{
    rows->counts = {2, 5000};
    table->reloadData();
    const auto kept = table->cellForRow(IndexPath::withRow(2, 1));
    ASSERT_NE(kept, nullptr);
    table->setAllowsMultipleSelection(true);
    for (auto path : {IndexPath::withRow(1, 0), IndexPath::withRow(2, 1), IndexPath::withRow(4001, 1)})
        table->selectRow(path, false, UITableView::ScrollPosition::none);

    // Of section 1 only rows 0, 2, 1000, 2000, 3000, 4000 and 4001 stay, and one comes in at its top.
    std::vector<IndexPath> deleted;
    for (std::int64_t row = 4999; row >= 0; --row)
        if (row % 1000 != 0 && row != 2 && row != 4001)
            deleted.push_back(IndexPath::withRow(row, 1));
    deleted.push_back(IndexPath::withRow(7, 1));
    rows->counts = {2, 8};
    table->performBatchUpdates([&] {
        table->deleteRows(deleted, UITableView::RowAnimation::fade);
        table->insertRows({IndexPath::withRow(0, 1), IndexPath::withRow(0, 1)}, UITableView::RowAnimation::fade);
        table->moveRow(IndexPath::withRow(1, 0), IndexPath::withRow(0, 0));
    });
    EXPECT_EQ(table->numberOfRows(1), 8);
    EXPECT_EQ(table->indexPathsForSelectedRows(), (std::vector {IndexPath::withRow(0, 0), IndexPath::withRow(2, 1), IndexPath::withRow(7, 1)}));
    EXPECT_EQ(table->cellForRow(IndexPath::withRow(2, 1)), kept);
    EXPECT_TRUE(kept->isSelected());
    EXPECT_EQ(table->rectForRow(IndexPath::withRow(7, 1)), (CGRect {0, 44.0 * 9, 320, 44}));
    EXPECT_EQ(table->rectForRow(IndexPath::withRow(8, 1)), CGRect {});
    EXPECT_EQ(table->indexPathForRow({10, 44.0 * 9 + 43}), IndexPath::withRow(7, 1));
    EXPECT_EQ(table->indexPathForRow({10, 44.0 * 10}), std::nullopt);
    EXPECT_EQ(table->indexPathForRow({-1, 44.0 * 9}), std::nullopt);

    // Without moves each row that stays is followed among the sorted paths alone: old rows 2, 3, 4, 6
    // and 7 stay and fill the new places that the two insertions leave (1, 2, 4, 5, 6).
    rows->counts = {2, 7};
    table->performBatchUpdates([&] {
        table->deleteRows({IndexPath::withRow(5, 1), IndexPath::withRow(0, 1), IndexPath::withRow(1, 1)}, UITableView::RowAnimation::fade);
        table->insertRows({IndexPath::withRow(3, 1), IndexPath::withRow(0, 1)}, UITableView::RowAnimation::fade);
    });
    EXPECT_EQ(table->indexPathsForSelectedRows(), (std::vector {IndexPath::withRow(0, 0), IndexPath::withRow(1, 1), IndexPath::withRow(6, 1)}));
    EXPECT_EQ(table->cellForRow(IndexPath::withRow(1, 1)), kept);
}

// A table that lives long keeps only its recent changes: every search of a large list is two of them.
TEST_F(TableTest, TheRecordOfAppliedChangesKeepsTheNewestWithinItsBudget)
{
    const auto many = static_cast<std::int64_t>(UITableView::maximumAppliedRowCount / 2 + 1);
    std::vector<IndexPath> paths;
    for (std::int64_t row = 0; row < many; ++row)
        paths.push_back(IndexPath::withRow(row, 0));
    for (int round = 0; round < 3; ++round) {
        rows->counts = {3 + many};
        table->insertRows(paths, UITableView::RowAnimation::none);
        rows->counts = {3};
        table->deleteRows(paths, UITableView::RowAnimation::none);
    }
    ASSERT_EQ(table->appliedUpdates().size(), 1u);
    EXPECT_EQ(table->appliedUpdates().back().kind, UITableView::Update::Kind::deleteRows);
    EXPECT_EQ(table->appliedUpdates().back().rows.size(), static_cast<std::size_t>(many));

    // Small changes stay, the newest last.
    rows->counts = {4};
    table->insertRows({IndexPath::withRow(0, 0)}, UITableView::RowAnimation::none);
    ASSERT_EQ(table->appliedUpdates().size(), 2u);
    EXPECT_EQ(table->appliedUpdates().back().kind, UITableView::Update::Kind::insertRows);
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

namespace {

// Logs what the table tells its delegate, and turns row 2 away.
class SelectingRows : public Rows {
public:
    std::vector<std::string> heard;
    void didHighlightRowAt(UITableView&, const IndexPath& indexPath) override { heard.push_back("highlight " + indexPath.description()); }
    std::optional<IndexPath> willSelectRowAt(UITableView&, const IndexPath& indexPath) override
    {
        if (indexPath.row() == 2)
            return std::nullopt;
        return indexPath;
    }
    void didSelectRowAt(UITableView&, const IndexPath& indexPath) override { heard.push_back("select " + indexPath.description()); }
    void didDeselectRowAt(UITableView&, const IndexPath& indexPath) override { heard.push_back("deselect " + indexPath.description()); }

protected:
    friend Foundation::Construct;
    SelectingRows() = default;
};

} // namespace

TEST(TableSelection, ATapHighlightsAndSelectsThroughTheDelegateAndSelectionFollowsUpdates)
{
    auto rows = make<SelectingRows>();
    rows->counts = {4};
    auto table = rows->tableView();
    table->registerCell<UITableViewCell>("Row");
    table->setRowHeight(44);
    auto scene = make<UIWindowScene>();
    auto window = make<UIWindow>(scene);
    window->setFrame({0, 0, 320, 400});
    window->setRootViewController(rows);
    window->makeKeyAndVisible();
    table->layoutIfNeeded();
    auto tapRow = [&](std::int64_t row) { UIEventDriver::tap(window, table->convertTo(CGPoint {10, 44.0 * row + 5}, nullptr)); };

    auto touch = UIEventDriver::touchDown(window, table->convertTo(CGPoint {10, 5}, nullptr));
    EXPECT_TRUE(table->cellForRow(IndexPath::withRow(0, 0))->isHighlighted());
    UIEventDriver::touchUp(touch);
    EXPECT_FALSE(table->cellForRow(IndexPath::withRow(0, 0))->isHighlighted());
    tapRow(1);
    tapRow(2); // turned away
    EXPECT_EQ(table->indexPathsForSelectedRows(), std::vector {IndexPath::withRow(1, 0)});
    EXPECT_TRUE(table->cellForRow(IndexPath::withRow(1, 0))->isSelected());

    table->setAllowsMultipleSelection(true);
    tapRow(3);
    tapRow(1); // a second tap deselects
    EXPECT_EQ(table->indexPathsForSelectedRows(), std::vector {IndexPath::withRow(3, 0)});
    EXPECT_EQ(rows->heard, (std::vector<std::string> {"highlight [0, 0]", "select [0, 0]", "highlight [0, 1]",
                                                      "deselect [0, 0]", "select [0, 1]", "highlight [0, 2]",
                                                      "highlight [0, 3]", "select [0, 3]", "highlight [0, 1]",
                                                      "deselect [0, 1]"}));

    // A row inserted above moves the selection down with its row.
    rows->counts = {5};
    table->insertRows({IndexPath::withRow(0, 0)}, UITableView::RowAnimation::none);
    EXPECT_EQ(table->indexPathForSelectedRow(), IndexPath::withRow(4, 0));
    TestSupport::runMainLoopUntilIdle();
}
