#include "Corvendale/App/MainMenu.hpp"

#include "Corvendale/Screens/Items/EntriesCoordinator.FilterStore.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Model/Settings.Appearance.hpp"
#include "Shared/Model/Settings.Items.hpp"
#include "Shared/Screens/Menu.Builder.hpp"
#include "Shared/Stores/PreferenceStore.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Base/String.hpp"

#include "Platform/Foundation/UUID.hpp"
#include "Platform/Foundation/UserDefaults.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UIMenuBuilder.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"

namespace Corvendale {

const char* rawValue(MainMenuIdentifier identifier)
{
    static constexpr const char* names[] = {
        "preferences", "newItem", "sync", "filter", "importExport", "backupRestore", "lock", "closeWindow", "find", "tags",
        "editSelectedItem", "item", "itemEdit", "itemCopy", "itemOpenInBrowser", "itemPasswordHistory", "itemLarge", "itemArchive",
        "itemTrash", "appearanceColor", "colorScheme", "darkModeStyle", "appearanceFont", "fontStyle", "fontSize", "itemList",
        "itemListSortBy", "itemListStyle", "itemListSearchableFields", "itemListConfirmations", "itemListDuplicateConfirmation",
        "itemListArchiveConfirmation", "itemListTrashConfirmation", "itemDetails", "itemDetailsConcealing",
        "itemDetailsLargeViewerPositions", "itemDetailsInlineGenerator", "windowPinning", "helpAdvanced", "helpAdvancedGroup",
    };
    static_assert(std::size(names) == static_cast<std::size_t>(MainMenuIdentifier::helpAdvancedGroup) + 1);
    return names[static_cast<std::size_t>(identifier)];
}

UIKit::UIMenu::Identifier menuIdentifier(MainMenuIdentifier identifier)
{
    return {Foundation::String("com.corvendale.menu.") + rawValue(identifier)};
}

namespace {

using Foundation::make;
using Foundation::Selector;
using Foundation::String;
using Children = std::vector<std::shared_ptr<UIKit::UIMenuElement>>;
using Flags = UIKit::UIKeyModifierFlags;
using Id = MainMenuIdentifier;
using SystemId = UIKit::UIMenu::Identifier;

const Flags cmd = Flags::command();
const Flags opt = Flags::alternate();
const Flags shift = Flags::shift();
const Flags ctrl = Flags::control();

std::shared_ptr<UIKit::UIMenuElement> command(String title, const char* action)
{
    return make<UIKit::UICommand>(std::move(title), Selector(action));
}

std::shared_ptr<UIKit::UIMenuElement> keyCommand(String title, const char* action, String input, Flags flags)
{
    return make<UIKit::UIKeyCommand>(std::move(title), Selector(action), std::move(input), flags);
}

std::shared_ptr<UIKit::UIMenu> group(Id identifier, Children children)
{
    return make<UIKit::UIMenu>(String(), menuIdentifier(identifier), UIKit::UIMenu::Options::displayInline(), std::move(children));
}

std::shared_ptr<UIKit::UIMenu> submenu(String title, Id identifier, Children children)
{
    return make<UIKit::UIMenu>(std::move(title), menuIdentifier(identifier), UIKit::UIMenu::Options(), std::move(children));
}

// Each row: a title and the action that sets one value.
Children commands(std::initializer_list<std::pair<const char*, const char*>> rows)
{
    Children children;
    for (const auto& [title, action] : rows)
        children.push_back(command(title, action));
    return children;
}

std::shared_ptr<UIKit::UIMenu> appearanceColorGroup(Shared::Settings::Appearance::ColorScheme colorScheme)
{
    Children children {submenu("Color Scheme", Id::colorScheme,
                               commands({{"Match system", "handleColorSchemeMatchSystemCommand"},
                                         {"Always light", "handleColorSchemeAlwaysLightCommand"},
                                         {"Always dark", "handleColorSchemeAlwaysDarkCommand"}}))};
    if (colorScheme != Shared::Settings::Appearance::ColorScheme::alwaysLight)
        children.push_back(submenu("Dark Mode Style", Id::darkModeStyle,
                                   commands({{"Shades of gray", "handleDarkModeStyleGrayCommand"},
                                             {"Completely black", "handleDarkModeStyleBlackCommand"}})));
    return group(Id::appearanceColor, std::move(children));
}

std::shared_ptr<UIKit::UIMenu> appearanceFontGroup()
{
    return group(Id::appearanceFont,
                 {submenu("Font Style", Id::fontStyle,
                          commands({{"Slightly rounded", "handleFontStyleRoundedCommand"}, {"Sharp edged", "handleFontStyleSystemCommand"}})),
                  submenu("Font Size", Id::fontSize,
                          commands({{"Standard size", "handleFontSizeStandardCommand"},
                                    {"Smaller size", "handleFontSizeSmallerCommand"},
                                    {"Larger size", "handleFontSizeLargerCommand"},
                                    {"Extra large size", "handleFontSizeXLargerCommand"}}))});
}

std::shared_ptr<UIKit::UIMenu> sortGroup(const std::shared_ptr<Shared::PreferenceStore>& preferenceStore)
{
    using SortMethodGroup = Shared::Settings::Items::SortMethodGroup;
    // The list's selected filter keeps its own sort method; the menu shows and changes that one.
    const auto filter = EntriesCoordinatorFilterStore(Foundation::UserDefaults::standard()).selectedFilter();
    const auto current = preferenceStore->sortMethod(filter);
    std::weak_ptr<Shared::PreferenceStore> weakStore = preferenceStore;
    Children groups;
    for (auto sortGroup : SortMethodGroup::allCases()) {
        Children actions;
        for (auto method : SortMethodGroup::sortMethods(sortGroup)) {
            auto handler = [weakStore, method, filter](const std::shared_ptr<UIKit::UIAction>&) {
                if (auto store = weakStore.lock())
                    store->setSortMethod(method, filter);
                UIKit::UIMenuSystem::main()->setNeedsRebuild();
            };
            actions.push_back(make<UIKit::UIAction>(Shared::titleText(method), handler, std::nullopt, UIKit::UIMenuElement::Attributes(),
                                                    method == current ? UIKit::UIMenuElement::State::on : UIKit::UIMenuElement::State::off));
        }
        groups.push_back(make<UIKit::UIMenu>(Shared::MenuBuilder::titleText(sortGroup), std::move(actions)));
    }
    // An untitled group of its own, so the separators set "Sort By" apart.
    return make<UIKit::UIMenu>(String(), SystemId {"com.apple.menu.dynamic." + Foundation::UUID().uuidString()}, UIKit::UIMenu::Options::displayInline(),
                               Children {submenu("Sort By", Id::itemListSortBy, std::move(groups))});
}

Children askOrNot(const char* enabledAction, const char* disabledAction)
{
    return commands({{"Ask", enabledAction}, {"Don't ask", disabledAction}});
}

std::shared_ptr<UIKit::UIMenu> itemListMenu(const std::shared_ptr<Shared::PreferenceStore>& preferenceStore)
{
    return submenu(
        "Item List & Search", Id::itemList,
        {sortGroup(preferenceStore),
         submenu("List Style", Id::itemListStyle,
                 commands({{"Standard", "handleItemListStyleStandardCommand"},
                           {"Standard without subtitle", "handleItemListStyleStandardWithoutSubtitleCommand"},
                           {"Compact", "handleItemListStyleCompactWithSubtitleCommand"},
                           {"Compact without subtitle", "handleItemListStyleCompactWithoutSubtitleCommand"}})),
         submenu("Fields to Include While Searching", Id::itemListSearchableFields,
                 commands({{"Title and tags", "handleItemListSearchableFieldsTitleTagsCommand"},
                           {"Title, subtitle, and tags", "handleItemListSearchableFieldsTitleSubtitleTagsCommand"},
                           {"Title, subtitle, username, and tags", "handleItemListSearchableFieldsTitleSubtitleUsernameTagsCommand"},
                           {"Title, subtitle, username, websites, and tags",
                            "handleItemListSearchableFieldsTitleSubtitleUsernameWebsitesTagsCommand"},
                           {"Title, subtitle, username, websites, notes, and tags",
                            "handleItemListSearchableFieldsTitleSubtitleUsernameWebsitesNotesTagsCommand"}})),
         group(Id::itemListConfirmations,
               {submenu("Ask Before Duplicating Items", Id::itemListDuplicateConfirmation,
                        askOrNot("handleItemListDuplicateConfirmationEnabledCommand", "handleItemListDuplicateConfirmationDisabledCommand")),
                submenu("Ask Before Archiving Items", Id::itemListArchiveConfirmation,
                        askOrNot("handleItemListArchiveConfirmationEnabledCommand", "handleItemListArchiveConfirmationDisabledCommand")),
                submenu("Ask Before Moving Items to Trash", Id::itemListTrashConfirmation,
                        askOrNot("handleItemListTrashConfirmationEnabledCommand", "handleItemListTrashConfirmationDisabledCommand"))})});
}

std::shared_ptr<UIKit::UIMenu> itemDetailsMenu()
{
    return submenu(
        "Item Details", Id::itemDetails,
        {submenu("Conceal Passwords, Passcodes, and PINs", Id::itemDetailsConcealing,
                 commands({{"Enabled", "handleItemDetailsConcealingEnabledCommand"}, {"Disabled", "handleItemDetailsConcealingDisabledCommand"}})),
         submenu("Large Viewer Character Positions", Id::itemDetailsLargeViewerPositions,
                 commands({{"Under passwords, passcodes, and PINs", "handleItemDetailsLargeViewerPositionsPasswordsAndPinsCommand"},
                           {"Under passwords only", "handleItemDetailsLargeViewerPositionsPasswordsOnlyCommand"},
                           {"Never", "handleItemDetailsLargeViewerPositionsNeverCommand"}})),
         submenu("Show Password Generator", Id::itemDetailsInlineGenerator,
                 commands({{"As popover only", "handleItemDetailsInlineGeneratorDisabledCommand"},
                           {"In-line under field", "handleItemDetailsInlineGeneratorEnabledCommand"}}))});
}

std::shared_ptr<UIKit::UIMenu> itemMenu()
{
    const String returnKey = Basalwork::Strings::carriageReturn();
    return submenu(
        "Item", Id::item,
        {group(Id::itemEdit, {keyCommand("Edit", "handleEditSelectedItemCommand", "E", cmd),
                              keyCommand("Save", "handleSaveSelectedItemCommand", "S", cmd)}),
         group(Id::itemCopy, {keyCommand("Copy Username", "handleCopyUsernameCommand:", "C", cmd | ctrl),
                              keyCommand(String("Copy ") + "Password", "handleCopyPasswordCommand:", "C", cmd | shift),
                              keyCommand("Copy One-Time Password", "handleCopyOneTimePasswordCommand:", "C", cmd | opt | shift)}),
         group(Id::itemOpenInBrowser,
               {keyCommand("Open in Browser", "handleOpenInBrowserCommand:", returnKey, cmd),
                keyCommand("Open in Browser and Quit " + Shared::Global::corvendale(), "handleOpenInBrowserAndQuitCommand:", returnKey, cmd | ctrl)}),
         group(Id::itemLarge, {keyCommand(String("Show ") + "Password" + " in Large Viewer", "handleLargePasswordCommand:", "L", cmd | shift),
                               keyCommand("Show One-Time Password in Large Viewer", "handleLargeOneTimePasswordCommand:", "L", cmd | opt | shift)}),
         group(Id::itemPasswordHistory, {command("Show Password History", "handleShowHidePasswordHistoryCommandWithSender:")}),
         group(Id::itemArchive, {keyCommand("Favorite", "handleFavoriteUnfavoriteSelectedItemsCommandWithSender:", "F", cmd | shift),
                                 keyCommand("Duplicate", "handleDuplicateSelectedItemsCommand", "D", cmd),
                                 command("Share", "handleShareSelectedItemCommandWithSender:"), command("Archive", "handleItemArchiveCommand:")}),
         group(Id::itemTrash, {keyCommand("Move to Trash", "handleItemMoveToTrashCommand:", Basalwork::Strings::delete_(), cmd),
                               command("Restore", "handleItemRestoreCommand:"),
                               command("Permanently Delete", "handleItemPermanentlyDeleteCommand:")})});
}

// A failed read hides the transfer items, as the activated mode does: nothing leaves a vault that may be
// under inspection.
bool isSafeForInspectionActivated(const Shared::RecordStore& recordStore)
{
    try {
        return recordStore.safeForInspectionState() == Shared::RecordStore::SafeForInspectionState::activated;
    } catch (const Foundation::Error&) {
        return true;
    }
}

} // namespace

Foundation::String unlockWithBiometryTitle(Shared::Biometry biometry)
{
    switch (biometry) {
    case Shared::Biometry::touchID:
        return "Unlock with Touch ID";
    case Shared::Biometry::faceID:
        return "Unlock with Face ID";
    default:
        return "Unlock with Apple Watch";
    }
}

void buildMainMenu(UIKit::UIMenuBuilder& builder, Shared::Biometry availableBiometry,
                   const std::shared_ptr<Shared::PreferenceStore>& preferenceStore, const Shared::RecordStore& recordStore)
{
    builder.remove(SystemId::close());
    builder.remove(SystemId::format());
    builder.remove(SystemId::openRecent());

    builder.insertSiblingAfterMenu(group(Id::preferences, {keyCommand("Settings...", "handleSettingsCommand", ",", cmd)}), SystemId::about());
    builder.insertChildAtStartOfMenu(group(Id::newItem, {keyCommand("New Item", "handleNewLoginItemCommand", "N", cmd)}), SystemId::file());
    builder.insertChildAtEndOfMenu(submenu("Filter Items", Id::filter,
                                           {keyCommand("All Items", "handleFilterAllItemsCommand", "1", cmd),
                                            keyCommand("Favorite Items", "handleFilterFavoriteCommand", "2", cmd),
                                            keyCommand("Archived Items", "handleFilterArchivedItemsCommand", "8", cmd),
                                            keyCommand("Trashed Items", "handleFilterTrashedItemsCommand", "9", cmd)}),
                                   SystemId::file());
    builder.insertChildAtEndOfMenu(group(Id::sync, {keyCommand("Sync", "handleSyncCommand", "R", cmd)}), SystemId::file());
    if (!isSafeForInspectionActivated(recordStore)) {
        builder.insertChildAtEndOfMenu(
            group(Id::importExport, commands({{"Import...", "handleImportFromFileCommand"}, {"Export...", "handleExportToFileCommand"}})),
            SystemId::file());
        builder.insertChildAtEndOfMenu(
            group(Id::backupRestore, commands({{"Backup...", "handlePerformBackupCommand"}, {"Restore...", "handleRestoreFromBackupCommand"}})),
            SystemId::file());
    }
    Children lockItems {keyCommand("Lock", "handleLockCommand", "L", cmd),
                        keyCommand("Lock and Require Master Password", "handleLockAndRequireMasterPasswordCommand", "L", cmd | opt)};
    if (availableBiometry != Shared::Biometry::none)
        lockItems.push_back(keyCommand(unlockWithBiometryTitle(availableBiometry), "handleUnlockWithAvailableBiometryCommand", "U", cmd));
    builder.insertChildAtEndOfMenu(group(Id::lock, std::move(lockItems)), SystemId::file());
    builder.insertChildAtEndOfMenu(group(Id::closeWindow, {keyCommand("Close", "handleCloseCommand", "W", cmd)}), SystemId::file());

    builder.insertSiblingAfterMenu(group(Id::find, {keyCommand("Find", "handleFindCommand", "F", cmd)}), SystemId::standardEdit());
    builder.insertSiblingAfterMenu(submenu("Tags", Id::tags, commands({{"Remove from All Items", "handleTagsRemoveFromAllItems"}})),
                                   menuIdentifier(Id::find));

    builder.remove(SystemId::toolbar());
    builder.remove(SystemId::sidebar());

    builder.insertChildAtStartOfMenu(appearanceColorGroup(preferenceStore->colorScheme()), SystemId::view());
    builder.insertSiblingAfterMenu(appearanceFontGroup(), menuIdentifier(Id::appearanceColor));
    builder.insertSiblingAfterMenu(itemListMenu(preferenceStore), menuIdentifier(Id::appearanceFont));
    builder.insertSiblingAfterMenu(itemDetailsMenu(), menuIdentifier(Id::itemList));

    builder.insertSiblingAfterMenu(itemMenu(), SystemId::view());

    builder.insertChildAtEndOfMenu(
        group(Id::windowPinning, {keyCommand("Keep Window Pinned Above Other Apps", "handlePinMainWindowCommand", "P", cmd | shift)}),
        SystemId::window());

    builder.replaceChildren(SystemId::help(), [](const Children& existing) {
        Children children = existing;
        children.push_back(command("Leave a Review", "handleLeaveAReviewCommand"));
        children.push_back(group(Id::helpAdvancedGroup,
                                 {submenu("Advanced", Id::helpAdvanced, commands({{"Send Debug Information", "handleSendDebugInfoCommand"}}))}));
        return children;
    });
}

} // namespace Corvendale
