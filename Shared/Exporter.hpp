#pragma once

#include "Shared/AppExecutionContext.hpp"
#include "Shared/Attachment.hpp"
#include "Shared/Entry.hpp"
#include "Shared/Exporter.App.hpp"
#include "Shared/Exporter.FileFormat.hpp"
#include "Shared/Exporter.Report.hpp"
#include "Shared/Exporter.Status.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/URL.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace Foundation {
class FileManager;
class NotificationCenter;
} // namespace Foundation

namespace Shared {

// Writes the vault's items to a file in a folder the user chose: "Corvendale Export <date>.<ext>", and
// for this program's formats a folder of attachments of the same name beside it. Everything is
// written into a hidden owner-only folder first and moved into place only when complete, so a
// cancelled or failed export leaves nothing behind; the files are readable by their owner only, as
// they hold the secrets in plain text. The export runs on a global queue and posts
// `exporterDidUpdateExportStatus` on the main queue at each change. Called from the main thread.
class Exporter : public Foundation::NSObject {
public:
    using App = ExporterApp;
    using FileFormat = ExporterFileFormat;
    using Report = ExporterReport;
    using Status = ExporterStatus;

    // What the exporter needs of the record store.
    class RecordSource {
    public:
        virtual ~RecordSource() = default;
        // Every item, those in the trash included.
        virtual std::vector<Entry> allEntries() const = 0;
        // The items of `allEntries` in its order (those in the trash only when asked for), a batch at a
        // time: `counted` hears how many there are before the first batch. A store that can open its
        // items a batch at a time keeps the memory of one batch; this one takes them all at once.
        virtual void readEntries(bool includingTrashed, const std::function<void(std::size_t count)>& counted,
                                 const std::function<void(std::vector<Entry>& batch)>& batch) const;
        // The attachments whose descriptions open; each one that does not is named in `unreadable`.
        virtual std::vector<Attachment> allAttachments(std::vector<Foundation::String>* unreadable = nullptr) const = 0;
        // A decrypted copy of an attachment in a temporary folder of its own, which the caller removes.
        virtual Foundation::URL decryptAttachmentToTemporaryFile(const Foundation::String& attachmentID) const = 0;
    };

    static const Foundation::Notification::Name& exporterDidUpdateExportStatus();

    const Status& status() const { return m_status; }
    // Starts an export unless one runs; returns at once.
    void exportItems(FileFormat fileFormat, const Foundation::URL& folderURL);
    // Back to idle, unless an export runs.
    void resetStatus();

protected:
    friend Foundation::Construct;
    Exporter(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<RecordSource> recordStore,
             AppExecutionContext appExecutionContext, std::shared_ptr<Foundation::FileManager> fileManager);

private:
    Report runExport(FileFormat fileFormat, const Foundation::URL& folderURL, Foundation::Progress& progress) const;
    void setStatus(Status status);

    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    std::shared_ptr<RecordSource> m_recordStore;
    AppExecutionContext m_appExecutionContext;
    std::shared_ptr<Foundation::FileManager> m_fileManager;
    Status m_status = Status::idle();
};

} // namespace Shared
