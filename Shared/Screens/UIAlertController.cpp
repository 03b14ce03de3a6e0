#include "Shared/Screens/UIAlertController.hpp"

#include "Shared/Model/Entry.hpp"
#include "Shared/Model/Global.hpp"

#include "Basalwork/Interface/AlertController.hpp"
#include "Basalwork/Interface/PresentationSource.hpp"
#include "Basalwork/Interface/UIPopoverPresentationController.hpp"

#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"

#include <string>

namespace Shared {

namespace {

using Basalwork::AlertController;
using UIKit::UIAlertAction;

// Only what shows as a pop-over has an anchor; an alert shows in the middle.
void anchor(AlertController& alert, const Basalwork::PresentationSource& presentationSource)
{
    if (auto popover = alert.popoverPresentationController())
        Basalwork::setPresentationSource(*popover, presentationSource);
}

std::shared_ptr<AlertController> makeSheet(std::optional<Foundation::String> title, std::optional<Foundation::String> message,
                                           const Basalwork::PresentationSource& presentationSource, const char* identifier)
{
    auto alert = Foundation::make<AlertController>(std::move(title), std::move(message), UIKit::UIAlertController::Style::actionSheet);
    alert->setIdentifier(Foundation::String(identifier));
    anchor(*alert, presentationSource);
    return alert;
}

void addCancel(AlertController& alert)
{
    alert.addAction(Foundation::make<UIAlertAction>(Foundation::String("Cancel"), UIAlertAction::Style::cancel));
}

// The confirming action, and with the option a second that also stops the asking.
void addConfirmations(AlertController& alert, const Foundation::String& title, UIAlertAction::Style style, bool includeDontAskAgainOption,
                      const UIAlertControllers::OnConfirmAskingAgain& onConfirm)
{
    auto confirm = Foundation::make<UIAlertAction>(title, style, [onConfirm](const std::shared_ptr<UIAlertAction>&) {
        if (onConfirm)
            onConfirm(true);
    });
    alert.addAction(confirm);
    if (includeDontAskAgainOption) {
        alert.addAction(Foundation::make<UIAlertAction>(Foundation::String(title.utf8() + " and Don’t Ask Again"), style,
                                                        [onConfirm](const std::shared_ptr<UIAlertAction>&) {
                                                            if (onConfirm)
                                                                onConfirm(false);
                                                        }));
    }
    addCancel(alert);
    alert.setPreferredAction(confirm);
}

std::shared_ptr<AlertController> makeNotice(Foundation::String title, Foundation::String message, const char* identifier)
{
    auto alert = Foundation::make<AlertController>(std::move(title), std::move(message), UIKit::UIAlertController::Style::alert);
    alert->setIdentifier(Foundation::String(identifier));
    alert->addAction(Foundation::make<UIAlertAction>(Foundation::String("OK"), UIAlertAction::Style::default_));
    return alert;
}

std::shared_ptr<AlertController> makeLimitReached(const char* title, std::int64_t limit, const char* parts, const char* identifier,
                                                  const Basalwork::PresentationSource& presentationSource)
{
    auto alert = makeNotice(Foundation::String(title), Foundation::String("An item holds at most " + std::to_string(limit) + " " + parts + "."),
                            identifier);
    anchor(*alert, presentationSource);
    return alert;
}

Foundation::String itemsText(std::int64_t count)
{
    return count == 1 ? Foundation::String("this item") : Foundation::String("these " + std::to_string(count) + " items");
}

} // namespace

std::shared_ptr<AlertController> UIAlertControllers::makeShareInPlainTextConfirmation(const Basalwork::PresentationSource& presentationSource,
                                                                                      OnConfirm onShare)
{
    auto alert = makeSheet(Foundation::String("Share in Plain Text?"),
                           Foundation::String("The item’s fields, secrets included, are shared unencrypted. Anyone who receives them can read them."),
                           presentationSource, "shareInPlainTextConfirmation");
    auto share = Foundation::make<UIAlertAction>(Foundation::String("Share in Plain Text"), UIAlertAction::Style::default_,
                                                 [onShare](const std::shared_ptr<UIAlertAction>&) {
                                                     if (onShare)
                                                         onShare();
                                                 });
    alert->addAction(share);
    addCancel(*alert);
    alert->setPreferredAction(share);
    return alert;
}

std::shared_ptr<AlertController> UIAlertControllers::makeDiscardChangesConfirmation(OnConfirm onDiscard)
{
    auto alert = Foundation::make<AlertController>(Foundation::String("Discard Changes?"),
                                                   Foundation::String("The changes you made to this item are not saved."),
                                                   UIKit::UIAlertController::Style::alert);
    alert->setIdentifier(Foundation::String("discardChangesConfirmation"));
    alert->addAction(Foundation::make<UIAlertAction>(Foundation::String("Discard Changes"), UIAlertAction::Style::destructive,
                                                     [onDiscard](const std::shared_ptr<UIAlertAction>&) {
                                                         if (onDiscard)
                                                             onDiscard();
                                                     }));
    auto keep = Foundation::make<UIAlertAction>(Foundation::String("Keep Editing"), UIAlertAction::Style::cancel);
    alert->addAction(keep);
    alert->setPreferredAction(keep);
    return alert;
}

std::shared_ptr<AlertController> UIAlertControllers::makeDuplicateConfirmation(const std::vector<Foundation::String>& entryIDs,
                                                                               const Basalwork::PresentationSource& presentationSource,
                                                                               bool includeDontAskAgainOption, OnConfirmAskingAgain onDuplicate)
{
    auto count = static_cast<std::int64_t>(entryIDs.size());
    auto alert = makeSheet(Foundation::String(count == 1 ? "Duplicate Item?" : "Duplicate " + std::to_string(count) + " Items?"),
                           Foundation::String("A copy of " + itemsText(count).utf8() + " is added to your items."), presentationSource,
                           "duplicateConfirmation");
    addConfirmations(*alert, "Duplicate", UIAlertAction::Style::default_, includeDontAskAgainOption, onDuplicate);
    return alert;
}

std::shared_ptr<AlertController> UIAlertControllers::makeArchiveConfirmation(const Basalwork::PresentationSource& presentationSource,
                                                                             bool includeDontAskAgainOption, OnConfirmAskingAgain onArchive)
{
    auto alert = makeSheet(Foundation::String("Archive?"),
                           Foundation::String("Archived items leave the list and stop filling in passwords. They stay in the archive until you unarchive them."),
                           presentationSource, "archiveConfirmation");
    addConfirmations(*alert, "Archive", UIAlertAction::Style::default_, includeDontAskAgainOption, onArchive);
    return alert;
}

std::shared_ptr<AlertController> UIAlertControllers::makeMoveToTrashConfirmation(std::int64_t trashAllowance,
                                                                                 const Basalwork::PresentationSource& presentationSource,
                                                                                 bool includeDontAskAgainOption, OnConfirmAskingAgain onMoveToTrash)
{
    auto alert = makeSheet(Foundation::String("Move to Trash?"),
                           Foundation::String("Move " + itemsText(std::max<std::int64_t>(trashAllowance, 1)).utf8()
                                              + " to the trash? You can restore items from the trash until you delete them permanently."),
                           presentationSource, "moveToTrashConfirmation");
    addConfirmations(*alert, "Move to Trash", UIAlertAction::Style::destructive, includeDontAskAgainOption, onMoveToTrash);
    return alert;
}

std::shared_ptr<AlertController> UIAlertControllers::makePermanentlyDeleteConfirmation(const Basalwork::PresentationSource& presentationSource,
                                                                                       OnConfirm onDelete)
{
    auto alert = makeSheet(Foundation::String("Delete Permanently?"), Foundation::String("This cannot be undone."), presentationSource,
                           "permanentlyDeleteConfirmation");
    alert->addAction(Foundation::make<UIAlertAction>(Foundation::String("Delete Permanently"), UIAlertAction::Style::destructive,
                                                     [onDelete](const std::shared_ptr<UIAlertAction>&) {
                                                         if (onDelete)
                                                             onDelete();
                                                     }));
    addCancel(*alert);
    return alert;
}

std::shared_ptr<AlertController> UIAlertControllers::makeFieldLimitReached(const Basalwork::PresentationSource& presentationSource)
{
    return makeLimitReached("Field Limit Reached", Entry::maximumFieldCount, "fields", "fieldLimitReached", presentationSource);
}

std::shared_ptr<AlertController> UIAlertControllers::makeSectionLimitReached(const Basalwork::PresentationSource& presentationSource)
{
    return makeLimitReached("Section Limit Reached", Entry::maximumSectionCount, "sections", "sectionLimitReached", presentationSource);
}

std::shared_ptr<AlertController> UIAlertControllers::makeUnableToSendMail(const Foundation::String& context)
{
    return makeNotice("Unable to Send Mail",
                      Foundation::String(context.utf8() + " needs a mail account. Set one up, or write to "
                                         + Global::Contact::infoEmailAddress().utf8() + " from any mail program."),
                      "unableToSendMail");
}

} // namespace Shared
