#include "Shared/Transfer/Exporter.hpp"

#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Transfer/ExportWriter.hpp"
#include "Shared/Transfer/ExporterError.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

#include "Basalwork/Base/CSVWriter.hpp"

#include "Platform/Foundation/CocoaError.hpp"
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
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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

// The exported file, readable by its owner only, written as it is made: what is laid out goes to the
// file once there is enough of it. It is flushed to disk when closed; one that is not closed is left
// to the staging folder to remove.
class OutputFile {
public:
    explicit OutputFile(fs::path path)
        : m_path(std::move(path))
        , m_descriptor(::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600))
    {
        if (m_descriptor < 0)
            fail(errno);
        m_text.reserve(bufferSize + bufferSize / 4);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }

    std::string& text() { return m_text; }
    // Writes what is laid out once there is enough of it.
    void flushIfFull()
    {
        if (m_text.size() >= bufferSize)
            flush();
    }
    void close()
    {
        flush();
        int descriptor = std::exchange(m_descriptor, -1);
        if (::fsync(descriptor) != 0 && errno != EINVAL) {
            int error = errno;
            ::close(descriptor);
            fail(error);
        }
        if (::close(descriptor) != 0)
            fail(errno);
    }

private:
    static constexpr std::size_t bufferSize = 1 << 20;

    void flush()
    {
        if (Foundation::FileIO::writeAll(m_descriptor, m_text.data(), m_text.size()) < 0)
            fail(errno);
        m_written += static_cast<off_t>(m_text.size());
        m_text.clear();
        // What is written starts on its way to the disk now, so that closing has little left to wait for.
        ::sync_file_range(m_descriptor, m_started, m_written - m_started, SYNC_FILE_RANGE_WRITE);
        m_started = m_written;
    }
    [[noreturn]] void fail(int error) const { throw Foundation::CocoaError::fileError(error, m_path.string(), Foundation::CocoaError::Access::writing); }

    fs::path m_path;
    int m_descriptor;
    std::string m_text;
    off_t m_written = 0;
    off_t m_started = 0;
};

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
    Report report {fileFormat, 0, {}};
    auto baseName = exportBaseName();
    auto extension = pathExtension(fileFormat).utf8();
    auto attachmentsFolder = staging.path() / baseName;
    // Only this program's files keep the trash, and the attachments.
    const bool withAttachments = includesAttachments(fileFormat);
    const bool isCSV = fileFormat != FileFormat::corvendaleJSON && fileFormat != FileFormat::plainText;
    const Foundation::Character delimiter(U',');
    OutputFile file(staging.path() / (baseName + "." + extension));

    std::vector<Attachment> attachments;
    std::vector<Attachment> writtenAttachments;
    auto writeAttachments = [&](const Entry& entry) {
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
    };

    if (fileFormat == FileFormat::corvendaleJSON)
        VaultDocument::beginJSON(file.text());
    else if (isCSV)
        Basalwork::CSVWriter::appendLabels(file.text(), ExportWriter::csvColumnLabels(fileFormat), delimiter);
    std::int64_t done = 0;
    std::optional<Basalwork::CSVRow> lastRow;
    // The items come a batch at a time and are laid out on every core, a part at a time; the parts go
    // into the file in their order.
    constexpr std::size_t part = 2048;
    std::vector<std::string> pieces(part);
    std::vector<Basalwork::CSVRow> rows(part);
    m_recordStore->readEntries(
        withAttachments,
        [&](std::size_t count) {
            progress.setTotalUnitCount(static_cast<std::int64_t>(count) + 1);
            if (withAttachments) {
                std::vector<Foundation::String> unreadable;
                attachments = m_recordStore->allAttachments(&unreadable);
                report.failures.insert(report.failures.end(), unreadable.begin(), unreadable.end());
                ::mkdir(attachmentsFolder.c_str(), 0700);
            }
        },
        [&](std::vector<Entry>& entries) {
            if (withAttachments) {
                for (const auto& entry : entries)
                    writeAttachments(entry);
            }
            for (std::size_t start = 0; start < entries.size(); start += part) {
                const auto count = std::min(part, entries.size() - start);
                const auto first = static_cast<std::size_t>(done);
                concurrentPerform(count, [&](std::size_t i) {
                    auto& piece = pieces[i];
                    piece.clear();
                    const auto& entry = entries[start + i];
                    if (fileFormat == FileFormat::corvendaleJSON) {
                        VaultDocument::appendJSONItem(piece, entry, first + i == 0);
                    } else if (fileFormat == FileFormat::plainText) {
                        ExportWriter::appendText(piece, entry);
                    } else {
                        rows[i] = ExportWriter::csvRow(fileFormat, entry);
                        Basalwork::CSVWriter::appendRow(piece, rows[i], first + i == 0, delimiter);
                    }
                });
                for (std::size_t i = 0; i < count; ++i) {
                    file.text() += pieces[i];
                    if ((++done & 0xff) == 0) {
                        checkCancellation();
                        progress.setCompletedUnitCount(done);
                    }
                }
                if (isCSV)
                    lastRow = std::move(rows[count - 1]);
                file.flushIfFull();
            }
        });
    if (fileFormat == FileFormat::corvendaleJSON)
        VaultDocument::endJSON(file.text(), writtenAttachments);
    else if (isCSV)
        Basalwork::CSVWriter::appendEnd(file.text(), lastRow ? &*lastRow : nullptr);
    checkCancellation();
    file.close();
    checkCancellation();
    staging.commit(baseName, extension, withAttachments);
    progress.setCompletedUnitCount(progress.totalUnitCount());
    report.exportedCount = done;
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
