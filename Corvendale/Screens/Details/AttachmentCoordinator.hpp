#pragma once

#include "Shared/Model/Entry.Field.hpp"
#include "Shared/Stores/AttachmentDataSource.hpp"

#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Result.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/UUID.hpp"
#include "Platform/UIKit/UIBackgroundTaskIdentifier.hpp"

#include <map>
#include <memory>

namespace Foundation {
class Progress;
}

namespace Shared {
class ProcessingActionPresenting;
}

namespace Corvendale {

// Runs the slow attachment jobs of the item details: putting a file into an attachment field of the item
// being edited, and decrypting a stored attachment to a temporary file (for the preview, saving and
// sharing). Each job shows its progress through the presenter, keeps the application alive in the
// background while it runs, and hands its outcome over asynchronously. The running job's closures keep
// the coordinator alive until the job ends.
class AttachmentCoordinator : public Foundation::NSObject {
public:
    using DecryptionResult = Shared::AttachmentDataSource::DecryptionResult;
    using AttachingResult = Foundation::Result<void>;

    const std::map<Foundation::UUID, UIKit::UIBackgroundTaskIdentifier>& backgroundTasks() const { return m_backgroundTasks; }

    // Only an editing context takes files: any other source fails with
    // AttachmentCoordinatorError.unableToAttachFileWithoutEditingContext, before anything shows.
    void attachFile(const Foundation::URL& fileURL, Shared::EntryField::ID toFieldWithID, const Foundation::String& entryID,
                    Basalwork::ResultHandler<AttachingResult> resultHandler);
    void decryptToTemporaryURL(const Foundation::String& attachmentID, Basalwork::ResultHandler<DecryptionResult> resultHandler);

protected:
    friend Foundation::Construct;
    // init(attachmentDataSource:processingActionPresenter:)
    AttachmentCoordinator(std::shared_ptr<Shared::AttachmentDataSource> attachmentDataSource,
                          std::shared_ptr<Shared::ProcessingActionPresenting> processingActionPresenter);

private:
    void beginBackgroundTask(const Foundation::UUID& id, const std::shared_ptr<Foundation::Progress>& progress);
    void endBackgroundTask(const Foundation::UUID& id);

    std::shared_ptr<Shared::AttachmentDataSource> m_attachmentDataSource;
    std::shared_ptr<Shared::ProcessingActionPresenting> m_processingActionPresenter;
    std::map<Foundation::UUID, UIKit::UIBackgroundTaskIdentifier> m_backgroundTasks;
};

} // namespace Corvendale
