#pragma once

#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace Basalwork {
class AlertController;
class PresentationSource;
}

namespace Shared {

// The program's confirmations and notices. The confirmations are action sheets anchored at the
// presentation source, with a Cancel that does nothing; the ones that offer "don't ask again" hand
// their callback whether to keep asking (false once the user chose not to be asked again).
struct UIAlertControllers {
    using OnConfirm = std::function<void()>;
    using OnConfirmAskingAgain = std::function<void(bool askAgain)>;

    static std::shared_ptr<Basalwork::AlertController> makeShareInPlainTextConfirmation(const Basalwork::PresentationSource& presentationSource,
                                                                                        OnConfirm onShare);
    static std::shared_ptr<Basalwork::AlertController> makeDuplicateConfirmation(const std::vector<Foundation::String>& entryIDs,
                                                                                 const Basalwork::PresentationSource& presentationSource,
                                                                                 bool includeDontAskAgainOption,
                                                                                 OnConfirmAskingAgain onDuplicate);
    static std::shared_ptr<Basalwork::AlertController> makeArchiveConfirmation(const Basalwork::PresentationSource& presentationSource,
                                                                               bool includeDontAskAgainOption, OnConfirmAskingAgain onArchive);
    // `trashAllowance`: how many items go to the trash.
    static std::shared_ptr<Basalwork::AlertController> makeMoveToTrashConfirmation(std::int64_t trashAllowance,
                                                                                   const Basalwork::PresentationSource& presentationSource,
                                                                                   bool includeDontAskAgainOption,
                                                                                   OnConfirmAskingAgain onMoveToTrash);
    static std::shared_ptr<Basalwork::AlertController> makePermanentlyDeleteConfirmation(const Basalwork::PresentationSource& presentationSource,
                                                                                         OnConfirm onDelete);

    // An alert: leaving an editor whose changes were not saved. `onDiscard` runs only when the user
    // chooses to lose them; "Keep Editing" (preferred, and what Escape chooses) changes nothing.
    static std::shared_ptr<Basalwork::AlertController> makeDiscardChangesConfirmation(OnConfirm onDiscard);

    // Notices with one OK.
    static std::shared_ptr<Basalwork::AlertController> makeFieldLimitReached(const Basalwork::PresentationSource& presentationSource);
    static std::shared_ptr<Basalwork::AlertController> makeSectionLimitReached(const Basalwork::PresentationSource& presentationSource);
    // `context` names what could not be sent ("Sending failure reports").
    static std::shared_ptr<Basalwork::AlertController> makeUnableToSendMail(const Foundation::String& context);
};

} // namespace Shared
