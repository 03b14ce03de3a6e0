#pragma once

#include "Corvendale/Screens/Items/EntriesCoordinator.RecentCategoryFilters.hpp"

#include "Shared/Model/Entry.Category.hpp"
#include "Shared/Model/Entry.Filter.hpp"

#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace Foundation {
class Error;
} // namespace Foundation

namespace Metricove {
class AnalyticsStore;
} // namespace Metricove

namespace Shared {
class Entry;
class MenuAction;
class MenuBuilder;
class PreferenceStore;
class RecordStore;
} // namespace Shared

namespace UIKit {
class UIMenu;
class UIView;
class UIViewController;
} // namespace UIKit

namespace Corvendale {

class EntriesCoordinator;
class EntriesCoordinatorDelegate;

// The item list's menus (an item's or several items' context menu, the new-item menu, the filter and
// sort menu) and the item actions they, the swipe actions and the editing controls start, with their
// confirmations. Changes themselves go to the list's delegate.
class EntriesCoordinatorMenus {
public:
    // What the menus need of the list coordinator; held weakly.
    class Host {
    public:
        virtual ~Host() = default;
        virtual std::shared_ptr<EntriesCoordinatorDelegate> entriesCoordinatorDelegate() const = 0;
        // Presents the confirmations.
        virtual std::shared_ptr<UIKit::UIViewController> viewController() = 0;
        // The list coordinator the delegate's calls name.
        virtual std::shared_ptr<EntriesCoordinator> entriesCoordinator() = 0;
        // The "Oops!" alert, the error tracked first when it asks to be.
        virtual void handleUnexpectedError(const Foundation::Error& error, const Foundation::String& context) = 0;
        virtual bool isBeingDisplayedInExpandedSplitView() const = 0;
        // The list selects several items at a time: no context menus then.
        virtual bool isMultiSelecting() const = 0;
        // A filter was chosen in the filter menu.
        virtual void didSelectFilter(const Shared::EntryFilter& filter) = 0;
        // The list's own share flow for the item.
        virtual void shareEntry(const Foundation::String& entryID) = 0;
    };

    EntriesCoordinatorMenus(std::weak_ptr<Host> host, std::shared_ptr<Shared::RecordStore> recordStore,
                            std::shared_ptr<Shared::PreferenceStore> preferenceStore,
                            std::shared_ptr<Metricove::AnalyticsStore> analyticsStore);

    // contextMenu(entryIDs:sourceView:entriesTVC:): one item's menu or several items' menu; none while
    // multi-selecting, for no items, or when the record store fails (which shows "Oops!").
    std::shared_ptr<UIKit::UIMenu> contextMenu(const std::vector<Foundation::String>& entryIDs,
                                               const std::shared_ptr<UIKit::UIView>& sourceView) const;
    // What choosing an entry of a context menu does with the menu's items.
    void perform(const Shared::MenuAction& action, const std::vector<Foundation::String>& entryIDs,
                 const std::shared_ptr<UIKit::UIView>& sourceView) const;

    // The confirmed actions: at once when the user chose not to be asked again, else after the
    // confirmation; deleting always asks. `didAct` follows the action, not a cancelled confirmation.
    void duplicate(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                   std::function<void()> didAct = {}) const;
    void archive(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                 std::function<void()> didAct = {}) const;
    void moveToTrash(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                     std::function<void()> didAct = {}) const;
    void deletePermanently(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView,
                           std::function<void()> didAct = {}) const;

    // The standard categories, then one submenu per category group.
    static std::shared_ptr<UIKit::UIMenu> newItemMenu(std::function<void(Shared::EntryCategory)> onCategory);
    // The same, starting a new item through the delegate.
    std::shared_ptr<UIKit::UIMenu> newItemMenu() const;
    // contextMenu(titleButton:): the filters that show items, with their counts, and the sort methods of
    // the selected filter.
    std::shared_ptr<UIKit::UIMenu> filterMenu(const Shared::EntryFilter& selectedFilter,
                                              const EntriesCoordinatorRecentCategoryFilters& recentCategoryFilters) const;

private:
    std::shared_ptr<UIKit::UIMenu> oneItemMenu(const Shared::Entry& entry, const std::shared_ptr<UIKit::UIView>& sourceView) const;
    std::shared_ptr<UIKit::UIMenu> severalItemsMenu(const std::vector<Shared::Entry>& entries, const std::vector<Foundation::String>& entryIDs,
                                                    const std::shared_ptr<UIKit::UIView>& sourceView) const;
    Shared::MenuBuilder makeBuilder(const std::vector<Foundation::String>& entryIDs, const std::shared_ptr<UIKit::UIView>& sourceView) const;
    void present(const std::shared_ptr<UIKit::UIViewController>& confirmation) const;
    std::shared_ptr<EntriesCoordinatorDelegate> delegate() const;

    std::weak_ptr<Host> m_host;
    std::shared_ptr<Shared::RecordStore> m_recordStore;
    std::shared_ptr<Shared::PreferenceStore> m_preferenceStore;
    std::shared_ptr<Metricove::AnalyticsStore> m_analyticsStore;
};

} // namespace Corvendale
