#pragma once

#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Screens/EntriesVCDelegate.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Shared {
class EntriesVC;
class LetterPressCollector;
} // namespace Shared

namespace Corvendale {

class EntrySelectionCDelegate;

// Picks the existing item that receives a one-time-password setup link, or starts a new item for it.
// The list is the main list's screen in its picker mode; everything else of the main list it leaves out.
class EntrySelectionC : public Basalwork::CoordinatingViewController, public UnexpectedErrorHandling, public Shared::EntriesVCDelegate {
public:
    std::shared_ptr<EntrySelectionCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<EntrySelectionCDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<Shared::EntriesVC>& entriesVC() const { return m_entriesVC; }
    const Foundation::URL& otpAuthURL() const { return m_otpAuthURL; }
    const std::optional<Foundation::String>& associatedDomainText() const { return m_associatedDomainText; }

    ~EntrySelectionC() override;
    void viewDidLoad() override;
    void updateView(bool animated);
    void autoSelectSearchIfNeeded();

    // Keyboard-driven like the main list: Escape closes the picker while no search is typed, Command-F
    // searches, the arrows move and extend the list's selection, Return chooses the one selected item;
    // none of them acts while something is presented over the picker. Letters typed outside the search
    // field search for themselves.
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    bool canBecomeFirstResponder() const override { return true; }
    void handleEscapeKeyPress();
    void handleFindCommand();
    void handleUpArrowKeyPress();
    void handleDownArrowKeyPress();
    void handleShiftUpArrowKeyPress();
    void handleShiftDownArrowKeyPress();
    void handleOptionUpArrowKeyPress();
    void handleOptionDownArrowKeyPress();
    void handleOptionShiftUpArrowKeyPress();
    void handleOptionShiftDownArrowKeyPress();
    void handleReturnKeyPress();
    void pressesBegan(const std::vector<std::shared_ptr<UIKit::UIPress>>& presses, const std::shared_ptr<UIKit::UIEvent>& event) override;

    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    // What the picker answers the list: the items, a choice, a new item, cancel; nothing else.
    bool canShowEntries(Shared::EntriesVC&) override { return true; }
    Shared::Settings::Items::SortMethod sortMethod(const Shared::Entry::Filter& filter, Shared::EntriesVC& entriesTVC) override;
    Shared::EntriesVCItems entryIndices(const Shared::Entry::Filter& filter, Shared::Settings::Items::SortMethod sortMethod,
                                                 Shared::EntriesVC& entriesTVC) override;
    void didUpdateSearchText(Shared::EntriesVC& entriesTVC) override;
    void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool shouldUpdateDetails, Shared::EntriesVC& entriesTVC) override;
    std::shared_ptr<UIKit::UIMenu> contextMenu(const std::vector<Foundation::String>&, const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override
    {
        return nullptr;
    }
    void didRequestSearchFocus(Shared::EntriesVC& entriesTVC) override;
    void needsUpdate(Shared::EntriesVC&) override {}
    std::optional<Foundation::String> username(const Foundation::String&, Shared::EntriesVC&) override { return std::nullopt; }
    void copyUsername(const Foundation::String&, SwipeCompletion, Shared::EntriesVC&) override {}
    std::optional<Foundation::String> password(const Foundation::String&, Shared::EntriesVC&) override { return std::nullopt; }
    void copyPassword(const Foundation::String&, SwipeCompletion, Shared::EntriesVC&) override {}
    std::optional<Foundation::String> oneTimePassword(const Foundation::String&, Shared::EntriesVC&) override { return std::nullopt; }
    void copyOneTimePassword(const Foundation::String&, SwipeCompletion, Shared::EntriesVC&) override {}
    bool allowsLeadingSwipeActions(Shared::EntriesVC&) override { return false; }
    bool allowsTrailingSwipeActions(Shared::EntriesVC&) override { return false; }
    void didSwipeToFavorite(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion, Shared::EntriesVC&) override
    {
        refuse(completion);
    }
    void didSwipeToUnfavorite(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion, Shared::EntriesVC&) override
    {
        refuse(completion);
    }
    void didSwipeToDuplicate(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion, Shared::EntriesVC&) override {}
    void didSwipeToShare(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion, Shared::EntriesVC&) override {}
    void didSwipeToArchive(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion, Shared::EntriesVC&) override
    {
        refuse(completion);
    }
    void didSwipeToUnarchive(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion, Shared::EntriesVC&) override
    {
        refuse(completion);
    }
    void didSwipeToMoveToTrash(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion, Shared::EntriesVC&) override
    {
        refuse(completion);
    }
    void didSwipeToRestore(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion, Shared::EntriesVC&) override
    {
        refuse(completion);
    }
    void didSwipeToDeletePermanently(const Foundation::String&, const std::shared_ptr<UIKit::UIView>&, SwipeCompletion completion,
                                     Shared::EntriesVC&) override
    {
        refuse(completion);
    }
    bool isBeingDisplayedInExpandedSplitView(Shared::EntriesVC&) override { return false; }
    void didSelectSyncStatusIndicator(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectSettings(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectSelect(Shared::EntriesVC&) override {}
    void didSelectCancel(Shared::EntriesVC& entriesV) override;
    void didSelectDone(Shared::EntriesVC&) override {}
    void didSelectSelectAll(Shared::EntriesVC&) override {}
    void didSelectDeselectAll(Shared::EntriesVC&) override {}
    void didSelectFavorite(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectUnfavorite(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectDuplicate(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectArchive(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectUnarchive(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectMoveToTrash(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectRestore(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    void didSelectDeletePermanently(const std::shared_ptr<UIKit::UIView>&, Shared::EntriesVC&) override {}
    std::shared_ptr<UIKit::UIMenu> contextMenu(UIKit::UIButton&) override { return nullptr; }
    std::shared_ptr<UIKit::UIMenu> newItemMenu(UIKit::UIButton& newItemButton) override;
    void didActivate(const Foundation::String& entryID, Shared::EntriesVC& entriesVC) override;

protected:
    friend Foundation::Construct;
    EntrySelectionC(Foundation::URL otpAuthURL, std::optional<Foundation::String> associatedDomainText);
    void initialize() override;

private:
    EntrySelectionC(std::shared_ptr<Shared::EntriesVC> entriesVC, Foundation::URL otpAuthURL, std::optional<Foundation::String> associatedDomainText);
    static void refuse(const SwipeCompletion& completion)
    {
        if (completion)
            completion(false);
    }
    void registerForNotifications();
    // Runs a key's request on the list unless something is presented over the picker.
    void whenIdle(void (Shared::EntriesVC::*request)());

    std::weak_ptr<EntrySelectionCDelegate> m_delegate;
    std::shared_ptr<Shared::EntriesVC> m_entriesVC;
    Foundation::URL m_otpAuthURL;
    std::optional<Foundation::String> m_associatedDomainText;
    std::shared_ptr<Shared::LetterPressCollector> m_letterPressCollector;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Corvendale
