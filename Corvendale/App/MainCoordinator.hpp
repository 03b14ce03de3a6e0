#pragma once

#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"
#include "Corvendale/Screens/Items/EntriesCoordinatorDelegate.hpp"
#include "Corvendale/Screens/Items/EntrySelectionCDelegate.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerVCDelegate.hpp"
#include "Corvendale/Screens/Settings/SettingsCDelegate.hpp"
#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Model/Entry.Category.hpp"
#include "Shared/Screens/EntryDetailsVC.State.hpp"
#include "Shared/Screens/Menu.Source.hpp"
#include "Shared/Screens/ProcessingActionPresenting.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Basalwork/Interface/CoordinatingSplitViewController.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIAdaptivePresentationControllerDelegate.hpp"
#include "Platform/UIKit/UISplitViewControllerDelegate.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace Foundation {
class UserDefaults;
}

namespace Shared {
class Entry;
class EntriesVC;
class LetterPressCollector;
} // namespace Shared

namespace Corvendale {

class EntriesCoordinator;
class EntryDetailsCoordinator;
class MainCoordinatorDelegate;

// The unlocked window's root: a split view of the item list (primary column) and the item details
// (secondary column). It turns the list's selection into what the details show, runs the actions on one
// or several items and picks what is selected afterwards, starts new items, routes the files the system
// opens with the program, copies secrets with a "Copied " banner, answers the window's menu and key
// commands, and closes what it presents when the vault locks or the account is reset.
class MainCoordinator : public Basalwork::CoordinatingSplitViewController,
                        public UnexpectedErrorHandling,
                        public Shared::PreferenceStoreAppearanceUpdateHandling,
                        public EntriesCoordinatorDelegate,
                        public EntryDetailsCoordinatorDelegate,
                        public EntrySelectionCDelegate,
                        public LargeViewerVCDelegate,
                        public Shared::ProcessingActionPresenting,
                        public UIKit::UIAdaptivePresentationControllerDelegate,
                        public UIKit::UISplitViewControllerDelegate,
                        public SettingsCDelegate {
public:
    using DetailsState = Shared::EntryDetailsVCState;

    static constexpr const char* mostRecentPrimaryColumnWidthKey = "MainCoordinator.mostRecentPrimaryColumnWidth";
    static constexpr double listColumnMinimumWidth = 200;
    static constexpr double listColumnMaximumWidth = 10000;
    // How long a "Copied " banner shows.
    static constexpr double copiedBannerDuration = 3.0;

    // Where a new item comes from: an empty item of a category, or a shared item link.
    using AddEntrySource = std::variant<Shared::EntryCategory, Foundation::URL>;
    // What a bulk action does to the items.
    enum class ItemAction { archive, unarchive, moveToTrash, restore, permanentlyDelete };

    std::shared_ptr<MainCoordinatorDelegate> coordinatingDelegate() const { return m_coordinatingDelegate.lock(); }
    void setCoordinatingDelegate(const std::shared_ptr<MainCoordinatorDelegate>& delegate) { m_coordinatingDelegate = delegate; }
    const std::shared_ptr<EntriesCoordinator>& entriesCoordinator() const { return m_entriesCoordinator; }
    const std::shared_ptr<EntryDetailsCoordinator>& entryDetailsCoordinator() const { return m_entryDetailsCoordinator; }
    const std::shared_ptr<Shared::EntriesVC>& entriesVC() const;

    // The stored width, or none (the split view's automatic width) when nothing usable is stored.
    std::optional<double> mostRecentPrimaryColumnWidth() const;

    // A file the system asked the program to open; called now, or after the next unlock.
    virtual void openImportableFile(const Foundation::URL& url);
    // Shows the details column: beside the list, or on its own while collapsed.
    void showEntryDetails();
    // "Copied " followed by `text`, with the clipboard subtitle, for three seconds.
    virtual void presentInAppNotification(const Foundation::String& text);
    void copyUsername(const Foundation::String& ofEntryWithID) override;
    void copyPassword(const Foundation::String& ofEntryWithID) override;
    void copyOneTimePassword(const Foundation::String& ofEntryWithID) override;
    // The banner subtitle for the clipboard's automatic clearing; none when it never clears.
    std::optional<Foundation::String> autoClearSubtitle() const;
    // Opens the details on a new item, with `inputToSelect` selected shortly after.
    void attemptPresentAddEntry(const AddEntrySource& source, const std::optional<Shared::MenuSource>& inputToSelect, bool animated);
    void presentNewLoginItem();
    void presentRemoveTagsFromAllItems(bool animated);

    // Dismisses what the coordinator presents, then runs `completion` (at once when nothing is presented).
    void dismissIfPresenting(bool animated, std::function<void()> completion = nullptr);

    // --- Item actions -----------------------------------------------------------------------------------

    // The one shape of every bulk action: the selection to keep afterwards is worked out first, the record
    // store changes the items, a sync starts, and the list selects on a later turn of the main queue.
    void performActionAndUpdateSelection(const std::vector<Foundation::String>& entryIDs, ItemAction action);
    // The item the list selects after acting on `entryIDs`: the nearest shown one after the first acted-on
    // item that is not acted on, else the nearest before it; none when none is left.
    static std::optional<Foundation::String> selectionAfterActing(const std::vector<Foundation::String>& shownEntryIDs,
                                                                  const std::vector<Foundation::String>& entryIDs);
    // Takes the keyboard when nothing in the window holds it, so the window's key commands reach it.
    void becomeFirstResponderIfNothingIs();
    // Gives the list the keyboard focus.
    void focusList();

    // EntriesCoordinatorDelegate
    void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, EntriesCoordinator& entriesCoordinator) override;
    void didSelectEdit(const Foundation::String& entryID, EntriesCoordinator& entriesCoordinator) override;
    void didSelectReplaceExistingDataWithiCloudData(EntriesCoordinator& entriesCoordinator) override;
    void didSelectOpenInBrowser(const Foundation::String& entryID, EntriesCoordinator& entriesCoordinator) override;
    void didSelectOpenInBrowserAndQuit(const Foundation::String& entryID, EntriesCoordinator& entriesCoordinator) override;
    void didSelectChangeCategory(Shared::EntryCategory category, const std::vector<Foundation::String>& entryIDs,
                                 EntriesCoordinator& entriesCoordinator) override;
    void presentLargeFirstCopyablePassword(const Foundation::String& ofEntryWithID, bool animated) override;
    void presentLargeFirstCopyableOneTimePassword(const Foundation::String& ofEntryWithID, bool animated) override;
    void updateIsFavorite(bool isFavorite, const std::vector<Foundation::String>& entryIDs) override;
    void updateIsArchived(bool isArchived, const std::vector<Foundation::String>& entryIDs) override;
    void updateIsTrashed(bool isTrashed, const std::vector<Foundation::String>& entryIDs) override;
    void permanentlyDelete(const std::vector<Foundation::String>& entryIDs) override;
    void duplicate(const DuplicateResult& entryIDs, bool selectDuplicatedEntries) override;
    void showPasswordHistory() override;
    void hidePasswordHistory() override;
    bool isShowingPasswordHistory() const override;
    bool isDisplayingEntry(const Foundation::String& withID) const override;
    void attemptPresentAddEntry(Shared::EntryCategory source, bool animated) override;
    void presentSettings(bool animated) override;

    // EntryDetailsCoordinatorDelegate
    bool isPresenting(const UIKit::UIViewController& viewController) const override;
    void dismissPresented(UIKit::UIViewController& viewController) override;
    bool isSelectingMultipleEntries() const override;
    void selectEntryInList(const Foundation::String& entryID) override;
    void presentLargeViewer(const LargeViewerVContent& content) override;
    void duplicate(const std::vector<Foundation::String>& entryIDs) override;

    // LargeViewerVCDelegate
    void dismissLargeViewer() override;
    // When the top-most presented controller is the large-type viewer, dismisses it.
    void dismissLargeViewerIfPresented(bool animated);

    // SettingsCDelegate
    void didSelectReplaceExistingDataWithiCloudData(SettingsC& settingsC) override;

    // The details shown on their own were swiped away: the list takes the keyboard.
    void presentationControllerDidDismiss(UIKit::UIPresentationController& controller) override;

    // Collapsed, the details are presented on their own rather than kept as a column.
    bool collapseSecondary(UIKit::UISplitViewController& splitViewController, const std::shared_ptr<UIKit::UIViewController>& secondary,
                           const std::shared_ptr<UIKit::UIViewController>& ontoPrimary) override;
    std::shared_ptr<UIKit::UIViewController> separateSecondary(UIKit::UISplitViewController& splitViewController,
                                                               const std::shared_ptr<UIKit::UIViewController>& fromPrimary) override;

    // EntrySelectionCDelegate
    void entrySelectionCDidCancel() override;
    void entrySelectionC(const Foundation::String& didSelect, const Foundation::URL& otpAuthURL) override;
    void entrySelectionC(Shared::EntryCategory didSelectNewItemFor, const Foundation::URL& otpAuthURL) override;

    // --- Commands of the window ------------------------------------------------------------------------

    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    bool canPerformAction(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& sender) override;
    void validate(const std::shared_ptr<UIKit::UICommand>& command) override;
    void pressesBegan(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event) override;
    void pressesEnded(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event) override;
    void pressesCancelled(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event) override;
    // Carries out a command of the window when its rule holds; false when it does not (or is no command here).
    bool perform(Foundation::Selector action, const std::shared_ptr<Foundation::NSObject>& sender = nullptr);

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void viewDidAppear(bool animated) override;
    void willTransition(const UIKit::UITraitCollection& to, const std::shared_ptr<UIKit::UIViewControllerTransitionCoordinator>& with) override;
    void update(const Shared::Settings::Appearance& appearance) override;
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

protected:
    friend Foundation::Construct;
    MainCoordinator();
    void initialize() override;
    virtual void startObserving();
    // The list's selection is cleared without touching the details.
    virtual void resetListSelection();

private:
    class Commands;
    friend class Commands;
    static void registerCommands();

    // The item, or none; a failed read is reported as unexpected for the operation `function`.
    std::optional<Shared::Entry> lookUp(const Foundation::String& entryID, const char* function);
    // Copies the text (sensitive: cleared after the chosen time) and shows the banner for `label`.
    void copy(const std::optional<Foundation::String>& label, const std::optional<Foundation::String>& value, bool isSensitive);
    // Applies `state` to the details without saving; failures go to "Oops!" for `function`.
    bool applyDetailsState(DetailsState state, bool animated, const char* function);
    void startSync();
    void presentEntrySelection(const Foundation::URL& otpAuthURL);
    void openInBrowser(const Foundation::String& entryID, bool quitting);
    void selectInList(const std::vector<Foundation::String>& entryIDs);
    bool isDetailsPresentedHere() const;
    bool isExpanded() const { return !isCollapsed(); }

    std::weak_ptr<MainCoordinatorDelegate> m_coordinatingDelegate;
    std::shared_ptr<EntriesCoordinator> m_entriesCoordinator;
    std::shared_ptr<EntryDetailsCoordinator> m_entryDetailsCoordinator;
    std::shared_ptr<Shared::LetterPressCollector> m_letterPressCollector;
    std::shared_ptr<Foundation::UserDefaults> m_userDefaults;
};

} // namespace Corvendale
