// The item details' attachments: decrypted copies previewed, saved elsewhere and shared, files put into
// fields through the picker or dropped on them, and what a drag of an attachment hands over.

#include "Corvendale/Screens/Details/EntryDetailsCoordinator.hpp"

#include "Corvendale/Screens/Details/AttachmentCoordinator.hpp"
#include "Corvendale/Screens/Details/EntryDetailsCoordinatorDelegate.hpp"
#include "Corvendale/Services/UIActivityViewController.hpp"

#include "Shared/Model/Attachment.hpp"
#include "Shared/Screens/ProcessingActionPresenting.hpp"
#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"
#include "Shared/Stores/RecordStore.hpp"

#include "Basalwork/Interface/PresentationSource.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NSItemProvider.hpp"
#include "Platform/UIKit/QLPreviewController.hpp"
#include "Platform/UIKit/UIActivityViewController.hpp"
#include "Platform/UIKit/UIDocumentPickerViewController.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

namespace Corvendale {
namespace {

using DecryptionResult = AttachmentCoordinator::DecryptionResult;

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Corvendale", "EntryDetailsCoordinator");
    return logger;
}

// For copies nobody waits for: a failure to remove one is only logged (housekeeping takes it later).
void discardDecryptedCopy(const Foundation::URL& url)
{
    if (auto error = Foundation::catchError([&] { Shared::AttachmentDataStore::removeDecryptedCopy(url); }))
        log().error("Failed to remove a decrypted attachment: %{public}@", error->description());
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

bool EntryDetailsCoordinator::attachmentInfo(const Shared::MenuSource& menuSource) const
{
    try {
        auto found = attachment(menuSource);
        auto source = attachmentDataSource();
        return found && source && source->containsData(found->id);
    } catch (const Foundation::Error&) {
        return false;
    }
}

// --- Decrypted copies -------------------------------------------------------------------------------

std::shared_ptr<Shared::ProcessingActionPresenting> EntryDetailsCoordinator::processingActionPresenter() const
{
    if (auto presenter = std::dynamic_pointer_cast<Shared::ProcessingActionPresenting>(delegate()))
        return presenter;
    return std::make_shared<Shared::ProcessingActionPresenting>(); // shows nothing
}

void EntryDetailsCoordinator::decrypt(const Shared::Attachment& attachment, const char* operation, bool animated,
                                      std::function<void(EntryDetailsCoordinator&, const Foundation::URL&)> onDecrypted,
                                      std::function<void(EntryDetailsCoordinator&)> onEnd)
{
    auto job = Foundation::make<AttachmentCoordinator>(attachmentDataSource(), processingActionPresenter());
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    job->decryptToTemporaryURL(attachment.id, Basalwork::ResultHandler<DecryptionResult>(Foundation::DispatchQueue::main(), [weak, operation, animated,
                                                                                                                       onDecrypted, onEnd](
                                                                                                                          DecryptionResult result) {
        auto self = weak.lock();
        const auto* url = result.successValue();
        // Nobody is left to show the copy, the vault locked meanwhile, or something else came in front.
        if (!self || !self->isAuthenticated() || (url && self->presentedViewController())) {
            if (url)
                discardDecryptedCopy(*url);
            if (self && onEnd)
                onEnd(*self);
            return;
        }
        if (url)
            return onDecrypted(*self, *url);
        if (onEnd)
            onEnd(*self);
        if (const auto* error = result.failureValue())
            self->handleUnexpectedError(**error, operation, animated);
    }));
}

bool EntryDetailsCoordinator::canPresentAttachment() const
{
    return !presentedViewController() && delegate() && attachmentDataSource();
}

void EntryDetailsCoordinator::presentQuickLook(const Shared::Attachment& attachment, bool animated)
{
    if (!canPresentAttachment() || !m_quickLookState.is<QuickLookState::Inactive>())
        return;
    m_quickLookState = QuickLookState::decrypting();
    decrypt(
        attachment, "presentQuickLook(attachment:animated:)", animated,
        [animated](EntryDetailsCoordinator& self, const Foundation::URL& url) {
            self.m_quickLookState = QuickLookState::decrypted(url);
            auto preview = Foundation::make<UIKit::QLPreviewController>();
            auto shared = self.sharedSelf(&self);
            preview->setDataSource(std::static_pointer_cast<UIKit::QLPreviewControllerDataSource>(shared));
            preview->setDelegate(std::static_pointer_cast<UIKit::QLPreviewControllerDelegate>(shared));
            self.present(preview, animated);
        },
        [](EntryDetailsCoordinator& self) { self.m_quickLookState = QuickLookState::inactive(); });
}

void EntryDetailsCoordinator::presentSaveTo(const Shared::Attachment& attachment, bool animated)
{
    if (!canPresentAttachment())
        return;
    decrypt(attachment, "presentSaveTo(attachment:animated:)", animated, [](EntryDetailsCoordinator& self, const Foundation::URL& url) {
        self.m_documentPickerAction = DocumentPickerAction::exportAttachment(url);
        auto picker = self.makeDocumentPicker(*self.m_documentPickerAction);
        picker->setDelegate(std::static_pointer_cast<UIKit::UIDocumentPickerDelegate>(self.sharedSelf(&self)));
        self.present(picker, true);
    });
}

void EntryDetailsCoordinator::presentShare(const Shared::Attachment& attachment, const Basalwork::PresentationSource& presentationSource, bool animated)
{
    if (!canPresentAttachment())
        return;
    decrypt(attachment, "presentShare(attachment:presentationSource:animated:)", animated,
            [presentationSource, animated](EntryDetailsCoordinator& self, const Foundation::URL& url) {
                auto sheet = Foundation::make<UIKit::UIActivityViewController>(std::vector {url});
                prepareForSharing(*sheet, presentationSource, self.dependencies().pasteboardCoordinator, [url] { discardDecryptedCopy(url); });
                self.present(sheet, animated);
            });
}

std::shared_ptr<UIKit::UIDocumentPickerViewController> EntryDetailsCoordinator::makeDocumentPicker(const DocumentPickerAction& action) const
{
    if (const auto* exporting = action.as<DocumentPickerAction::ExportAttachment>())
        return Foundation::make<UIKit::UIDocumentPickerViewController>(std::vector {exporting->temporaryDecryptedURL}, false);
    return Foundation::make<UIKit::UIDocumentPickerViewController>(std::vector {Shared::Attachment::supportedUTType()});
}

// --- The preview ------------------------------------------------------------------------------------

std::int64_t EntryDetailsCoordinator::numberOfPreviewItems(UIKit::QLPreviewController&)
{
    return m_quickLookState.is<QuickLookState::Decrypted>() ? 1 : 0;
}

Foundation::URL EntryDetailsCoordinator::previewItemAt(UIKit::QLPreviewController&, std::int64_t)
{
    if (const auto* decrypted = m_quickLookState.as<QuickLookState::Decrypted>())
        return decrypted->temporaryDecryptedURL;
    log().error("A preview item was asked for without a decrypted attachment");
    return Foundation::URL::fileURLWithPath(Foundation::String("/dev/null"));
}

void EntryDetailsCoordinator::previewControllerDidDismiss(UIKit::QLPreviewController&)
{
    const auto* decrypted = m_quickLookState.as<QuickLookState::Decrypted>();
    if (!decrypted)
        return;
    const auto url = decrypted->temporaryDecryptedURL;
    m_quickLookState = QuickLookState::inactive();
    if (auto error = Foundation::catchError([&] { Shared::AttachmentDataStore::removeDecryptedCopy(url); }))
        handleUnexpectedError(*error, "previewControllerDidDismiss(_:)", true);
}

// --- The pickers ------------------------------------------------------------------------------------

void EntryDetailsCoordinator::documentPicker(UIKit::UIDocumentPickerViewController&, const std::vector<Foundation::URL>& urls)
{
    if (urls.empty() || !m_documentPickerAction)
        return;
    if (const auto* exporting = m_documentPickerAction->as<DocumentPickerAction::ExportAttachment>())
        discardDecryptedCopy(exporting->temporaryDecryptedURL);
    else if (const auto* importing = m_documentPickerAction->as<DocumentPickerAction::ImportAttachmentToField>())
        importFile(urls.front(), importing->fieldID, "documentPicker(_:didPickDocumentsAt:)");
}

void EntryDetailsCoordinator::documentPickerWasCancelled(UIKit::UIDocumentPickerViewController&)
{
    // The copy made for saving is not left behind when the person changes their mind.
    if (const auto* exporting = m_documentPickerAction ? m_documentPickerAction->as<DocumentPickerAction::ExportAttachment>() : nullptr)
        discardDecryptedCopy(exporting->temporaryDecryptedURL);
}

void EntryDetailsCoordinator::didRequestDocumentPicker(const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    auto fieldID = menuSource.customFieldID();
    if (!m_state.is<State::Editing>() || !fieldID || presentedViewController())
        return;
    m_documentPickerAction = DocumentPickerAction::importAttachmentToField(*fieldID);
    auto picker = makeDocumentPicker(*m_documentPickerAction);
    picker->setDelegate(std::static_pointer_cast<UIKit::UIDocumentPickerDelegate>(sharedSelf(this)));
    present(picker, true);
}

// --- Files into fields, and out by dragging --------------------------------------------------------

void EntryDetailsCoordinator::didSelect(const Foundation::URL& fileURL, const Shared::MenuSource& menuSource, Shared::EntryDetailsTVC&)
{
    if (auto fieldID = menuSource.customFieldID())
        importFile(fileURL, *fieldID, "didSelect(fileURL:menuSource:entryDetailsTVC:)");
}

void EntryDetailsCoordinator::importFile(const Foundation::URL& fileURL, Shared::EntryField::ID fieldID, const char* operation)
{
    const auto* editing = m_state.as<State::Editing>();
    auto delegate = this->delegate();
    if (!editing || !delegate)
        return;
    auto job = Foundation::make<AttachmentCoordinator>(editing->editingContext, processingActionPresenter());
    std::weak_ptr<EntryDetailsCoordinator> weak = sharedSelf(this);
    job->attachFile(fileURL, fieldID, editing->entryID,
                    Basalwork::ResultHandler<AttachmentCoordinator::AttachingResult>(
                        Foundation::DispatchQueue::main(), [weak, operation](const AttachmentCoordinator::AttachingResult& result) {
                            auto self = weak.lock();
                            if (!self)
                                return;
                            try {
                                self->updateView(true);
                            } catch (const Foundation::Error&) {
                                // The next change shows the item again.
                            }
                            if (auto error = result.failureError())
                                self->handleUnexpectedError(*error, operation, true);
                        }));
}

std::shared_ptr<Foundation::NSItemProvider> EntryDetailsCoordinator::itemProviderForDragging(const Shared::MenuSource& menuSource,
                                                                                            Shared::EntryDetailsTVC&)
{
    try {
        auto found = attachment(menuSource);
        auto source = attachmentDataSource();
        return found && source ? source->itemProvider(found->id) : nullptr;
    } catch (const Foundation::Error&) {
        return nullptr;
    }
}

} // namespace Corvendale
