#pragma once

#include "Shared/AppExecutionContext.hpp"
#include "Shared/Attachment.hpp"
#include "Shared/Entry.hpp"
#include "Shared/Importer.App.hpp"
#include "Shared/Importer.FileFormat.hpp"
#include "Shared/Importer.Report.hpp"
#include "Shared/Importer.Status.hpp"

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

    // What the importer needs of the record store.
    class RecordSource {
    public:
        virtual ~RecordSource() = default;
        // Those of `ids` that items of the vault already have (items in the trash included).
        virtual std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const = 0;
        // Adds the items and the descriptions of their attachments in one save: all of them, or none when
        // it throws.
        virtual void insertEntries(const std::vector<Entry>& entries, const std::vector<Attachment>& attachments) = 0;
        // Where the parts of an import go.
        class BatchSink {
        public:
            virtual ~BatchSink() = default;
            // As `RecordSource::existingEntryIDs`, answered while parts go in.
            virtual std::vector<Foundation::String> existingEntryIDs(const std::vector<Foundation::String>& ids) const = 0;
            // Takes a part: its items and the descriptions of their attachments (it may take them out of the
            // vectors).
            virtual void add(std::vector<Entry>& entries, std::vector<Attachment>& attachments) = 0;
        };
        // Adds what `produce` hands to the sink, a part at a time, in one save: all of it, or nothing when
        // `produce` or the save throws. A store may take in the parts already handed over while `produce`
        // makes the next one, and may run `produce` on another thread. By default, everything is gathered
        // first and added with `insertEntries`.
        virtual void insertEntryBatches(const std::function<void(BatchSink& sink)>& produce);
    };

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
