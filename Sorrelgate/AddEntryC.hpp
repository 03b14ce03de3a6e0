#pragma once

#include "Sorrelgate/Dependencies.hpp"

#include "Shared/Screens/EntryDetailsVC.EmptyTOTPFieldVisibility.hpp"
#include "Shared/Screens/EntryDetailsVCDelegate.hpp"
#include "Shared/Screens/Menu.Source.hpp"
#include "Shared/Screens/PasswordGeneratorCDelegate.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"
#include "Platform/AuthenticationServices/ASCredentialServiceIdentifier.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Shared {
class EntryDetailsVC;
class MenuAction;
class PasswordGenerator;
} // namespace Shared

namespace Sorrelgate {

class AddEntryCDelegate;

// The new login for the site that asked, made without leaving the AutoFill sheet: the item details in
// editing form over an editing context, prefilled with the site and the default user name. Done saves it
// and hands it over as the chosen credential; Cancel and Escape close it, nothing saved. The password's
// menu opens the generator, under the field or over the screen as the preferences say.
class AddEntryC : public Basalwork::CoordinatingViewController,
                  public Shared::EntryDetailsVCDelegate,
                  public Shared::PasswordGeneratorCDelegate,
                  public DependenciesAccessing {
public:
    using ServiceIdentifiers = std::vector<AuthenticationServices::ASCredentialServiceIdentifier>;

    std::shared_ptr<AddEntryCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<AddEntryCDelegate>& delegate) { m_delegate = delegate; }
    const ServiceIdentifiers& serviceIdentifiers() const { return m_serviceIdentifiers; }
    const std::shared_ptr<Shared::EntryDetailsVC>& entryDetailsVC() const { return m_entryDetailsVC; }
    const Foundation::String& entryID() const { return m_entryID; }
    const std::shared_ptr<Shared::RecordStore::EditingContext>& editingContext() const { return m_editingContext; }
    const std::optional<Shared::MenuSource>& menuSourceToShowInlineGenerator() const { return m_menuSourceToShowInlineGenerator; }

    ~AddEntryC() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    virtual void startObservingEditingContext();
    // Throws what the details screen's update throws.
    virtual void rebuild(bool animated);

    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void handleEscapeKeyPress();
    void tabKeyPressed();
    void shiftTabKeyPressed();

    // Shared::EntryDetailsVCDelegate: the header
    void didSelectPinWindow(Shared::EntryDetailsVHeaderV&) override {}
    void didSelectLock(Shared::EntryDetailsVHeaderV&) override {}
    void didSelectDismiss(Shared::EntryDetailsVHeaderV&) override {}
    void didSelectCancel(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectEdit(Shared::EntryDetailsVHeaderV&) override {}
    void didSelectDone(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectRestore(Shared::EntryDetailsVHeaderV&) override {}
    // ... and the rows
    void didSelect(const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView, UIKit::CGRect rectInSourceView,
                   Shared::EntryDetailsTVC& entryDetailsTVC) override;
    std::shared_ptr<UIKit::UIMenu> menu(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didBeginEditingText(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didEndEditingText(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdate(const Foundation::String& text, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didRequestInputAdvance(const Shared::MenuSource&, Shared::EntryDetailsTVC&) override;
    void didSelect(const Foundation::URL&, const Shared::MenuSource&, Shared::EntryDetailsTVC&) override {}
    void didFailToSelectFileURL(const Foundation::ErrorPtr&, const Shared::MenuSource&, Shared::EntryDetailsTVC&) override {}
    void didRequestDocumentPicker(const Shared::MenuSource&, Shared::EntryDetailsTVC&) override {}
    void didSelectClear(const Shared::MenuSource&, Shared::EntryDetailsTVC&) override {}
    void didSelectQuickAction(const Shared::MenuSource&, Shared::EntryDetailsTVC&) override {}
    void didUpdate(bool, Shared::EntryDetailsTVC&) override {}
    void regeneratePasswordOrPIN(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorLength(std::int64_t length, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorCount(std::int64_t count, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorIncludesNumbers(bool includesNumbers, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorIncludesSymbols(bool includesSymbols, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorSeparator(const Foundation::String& separator, const Shared::MenuSource& menuSource,
                                     Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdate(const Shared::PasswordGenerator& generatorSettings, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    std::optional<Foundation::URL> fileURLForDragging(const Shared::MenuSource&, Shared::EntryDetailsTVC&) override { return std::nullopt; }
    bool isSectionEditing(Shared::EntryDetailsTVC&) override { return false; }
    bool isFieldEditing(Shared::EntryDetailsTVC&) override { return false; }
    void didMoveField(Shared::EntryField::ID, Shared::EntryField::ID, Shared::EntryDetailsTVC&) override {}
    void didMoveSection(std::int64_t, std::int64_t, Shared::EntryDetailsTVC&) override {}
    std::shared_ptr<Shared::TagStore> tagStore(Shared::EntryDetailsTVC&) override;

    // Shared::PasswordGeneratorCDelegate
    void didSelectCancel(Shared::PasswordGeneratorC& passwordGeneratorC) override;
    void didSelectDone(const Foundation::String& password, const Shared::MenuSource& menuSource, Shared::PasswordGeneratorC& passwordGeneratorC) override;

protected:
    friend Foundation::Construct;
    // Throws when the editing context or the new item cannot be made.
    AddEntryC(const Foundation::String& vaultID, ServiceIdentifiers serviceIdentifiers);
    void initialize() override;

private:
    AddEntryC(std::shared_ptr<Shared::EntryDetailsVC> entryDetailsVC, const Foundation::String& vaultID, ServiceIdentifiers serviceIdentifiers);
    bool isPresenting() const { return presentedViewController() != nullptr; }
    void setText(const Foundation::String& text, const Shared::MenuSource& menuSource);
    void perform(const Shared::MenuAction& action, const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView);
    // Under the field, or presented over the screen anchored at the source view (none: nothing opens).
    void openGenerator(const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView);
    void dismissGenerator();
    // Rebuilds; a failure ends the request with it.
    void rebuildOrCancel();
    void rebuildDroppingFailure();
    // Stores a changed generator setting (false: the setting does not apply) and fills in a fresh value.
    void updateGenerator(const Shared::MenuSource& menuSource, const std::function<bool(Shared::PasswordGenerator&, bool isPINField)>& change);
    void cancelRequest(const Foundation::Error& error);

    std::weak_ptr<AddEntryCDelegate> m_delegate;
    ServiceIdentifiers m_serviceIdentifiers;
    std::shared_ptr<Shared::EntryDetailsVC> m_entryDetailsVC;
    Foundation::String m_entryID;
    std::shared_ptr<Shared::RecordStore::EditingContext> m_editingContext;
    std::optional<Shared::MenuSource> m_menuSourceToSelectOnNextUpdateView;
    Shared::EntryDetailsVCEmptyTOTPFieldVisibility m_emptyTOTPFieldVisibility = Shared::EntryDetailsVCEmptyTOTPFieldVisibility::hidden;
    bool m_showAutoFillDomains = false;
    std::optional<Shared::MenuSource> m_menuSourceToShowInlineGenerator;
    std::shared_ptr<Foundation::NSObject> m_observer;
};

} // namespace Sorrelgate
