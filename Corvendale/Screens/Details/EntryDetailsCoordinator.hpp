#pragma once

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.DocumentPickerAction.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinator.QuickLookState.hpp"
#include "Corvendale/Services/UnexpectedErrorHandling.hpp"
#include "Corvendale/Screens/Settings/AutoFillCDelegate.hpp"

#include "Shared/Screens/EntryDetailsVC.State.hpp"
#include "Shared/Screens/EntryDetailsVCDelegate.hpp"
#include "Shared/Screens/Menu.Action.hpp"
#include "Shared/Screens/Menu.Source.hpp"
#include "Shared/Screens/PasswordGeneratorCDelegate.hpp"

#include "Basalwork/Interface/CoordinatingViewController.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/QLPreviewControllerDataSource.hpp"
#include "Platform/UIKit/UIDocumentPickerDelegate.hpp"

#include <memory>
#include <optional>

namespace Foundation {
class NSItemProvider;
class NSObject;
} // namespace Foundation

namespace UIKit {
class UIDocumentPickerViewController;
class UIMenu;
class UIView;
} // namespace UIKit

namespace Basalwork {
class PresentationSource;
}

namespace Shared {
class AttachmentDataSource;
class ProcessingActionPresenting;
struct Attachment;
class Entry;
class EntryDetailsVC;
class MenuBuilder;
class TOTP;
} // namespace Shared

namespace Corvendale {

class EntryDetailsCoordinatorDelegate;
class LargeViewerVContent;

// The right column of the unlocked window: embeds the item details, keeps what they show (their state)
// and changes it through one sequence (`transition`), answers the rows' menus and carries out their
// actions, and takes every edit into the state's editing context until Done saves it.
class EntryDetailsCoordinator : public Basalwork::CoordinatingViewController,
                                public UnexpectedErrorHandling,
                                public UIKit::QLPreviewControllerDataSource,
                                public UIKit::QLPreviewControllerDelegate,
                                public UIKit::UIDocumentPickerDelegate,
                                public Shared::EntryDetailsVCDelegate,
                                public Shared::PasswordGeneratorCDelegate,
                                public AutoFillCDelegate {
public:
    using State = Shared::EntryDetailsVCState;
    using DocumentPickerAction = EntryDetailsCoordinatorDocumentPickerAction;
    using QuickLookState = EntryDetailsCoordinatorQuickLookState;

    std::shared_ptr<EntryDetailsCoordinatorDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<EntryDetailsCoordinatorDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<Shared::EntryDetailsVC>& entryDetailsVC() const { return m_entryDetailsVC; }
    const State& state() const { return m_state; }

    // --- State and transitions ----------------------------------------------------------------------

    // The one way the state changes: saves first when asked (a failed save keeps the old state and
    // throws), assigns, takes the editing context in, adjusts first responder and modality, and shows it.
    void transition(State state, bool saveCurrentEdits, bool becomeFirstResponder, bool animated);
    // Opens the item for editing (nothing when it is already being edited); failures show "Oops!".
    // The link is not used: a link arrives through `attemptToUpdate`.
    void transitionToEdit(const Foundation::String& entryID, bool saveCurrentEdits, const std::optional<Foundation::URL>& otpAuthURLToAdd,
                          bool animated);
    // Puts an otpauth link into the item being edited.
    void attemptToUpdate(const Foundation::URL& otpAuthURL, bool shouldSelectTOTPSecretKeyInput);
    void updateAutoFillAvailability(bool animated);
    // Hands the state to the screen; throws what the screen threw.
    void updateView(bool animated);
    // The Option key, while an item is viewed.
    void revealAllSecureFieldsViaOverride();
    void removeConcealOverrides();
    // Saves the edits (when there are any) and starts a sync; throws a failed save.
    void saveCurrentEdits();
    // Leaves editing without saving.
    void didSelectCancel();
    // Leaves editing as a person asks to (Escape, the Cancel button): edits that were not saved are
    // lost only once the user confirms it.
    void cancelAfterAsking();

    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void tabKeyPressed();
    void shiftTabKeyPressed();
    void escapeKeyPressed();

    ~EntryDetailsCoordinator() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // --- Menus and actions --------------------------------------------------------------------------

    // What the header asks before acting on the whole item.
    enum class Confirmation { duplicate, archive, moveToTrash };

    // The row's menu; none for a row without one, or without a single item.
    std::shared_ptr<UIKit::UIMenu> menu(const Shared::MenuSource& menuSource);
    // Carries out a menu's action on a row; failures show "Oops!" (or the limit alerts).
    void perform(const Shared::MenuAction& action, const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView);
    // A fresh password or PIN for the row, while editing.
    void regeneratePasswordOrPIN(const Shared::MenuSource& menuSource);
    // The add-field, change-type and delete entries of a custom field's menu while editing.
    void changeFieldTypeMenu(const Shared::MenuSource& menuSource, Shared::MenuBuilder& builder) const;

    // The custom field at a position; none when the item has none there.
    static const Shared::EntryField* findField(const Shared::Entry& entry, Shared::EntryField::ID id);
    // The subtitle source a row stands for: a system field or a custom field.
    static std::optional<Shared::EntrySubtitleSource> subtitleSource(const Shared::MenuSource& menuSource);
    std::optional<Foundation::String> copyableText(const Shared::MenuSource& menuSource) const;
    std::optional<Foundation::String> copiedNotificationTitle(const Shared::MenuSource& menuSource) const;
    std::optional<Foundation::String> copiedSecretKeyNotificationTitle(const Shared::MenuSource& menuSource) const;
    std::optional<LargeViewerVContent> largeViewerContent(const Shared::MenuSource& menuSource) const;
    // The one-time password a row shows.
    std::optional<Shared::TOTP> previousValue(const Shared::MenuSource& menuSource) const;
    // Opens "tel://" with the number's spaces removed.
    void call(const Foundation::String& phoneNumber);

    // --- Attachments --------------------------------------------------------------------------------
    // Every decrypted copy is a plaintext secret: it goes when the preview closes, when the picker that
    // saves it finishes or gives up, when the share sheet ends, and at once when nothing can show it
    // any more (the coordinator gone, the vault locked, something else in front).

    const QuickLookState& quickLookState() const { return m_quickLookState; }
    const std::optional<DocumentPickerAction>& documentPickerAction() const { return m_documentPickerAction; }
    // The attachment a custom field's row names, from the store while viewing, from the edit while editing.
    std::optional<Shared::Attachment> attachment(const Shared::MenuSource& menuSource) const;
    // Whether the row's attachment has its file here (a synced one's may still be on its way).
    bool attachmentInfo(const Shared::MenuSource& menuSource) const;
    // Each decrypts the attachment to a temporary file behind the delegate's progress, then shows it,
    // saves it through the export picker, or shares it; one preview at a time.
    void presentQuickLook(const Shared::Attachment& attachment, bool animated);
    void presentSaveTo(const Shared::Attachment& attachment, bool animated);
    void presentShare(const Shared::Attachment& attachment, const Basalwork::PresentationSource& presentationSource, bool animated);
    std::shared_ptr<UIKit::UIDocumentPickerViewController> makeDocumentPicker(const DocumentPickerAction& action) const;
    // QLPreviewControllerDataSource, QLPreviewControllerDelegate
    std::int64_t numberOfPreviewItems(UIKit::QLPreviewController& controller) override;
    Foundation::URL previewItemAt(UIKit::QLPreviewController& controller, std::int64_t index) override;
    void previewControllerDidDismiss(UIKit::QLPreviewController& controller) override;
    // UIDocumentPickerDelegate
    void documentPicker(UIKit::UIDocumentPickerViewController& controller, const std::vector<Foundation::URL>& urls) override;
    void documentPickerWasCancelled(UIKit::UIDocumentPickerViewController& controller) override;

    // A "mailto:" link to the address, handed to the system; the unable-to-send-mail alert when none takes it.
    void composeEmail(const Foundation::String& to, bool animated);

    // UnexpectedErrorHandling
    void presentViewController(const std::shared_ptr<UIKit::UIViewController>& viewController, bool animated,
                               std::function<void()> completion) override;

    // EntryDetailsTVCDelegate
    void didSelect(const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView, UIKit::CGRect rectInSourceView,
                   Shared::EntryDetailsTVC& entryDetailsTVC) override;
    std::shared_ptr<UIKit::UIMenu> menu(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didBeginEditingText(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didEndEditingText(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdate(const Foundation::String& text, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didRequestInputAdvance(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didSelect(const Foundation::URL& fileURL, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didFailToSelectFileURL(const Foundation::ErrorPtr& error, const Shared::MenuSource& menuSource,
                                Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didRequestDocumentPicker(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didSelectClear(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didSelectQuickAction(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdate(bool isSafeForInspection, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void regeneratePasswordOrPIN(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorLength(std::int64_t length, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorCount(std::int64_t count, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorIncludesNumbers(bool includesNumbers, const Shared::MenuSource& menuSource,
                                           Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorIncludesSymbols(bool includesSymbols, const Shared::MenuSource& menuSource,
                                           Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdateGeneratorSeparator(const Foundation::String& separator, const Shared::MenuSource& menuSource,
                                     Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didUpdate(const Shared::PasswordGenerator& generatorSettings, const Shared::MenuSource& menuSource,
                   Shared::EntryDetailsTVC& entryDetailsTVC) override;
    std::shared_ptr<Foundation::NSItemProvider> itemProviderForDragging(const Shared::MenuSource& menuSource,
                                                                        Shared::EntryDetailsTVC& entryDetailsTVC) override;
    bool isSectionEditing(Shared::EntryDetailsTVC& entryDetailsTVC) override;
    bool isFieldEditing(Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didMoveField(Shared::EntryField::ID from, Shared::EntryField::ID to, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    void didMoveSection(std::int64_t from, std::int64_t to, Shared::EntryDetailsTVC& entryDetailsTVC) override;
    std::shared_ptr<Shared::TagStore> tagStore(Shared::EntryDetailsTVC& entryDetailsTVC) override;

    // EntryDetailsVHeaderVDelegate
    void didSelectPinWindow(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectLock(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectDismiss(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectCancel(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectEdit(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectDone(Shared::EntryDetailsVHeaderV& headerV) override;
    void didSelectRestore(Shared::EntryDetailsVHeaderV& headerV) override;

    // PasswordGeneratorCDelegate
    void didSelectCancel(Shared::PasswordGeneratorC& passwordGeneratorC) override;
    void didSelectDone(const Foundation::String& password, const Shared::MenuSource& menuSource,
                       Shared::PasswordGeneratorC& passwordGeneratorC) override;

    // AutoFillCDelegate
    void didSelectDone(AutoFillC& autoFillC) override;

protected:
    friend Foundation::Construct;
    // init()
    EntryDetailsCoordinator();
    void initialize() override;
    // After a saved change: the sync coordinator's sync, without a handler.
    virtual void startSync();

private:
    explicit EntryDetailsCoordinator(std::shared_ptr<Shared::EntryDetailsVC> entryDetailsVC);
    // After a saved edit: the AutoFill page, once for a first login while AutoFill is off and once for
    // a first one-time password while it is on.
    void offerAutoFillSettings();
    void presentAutoFillSettings();

    // Steps 2 to 6 of `transition`.
    void apply(State state, bool becomeFirstResponder, bool animated);
    void observeEditingContext(const std::shared_ptr<Shared::RecordStore::EditingContext>& editingContext);
    void registerForNotifications();
    bool isAuthenticated() const;
    bool isMainWindowPinned() const;
    // The viewing state that follows an edit of `entryID` (Cancel and Done).
    State viewingState(const Foundation::String& entryID) const;
    // The conceal state with the concealing preference's mode and no revealed fields.
    Shared::EntryDetailsVCConcealState makeConcealState() const;
    bool isEscapeOffered() const;
    // When the delegate presents this coordinator: dismissed, and the list takes the focus back.
    void dismissIfPresentedByDelegate();

    // The item's text for a row; none when the row names nothing in the item.
    std::optional<Foundation::String> text(const Shared::Entry& entry, const Shared::MenuSource& menuSource) const;
    void performWhileViewing(const Shared::MenuAction& action, const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView);
    void performWhileEditing(const Shared::MenuAction& action, const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView);
    // A change of the stored item made while viewing: its own editing context, saved at once, then a sync.
    void changeStoredEntry(const std::function<void(Shared::RecordStore::EditingContext&, const Foundation::String&)>& change);
    void copy(const std::optional<Foundation::String>& text, const std::optional<Foundation::String>& title, bool isSensitive);
    void presentLimitAlert(bool isFieldLimit, const std::shared_ptr<UIKit::UIView>& sourceView);
    // Writes a value into a field of the item being edited, as typing does.
    void setText(const Foundation::String& text, const Shared::MenuSource& menuSource);
    std::shared_ptr<UIKit::UIMenu> viewingMenu(const Shared::Entry& entry, const Shared::MenuSource& menuSource, Shared::MenuBuilder& builder) const;
    std::shared_ptr<UIKit::UIMenu> editingMenu(const Shared::Entry& entry, const Shared::MenuSource& menuSource, Shared::MenuBuilder& builder) const;
    void didMoveRow(const std::function<void(Shared::RecordStore::EditingContext&, const Foundation::String&)>& move);

    // The header's confirmations: once confirmed, the edits are saved first (a failed save leaves the
    // item as it was), then the owner acts on the one item.
    void presentConfirmation(Confirmation confirmation, const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView);
    // Ends text editing first; the confirmation follows once the keyboard has gone.
    void confirmAfterEndingEditing(Confirmation confirmation, const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView);
    void didConfirm(Confirmation confirmation, const Foundation::String& entryID);
    // The plain-text warning, then the share sheet of the item's fields.
    void presentShareMenuConfirmation(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated);
    void presentShareMenu(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated);
    // The inline generator's option changes: writes the changed settings, then a fresh value.
    void updateGenerator(const Shared::MenuSource& menuSource, const std::function<bool(Shared::PasswordGenerator&, bool isPINField)>& change,
                         bool regeneratesItself);

    // Where the state's attachments are read: the edit's context while editing, else the store's.
    std::shared_ptr<Shared::AttachmentDataSource> attachmentDataSource() const;
    // The gates every attachment presentation passes: nothing presented, a delegate, an attachment source.
    bool canPresentAttachment() const;
    // The delegate shows the jobs' progress (nothing shows without one that can).
    std::shared_ptr<Shared::ProcessingActionPresenting> processingActionPresenter() const;
    // Decrypts behind the progress; `onDecrypted` runs only while the copy can still be shown and owns
    // it from then on. `onEnd` runs otherwise; a failure is then reported with the operation text.
    void decrypt(const Shared::Attachment& attachment, const char* operation, bool animated,
                 std::function<void(EntryDetailsCoordinator&, const Foundation::URL&)> onDecrypted,
                 std::function<void(EntryDetailsCoordinator&)> onEnd = {});
    // Puts the file into the field of the item being edited, behind the delegate's progress.
    void importFile(const Foundation::URL& fileURL, Shared::EntryField::ID fieldID, const char* operation);
    // The row's attachment action (Quick Look, Save To, Share) for the menu's action.
    void performAttachmentAction(const Shared::MenuAction& action, const Shared::MenuSource& menuSource, const std::shared_ptr<UIKit::UIView>& sourceView);

    QuickLookState m_quickLookState = QuickLookState::inactive();
    std::optional<DocumentPickerAction> m_documentPickerAction;
    std::weak_ptr<EntryDetailsCoordinatorDelegate> m_delegate;
    std::shared_ptr<Shared::EntryDetailsVC> m_entryDetailsVC;
    State m_state;
    std::optional<Shared::MenuSource> m_menuSourceToSelectOnNextUpdateView;
    bool m_scrollToTopOnNextUpdate = false;
    std::shared_ptr<Foundation::NSObject> m_editingContextObserver;
    // What the item was last viewed with; the editing cases do not carry it, and leaving them restores it.
    Shared::EntryDetailsVCConcealState m_lastConcealState;
    Shared::EntryDetailsVCHistoryVisibility m_lastHistoryVisibility;
    std::vector<std::shared_ptr<Foundation::NSObject>> m_observers;
};

} // namespace Corvendale
