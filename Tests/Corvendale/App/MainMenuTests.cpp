#include "Tests/Corvendale/App/ProgramFixture.hpp"

#include "Corvendale/App/MainMenu.hpp"

#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Model/Settings.Auth.hpp"
#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Tests/Support/Driver.hpp"

#include "Platform/LocalAuthentication/LAContext.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"

#include <gtest/gtest.h>

using Foundation::String;
using UIKit::UIKeyModifierFlags;
using UIKit::UIMenuElement;

namespace {

class MainMenu : public CorvendaleTests::Program {
protected:
    void SetUp() override
    {
        Program::SetUp();
        CorvendaleTests::unlockVault();
        settle();
        UIKit::UIMenuSystem::main()->setNeedsRebuild();
    }
    void TearDown() override
    {
        LocalAuthentication::LAContext::setAuthenticator(std::nullopt);
        preferences()->setColorScheme(Shared::Settings::Appearance::ColorScheme::matchSystem);
        UIKit::UIMenuSystem::main()->setNeedsRebuild();
        Program::TearDown();
    }

    static const std::shared_ptr<Shared::PreferenceStore>& preferences() { return Corvendale::dependencies().preferenceStore; }
    static std::shared_ptr<UIKit::UIMenu> bar() { return UIKit::UIMenuSystem::main()->mainMenu(); }

    TestSupport::Driver driver()
    {
        auto scene = std::dynamic_pointer_cast<UIKit::UIWindowScene>(UIKit::UIApplication::shared()->connectedScenes().back());
        return TestSupport::Driver(scene);
    }
    std::shared_ptr<UIMenuElement> item(const std::vector<String>& path) { return driver().core().menuBarItem(path); }
    UIMenuElement::State state(const std::vector<String>& path)
    {
        auto element = item(path);
        if (auto command = std::dynamic_pointer_cast<UIKit::UICommand>(element))
            return command->state();
        if (auto action = std::dynamic_pointer_cast<UIKit::UIAction>(element))
            return action->state();
        ADD_FAILURE() << "no item " << path.back().utf8();
        return UIMenuElement::State::mixed;
    }
    bool isEnabled(const std::vector<String>& path)
    {
        auto element = item(path);
        EXPECT_NE(element, nullptr) << path.back().utf8();
        return element && UIKit::UIMenuSystem::isEnabled(*element);
    }

    // The titles of a menu's entries as they show, inline groups spread out.
    static std::vector<std::string> titles(const std::shared_ptr<UIKit::UIMenu>& menu)
    {
        std::vector<std::string> result;
        for (const auto& child : menu->children()) {
            auto submenu = std::dynamic_pointer_cast<UIKit::UIMenu>(child);
            if (submenu && submenu->options().contains(UIKit::UIMenu::Options::displayInline())) {
                for (auto& title : titles(submenu))
                    result.push_back(title);
            } else {
                result.push_back(child->title().utf8());
            }
        }
        return result;
    }
    static std::shared_ptr<UIKit::UIMenu> menu(const std::shared_ptr<UIKit::UIMenu>& in, const UIKit::UIMenu::Identifier& identifier)
    {
        if (in->identifier() == identifier)
            return in;
        for (const auto& child : in->children())
            if (auto submenu = std::dynamic_pointer_cast<UIKit::UIMenu>(child))
                if (auto found = menu(submenu, identifier))
                    return found;
        return nullptr;
    }
    static std::shared_ptr<UIKit::UIMenu> menu(const UIKit::UIMenu::Identifier& identifier) { return menu(bar(), identifier); }
    static std::shared_ptr<UIKit::UIMenu> menu(Corvendale::MainMenuIdentifier identifier)
    {
        return menu(bar(), Corvendale::menuIdentifier(identifier));
    }
};

TEST_F(MainMenu, HasTheProgramsMenusInOrderWithoutTheSystemMenusItRemoves)
{
    using Id = UIKit::UIMenu::Identifier;
    std::vector<std::string> top;
    for (const auto& child : bar()->children())
        top.push_back(child->title().utf8());
    ASSERT_EQ(top.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(top.begin() + 1, top.end()),
              (std::vector<std::string> {"File", "Edit", "View", "Item", "Window", "Help"}));
    for (const auto& removed : {Id::close(), Id::format(), Id::openRecent(), Id::toolbar(), Id::sidebar()})
        EXPECT_EQ(menu(removed), nullptr) << removed.rawValue.utf8();

    EXPECT_EQ(titles(menu(Id::file())), (std::vector<std::string> {"New Item", "Print…", "Filter Items", "Sync", "Import...", "Export...",
                                                                   "Backup...", "Restore...", "Lock", "Lock and Require Master Password",
                                                                   "Close"}));
    auto application = titles(menu(Id::application()));
    ASSERT_GE(application.size(), 2u);
    EXPECT_EQ(application[1], "Settings...") << "right after About";
    auto edit = titles(menu(Id::edit()));
    auto find = std::find(edit.begin(), edit.end(), "Find");
    ASSERT_NE(find, edit.end());
    EXPECT_EQ(*std::prev(find), "Select All") << "after the standard edit group";
    EXPECT_EQ(*std::next(find), "Tags");
    auto view = titles(menu(Id::view()));
    EXPECT_EQ(std::vector<std::string>(view.begin(), view.begin() + 6),
              (std::vector<std::string> {"Color Scheme", "Dark Mode Style", "Font Style", "Font Size", "Item List & Search", "Item Details"}));
    EXPECT_EQ(titles(menu(Corvendale::MainMenuIdentifier::itemList)),
              (std::vector<std::string> {"Sort By", "List Style", "Fields to Include While Searching", "Ask Before Duplicating Items",
                                         "Ask Before Archiving Items", "Ask Before Moving Items to Trash"}));
    EXPECT_EQ(titles(menu(Corvendale::MainMenuIdentifier::item)),
              (std::vector<std::string> {"Edit", "Save", "Copy Username", "Copy Password", "Copy One-Time Password", "Open in Browser",
                                         "Open in Browser and Quit Corvendale", "Show Password in Large Viewer",
                                         "Show One-Time Password in Large Viewer", "Show Password History", "Favorite", "Duplicate",
                                         "Share", "Archive", "Move to Trash", "Restore", "Permanently Delete"}));
    auto window = titles(menu(Id::window()));
    EXPECT_EQ(window.back(), "Keep Window Pinned Above Other Apps");
    auto help = titles(menu(Id::help()));
    ASSERT_EQ(help.size(), 3u);
    EXPECT_EQ(help[0], "Corvendale Help") << "the system's help item stays first";
    EXPECT_EQ(help[1], "Leave a Review");
    EXPECT_EQ(help[2], "Advanced");
    EXPECT_NE(item({"Help", "Advanced", "Send Debug Information"}), nullptr);
    EXPECT_EQ(menu(Corvendale::MainMenuIdentifier::editSelectedItem), nullptr);
    EXPECT_EQ(Corvendale::menuIdentifier(Corvendale::MainMenuIdentifier::itemListSortBy).rawValue, String("com.corvendale.menu.itemListSortBy"));
}

TEST_F(MainMenu, KeyEquivalentsAreTheOnesOfEachItem)
{
    const auto cmd = UIKeyModifierFlags::command();
    const auto opt = UIKeyModifierFlags::alternate();
    const auto shift = UIKeyModifierFlags::shift();
    const auto ctrl = UIKeyModifierFlags::control();
    struct Row {
        std::vector<String> path;
        const char* input;
        UIKeyModifierFlags flags;
        const char* action;
    };
    const std::vector<Row> rows {
        {{"File", "New Item"}, "N", cmd, "handleNewLoginItemCommand"},
        {{"File", "Filter Items", "All Items"}, "1", cmd, "handleFilterAllItemsCommand"},
        {{"File", "Filter Items", "Favorite Items"}, "2", cmd, "handleFilterFavoriteCommand"},
        {{"File", "Filter Items", "Archived Items"}, "8", cmd, "handleFilterArchivedItemsCommand"},
        {{"File", "Filter Items", "Trashed Items"}, "9", cmd, "handleFilterTrashedItemsCommand"},
        {{"File", "Sync"}, "R", cmd, "handleSyncCommand"},
        {{"File", "Lock"}, "L", cmd, "handleLockCommand"},
        {{"File", "Lock and Require Master Password"}, "L", cmd | opt, "handleLockAndRequireMasterPasswordCommand"},
        {{"File", "Close"}, "W", cmd, "handleCloseCommand"},
        {{"Edit", "Find"}, "F", cmd, "handleFindCommand"},
        {{"Item", "Edit"}, "E", cmd, "handleEditSelectedItemCommand"},
        {{"Item", "Save"}, "S", cmd, "handleSaveSelectedItemCommand"},
        {{"Item", "Copy Username"}, "C", cmd | ctrl, "handleCopyUsernameCommand:"},
        {{"Item", "Copy Password"}, "C", cmd | shift, "handleCopyPasswordCommand:"},
        {{"Item", "Copy One-Time Password"}, "C", cmd | opt | shift, "handleCopyOneTimePasswordCommand:"},
        {{"Item", "Open in Browser"}, "\r", cmd, "handleOpenInBrowserCommand:"},
        {{"Item", "Open in Browser and Quit Corvendale"}, "\r", cmd | ctrl, "handleOpenInBrowserAndQuitCommand:"},
        {{"Item", "Show Password in Large Viewer"}, "L", cmd | shift, "handleLargePasswordCommand:"},
        {{"Item", "Show One-Time Password in Large Viewer"}, "L", cmd | opt | shift, "handleLargeOneTimePasswordCommand:"},
        {{"Item", "Favorite"}, "F", cmd | shift, "handleFavoriteUnfavoriteSelectedItemsCommandWithSender:"},
        {{"Item", "Duplicate"}, "D", cmd, "handleDuplicateSelectedItemsCommand"},
        {{"Item", "Move to Trash"}, "\b", cmd, "handleItemMoveToTrashCommand:"},
        {{"Window", "Keep Window Pinned Above Other Apps"}, "P", cmd | shift, "handlePinMainWindowCommand"},
    };
    for (const auto& row : rows) {
        auto keyCommand = std::dynamic_pointer_cast<UIKit::UIKeyCommand>(item(row.path));
        ASSERT_NE(keyCommand, nullptr) << row.path.back().utf8();
        EXPECT_EQ(keyCommand->input(), String(row.input)) << row.path.back().utf8();
        EXPECT_EQ(keyCommand->modifierFlags(), row.flags) << row.path.back().utf8();
        EXPECT_EQ(keyCommand->action(), Foundation::Selector(row.action)) << row.path.back().utf8();
    }
    auto settings = std::dynamic_pointer_cast<UIKit::UIKeyCommand>(menu(Corvendale::MainMenuIdentifier::preferences)->children().front());
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->input(), String(","));
    // Items without a key are plain commands.
    for (const std::vector<String>& path : std::vector<std::vector<String>> {
             {"File", "Import..."}, {"File", "Restore..."}, {"Item", "Share"}, {"Item", "Archive"}, {"Help", "Leave a Review"}}) {
        auto element = item(path);
        EXPECT_NE(std::dynamic_pointer_cast<UIKit::UICommand>(element), nullptr) << path.back().utf8();
        EXPECT_EQ(std::dynamic_pointer_cast<UIKit::UIKeyCommand>(element), nullptr) << path.back().utf8();
    }
}

TEST_F(MainMenu, TheLockCommandsFollowTheVaultAndTheirKeyDoesWhatTheMenuDoes)
{
    EXPECT_TRUE(isEnabled({"File", "Lock"}));
    EXPECT_TRUE(isEnabled({"File", "Lock and Require Master Password"}));
    driver().press("l", UIKeyModifierFlags::command());
    EXPECT_FALSE(store()->authenticationState().isAuthenticated()) << "Cmd-L locks";
    EXPECT_FALSE(isEnabled({"File", "Lock"}));
    EXPECT_FALSE(isEnabled({"File", "Lock and Require Master Password"}));

    CorvendaleTests::unlockVault();
    settle();
    driver().chooseMenuItem({"File", "Lock"});
    EXPECT_FALSE(store()->authenticationState().isAuthenticated()) << "the menu item locks the same way";
}

TEST_F(MainMenu, AColorSchemeChoiceRebuildsTheMenuAndMovesTheCheckMarkADarkModeStyleChoiceDoesNot)
{
    const std::vector<String> light {"View", "Color Scheme", "Always light"};
    const std::vector<String> dark {"View", "Color Scheme", "Always dark"};
    driver().chooseMenuItem(light);
    EXPECT_EQ(preferences()->colorScheme(), Shared::Settings::Appearance::ColorScheme::alwaysLight);
    EXPECT_EQ(state(light), UIMenuElement::State::on);
    EXPECT_EQ(state(dark), UIMenuElement::State::off);
    EXPECT_EQ(menu(Corvendale::MainMenuIdentifier::darkModeStyle), nullptr) << "no dark mode style while always light";

    driver().chooseMenuItem(dark);
    EXPECT_NE(menu(Corvendale::MainMenuIdentifier::darkModeStyle), nullptr) << "back at once";
    EXPECT_EQ(state(dark), UIMenuElement::State::on);
    EXPECT_EQ(state(light), UIMenuElement::State::off);

    const auto builds = UIKit::UIMenuSystem::main()->buildCount();
    driver().chooseMenuItem({"View", "Dark Mode Style", "Completely black"});
    EXPECT_EQ(preferences()->darkModeStyle(), Shared::Settings::Appearance::DarkModeStyle::black);
    bar();
    EXPECT_EQ(UIKit::UIMenuSystem::main()->buildCount(), builds) << "a dark mode style needs no rebuild";
    EXPECT_EQ(state({"View", "Dark Mode Style", "Completely black"}), UIMenuElement::State::on);
    EXPECT_EQ(state({"View", "Dark Mode Style", "Shades of gray"}), UIMenuElement::State::off);
}

TEST_F(MainMenu, ChoosingASortOrderMovesItsCheckMarkAfterTheRebuild)
{
    const std::vector<String> zToA {"View", "Item List & Search", "Sort By", "Title", "Z to A"};
    const std::vector<String> aToZ {"View", "Item List & Search", "Sort By", "Title", "A to Z"};
    const std::vector<String> oldest {"View", "Item List & Search", "Sort By", "Date Added", "Oldest on Top"};
    driver().chooseMenuItem(aToZ);
    EXPECT_EQ(state(aToZ), UIMenuElement::State::on);
    EXPECT_EQ(state(zToA), UIMenuElement::State::off);
    const auto builds = UIKit::UIMenuSystem::main()->buildCount();
    driver().chooseMenuItem(oldest);
    EXPECT_EQ(state(oldest), UIMenuElement::State::on);
    EXPECT_EQ(state(aToZ), UIMenuElement::State::off);
    EXPECT_EQ(UIKit::UIMenuSystem::main()->buildCount(), builds + 1);
}

TEST_F(MainMenu, ThePreferenceCommandsCarryTheirValueAndTheCheckMarkFollowsIt)
{
    driver().chooseMenuItem({"View", "Item List & Search", "List Style", "Compact without subtitle"});
    EXPECT_EQ(preferences()->listStyle(), Shared::Settings::Items::ListStyle::compactWithoutSubtitle);
    EXPECT_EQ(state({"View", "Item List & Search", "List Style", "Compact without subtitle"}), UIMenuElement::State::on);
    EXPECT_EQ(state({"View", "Item List & Search", "List Style", "Standard"}), UIMenuElement::State::off);

    driver().chooseMenuItem({"View", "Item Details", "Show Password Generator", "In-line under field"});
    EXPECT_EQ(preferences()->inlineGenerator(), Shared::Settings::ItemDetails::InlineGenerator::enabled);
    driver().chooseMenuItem({"View", "Item List & Search", "Ask Before Archiving Items", "Don't ask"});
    EXPECT_EQ(preferences()->archiveConfirmation(), Shared::Settings::Items::ArchiveConfirmation::disabled);
    EXPECT_EQ(state({"View", "Item List & Search", "Ask Before Archiving Items", "Ask"}), UIMenuElement::State::off);

    EXPECT_EQ(state({"Window", "Keep Window Pinned Above Other Apps"}), UIMenuElement::State::off) << "no plug-in, no check mark";
}

TEST_F(MainMenu, WhileSafeForInspectionNothingCanLeaveTheVaultThroughTheFileMenu)
{
    preferences()->setIsSafeForInspectionModeActivated(true);
    UIKit::UIMenuSystem::main()->setNeedsRebuild();
    EXPECT_EQ(menu(Corvendale::MainMenuIdentifier::importExport), nullptr);
    EXPECT_EQ(menu(Corvendale::MainMenuIdentifier::backupRestore), nullptr);
    EXPECT_NE(item({"File", "Lock"}), nullptr);
    preferences()->setIsSafeForInspectionModeActivated(false);
    UIKit::UIMenuSystem::main()->setNeedsRebuild();
    EXPECT_NE(item({"File", "Export..."}), nullptr);
}

TEST_F(MainMenu, TheLockGroupOffersTheAvailableBiometryOnly)
{
    EXPECT_EQ(item({"File", "Unlock with Touch ID"}), nullptr) << "none available";
    preferences()->setAuthMethod(Shared::Settings::Auth::Method::touchID);
    LocalAuthentication::LAContext::setAuthenticator(LocalAuthentication::LAContext::Authenticator {
        LocalAuthentication::LABiometryType::touchID,
        [](LocalAuthentication::LAPolicy) { return LocalAuthentication::LAContext::Reply {true, nullptr}; },
        [](LocalAuthentication::LAPolicy, const String&) { return LocalAuthentication::LAContext::Reply {true, nullptr}; },
    });
    UIKit::UIMenuSystem::main()->setNeedsRebuild();
    auto unlock = std::dynamic_pointer_cast<UIKit::UIKeyCommand>(item({"File", "Unlock with Touch ID"}));
    ASSERT_NE(unlock, nullptr);
    EXPECT_EQ(unlock->input(), String("U"));
    EXPECT_EQ(unlock->modifierFlags(), UIKeyModifierFlags::command());
    EXPECT_FALSE(UIKit::UIMenuSystem::isEnabled(*unlock)) << "nobody answers it while unlocked";
    preferences()->setAuthMethod(Shared::Settings::Auth::Method::masterPasswordOnly);
}

} // namespace
