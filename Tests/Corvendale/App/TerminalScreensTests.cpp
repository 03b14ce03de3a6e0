#include "Tests/Corvendale/App/ProgramFixture.hpp"
#include "Tests/Corvendale/Screens/Items/UnlockedContainer.hpp"

#include "Corvendale/App/MainCoordinator.hpp"
#include "Corvendale/App/SceneCoordinator.hpp"
#include "Corvendale/App/SceneDelegate.hpp"

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"
#include "Shared/Model/Entry.Filter.hpp"
#include "Shared/Model/Entry.SystemField.hpp"
#include "Shared/Model/Settings.Clipboard.hpp"
#include "Shared/Screens/EntryDetailsVC.State.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/Terminal/MenuBar.hpp"
#include "Platform/Terminal/SceneRenderer.hpp"
#include "Platform/Terminal/TerminalSession.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIViewInspector.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <algorithm>
#include <functional>
#include <thread>
#include <optional>
#include <string>
#include <vector>

namespace {

using CorvendaleTests::Program;
using Foundation::String;

class TerminalScreens : public Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        CorvendaleTests::prepareUnlockedEmptyContainer();
        // The AutoFill page that the first saved login offers is not what these screens are about.
        Corvendale::dependencies().preferenceStore->setDidOfferAutoFillForPasswords(true);
        settle();
        scene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back());
        session = std::make_unique<Terminal::TerminalSession>(scene, 100, 30);
        settle();
    }
    std::string screen()
    {
        settle();
        session->frame();
        settle();
        return session->frame().text();
    }
    void press(const char* key, UIKit::UIKeyModifierFlags modifiers = {})
    {
        session->press({String(key), modifiers});
        settle();
    }
    void type(const char* text)
    {
        for (const auto& character : String(text).characters())
            session->press({character.utf8() == " " ? String("Space") : String(character), {}});
        settle();
    }

    // A saved login with that title, selected in the list.
    String addLogin(const char* title)
    {
        press("n", UIKit::UIKeyModifierFlags::command());
        TestSupport::advanceClock(0.1);
        settle();
        auto main = sceneDelegate()->sceneCoordinator()->mainCoordinator();
        const auto& details = main->entryDetailsCoordinator()->state();
        EXPECT_TRUE(details.is<Shared::EntryDetailsVCState::Editing>());
        auto id = *details.entryID();
        details.editingPayload()->editingContext->setText(String(title), Shared::EntrySystemField::ID::title, id);
        details.editingPayload()->editingContext->setText(String("kim"), Shared::EntrySystemField::ID::username, id);
        details.editingPayload()->editingContext->setText(String("pa55word"), Shared::EntrySystemField::ID::password, id);
        EXPECT_TRUE(session->driver().chooseMenuBarItem({"Item", "Save"}));
        settle();
        session->driver().tap(String(title));
        settle();
        return id;
    }
    // The frame drawn around the line that shows the text.
    std::optional<Terminal::CellRect> boxAround(const std::string& text)
    {
        const auto frame = session->frame();
        for (std::int64_t row = 0; row < frame.rows(); ++row) {
            const auto at = frame.line(row).find(text);
            if (at == std::string::npos)
                continue;
            const auto column = static_cast<std::int64_t>(Foundation::String(frame.line(row).substr(0, at)).count());
            std::int64_t left = column;
            while (left > 0 && frame.at(left, row).text != "│")
                --left;
            std::int64_t top = row;
            while (top > 0 && frame.at(left, top).text != "┌")
                --top;
            std::int64_t bottom = row;
            while (bottom < frame.rows() - 1 && frame.at(left, bottom).text != "└")
                ++bottom;
            std::int64_t right = left + 1;
            while (right < frame.columns() - 1 && frame.at(right, top).text != "┐")
                ++right;
            if (frame.at(left, top).text != "┌" || frame.at(left, bottom).text != "└" || frame.at(right, top).text != "┐")
                return std::nullopt;
            return Terminal::CellRect {left, top, right - left + 1, bottom - top + 1};
        }
        return std::nullopt;
    }
    // Saves end on other threads: the main loop turns until the condition holds (10 seconds at most).
    bool eventually(const std::function<bool()>& condition)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            settle();
            std::this_thread::yield();
        }
        return true;
    }
    static bool shows(const std::string& screen, const std::string& text) { return screen.find(text) != std::string::npos; }

    std::shared_ptr<UIKit::UIWindowScene> scene;
    std::unique_ptr<Terminal::TerminalSession> session;
    CorvendaleTests::OfflineCloud offline;
};

TEST_F(TerminalScreens, EveryConfirmationIsAModalBoxThatReturnAnswersAndEscapeCancels)
{
    const auto& records = Corvendale::dependencies().recordStore;
    addLogin("Bank");
    using Filter = Shared::EntryFilter;
    struct Confirmation {
        std::vector<String> command;
        const char* name;
        std::function<bool()> done;
    };
    const std::vector<Confirmation> confirmations {
        {{"Item", "Duplicate"}, "Duplicate Item?", [&] { return records->count(Filter::allItems()) == 2; }},
        {{"Item", "Share"}, "Share in Plain Text?", [&] { return session->driver().find(String("Copy")) != nullptr; }},
        {{"Item", "Archive"}, "Archive Item?", [&] { return records->count(Filter::archived()) == 1; }},
        {{"Item", "Move to Trash"}, "Move to Trash?", [&] { return records->count(Filter::trash()) == 1; }},
        {{"Item", "Permanently Delete"}, "Delete Permanently?", [&] { return records->count(Filter::trash()) == 0; }},
    };
    for (const auto& confirmation : confirmations) {
        SCOPED_TRACE(confirmation.name);
        // Into the trash for what only trashed items offer, back to the list for the rest.
        press(confirmation.command.back() == String("Permanently Delete") ? "9" : "1", UIKit::UIKeyModifierFlags::command());
        session->driver().tap(String("Bank"));
        settle();
        for (const char* answer : {"Escape", "Return"}) {
            ASSERT_TRUE(session->driver().chooseMenuBarItem(confirmation.command));
            auto shown = screen();
            const auto alert = session->driver().alert();
            ASSERT_TRUE(alert && alert->title()) << shown;
            const auto box = boxAround(alert->title()->utf8());
            ASSERT_TRUE(box) << shown;
            // Cleared: nothing of the window behind shows inside the box. One frame is looked at cell by
            // cell (drawing the scene again for each cell made this test take minutes on a busy machine).
            const auto drawn = session->frame();
            for (auto row = box->row + 1; row < box->bottom() - 1; ++row)
                for (auto column = box->column + 1; column < box->right() - 1; ++column)
                    EXPECT_FALSE(shows(shown, "Bank") && drawn.line(row).find("Bank") == static_cast<std::size_t>(column))
                        << "row " << row << "\n" << shown;
            // The keyboard stays in the box.
            for (int tab = 0; tab < 8; ++tab) {
                press("Tab");
                const auto focused = session->driver().focusedView();
                ASSERT_TRUE(focused) << screen();
                EXPECT_TRUE(box->contains(Terminal::SceneRenderer::cells(*focused).column, Terminal::SceneRenderer::cells(*focused).row))
                    << "Tab left the alert\n" << screen();
            }
            // Tab moved the focus to a button: Return must still take the preferred action, so start over.
            press("Escape");
            ASSERT_FALSE(session->driver().alert()) << screen();
            TestSupport::advanceClock(1);
            settle();
            if (std::string(answer) == "Return") {
                ASSERT_TRUE(session->driver().chooseMenuBarItem(confirmation.command));
                settle();
            } else {
                EXPECT_FALSE(confirmation.done()) << "Escape cancels";
                continue;
            }
            press(answer);
            EXPECT_FALSE(session->driver().alert()) << screen();
            TestSupport::advanceClock(1);
            settle();
            EXPECT_TRUE(eventually(confirmation.done)) << "Return takes the preferred action\n" << screen();
            if (confirmation.command.back() == String("Share"))
                press("Escape");
        }
    }
}

TEST_F(TerminalScreens, ShareCopyLeavesTheClipboardWhenTheClearingPreferenceSays)
{
    addLogin("Bank");
    Corvendale::dependencies().preferenceStore->setAutoClear(Shared::Settings::Clipboard::AutoClear::oneMinute);
    ASSERT_TRUE(session->driver().chooseMenuBarItem({"Item", "Share"}));
    settle();
    press("Return");
    TestSupport::advanceClock(1);
    settle();
    ASSERT_TRUE(session->driver().find(String("Copy"))) << screen();
    press("Tab");
    press("Return");
    auto pasteboard = UIKit::UIPasteboard::general();
    ASSERT_TRUE(pasteboard->hasStrings()) << screen();
    EXPECT_TRUE(pasteboard->isLocalOnly());
    TestSupport::advanceClock(59);
    EXPECT_TRUE(pasteboard->hasStrings());
    TestSupport::advanceClock(2);
    EXPECT_EQ(pasteboard->numberOfItems(), 0);
}

// The banner window stands in front of the main window but takes only its banner's clicks: a click on the
// large-type viewer, anywhere, closes it.
TEST_F(TerminalScreens, AClickAnywhereOnTheLargeTypeViewerClosesIt)
{
    addLogin("Bank");
    press("L", UIKit::UIKeyModifierFlags::command() | UIKit::UIKeyModifierFlags::shift());
    ASSERT_NE(screen().find("┌"), std::string::npos) << "the large-type viewer";
    EXPECT_TRUE(session->click(3, 25));
    EXPECT_EQ(screen().find("┌"), std::string::npos) << screen();
}

TEST_F(TerminalScreens, AnOpenSubmenuShowsAllItsEntriesBesideItsParentsAtEverySize)
{
    struct Case {
        const char* menu;
        const char* submenu;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases {
        {"File", "Filter Items", {"All Items", "Favorite Items", "Archived Items", "Trashed Items"}},
        {"View", "Color Scheme", {"Match system", "Always light", "Always dark"}},
    };
    for (const auto& [columns, rows] : {std::pair {100, 30}, std::pair {80, 24}, std::pair {60, 24}, std::pair {40, 24}}) {
        session->resize(columns, rows);
        for (const auto& [menu, submenu, entries] : cases) {
            SCOPED_TRACE(std::string(menu) + " > " + submenu + " at " + std::to_string(columns) + " x " + std::to_string(rows));
            const auto bar = session->frame().line(0);
            session->click(static_cast<std::int64_t>(bar.find(std::string(" ") + menu + " ")) + 1, 0);
            settle();
            ASSERT_TRUE(session->menuBar().isOpen());
            for (int i = 0; i < 20 && !shows(session->frame().text(), entries.back()); ++i) {
                // Down to the submenu's entry, then into it.
                const auto frame = session->frame();
                bool highlighted = false;
                for (std::int64_t row = 1; row < frame.rows(); ++row) {
                    const auto at = frame.line(row).find(submenu);
                    if (at != std::string::npos)
                        highlighted = Terminal::contains(frame.at(static_cast<std::int64_t>(Foundation::String(frame.line(row).substr(0, at)).count()), row).style,
                                                         Terminal::CellStyle::reverse);
                }
                press(highlighted ? "Right" : "Down");
            }
            const auto shown = screen();
            for (const auto& entry : entries)
                EXPECT_TRUE(shows(shown, entry)) << shown;
            // The parent's entry that opened it stays readable beside it.
            EXPECT_TRUE(shows(shown, submenu)) << shown;
            press("Escape");
            press("Escape");
            ASSERT_FALSE(session->menuBar().isOpen());
        }
    }
}

TEST_F(TerminalScreens, TheSyncStatusPopOverClosesOnEscapeAClickOutsideAnotherClickOnItsButtonAndCtrlW)
{
    auto cellsOf = [&](const char* identifier) {
        auto view = session->driver().find(String(identifier));
        EXPECT_TRUE(view) << screen();
        return view ? Terminal::SceneRenderer::cells(*view) : Terminal::CellRect {};
    };
    auto open = [&] {
        const auto button = cellsOf("EntriesVC.syncStatus");
        session->click(button.column + 1, button.row);
        settle();
        TestSupport::advanceClock(1);
        settle();
        const auto shown = screen();
        EXPECT_TRUE(boxAround("Sync")) << shown;
        return session->driver().find(String("SyncStatusV")) != nullptr || boxAround("Sync").has_value();
    };
    auto closed = [&] {
        TestSupport::advanceClock(1);
        settle();
        return !boxAround("Sync").has_value();
    };
    screen();
    ASSERT_TRUE(open());
    press("Escape");
    EXPECT_TRUE(closed()) << "Escape\n" << screen();

    ASSERT_TRUE(open());
    const auto box = *boxAround("Sync");
    session->click(box.right() + 5 < session->frame().columns() ? box.right() + 5 : 0, box.bottom() - 1);
    settle();
    EXPECT_TRUE(closed()) << "a click outside\n" << screen();

    ASSERT_TRUE(open());
    const auto button = cellsOf("EntriesVC.syncStatus");
    session->click(button.column + 1, button.row);
    settle();
    EXPECT_TRUE(closed()) << "another click on its button\n" << screen();

    ASSERT_TRUE(open());
    press("w", UIKit::UIKeyModifierFlags::command());
    EXPECT_TRUE(closed()) << "Ctrl-W\n" << screen();
    EXPECT_TRUE(sceneDelegate()->window()->isKeyWindow()) << "Ctrl-W closed the pop-over, not the window";
}

TEST_F(TerminalScreens, EveryContextMenuOpensByShiftF10AtTheFocusedRow)
{
    addLogin("Bank");
    auto& driver = session->driver();
    auto window = sceneDelegate()->window();
    // What the keyboard opens where the focus is, as the shown menu's first entry on screen.
    auto openedByKeyboard = [&](const char* key, UIKit::UIKeyModifierFlags modifiers) -> std::string {
        press(key, modifiers);
        auto menu = window->shownMenu();
        if (!menu)
            return {};
        const auto entries = Terminal::MenuBar::entries(menu);
        const auto shown = screen();
        press("Escape");
        EXPECT_FALSE(window->shownMenu()) << "Escape closes it";
        return !entries.empty() && shows(shown, entries.front().title.utf8()) ? entries.front().title.utf8() : std::string("(not shown)");
    };

    // The list's row: the item's menu.
    ASSERT_TRUE(driver.focus(driver.find(String("EntriesVC.table"))));
    const auto listMenu = openedByKeyboard("F10", UIKit::UIKeyModifierFlags::shift());
    EXPECT_TRUE(!listMenu.empty() && listMenu != "(not shown)") << screen();

    // The details' rows, each reached with the arrows: copying, revealing.
    ASSERT_TRUE(driver.focus(driver.find(String("EntryDetailsTVC"))));
    std::vector<std::string> rowMenus;
    for (int row = 0; row < 3; ++row) {
        press("Down");
        auto menu = driver.openContextMenuAtFocus();
        window->dismissMenu();
        ASSERT_TRUE(menu) << "row " << row << "\n" << screen();
        const auto opened = openedByKeyboard(row == 1 ? "Menu" : "F10", row == 1 ? UIKit::UIKeyModifierFlags() : UIKit::UIKeyModifierFlags::shift());
        EXPECT_TRUE(!opened.empty() && opened != "(not shown)") << "row " << row << "\n" << screen();
        for (const auto& entry : Terminal::MenuBar::entries(menu))
            rowMenus.push_back(entry.title.utf8());
    }
    EXPECT_NE(std::ranges::find(rowMenus, "Copy"), rowMenus.end());
    EXPECT_NE(std::ranges::find(rowMenus, "Reveal"), rowMenus.end());

    // Editing: every control that offers a menu to a secondary click offers it to Shift-F10 as well.
    press("e", UIKit::UIKeyModifierFlags::command());
    // Tall enough for the whole editor, so that no row scrolls away while the focus moves.
    session->resize(160, 60);
    screen();
    std::vector<std::string> editMenus;
    // The list changes while the focus moves (a generator shows under the password being edited).
    for (std::size_t index = 0; index < 200; ++index) {
        const auto views = driver.focusableViews();
        if (index >= views.size())
            break;
        const auto view = views[index];
        if (!driver.openContextMenu(view))
            continue;
        window->dismissMenu();
        ASSERT_TRUE(driver.focus(view));
        settle();
        // Editing may show the row anew (a password with its generator under it): what holds the focus
        // now is what the keyboard opens the menu of.
        const auto focused = driver.focusedView();
        auto offered = focused ? driver.openContextMenu(focused) : nullptr;
        window->dismissMenu();
        if (!offered)
            continue;
        const auto opened = openedByKeyboard("F10", UIKit::UIKeyModifierFlags::shift());
        EXPECT_EQ(opened, Terminal::MenuBar::entries(offered).front().title.utf8()) << UIKit::UIViewInspector::describe(*view) << screen();
        for (const auto& entry : Terminal::MenuBar::entries(offered))
            editMenus.push_back(entry.title.utf8());
    }
    EXPECT_NE(std::ranges::find(editMenus, "Generate Password"), editMenus.end());
    // Adding a section, whichever views the editing showed on the way.
    auto addSection = driver.find<UIKit::UIButton>(String("Add Section"));
    ASSERT_TRUE(addSection);
    ASSERT_TRUE(driver.focus(addSection));
    settle();
    EXPECT_EQ(openedByKeyboard("F10", UIKit::UIKeyModifierFlags::shift()), "Blank Section") << screen();
}

} // namespace
