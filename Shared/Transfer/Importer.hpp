#pragma once

#include "Shared/Model/AppExecutionContext.hpp"
#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Stores/ImporterRecordSource.hpp"
#include "Shared/Transfer/Importer.App.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"
#include "Shared/Transfer/Importer.Report.hpp"
#include "Shared/Transfer/Importer.Status.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/URL.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Foundation {
class FileManager;
class NotificationCenter;
} // namespace Foundation

namespace Shared {

class AttachmentDataStore;

// Moves items in from other apps' exports. An import adds every new item in one save, taking in the
// items already read while it reads on: a cancelled or failed import adds nothing (files it had already
// taken into the attachment store are removed again). Items whose identifier the vault already holds are skipped;
// items that cannot be read become failure texts in the report. The import runs on a global queue;
// each change of the status is posted as `importerDidUpdateImportStatus` on the main queue. Called from
// the main thread.
class Importer : public Foundation::NSObject {
public:
    using App = ImporterApp;
    using FileFormat = ImporterFileFormat;
    using Report = ImporterReport;
    using Status = ImporterStatus;

    using RecordSource = ImporterRecordSource;

    static const Foundation::Notification::Name& importerDidUpdateImportStatus();

    const Status& status() const { return m_status; }
    // Starts an import unless one runs; returns at once.
    void startImport(FileFormat fileFormat, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsURL,
                     const std::optional<Foundation::String>& tagsToAddText);
    // Back to idle, unless an import runs: its status stays, so that it cannot be hidden and a second
    // one started beside it.
    void resetStatus();

    // The tags of a typed text: separated by commas or line breaks, trimmed, each once.
    static std::vector<Foundation::String> tags(const Foundation::String& text);

protected:
    friend Foundation::Construct;
    Importer(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<RecordSource> recordStore,
             std::shared_ptr<AttachmentDataStore> attachmentDataStore, AppExecutionContext appExecutionContext,
             std::shared_ptr<Foundation::FileManager> fileManager);

private:
    Report runImport(FileFormat fileFormat, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsURL,
                     const std::vector<Foundation::String>& tags, Foundation::Progress& progress);
    void setStatus(Status status);

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<RecordSource> m_recordStore;
    std::shared_ptr<AttachmentDataStore> m_attachmentDataStore;
    AppExecutionContext m_appExecutionContext;
    std::shared_ptr<Foundation::FileManager> m_fileManager;
    Status m_status = Status::idle();
};

} // namespace Shared
