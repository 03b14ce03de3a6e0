// The item details' attachments: the preview of a decrypted copy, which goes as soon as the preview does.

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Corvendale/Screens/Details/AttachmentCoordinator.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"

#include "Shared/Model/Attachment.hpp"
#include "Shared/Screens/ProcessingActionPresenting.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/QLPreviewController.hpp"

#include <filesystem>

namespace Corvendale {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Corvendale", "EntryDetailsCoordinator");
    return logger;
}

// Removes a decrypted copy and the folder made for it alone.
void removeDecryptedCopy(const Foundation::URL& url)
{
    const std::filesystem::path file(url.path().utf8());
    std::filesystem::remove(file);
    std::error_code ignored;
    std::filesystem::remove(file.parent_path(), ignored); // only when empty
}

} // namespace

std::shared_ptr<Shared::AttachmentDataSource> EntryDetailsCoordinator::attachmentDataSource() const
{
    if (const auto* editing = m_state.editingPayload())
        return editing->editingContext;
    if (m_state.is<State::Viewing>())
        return dependencies().recordStore->attachmentDataStore();
    return nullptr;
}

std::optional<Shared::Attachment> EntryDetailsCoordinator::attachment(const Shared::MenuSource& menuSource) const
{
    const auto fieldID = menuSource.customFieldID();
    const auto entryID = m_state.entryID();
    if (!fieldID || !entryID)
        return std::nullopt;
    if (const auto* editing = m_state.editingPayload())
        return editing->editingContext ? editing->editingContext->attachment(*entryID, *fieldID) : std::nullopt;
    if (m_state.is<State::Viewing>())
        return dependencies().recordStore->attachment(*entryID, *fieldID);
    return std::nullopt;
}

void EntryDetailsCoordinator::presentQuickLook(const Shared::Attachment& attachment, bool animated)
{
    auto delegate = this->delegate();
    auto source = attachmentDataSource();
    if (presentedViewController() || !delegate || !source || !m_quickLookState.isInactive())
        return;
    m_quickLookState.isDecrypting = true;
    auto presenter = std::dynamic_pointer_cast<Shared::ProcessingActionPresenting>(delegate);
    if (!presenter)
        presenter = std::make_shared<Shared::ProcessingActionPresenting>(); // shows nothing
    auto job = Foundation::make<AttachmentCoordinator>(source, presenter);
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    job->decryptToTemporaryURL(
        attachment.id, Basalwork::ResultHandler<AttachmentCoordinator::DecryptionResult>(
                           Foundation::DispatchQueue::main(), [weak, animated](AttachmentCoordinator::DecryptionResult result) {
                               auto self = weak.lock();
                               if (!self) {
                                   // Nobody will preview it: the copy goes at once.
                                   if (const auto* url = result.successValue())
                                       removeDecryptedCopy(*url);
                                   return;
                               }
                               self->m_quickLookState = {};
                               if (const auto* url = result.successValue()) {
                                   self->m_quickLookState.temporaryDecryptedURL = *url;
                                   auto preview = Foundation::make<UIKit::QLPreviewController>();
                                   preview->setDataSource(std::static_pointer_cast<UIKit::QLPreviewControllerDataSource>(self));
                                   preview->setDelegate(std::static_pointer_cast<UIKit::QLPreviewControllerDelegate>(self));
                                   self->present(preview, animated);
                               } else if (const auto* error = result.failureValue()) {
                                   self->handleUnexpectedError(**error, Foundation::String("presentQuickLook(attachment:animated:)"), animated);
                               }
                           }));
}

std::int64_t EntryDetailsCoordinator::numberOfPreviewItems(UIKit::QLPreviewController&)
{
    return m_quickLookState.temporaryDecryptedURL ? 1 : 0;
}

Foundation::URL EntryDetailsCoordinator::previewItemAt(UIKit::QLPreviewController&, std::int64_t)
{
    if (m_quickLookState.temporaryDecryptedURL)
        return *m_quickLookState.temporaryDecryptedURL;
    log().error("A preview item was asked for without a decrypted attachment");
    return Foundation::URL::fileURLWithPath(Foundation::String("/dev/null"));
}

void EntryDetailsCoordinator::previewControllerDidDismiss(UIKit::QLPreviewController&)
{
    if (!m_quickLookState.temporaryDecryptedURL)
        return;
    const auto url = *m_quickLookState.temporaryDecryptedURL;
    m_quickLookState = {};
    try {
        removeDecryptedCopy(url);
    } catch (const std::filesystem::filesystem_error& error) {
        handleUnexpectedError(Foundation::CocoaError::fileError(error.code().value(), url.path().utf8(), Foundation::CocoaError::Access::writing),
                              Foundation::String("previewControllerDidDismiss(_:)"), true);
    }
}

} // namespace Corvendale
