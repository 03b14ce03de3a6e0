#pragma once

#include "Corvendale/Services/UnexpectedErrorHandling.hpp"

#include "Shared/Screens/EntriesVCPickerDelegate.hpp"

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
class EntrySelectionC : public Basalwork::CoordinatingViewController, public UnexpectedErrorHandling, public Shared::EntriesVCPickerDelegate {
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

    // What the picker answers the list: the items, a choice, a new item, cancel.
    bool canShowEntries(Shared::EntriesVC&) override { return true; }
    Shared::Settings::Items::SortMethod sortMethod(const Shared::Entry::Filter& filter, Shared::EntriesVC& entriesTVC) override;
    Shared::EntriesVCItems entryIndices(const Shared::Entry::Filter& filter, Shared::Settings::Items::SortMethod sortMethod,
                                                 Shared::EntriesVC& entriesTVC) override;
    void didUpdateSearchText(Shared::EntriesVC& entriesTVC) override;
    void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool shouldUpdateDetails, Shared::EntriesVC& entriesTVC) override;
    void didRequestSearchFocus(Shared::EntriesVC& entriesTVC) override;
    void needsUpdate(Shared::EntriesVC&) override {}
    bool isBeingDisplayedInExpandedSplitView(Shared::EntriesVC&) override { return false; }
    void didSelectCancel(Shared::EntriesVC& entriesV) override;
    std::shared_ptr<UIKit::UIMenu> newItemMenu(UIKit::UIButton& newItemButton) override;
    void didActivate(const Foundation::String& entryID, Shared::EntriesVC& entriesVC) override;

protected:
    friend Foundation::Construct;
    EntrySelectionC(Foundation::URL otpAuthURL, std::optional<Foundation::String> associatedDomainText);
    void initialize() override;

private:
    EntrySelectionC(std::shared_ptr<Shared::EntriesVC> entriesVC, Foundation::URL otpAuthURL, std::optional<Foundation::String> associatedDomainText);
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
