#include "Corvendale/Screens/Details/AttachmentCoordinator.hpp"

#include "Corvendale/Screens/Details/AttachmentCoordinatorError.hpp"

#include "Shared/Screens/ProcessingAction.hpp"
#include "Shared/Screens/ProcessingActionPresenting.hpp"
#include "Shared/Stores/RecordStore.EditingContext.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/UIKit/UIApplication.hpp"

namespace Corvendale {

AttachmentCoordinator::AttachmentCoordinator(std::shared_ptr<Shared::AttachmentDataSource> attachmentDataSource,
                                             std::shared_ptr<Shared::ProcessingActionPresenting> processingActionPresenter)
    : m_attachmentDataSource(std::move(attachmentDataSource))
    , m_processingActionPresenter(std::move(processingActionPresenter))
{
}

void AttachmentCoordinator::attachFile(const Foundation::URL& fileURL, Shared::EntryField::ID toFieldWithID, const Foundation::String& entryID,
                                       Basalwork::ResultHandler<AttachingResult> resultHandler)
{
    auto editingContext = std::dynamic_pointer_cast<Shared::RecordStore::EditingContext>(m_attachmentDataSource);
    if (!editingContext)
        return resultHandler.invokeAsynchronously(AttachingResult::failure(AttachmentCoordinatorError::unableToAttachFileWithoutEditingContext()));
    const Foundation::UUID id;
    auto progress = Foundation::make<Foundation::Progress>(1);
    beginBackgroundTask(id, progress);
    auto self = sharedSelf(this);
    m_processingActionPresenter->didStartProcessing({Shared::ProcessingAction::Kind::attachFile, progress}, [self, id, progress, editingContext, fileURL,
                                                                                                           toFieldWithID, entryID, resultHandler] {
        editingContext->importFile(
            fileURL, toFieldWithID, entryID, progress,
            Basalwork::ResultHandler<Shared::RecordStore::EditingContext::AttachmentResult>(
                Foundation::DispatchQueue::main(), [self, id, resultHandler](const Shared::RecordStore::EditingContext::AttachmentResult& imported) {
                    auto result = imported.isSuccess() ? AttachingResult::success() : AttachingResult::failure(imported.failureError());
                    self->m_processingActionPresenter->didFinishProcessing([self, id, resultHandler, result] {
                        resultHandler.invokeAsynchronously(result);
                        self->endBackgroundTask(id);
                    });
                }));
    });
}

void AttachmentCoordinator::decryptToTemporaryURL(const Foundation::String& attachmentID, Basalwork::ResultHandler<DecryptionResult> resultHandler)
{
    const Foundation::UUID id;
    auto progress = Foundation::make<Foundation::Progress>(1);
    beginBackgroundTask(id, progress);
    auto self = sharedSelf(this);
    m_processingActionPresenter->didStartProcessing({Shared::ProcessingAction::Kind::decryptAttachment, progress}, [self, id, progress, attachmentID,
                                                                                                                   resultHandler] {
        self->m_attachmentDataSource->decryptToTemporaryURL(
            attachmentID, progress,
            Basalwork::ResultHandler<DecryptionResult>(Foundation::DispatchQueue::main(), [self, id, resultHandler](DecryptionResult result) {
                self->m_processingActionPresenter->didFinishProcessing([self, id, resultHandler, result] {
                    resultHandler.invokeAsynchronously(result);
                    self->endBackgroundTask(id);
                });
            }));
    });
}

void AttachmentCoordinator::beginBackgroundTask(const Foundation::UUID& id, const std::shared_ptr<Foundation::Progress>& progress)
{
    endBackgroundTask(id);
    std::weak_ptr<AttachmentCoordinator> weak = sharedSelf(this);
    const auto name = Foundation::String("AttachmentCoordinator.backgroundTask." + id.uuidString().utf8());
    m_backgroundTasks[id] = UIKit::UIApplication::shared()->beginBackgroundTask(name, [weak, id, progress] {
        progress->cancel();
        if (auto self = weak.lock())
            self->endBackgroundTask(id);
    });
}

void AttachmentCoordinator::endBackgroundTask(const Foundation::UUID& id)
{
    auto found = m_backgroundTasks.find(id);
    if (found == m_backgroundTasks.end())
        return;
    const auto task = found->second;
    m_backgroundTasks.erase(found);
    UIKit::UIApplication::shared()->endBackgroundTask(task);
}

} // namespace Corvendale
