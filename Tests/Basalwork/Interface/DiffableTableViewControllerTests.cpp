#include "Basalwork/Interface/DiffableTableViewController.hpp"
#include "Basalwork/Interface/UITableView.hpp"

#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

#include <map>

using namespace Basalwork;
using Foundation::IndexPath;
using Foundation::make;
using Foundation::String;
using UIKit::UITableView;

namespace {

class RowCell : public UIKit::UITableViewCell {
public:
    String shown;
    bool animated = false;

protected:
    friend Foundation::Construct;
    RowCell() = default;
};

struct Row : DiffableTableItemDefaults {
    String identifier;
    String text;
    std::optional<UIKit::CGFloat> height = 50.0;

    String id() const { return identifier; }
    static void registerReusableViews(UITableView& tableView) { registerReuseIdentifiableClass<RowCell>(tableView); }
    std::optional<UIKit::CGFloat> heightRequired(UIKit::CGFloat) const { return height; }
    std::shared_ptr<UIKit::UITableViewCell> dequeueUpdatedCell(UITableView& tableView, const IndexPath& indexPath) const
    {
        auto cell = dequeueReusableCell<RowCell>(tableView, indexPath);
        cell->shown = text;
        return cell;
    }
    void updateCell(UITableView& tableView, const IndexPath& indexPath, bool animated) const
    {
        if (auto cell = std::dynamic_pointer_cast<RowCell>(tableView.cellForRow(indexPath))) {
            cell->shown = text;
            cell->animated = animated;
        }
    }
    friend bool operator==(const Row&, const Row&) = default;
};

struct Section : DiffableTableSectionDefaults {
    using Item = Row;
    String identifier;
    std::vector<Row> rows;
    std::optional<UIKit::CGFloat> header;

    String id() const { return identifier; }
    const std::vector<Row>& items() const { return rows; }
    static void registerReusableViews(UITableView&) {}
    std::optional<UIKit::CGFloat> heightForHeader(UIKit::CGFloat) const { return header; }
};

class Screen : public DiffableTableViewController<Section> {
protected:
    friend Foundation::Construct;
    using DiffableTableViewController::DiffableTableViewController;
};

Section section(String id, std::vector<String> rowIDs)
{
    Section made;
    made.identifier = std::move(id);
    for (auto& rowID : rowIDs)
        made.rows.push_back(Row {{}, rowID, rowID});
    return made;
}

struct DiffableTableTest : ::testing::Test {
    DiffableTableTest()
    {
        screen->loadViewIfNeeded();
        screen->tableView()->setFrame({{0, 0}, {320, 480}});
    }
    void putOnScreen() { window->addSubview(screen->tableView()); }
    void update(std::vector<Section> sections, bool animated, std::function<void(bool)> completion = nullptr)
    {
        screen->update(std::move(sections), animated, UITableView::RowAnimation::left, UITableView::RowAnimation::right,
                       false, std::nullopt, std::move(completion));
    }

    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(scene);
    std::shared_ptr<Screen> screen = make<Screen>(UITableView::Style::grouped);
};

} // namespace

TEST_F(DiffableTableTest, OffScreenUpdatesReloadAndCompleteAtOnce)
{
    int completions = 0;
    update({section("a", {"1", "2"})}, true, [&](bool finished) { completions += finished; });
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(screen->tableView()->appliedUpdates().empty());
    EXPECT_EQ(std::dynamic_pointer_cast<RowCell>(screen->tableView()->cellForRow(IndexPath::withRow(1, 0)))->shown, "2");
}

TEST_F(DiffableTableTest, AnimatedUpdatesChangeOnlyWhatChangedAndReconfigureVisibleRows)
{
    putOnScreen();
    update({section("a", {"1", "2"}), section("b", {"3"})}, false);
    auto cell = std::dynamic_pointer_cast<RowCell>(screen->tableView()->cellForRow(IndexPath::withRow(0, 0)));

    auto changed = section("a", {"1", "2"});
    changed.rows[0].text = "one";
    bool completed = false;
    update({changed, section("c", {"4"})}, true, [&](bool) { completed = true; });

    const auto& updates = screen->tableView()->appliedUpdates();
    ASSERT_EQ(updates.size(), 2u);
    // Sections fade whatever the row animations.
    EXPECT_EQ(updates[0].kind, UITableView::Update::Kind::deleteSections);
    EXPECT_EQ(updates[0].animation, UITableView::RowAnimation::fade);
    EXPECT_EQ(updates[1].kind, UITableView::Update::Kind::insertSections);
    EXPECT_EQ(updates[1].animation, UITableView::RowAnimation::fade);
    // The changed row keeps its cell, reconfigured in place.
    EXPECT_EQ(screen->tableView()->cellForRow(IndexPath::withRow(0, 0)), cell);
    EXPECT_EQ(cell->shown, "one");
    EXPECT_TRUE(cell->animated);
    EXPECT_FALSE(completed);
    TestSupport::advanceClock(1);
    EXPECT_TRUE(completed);
}

TEST_F(DiffableTableTest, HeightsComeFromRowsAndFromWhatWasDisplayed)
{
    auto sections = std::vector {section("a", {"1"}), section("b", {"2"})};
    sections[0].header = 10.0;
    sections[1].header = 10.0;
    sections[1].rows[0].height = std::nullopt;
    update(sections, false);
    auto& table = *screen->tableView();
    EXPECT_EQ(screen->heightForHeaderInSection(table, 0), 30.0);
    EXPECT_EQ(screen->heightForHeaderInSection(table, 1), 10.0);
    EXPECT_EQ(screen->heightForRowAt(table, IndexPath::withRow(0, 0)), 50.0);
    // A row that cannot measure itself is served the height it was shown at.
    EXPECT_EQ(screen->heightForRowAt(table, IndexPath::withRow(0, 1)), 44.0);
    auto changed = sections;
    changed[1].rows[0].text = "two";
    screen->updateWithoutUpdatingViews(changed);
    EXPECT_EQ(screen->heightForRowAt(table, IndexPath::withRow(0, 1)), UITableView::automaticDimension);
}

TEST_F(DiffableTableTest, EmptyMessageFollowsTheLastConfiguration)
{
    auto font = UIKit::UIFont::systemFont(20);
    screen->update({}, false, UITableView::RowAnimation::fade, UITableView::RowAnimation::fade, false,
                   EmptyTableMessageView::Config(std::nullopt, UIKit::UIColor::black(), font, String("Nothing"),
                                                 UIKit::UIColor::black(), font),
                   nullptr);
    const auto& message = screen->emptyTableMessageView();
    EXPECT_EQ(screen->tableView()->backgroundView(), message);
    EXPECT_EQ(message->alpha(), 1.0);
    EXPECT_EQ(message->titleLabel()->text(), String(" "));
    EXPECT_EQ(message->subtitleLabel()->text(), String("Nothing"));
    update({}, false);
    EXPECT_EQ(message->alpha(), 0.0);
    EXPECT_EQ(message->subtitleLabel()->text(), String("Nothing"));
}

TEST_F(DiffableTableTest, EmptyMessageSitsBetweenTheInsetsOnceTheTableLaysOut)
{
    auto table = screen->tableView();
    table->setContentInset({40, 0, 10, 0});
    table->setNeedsLayout();
    table->layoutIfNeeded();
    EXPECT_EQ(screen->emptyTableMessageView()->centerYOffset(), 15);
    // The title over the subtitle, 4 apart, centred 15 below the middle of the 480 points.
    const auto& message = screen->emptyTableMessageView();
    const auto title = message->titleLabel()->convertTo(message->titleLabel()->bounds(), message);
    const auto subtitle = message->subtitleLabel()->convertTo(message->subtitleLabel()->bounds(), message);
    EXPECT_EQ(title.minY(), 240 + 15 - (2 * UIKit::TextGrid::lineHeight + 4) / 2);
    EXPECT_EQ(subtitle.minY(), title.maxY() + 4);
}

TEST_F(DiffableTableTest, TheBarLooksTheSameAtEveryHeightAndScrollPosition)
{
    auto item = screen->navigationItem();
    auto appearance = item->standardAppearance();
    ASSERT_TRUE(appearance);
    EXPECT_TRUE(appearance->backgroundEffect()); // the default, translucent background
    EXPECT_EQ(item->compactAppearance(), appearance);
    EXPECT_EQ(item->scrollEdgeAppearance(), appearance);
}

TEST(TableHelpers, DequeuingAnUnregisteredCellStopsNamingTheIdentifier)
{
    auto table = make<UITableView>(UIKit::CGRect {}, UITableView::Style::plain);
    EXPECT_DEATH(dequeueReusableCell<RowCell>(*table, IndexPath::withRow(0, 0)),
                 "Could not dequeue cell with reuseIdentifier -- RowCell --");
}
