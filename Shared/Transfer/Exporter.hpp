#pragma once

#include "Shared/Model/AppExecutionContext.hpp"
#include "Shared/Model/Attachment.hpp"
#include "Shared/Model/Entry.hpp"
#include "Shared/Stores/ExporterRecordSource.hpp"
#include "Shared/Transfer/Exporter.App.hpp"
#include "Shared/Transfer/Exporter.FileFormat.hpp"
#include "Shared/Transfer/Exporter.Report.hpp"
#include "Shared/Transfer/Exporter.Status.hpp"

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

    using RecordSource = ExporterRecordSource;

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
