#include "Tests/Shared/Screens/EntriesVCFixture.hpp"
#include "Tests/Support/Driver.hpp"

#include "Shared/Screens/EntriesVC.hpp"

#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIContextualAction.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UISwipeActionsConfiguration.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableView.Update.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

using namespace Shared;
using Foundation::make;
using Foundation::String;
using SharedTests::RecordingEntriesDelegate;

namespace {

class EntriesVCTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        delegate->entries = {RecordingEntriesDelegate::entry("1", "Bank", "alice@bank"), RecordingEntriesDelegate::entry("2", "Mail", "bob@mail"),
                             RecordingEntriesDelegate::entry("3", "Mailbox"), RecordingEntriesDelegate::entry("4", "Router")};
        list->setDelegate(delegate);
        window->setFrame({0, 0, 600, 800});
        window->setRootViewController(list);
        window->makeKeyAndVisible();
        push();
    }

    void push(EntriesVC::Config config = {})
    {
        config.selectedEntryIDs = list->selectedEntryIDs();
        config.searchState.text = list->searchText();
        config.selectionMode = list->isSelectingMultiple() ? EntriesVC::Config::SelectionMode::multiple : EntriesVC::Config::SelectionMode::single;
        list->setConfig(config, false);
        show();
    }
    void show()
    {
        window->layoutIfNeeded();
        driver.settle();
    }
    std::vector<std::string> shown() const
    {
        std::vector<std::string> ids;
        for (const auto& id : list->shownEntryIDs())
            ids.push_back(id.utf8());
        return ids;
    }

    std::shared_ptr<RecordingEntriesDelegate> delegate = make<RecordingEntriesDelegate>();
    std::shared_ptr<EntriesVC> list = make<EntriesVC>();
    std::shared_ptr<UIKit::UIWindowScene> scene = make<UIKit::UIWindowScene>();
    std::shared_ptr<UIKit::UIWindow> window = make<UIKit::UIWindow>(scene);
    TestSupport::Driver driver {scene};
};

} // namespace

TEST_F(EntriesVCTests, SearchNarrowsTheListWithoutAskingForTheItemsAgain)
{
    EXPECT_EQ(shown(), (std::vector<std::string> {"1", "2", "3", "4"}));
    EXPECT_TRUE(driver.core().find("Mailbox"));
    driver.tap("EntriesVC.search");
    driver.type("mai");
    EXPECT_EQ(shown(), (std::vector<std::string> {"2", "3"}));
    driver.type("lb");
    EXPECT_EQ(shown(), (std::vector<std::string> {"3"}));
    driver.press("Escape");
    EXPECT_EQ(shown().size(), 4u) << "Escape clears the search";
    EXPECT_EQ(delegate->entryIndicesRequests, 1) << "typing never goes back to the owner";
    EXPECT_EQ(delegate->log.back(), "search ");

    push();
    EXPECT_EQ(delegate->entryIndicesRequests, 1) << "a push with nothing changed keeps the items";
    EntriesVC::Config trash;
    trash.filter = Entry::Filter::trash();
    push(trash);
    EXPECT_EQ(delegate->entryIndicesRequests, 2);
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(driver.core().find("No Items"));
    EXPECT_TRUE(driver.core().find("Trash")) << "the title button shows the filter";
}

TEST_F(EntriesVCTests, NewItemsComeInMarkedAndChangedOnesChangeInPlaceKeepingTheirRowsAndSelection)
{
    const auto& table = list->tableView();
    auto row = [](std::int64_t index) { return Foundation::IndexPath::withRow(index, 0); };
    driver.tap("Mail");
    auto mailCell = table->cellForRow(row(1));
    auto updates = table->appliedUpdates().size();
    delegate->entries[1].isFavorite = true;
    auto contract = RecordingEntriesDelegate::entry("5", "Contract");
    contract.hasAttachments = true;
    delegate->entries.insert(delegate->entries.begin(), contract);
    EntriesVC::Config config;
    config.sortMethod = Settings::Items::SortMethod::modifiedAt; // asks for the items again
    push(config);

    EXPECT_EQ(shown(), (std::vector<std::string> {"5", "1", "2", "3", "4"}));
    ASSERT_EQ(table->appliedUpdates().size(), updates + 1);
    EXPECT_EQ(table->appliedUpdates().back().kind, UIKit::UITableView::Update::Kind::insertRows);
    EXPECT_EQ(table->appliedUpdates().back().rows, std::vector {row(0)});
    EXPECT_EQ(table->cellForRow(row(2)), mailCell) << "the row moved down with its cell";
    EXPECT_TRUE(driver.core().find("★ Mail")) << "and shows its change";
    EXPECT_TRUE(driver.core().find("Contract 📎")) << "an item with files is marked";
    EXPECT_EQ(table->indexPathForSelectedRow(), row(2));
    EXPECT_EQ(list->selectedEntryIDs(), std::vector<String> {"2"});
}

namespace {

// An owner whose items are read on the list's worker, held there until the test lets the read go on.
class HeldEntriesDelegate : public RecordingEntriesDelegate {
public:
    std::shared_future<void> gate;

    Shared::EntriesVCItems entryIndices(const Entry::Filter& filter, Settings::Items::SortMethod sortMethod, EntriesVC& list) override
    {
        auto items = RecordingEntriesDelegate::entryIndices(filter, sortMethod, list).read();
        return Shared::EntriesVCItems::deferred([items, gate = gate] {
            if (gate.valid())
                gate.wait();
            return items;
        });
    }
};

} // namespace

// Keys typed while the worker is still busy with the step before, and items changed meanwhile: the list
// ends with the newest items searched for the newest text, never with an answer to an older one.
TEST_F(EntriesVCTests, TypingWhileTheListIsBusyShowsTheAnswerToTheLatestText)
{
    auto held = make<HeldEntriesDelegate>();
    held->entries = delegate->entries;
    std::promise<void> release;
    held->gate = release.get_future().share();
    list->setDelegate(held);
    driver.tap("EntriesVC.search");
    EntriesVC::Config config;
    config.sortMethod = Settings::Items::SortMethod::modifiedAt; // asks for the items again, now held
    list->setConfig(config, false);
    auto& field = *list->searchField();
    // Straight into the field: the driver would wait for the held worker.
    for (const char* text : {"m", "a", "i", "l"})
        field.insertText(text);
    field.deleteBackward();
    field.deleteBackward();
    held->entries.push_back(RecordingEntriesDelegate::entry("5", "Mailroom"));
    held->gate = {};
    config.sortMethod = Settings::Items::SortMethod::alphabetical;
    config.searchState.text = list->searchText();
    list->setConfig(config, false);
    EXPECT_EQ(shown(), (std::vector<std::string> {"1", "2", "3", "4"})) << "nothing changed while the worker was held";
    release.set_value();
    show();
    EXPECT_EQ(list->searchText().utf8(), "ma");
    EXPECT_EQ(shown(), (std::vector<std::string> {"2", "3", "5"}));
    field.insertText("i");
    field.insertText("l");
    field.insertText("r");
    show();
    EXPECT_EQ(shown(), (std::vector<std::string> {"5"}));
    EXPECT_TRUE(driver.core().find("Mailroom"));
    EXPECT_FALSE(driver.core().find("Mailbox"));
}

TEST_F(EntriesVCTests, KeysMoveExtendAndActivateTheSelection)
{
    list->becomeFirstResponder();
    driver.press("Down");
    EXPECT_EQ(delegate->log.back(), "selected 1");
    driver.press("Down");
    driver.press("Down", UIKit::UIKeyModifierFlags::shift());
    EXPECT_EQ(delegate->log.back(), "selected 2 3");
    driver.press("Down", UIKit::UIKeyModifierFlags::command());
    EXPECT_EQ(delegate->log.back(), "selected 4");
    driver.press("Up", UIKit::UIKeyModifierFlags::command());
    EXPECT_EQ(delegate->log.back(), "selected 1");
    driver.press("Up");
    EXPECT_EQ(delegate->log.back(), "selected 1") << "the first item stays selected at the top";
    driver.press("Return");
    EXPECT_EQ(delegate->log.back(), "activate 1");
    driver.press("r");
    EXPECT_EQ(delegate->log.back(), "selected 4") << "typing a letter jumps to the title";
    driver.press("f", UIKit::UIKeyModifierFlags::command());
    EXPECT_EQ(delegate->log.back(), "search focus");
}

TEST_F(EntriesVCTests, MultipleSelectionDrivesTheBulkControls)
{
    driver.tap("Select");
    show();
    EXPECT_TRUE(list->isSelectingMultiple());
    driver.tap("Bank");
    driver.tap("Router");
    EXPECT_EQ(delegate->lastSelection, (std::vector<String> {"1", "4"}));
    driver.tap("Archive");
    EXPECT_EQ(delegate->log.back(), "bulk archive 2");
    driver.tap("Select All");
    driver.tap("Move to Trash");
    EXPECT_EQ(delegate->log.back(), "bulk trash 4");
    driver.tap("Done");
    EXPECT_FALSE(list->isSelectingMultiple());
    EXPECT_LE(list->selectedEntryIDs().size(), 1u);
}

TEST_F(EntriesVCTests, RowsOfferTheirMenusAndSwipes)
{
    driver.openContextMenu("Mail");
    driver.chooseShownMenuItem({"Duplicate"});
    EXPECT_EQ(delegate->log.back(), "menu choice");

    auto trailing = list->tableView()->swipeActionsConfiguration(Foundation::IndexPath::withRow(1, 0), false);
    ASSERT_TRUE(trailing);
    std::vector<std::string> titles;
    for (const auto& action : trailing->actions())
        titles.push_back(action->title()->utf8());
    EXPECT_EQ(titles, (std::vector<std::string> {"Move to Trash", "Archive", "Share", "Duplicate", "Favorite"}));
    auto leading = list->tableView()->swipeActionsConfiguration(Foundation::IndexPath::withRow(1, 0), true);
    ASSERT_TRUE(leading);
    ASSERT_EQ(leading->actions().size(), 1u) << "only the texts the item has";
    bool performed = false;
    leading->actions()[0]->handler()(leading->actions()[0], list->view(), [&](bool done) { performed = done; });
    EXPECT_TRUE(performed);
    EXPECT_EQ(delegate->log.back(), "copy username 2");

    driver.tap("Settings");
    EXPECT_EQ(delegate->log.back(), "settings");
}

TEST_F(EntriesVCTests, AwkwardTitlesShowSafely)
{
    delegate->entries = {RecordingEntriesDelegate::entry("a", ""), RecordingEntriesDelegate::entry("b", "Line\nbreak\u0007bell"),
                         RecordingEntriesDelegate::entry("c", "\u05e9\u05dc\u05d5\u05dd"), RecordingEntriesDelegate::entry("d", std::string(5000, 'x'))};
    EntriesVC::Config favorites;
    favorites.filter = Entry::Filter::favorites();
    push(favorites);
    push();
    EXPECT_EQ(shown().size(), 4u);
    EXPECT_TRUE(driver.core().find("Untitled"));
    EXPECT_TRUE(driver.core().find("Line break bell"));
    driver.tap("EntriesVC.search");
    driver.type("\u05e9");
    EXPECT_EQ(shown(), (std::vector<std::string> {"c"}));

    // The selected item went away between two pushes: the selection drops it without a fuss.
    list->selectFirstRow(false, true);
    delegate->entries.clear();
    push(favorites);
    EXPECT_TRUE(shown().empty());
    EXPECT_TRUE(list->selectedEntryIDs().empty());
    EXPECT_EQ(delegate->log.back(), "selected") << "the owner hears that the selected item is gone";
}

// A list as narrow as a phone (32 columns of the text grid) shows every header button whole, inside the
// list and a column apart from its neighbours on the same row; only a title too long for its row gives
// way, and only it.
TEST_F(EntriesVCTests, TheHeaderShowsEveryButtonWholeInANarrowList)
{
    window->setFrame({0, 0, 320, 600});
    const char* const buttons[] = {"EntriesVC.title", "EntriesVC.syncStatus", "EntriesVC.settings", "EntriesVC.select", "EntriesVC.newItem",
                                   "EntriesVC.cancel"};
    auto check = [&](const EntriesVC::Config& config, bool titleFits) {
        push(config);
        std::vector<std::pair<std::string, UIKit::CGRect>> shownButtons;
        for (const char* identifier : buttons) {
            auto button = driver.core().find<UIKit::UIButton>(String(identifier));
            if (!button || button->isHidden())
                continue;
            auto frame = button->convertTo(button->bounds(), list->view());
            auto title = button->currentTitle().value_or(String());
            SCOPED_TRACE(title.utf8());
            EXPECT_GE(frame.minX(), 0);
            EXPECT_LE(frame.maxX(), 320);
            if (titleFits || std::string(identifier) != "EntriesVC.title")
                EXPECT_GE(frame.size.width, UIKit::TextGrid::columns(title) * UIKit::TextGrid::columnWidth);
            else
                EXPECT_GE(frame.size.width, 4 * UIKit::TextGrid::columnWidth) << "some of the title still shows";
            for (const auto& [other, otherFrame] : shownButtons) {
                if (otherFrame.minY() == frame.minY()) {
                    EXPECT_TRUE(otherFrame.maxX() + UIKit::TextGrid::columnWidth <= frame.minX()
                                || frame.maxX() + UIKit::TextGrid::columnWidth <= otherFrame.minX())
                        << "next to " << other;
                }
            }
            shownButtons.emplace_back(title.utf8(), frame);
        }
        return shownButtons.size();
    };

    EntriesVC::Config config;
    config.filter = Entry::Filter::safeForInspection();
    config.syncStatus = Syncwright::SyncStatus::Failed {Syncwright::SyncStatus::Failure::error(Foundation::ErrorPtr()), std::nullopt};
    config.settingsIssueDetected = true;
    EXPECT_EQ(check(config, true), 5u);
    config.selectionMode = EntriesVC::Config::SelectionMode::multiple;
    EXPECT_EQ(check(config, true), 5u);
    config.selectionMode = EntriesVC::Config::SelectionMode::single;
    config.filter = Entry::Filter::tag(String("Everything I share with the whole family"));
    EXPECT_EQ(check(config, false), 5u);

    EntriesVC::Config picker;
    picker.mode = EntriesVC::Config::Mode::picker(String("example.com"));
    picker.isSettingsButtonShown = false;
    picker.isCancelButtonHidden = false;
    picker.syncStatus = Syncwright::SyncStatus::Disabled {};
    EXPECT_EQ(check(picker, true), 5u);
}
