#pragma once

#include "Sorrelgate/Dependencies.hpp"

#include "Shared/Screens/EntriesVCPickerDelegate.hpp"
#include "Shared/Model/Settings.Items.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"
#include "Platform/AuthenticationServices/ASCredentialServiceIdentifier.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace Shared {
class EntriesVC;
class LetterPressCollector;
} // namespace Shared

namespace Sorrelgate {

class EntriesCDelegate;

// The extension's list of the items for the site or app that asked, beneath the unlock screen: search,
// the keyboard's moves, type-to-select, a choice, a new item. While the vault is not unlocked it shows
// nothing, takes no choice and gives up the keyboard.
class EntriesC : public Basalwork::CoordinatingViewController, public Shared::EntriesVCPickerDelegate, public DependenciesAccessing {
public:
    using ServiceIdentifiers = std::vector<AuthenticationServices::ASCredentialServiceIdentifier>;

    std::shared_ptr<EntriesCDelegate> delegate() const { return m_delegate.lock(); }
    const ServiceIdentifiers& serviceIdentifiers() const { return m_serviceIdentifiers; }
    const std::optional<Foundation::String>& associatedDomainText() const { return m_associatedDomainText; }
    const std::shared_ptr<Shared::EntriesVC>& entriesVC() const { return m_entriesVC; }
    bool hasSelectionBeenReportedToDelegate() const { return m_hasSelectionBeenReportedToDelegate; }

    ~EntriesC() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    virtual void startObserving();
    virtual void rebuild(bool animated);
    // The search field when the site has no item (the user is to type), else the list's keys.
    void focusStep();

    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
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

    // Shared::EntriesVCPickerDelegate: the items, a choice, a new item, cancel.
    bool canShowEntries(Shared::EntriesVC&) override;
    Shared::Settings::Items::SortMethod sortMethod(const Shared::Entry::Filter&, Shared::EntriesVC&) override { return m_selectedSortMethod; }
    Shared::EntriesVCItems entryIndices(const Shared::Entry::Filter& filter, Shared::Settings::Items::SortMethod sortMethod,
                                                 Shared::EntriesVC& entriesTVC) override;
    void didUpdateSearchText(Shared::EntriesVC&) override { rebuild(false); }
    void didUpdate(const std::vector<Foundation::String>& selectedEntryIDs, bool shouldUpdateDetails, Shared::EntriesVC& entriesTVC) override;
    void didRequestSearchFocus(Shared::EntriesVC&) override;
    void needsUpdate(Shared::EntriesVC&) override { rebuild(false); }
    bool isBeingDisplayedInExpandedSplitView(Shared::EntriesVC&) override;
    void didSelectCancel(Shared::EntriesVC& entriesV) override;
    std::shared_ptr<UIKit::UIMenu> newItemMenu(UIKit::UIButton& newItemButton) override;
    void didActivate(const Foundation::String& entryID, Shared::EntriesVC& entriesVC) override;

protected:
    friend Foundation::Construct;
    EntriesC(ServiceIdentifiers serviceIdentifiers, const std::shared_ptr<EntriesCDelegate>& delegate);
    void initialize() override;

private:
    EntriesC(std::shared_ptr<Shared::EntriesVC> entriesVC, ServiceIdentifiers serviceIdentifiers, const std::shared_ptr<EntriesCDelegate>& delegate);
    bool isAuthenticated() const;
    bool isPresenting() const;
    // Runs a key's request on the list unless something is presented over it or the vault is locked.
    void whenIdle(void (Shared::EntriesVC::*request)());
    void choose(const Foundation::String& entryID);
    void authenticationStateDidChange();

    std::weak_ptr<EntriesCDelegate> m_delegate;
    ServiceIdentifiers m_serviceIdentifiers;
    std::optional<Foundation::String> m_associatedDomainText;
    std::shared_ptr<Shared::EntriesVC> m_entriesVC;
    std::shared_ptr<Shared::LetterPressCollector> m_letterPressCollector;
    Shared::Settings::Items::SortMethod m_selectedSortMethod = Shared::Settings::Items::defaultSortMethod;
    bool m_hasSelectionBeenReportedToDelegate = false;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Sorrelgate
