#include "Shared/Transfer/Importer.hpp"

#include "Shared/Stores/AttachmentDataStore.hpp"
#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sys/stat.h>
#include <unordered_set>

namespace Shared {

namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "Importer");
    return logger;
}

constexpr std::int64_t progressUnits = 1000;

// A file whose every item fails would otherwise hold a text per item to the end: past this many, the
// others are counted in one last text.
constexpr std::size_t maximumFailureCount = 1000;

// A folder of its own for what an import extracts, removed with everything in it when the import ends.
class WorkFolder {
public:
    explicit WorkFolder(const Foundation::FileManager& fileManager)
        : m_url(fileManager.temporaryDirectory().appendingPathComponent(Foundation::String("Importer." + Foundation::UUID().uuidString().utf8()), true))
    {
        if (::mkdir(m_url.path().c_str(), 0700) != 0)
            throw ImporterError::invalidFile("no temporary folder could be made for the import");
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_url.path().utf8(), ignored);
    }
    const Foundation::URL& url() const { return m_url; }

private:
    Foundation::URL m_url;
};

Foundation::String itemFailure(const Entry& entry, const Foundation::Error& error)
{
    std::string title = entry.title.utf8().substr(0, 80);
    return Foundation::String("Item" + (title.empty() ? std::string() : " (" + title + ")") + ": " + error.description());
}

} // namespace

const Foundation::Notification::Name& Importer::importerDidUpdateImportStatus()
{
    static const auto& name = *new Foundation::Notification::Name("importerDidUpdateImportStatus");
    return name;
}

Importer::Importer(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<RecordSource> recordStore,
                   std::shared_ptr<AttachmentDataStore> attachmentDataStore, AppExecutionContext appExecutionContext,
                   std::shared_ptr<Foundation::FileManager> fileManager)
    : m_notificationCenter(std::move(notificationCenter))
    , m_recordStore(std::move(recordStore))
    , m_attachmentDataStore(std::move(attachmentDataStore))
    , m_appExecutionContext(std::move(appExecutionContext))
    , m_fileManager(std::move(fileManager))
{
}

std::vector<Foundation::String> Importer::tags(const Foundation::String& text)
{
    std::vector<Foundation::String> result;
    const auto& bytes = text.utf8();
    std::size_t start = 0;
    while (start <= bytes.size()) {
        auto end = bytes.find_first_of(",\n\r", start);
        if (end == std::string::npos)
            end = bytes.size();
        auto tag = Foundation::String(std::string_view(bytes).substr(start, end - start)).trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
        if (!tag.isEmpty() && std::find(result.begin(), result.end(), tag) == result.end())
            result.push_back(std::move(tag));
        start = end + 1;
    }
    return result;
}

void Importer::setStatus(Status status)
{
    m_status = std::move(status);
    m_notificationCenter->post(importerDidUpdateImportStatus(), sharedSelf(this));
}

void Importer::startImport(FileFormat fileFormat, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsURL,
                           const std::optional<Foundation::String>& tagsToAddText)
{
    if (m_status.is<Status::InProgress>()) {
        log().info("An import runs already; the new one is not started");
        return;
    }
    auto progress = Foundation::make<Foundation::Progress>(progressUnits);
    setStatus(Status::inProgress(fileFormat, progress));
    auto addedTags = tagsToAddText ? tags(*tagsToAddText) : std::vector<Foundation::String>();
    std::weak_ptr<Importer> weak = sharedSelf(this);
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global(Foundation::DispatchQoS::QoSClass::userInitiated)->async([self, weak, fileFormat, fileURL, attachmentsURL, addedTags, progress] {
        std::optional<Report> report;
        Foundation::ErrorPtr error;
        try {
            report = self->runImport(fileFormat, fileURL, attachmentsURL, addedTags, *progress);
        } catch (const Foundation::Error& caught) {
            error = caught.clone();
        } catch (const std::bad_alloc&) {
            error = ImporterError::invalidFile("there is not enough memory to read it").clone();
        } catch (const std::exception&) {
            error = ImporterError::invalidFile("it could not be read").clone();
        }
        Foundation::DispatchQueue::main()->async([weak, fileFormat, report, error] {
            auto importer = weak.lock();
            if (!importer)
                return;
            if (report) {
                log().notice("Imported %{public}@ items, skipped %{public}@, %{public}@ failures", std::to_string(report->importedCount),
                             std::to_string(report->skippedCount), std::to_string(report->failures.size()));
                importer->setStatus(Status::completed(*report));
            } else {
                log().error("The import failed: %{public}@", error->domain());
                importer->setStatus(Status::failed(fileFormat, error));
            }
        });
    });
}

void Importer::resetStatus()
{
    if (m_status.is<Status::InProgress>() || m_status.is<Status::Idle>())
        return;
    setStatus(Status::idle());
}

Importer::Report Importer::runImport(FileFormat fileFormat, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsURL,
                                     const std::vector<Foundation::String>& addedTags, Foundation::Progress& progress)
{
    auto checkCancellation = [&] {
        if (progress.isCancelled())
            throw ImporterError::cancelled();
    };
    WorkFolder workFolder(*m_fileManager);
    Report report {fileFormat, 0, 0, {}};
    // What reading could not make an item of comes first in the report, then what could not be added.
    std::vector<Foundation::String> itemFailures;
    // Identifiers met so far: present already, or twice in the file (the first one counts).
    std::unordered_set<std::string> seen;
    std::vector<Foundation::String> storedAttachmentIDs;
    std::int64_t imported = 0;
    std::int64_t unlistedFailures = 0;
    auto addFailure = [&](std::vector<Foundation::String>& failures, Foundation::String failure) {
        if (report.failures.size() + itemFailures.size() < maximumFailureCount)
            failures.push_back(std::move(failure));
        else
            ++unlistedFailures;
    };

    // Reading is most of the progress; the save ends it.
    auto readProgress = [&](double fraction) {
        checkCancellation();
        progress.setCompletedUnitCount(static_cast<std::int64_t>(fraction * (progressUnits - progressUnits / 20)));
    };
    // One part of the file's items: the new ones, with their tags and attachment files.
    auto takePart = [&](ImportReadResult& part, RecordSource::BatchSink& sink) {
        checkCancellation();
        for (auto& failure : part.failures)
            addFailure(report.failures, std::move(failure));
        part.failures.clear();
        std::vector<Foundation::String> ids;
        ids.reserve(part.items.size());
        for (const auto& item : part.items)
            ids.push_back(item.entry.id);
        std::unordered_set<std::string> present;
        for (const auto& id : sink.existingEntryIDs(ids))
            present.insert(id.utf8());
        checkCancellation();

        std::vector<Entry> entries;
        entries.reserve(part.items.size());
        std::vector<Attachment> attachments;
        std::size_t index = 0;
        for (auto& item : part.items) {
            if ((++index & 0x3f) == 0)
                checkCancellation();
            auto& entry = item.entry;
            if (present.contains(entry.id.utf8()) || !seen.insert(entry.id.utf8()).second) {
                seen.insert(entry.id.utf8());
                ++report.skippedCount;
                continue;
            }
            for (const auto& tag : addedTags) {
                if (std::find(entry.tags.begin(), entry.tags.end(), tag) == entry.tags.end())
                    entry.tags.push_back(tag);
            }
            std::vector<Attachment> itemAttachments;
            try {
                for (auto& section : entry.sections) {
                    auto field = section.fields.begin();
                    while (field != section.fields.end()) {
                        if (field->category != EntryFieldCategory::attachment) {
                            ++field;
                            continue;
                        }
                        auto file = std::find_if(item.attachments.begin(), item.attachments.end(),
                                                 [&](const ImportedAttachment& attachment) { return attachment.attachmentID == field->text; });
                        // A file that did not come along leaves no field pointing at nothing.
                        if (file == item.attachments.end()) {
                            if (attachmentsURL && acceptsAttachmentsFolder(fileFormat))
                                addFailure(itemFailures, itemFailure(entry, ImporterError::invalidFile("an attachment was not in the attachments folder; the item was imported without it")));
                            field = section.fields.erase(field);
                            continue;
                        }
                        std::optional<Foundation::String> keptID;
                        if (!m_attachmentDataStore->containsData(file->attachmentID))
                            keptID = file->attachmentID;
                        auto attachment = m_attachmentDataStore->importFile(file->fileURL, entry.id, nullptr, keptID);
                        storedAttachmentIDs.push_back(attachment.id);
                        field->text = attachment.id;
                        itemAttachments.push_back(std::move(attachment));
                        ++field;
                    }
                }
            } catch (const Foundation::Error& error) {
                if (const auto* importerError = dynamic_cast<const ImporterError*>(&error); importerError && importerError->is<ImporterError::Cancelled>())
                    throw;
                std::vector<Foundation::String> itemAttachmentIDs;
                for (const auto& attachment : itemAttachments)
                    itemAttachmentIDs.push_back(attachment.id);
                m_attachmentDataStore->deleteData(itemAttachmentIDs);
                addFailure(itemFailures, itemFailure(entry, error));
                continue;
            }
            attachments.insert(attachments.end(), std::make_move_iterator(itemAttachments.begin()), std::make_move_iterator(itemAttachments.end()));
            entries.push_back(std::move(entry));
        }
        imported += static_cast<std::int64_t>(entries.size());
        part.items.clear();
        sink.add(entries, attachments);
    };
    try {
        m_recordStore->insertEntryBatches([&](RecordSource::BatchSink& sink) {
            ImportReader::read(fileFormat, fileURL, attachmentsURL, workFolder.url(), readProgress, [&](ImportReadResult& part) { takePart(part, sink); });
            checkCancellation();
        });
    } catch (...) {
        // Nothing was added: the files taken in for the items go again.
        m_attachmentDataStore->deleteData(storedAttachmentIDs);
        throw;
    }
    progress.setCompletedUnitCount(progressUnits);
    report.importedCount = imported;
    std::move(itemFailures.begin(), itemFailures.end(), std::back_inserter(report.failures));
    if (unlistedFailures > 0)
        report.failures.emplace_back(std::to_string(unlistedFailures) + " more items could not be imported; only the first "
                                     + std::to_string(maximumFailureCount) + " are listed.");
    return report;
}

} // namespace Shared
