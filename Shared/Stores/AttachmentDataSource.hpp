#pragma once

#include "Basalwork/Base/CancellableResult.hpp"
#include "Basalwork/Base/ResultHandler.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>

namespace Foundation {
class NSItemProvider;
class Progress;
} // namespace Foundation

namespace Shared {

// Where a screen gets an attachment's content from: the attachment data store itself, or an editing
// context that may hold attachments not yet saved.
class AttachmentDataSource {
public:
    using DecryptionResult = Basalwork::CancellableResult<Foundation::URL, Foundation::ErrorPtr>;

    virtual ~AttachmentDataSource() = default;

    // Whether the attachment's encrypted file is here (a synced attachment's file may still be on its way).
    virtual bool containsData(const Foundation::String& attachmentID) const = 0;
    // Decrypts the attachment to a file of its own name in a fresh, owner-only temporary folder, off the
    // calling thread, reporting to `progress` (whose cancellation gives the cancelled outcome). The caller
    // removes the file when done; housekeeping sweeps whatever is left.
    virtual void decryptToTemporaryURL(const Foundation::String& attachmentID, const std::shared_ptr<Foundation::Progress>& progress,
                                       Basalwork::ResultHandler<DecryptionResult> resultHandler) = 0;
    // The attachment's file for a drag: decrypted only once a drop asks for it, and removed as soon as
    // the provider goes.
    virtual std::shared_ptr<Foundation::NSItemProvider> itemProvider(const Foundation::String& attachmentID) = 0;
};

} // namespace Shared
