// What the item details put in front of themselves before acting on the whole item: the duplicate,
// archive and move-to-trash confirmations of the header, and sharing behind its plain-text warning.

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"
#include "Corvendale/Services/UIActivityViewController.hpp"

#include "Shared/Screens/UIAlertController.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"
#include "Basalwork/Interface/UIViewController.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIView.hpp"

namespace Corvendale {

namespace {

const char* operationText(EntryDetailsCoordinator::Confirmation confirmation)
{
    switch (confirmation) {
    case EntryDetailsCoordinator::Confirmation::duplicate:
        return "presentDuplicateConfirmation(sourceView:entryID:animated:)";
    case EntryDetailsCoordinator::Confirmation::archive:
        return "presentArchiveConfirmation(sourceView:entryID:animated:)";
    case EntryDetailsCoordinator::Confirmation::moveToTrash:
        break;
    }
    return "presentMoveToTrashConfirmation(sourceView:entryID:animated:)";
}

} // namespace

void EntryDetailsCoordinator::presentConfirmation(Confirmation confirmation, const Foundation::String& entryID,
                                                  const std::shared_ptr<UIKit::UIView>& sourceView)
{
    if (presentedViewController())
        return;
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    auto onConfirm = [weak, confirmation, entryID](bool) {
        if (auto self = weak.lock())
            self->didConfirm(confirmation, entryID);
    };
    const auto source = Basalwork::PresentationSource::view(sourceView ? sourceView : view());
    std::shared_ptr<Basalwork::AlertController> alert;
    switch (confirmation) {
    case Confirmation::duplicate:
        alert = Shared::UIAlertControllers::makeDuplicateConfirmation({entryID}, source, false, onConfirm);
        break;
    case Confirmation::archive:
        alert = Shared::UIAlertControllers::makeArchiveConfirmation(source, false, onConfirm);
        break;
    case Confirmation::moveToTrash:
        alert = Shared::UIAlertControllers::makeMoveToTrashConfirmation(1, source, false, onConfirm);
        break;
    }
    present(alert, true);
}

void EntryDetailsCoordinator::didConfirm(Confirmation confirmation, const Foundation::String& entryID)
{
    if (const auto* editing = m_state.editingPayload(); editing && editing->editingContext) {
        try {
            if (editing->editingContext->hasChanges())
                editing->editingContext->save();
        } catch (const Foundation::Error& error) {
            return handleUnexpectedError(error, Foundation::String(operationText(confirmation)), true);
        }
    }
    auto delegate = this->delegate();
    if (!delegate)
        return;
    switch (confirmation) {
    case Confirmation::duplicate:
        delegate->duplicate({entryID});
        break;
    case Confirmation::archive:
        delegate->updateIsArchived(true, {entryID});
        break;
    case Confirmation::moveToTrash:
        delegate->updateIsTrashed(true, {entryID});
        break;
    }
}

void EntryDetailsCoordinator::presentShareMenuConfirmation(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView,
                                                           bool animated)
{
    bool exists = false;
    try {
        exists = dependencies().recordStore->entry(entryID).has_value();
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, Foundation::String("presentShareMenuConfirmation(entryID:presentationSource:animated:)"), animated);
    }
    if (!exists || presentedViewController())
        return;
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    present(Shared::UIAlertControllers::makeShareInPlainTextConfirmation(Basalwork::PresentationSource::view(sourceView ? sourceView : view()),
                                                                         [weak, entryID, sourceView, animated] {
                                                                             if (auto self = weak.lock())
                                                                                 self->presentShareMenu(entryID, sourceView, animated);
                                                                         }),
            animated);
}

void EntryDetailsCoordinator::presentShareMenu(const Foundation::String& entryID, const std::shared_ptr<UIKit::UIView>& sourceView, bool animated)
{
    std::vector<Foundation::String> items;
    try {
        items = dependencies().recordStore->shareItems(entryID);
    } catch (const Foundation::Error& error) {
        return handleUnexpectedError(error, Foundation::String("presentShareMenu(entry:presentationSource:animated:)"), animated);
    }
    auto sheet = Foundation::make<UIKit::UIActivityViewController>(std::move(items));
    prepareForSharing(*sheet, Basalwork::PresentationSource::view(sourceView ? sourceView : view()), dependencies().pasteboardCoordinator);
    present(sheet, animated);
}

} // namespace Corvendale
