#include "Shared/Exporter.hpp"

#include "Shared/DispatchQueue.hpp"
#include "Shared/ExportWriter.hpp"
#include "Shared/ExporterError.hpp"
#include "Shared/VaultDocument.hpp"

#include "Basalwork/Base/CSVWriter.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace Shared {

namespace {

namespace fs = std::filesystem;

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("Shared", "Exporter");
    return logger;
}

// A hidden owner-only folder inside the destination, where the export is put together. Whatever is
// still in it when it goes (a cancelled or failed export) goes with it.
class Staging {
public:
    explicit Staging(const fs::path& folder)
        : m_folder(folder)
        , m_path(folder / (".Corvendale Export " + Foundation::UUID().uuidString().utf8() + ".partial"))
    {
        struct stat status {};
        if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
            throw ExporterError::folderNotWritable(Foundation::String(folder.string()), "the folder does not exist");
        if (::mkdir(m_path.c_str(), 0700) != 0)
            throw ExporterError::folderNotWritable(Foundation::String(folder.string()), Foundation::String(std::strerror(errno)));
    }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;
    ~Staging()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

    // Moves the file (and the folder beside it) into the destination under names not yet taken.
    fs::path commit(const std::string& baseName, const std::string& extension, bool hasFolder)
    {
        std::string name = baseName;
        for (int attempt = 2; fs::exists(m_folder / (name + "." + extension)) || (hasFolder && fs::exists(m_folder / name)); ++attempt)
            name = baseName + " " + std::to_string(attempt);
        auto file = m_folder / (name + "." + extension);
        if (hasFolder && ::rename((m_path / baseName).c_str(), (m_folder / name).c_str()) != 0)
            throw ExporterError::folderNotWritable(Foundation::String(m_folder.string()), Foundation::String(std::strerror(errno)));
        if (::rename((m_path / (baseName + "." + extension)).c_str(), file.c_str()) != 0) {
            int error = errno;
            if (hasFolder)
                ::rename((m_folder / name).c_str(), (m_path / baseName).c_str());
            throw ExporterError::folderNotWritable(Foundation::String(m_folder.string()), Foundation::String(std::strerror(error)));
        }
        Foundation::FileIO::sync(m_folder.string());
        return file;
    }

private:
    fs::path m_folder;
    fs::path m_path;
};

std::string exportBaseName()
{
    auto seconds = static_cast<std::time_t>(Foundation::Date::now().timeIntervalSinceReferenceDate() + Foundation::Date::timeIntervalBetween1970AndReferenceDate);
    std::tm time {};
    localtime_r(&seconds, &time);
    char buffer[64];
    std::strftime(buffer, sizeof buffer, "Corvendale Export %Y-%m-%d %H.%M.%S", &time);
    return buffer;
}

void writeOwnerOnly(const fs::path& path, std::string_view contents)
{
    Foundation::FileIO::writeFile(path.string(), Foundation::Data::fromString(contents), true);
    ::chmod(path.c_str(), 0600);
}

} // namespace

const Foundation::Notification::Name& Exporter::exporterDidUpdateExportStatus()
{
    static const auto& name = *new Foundation::Notification::Name("exporterDidUpdateExportStatus");
    return name;
}

Exporter::Exporter(std::shared_ptr<Foundation::NotificationCenter> notificationCenter, std::shared_ptr<RecordSource> recordStore,
                   AppExecutionContext appExecutionContext, std::shared_ptr<Foundation::FileManager> fileManager)
    : m_notificationCenter(std::move(notificationCenter))
    , m_recordStore(std::move(recordStore))
    , m_appExecutionContext(std::move(appExecutionContext))
    , m_fileManager(std::move(fileManager))
{
}

void Exporter::setStatus(Status status)
{
    m_status = std::move(status);
    m_notificationCenter->post(exporterDidUpdateExportStatus(), sharedSelf(this));
}

void Exporter::exportItems(FileFormat fileFormat, const Foundation::URL& folderURL)
{
    if (m_status.is<Status::InProgress>())
        return;
    auto progress = Foundation::make<Foundation::Progress>(0);
    setStatus(Status::inProgress(fileFormat, progress));
    std::weak_ptr<Exporter> weak = sharedSelf(this);
    auto self = sharedSelf(this);
    Foundation::DispatchQueue::global(Foundation::DispatchQoS::QoSClass::userInitiated)->async([self, weak, fileFormat, folderURL, progress] {
        std::optional<Report> report;
        Foundation::ErrorPtr error;
        try {
            report = self->runExport(fileFormat, folderURL, *progress);
        } catch (const Foundation::Error& caught) {
            error = caught.clone();
        } catch (const std::exception& caught) {
            error = ExporterError::folderNotWritable(folderURL.path(), caught.what()).clone();
        }
        Foundation::DispatchQueue::main()->async([weak, fileFormat, report, error] {
            auto exporter = weak.lock();
            if (!exporter)
                return;
            if (report) {
                log().notice("Exported %{public}@ items", std::to_string(report->exportedCount));
                exporter->setStatus(Status::completed(*report));
            } else {
                log().error("The export failed: %{public}@", error->domain());
                exporter->setStatus(Status::failed(fileFormat, error));
            }
        });
    });
}

void Exporter::resetStatus()
{
    if (m_status.is<Status::InProgress>() || m_status.is<Status::Idle>())
        return;
    setStatus(Status::idle());
}

Exporter::Report Exporter::runExport(FileFormat fileFormat, const Foundation::URL& folderURL, Foundation::Progress& progress) const
{
    auto checkCancellation = [&] {
        if (progress.isCancelled())
            throw ExporterError::cancelled();
    };
    Staging staging(fs::path(folderURL.path().utf8()));
    auto entries = m_recordStore->allEntries();
    // Only this program's files keep the trash.
    if (!includesAttachments(fileFormat))
        std::erase_if(entries, [](const Entry& entry) { return entry.isTrashed(); });
    progress.setTotalUnitCount(static_cast<std::int64_t>(entries.size()) + 1);
    Report report {fileFormat, 0, {}};
    auto baseName = exportBaseName();
    auto extension = pathExtension(fileFormat).utf8();
    auto file = staging.path() / (baseName + "." + extension);

    std::vector<Attachment> writtenAttachments;
    if (includesAttachments(fileFormat)) {
        auto attachments = m_recordStore->allAttachments();
        auto attachmentsFolder = staging.path() / baseName;
        ::mkdir(attachmentsFolder.c_str(), 0700);
        for (const auto& entry : entries) {
            for (const auto& section : entry.sections) {
                for (const auto& field : section.fields) {
                    if (field.category != EntryFieldCategory::attachment)
                        continue;
                    checkCancellation();
                    try {
                        auto decrypted = m_recordStore->decryptAttachmentToTemporaryFile(field.text);
                        auto folder = attachmentsFolder / field.text.utf8();
                        ::mkdir(folder.c_str(), 0700);
                        auto destination = folder / decrypted.lastPathComponent().utf8();
                        std::error_code error;
                        fs::copy_file(decrypted.path().utf8(), destination, error);
                        fs::remove_all(fs::path(decrypted.path().utf8()).parent_path(), error);
                        if (!fs::exists(destination))
                            throw ExporterError::folderNotWritable(Foundation::String(destination.string()), "the attachment could not be copied");
                        ::chmod(destination.c_str(), 0600);
                        auto described = std::find_if(attachments.begin(), attachments.end(), [&](const Attachment& a) { return a.id == field.text; });
                        if (described != attachments.end())
                            writtenAttachments.push_back(*described);
                    } catch (const ExporterError& error) {
                        if (error.is<ExporterError::Cancelled>())
                            throw;
                        report.failures.push_back(Foundation::String("Item (" + entry.title.utf8().substr(0, 80) + "): an attachment could not be exported: " + error.description()));
                    } catch (const Foundation::Error& error) {
                        report.failures.push_back(Foundation::String("Item (" + entry.title.utf8().substr(0, 80) + "): an attachment could not be exported: " + error.description()));
                    }
                }
            }
        }
    }

    std::int64_t done = 0;
    auto step = [&] {
        if ((++done & 0xff) == 0) {
            checkCancellation();
            progress.setCompletedUnitCount(done);
        }
    };
    // Items are written on every core, a batch at a time, and go into the file in their order.
    constexpr std::size_t batch = 2048;
    if (fileFormat == FileFormat::corvendaleJSON || fileFormat == FileFormat::plainText) {
        std::string out;
        if (fileFormat == FileFormat::corvendaleJSON)
            VaultDocument::beginJSON(out);
        for (std::size_t start = 0; start < entries.size(); start += batch) {
            std::vector<std::string> pieces(std::min(batch, entries.size() - start));
            concurrentPerform(pieces.size(), [&](std::size_t i) {
                if (fileFormat == FileFormat::corvendaleJSON)
                    VaultDocument::appendJSONItem(pieces[i], entries[start + i], start + i == 0);
                else
                    ExportWriter::appendText(pieces[i], entries[start + i]);
            });
            for (const auto& piece : pieces) {
                step();
                out += piece;
            }
        }
        if (fileFormat == FileFormat::corvendaleJSON)
            VaultDocument::endJSON(out, writtenAttachments);
        checkCancellation();
        writeOwnerOnly(file, out);
    } else {
        std::vector<Basalwork::CSVRow> rows(entries.size());
        for (std::size_t start = 0; start < entries.size(); start += batch) {
            const auto count = std::min(batch, entries.size() - start);
            concurrentPerform(count, [&](std::size_t i) { rows[start + i] = ExportWriter::csvRow(fileFormat, entries[start + i]); });
            for (std::size_t i = 0; i < count; ++i)
                step();
        }
        checkCancellation();
        Basalwork::CSVWriter::write(Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false), ExportWriter::csvColumnLabels(fileFormat),
                                    rows, Foundation::Character(U','));
        ::chmod(file.c_str(), 0600);
    }
    checkCancellation();
    staging.commit(baseName, extension, includesAttachments(fileFormat));
    progress.setCompletedUnitCount(progress.totalUnitCount());
    report.exportedCount = static_cast<std::int64_t>(entries.size());
    return report;
}

// MARK: - Apps and formats

Foundation::String name(ExporterApp app)
{
    return titleText(app);
}

std::vector<ExporterFileFormat> availableFileFormats(ExporterApp app)
{
    switch (app) {
    case ExporterApp::corvendale: return {ExporterFileFormat::corvendaleJSON, ExporterFileFormat::corvendaleCSV};
    case ExporterApp::bitwarden: return {ExporterFileFormat::bitwardenCSV};
    case ExporterApp::keePassXC: return {ExporterFileFormat::keePassXCCSV};
    case ExporterApp::textFile: return {ExporterFileFormat::plainText};
    }
    return {};
}

ExporterApp app(ExporterFileFormat format)
{
    switch (format) {
    case ExporterFileFormat::corvendaleJSON:
    case ExporterFileFormat::corvendaleCSV: return ExporterApp::corvendale;
    case ExporterFileFormat::bitwardenCSV: return ExporterApp::bitwarden;
    case ExporterFileFormat::keePassXCCSV: return ExporterApp::keePassXC;
    case ExporterFileFormat::plainText: return ExporterApp::textFile;
    }
    return ExporterApp::textFile;
}

Foundation::String titleText(ExporterFileFormat format)
{
    return Setting<ExporterFileFormat>::cases[static_cast<std::size_t>(format)].title;
}

Foundation::String associatedAppName(ExporterFileFormat format)
{
    return name(app(format));
}

Foundation::String pathExtension(ExporterFileFormat format)
{
    switch (format) {
    case ExporterFileFormat::corvendaleJSON: return "json";
    case ExporterFileFormat::plainText: return "txt";
    default: return "csv";
    }
}

bool includesAttachments(ExporterFileFormat format)
{
    return format == ExporterFileFormat::corvendaleJSON || format == ExporterFileFormat::corvendaleCSV;
}

} // namespace Shared
