#pragma once

#include "Platform/UIKit/UIMenu.hpp"

namespace Corvendale {

// The names of the menus the program adds to the menu bar, in their fixed order. `editSelectedItem` is
// named but no menu uses it.
enum class MainMenuIdentifier {
    preferences,
    newItem,
    sync,
    filter,
    importExport,
    backupRestore,
    lock,
    closeWindow,
    find,
    tags,
    editSelectedItem,
    item,
    itemEdit,
    itemCopy,
    itemOpenInBrowser,
    itemPasswordHistory,
    itemLarge,
    itemArchive,
    itemTrash,
    appearanceColor,
    colorScheme,
    darkModeStyle,
    appearanceFont,
    fontStyle,
    fontSize,
    itemList,
    itemListSortBy,
    itemListStyle,
    itemListSearchableFields,
    itemListConfirmations,
    itemListDuplicateConfirmation,
    itemListArchiveConfirmation,
    itemListTrashConfirmation,
    itemDetails,
    itemDetailsConcealing,
    itemDetailsLargeViewerPositions,
    itemDetailsInlineGenerator,
    windowPinning,
    helpAdvanced,
    helpAdvancedGroup,
};

// The name itself ("preferences").
const char* rawValue(MainMenuIdentifier identifier);
// The menu's identifier: "com.corvendale.menu." and the name.
UIKit::UIMenu::Identifier menuIdentifier(MainMenuIdentifier identifier);

} // namespace Corvendale
