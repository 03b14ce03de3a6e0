#pragma once

#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Screens/EntriesVC.Items.hpp"
#include "Shared/Model/Settings.Items.hpp"

#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {
class UIMenu;
class UIView;
}

namespace Shared {

class EntriesVC;

// What the item list asks of its owner and tells it about its table, in this order.
class EntriesTVCDelegate {
public:
    using SwipeCompletion = std::function<void(bool actionPerformed)>;

    virtual ~EntriesTVCDelegate() = default;

    // 1. Whether the list may show its items at all.
    virtual bool canShowEntries(EntriesVC& entriesTVC) = 0;
    // 2, 3. The sort method of a filter, and that filter's items in that order; asked once per change of
    // the configuration, never per keystroke of the search. An owner over a store answers with work the
    // list runs on its worker thread (`EntriesVCItems::deferred`), so that a large vault is read there.
    virtual Settings::Items::SortMethod sortMethod(const Entry::Filter& filter, EntriesVC& entriesTVC) = 0;
    virtual EntriesVCItems entryIndices(const Entry::Filter& filter, Settings::Items::SortMethod sortMethod, EntriesVC& entriesTVC) = 0;
    // 4. The search text changed; the list has filtered itself already.
    virtual void didUpdateSearchText(EntriesVC& entriesTVC) = 0;
    // 5. The user changed the selection; `shouldUpdateDetails` is false while a selection is still growing.
    virtual void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool shouldUpdateDetails, EntriesVC& entriesTVC) = 0;
    // 6. The context menu of the clicked item, or of the selected items when it is one of them.
    virtual std::shared_ptr<UIKit::UIMenu> contextMenu(const std::vector<Foundation::String>& entryIDs,
                                                       const std::shared_ptr<UIKit::UIView>& sourceView, EntriesVC& entriesTVC) = 0;
    // 7. The user asked for the search field (Command-F, or typing on an empty list).
    virtual void didRequestSearchFocus(EntriesVC& entriesTVC) = 0;
    // 8. The list needs a fresh configuration (its selection mode changed).
    virtual void needsUpdate(EntriesVC& entriesTVC) = 0;
    // 9 to 14. The leading swipe actions: the texts they offer, and copying them.
    virtual std::optional<Foundation::String> username(const Foundation::String& entryID, EntriesVC& entriesTVC) = 0;
    virtual void copyUsername(const Foundation::String& entryID, SwipeCompletion completion, EntriesVC& entriesTVC) = 0;
    virtual std::optional<Foundation::String> password(const Foundation::String& entryID, EntriesVC& entriesTVC) = 0;
    virtual void copyPassword(const Foundation::String& entryID, SwipeCompletion completion, EntriesVC& entriesTVC) = 0;
    virtual std::optional<Foundation::String> oneTimePassword(const Foundation::String& entryID, EntriesVC& entriesTVC) = 0;
    virtual void copyOneTimePassword(const Foundation::String& entryID, SwipeCompletion completion, EntriesVC& entriesTVC) = 0;
    // 15, 16. Whether swipes from the leading and the trailing edge offer anything.
    virtual bool allowsLeadingSwipeActions(EntriesVC& entriesTVC) = 0;
    virtual bool allowsTrailingSwipeActions(EntriesVC& entriesTVC) = 0;
    // 17 to 25. The trailing swipe actions on one item.
    virtual void didSwipeToFavorite(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                    EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToUnfavorite(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                      EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToDuplicate(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                     EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToShare(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                 EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToArchive(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                   EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToUnarchive(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                     EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToMoveToTrash(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                       EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToRestore(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, SwipeCompletion completion,
                                   EntriesVC& entriesTVC) = 0;
    virtual void didSwipeToDeletePermanently(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView,
                                             SwipeCompletion completion, EntriesVC& entriesTVC) = 0;
};

} // namespace Shared
