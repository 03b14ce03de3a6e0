#include "Shared/Transfer/ImportReader.hpp"

#include "Shared/Transfer/CSVImportReader.hpp"
#include "Shared/Transfer/ImportFile.hpp"
#include "Shared/Transfer/ImporterError.hpp"
#include "Shared/Transfer/JSONImportReader.hpp"
#include "Shared/Transfer/VaultDocument.hpp"
#include "Shared/Transfer/XMLImportReader.hpp"
#include "Shared/Transfer/ZipArchive.hpp"

#include "Platform/Foundation/FileIO.hpp"

#include <filesystem>
#include <iterator>
#include <sys/stat.h>

namespace Shared {

namespace {

using F = ImporterFileFormat;

constexpr std::uint64_t maximum1PUXDataSize = JSONImportReader::maximumFileSize;
constexpr std::uint64_t maximum1PUXFileSize = 512ULL * 1024 * 1024;

// The item data is extracted beside the attachments and read from there a part at a time.
void read1PUX(const Foundation::URL& fileURL, const Foundation::URL& workFolder, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    ZipArchive archive(fileURL);
    if (!archive.contains("export.data"))
        throw ImporterError::invalidFile("it is not a 1PUX archive: export.data is missing");
    auto dataURL = workFolder.appendingPathComponent("export.data", false);
    archive.extract("export.data", dataURL, maximum1PUXDataSize);
    std::int64_t fileCount = 0;
    JSONImportReader::read1PUXData(
        dataURL,
        [&](std::string_view documentID, std::string_view fileName) -> std::optional<Foundation::URL> {
            std::string entry = "files/" + std::string(documentID) + "__" + std::string(fileName);
            if (documentID.empty() || !archive.contains(entry))
                return std::nullopt;
            std::string name(fileName);
            if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
                name = "Attachment";
            auto folder = workFolder.appendingPathComponent(Foundation::String(std::to_string(++fileCount)), true);
            ::mkdir(folder.path().c_str(), Foundation::FileIO::ownerOnlyDirectoryMode); // a failure shows as the write below fails
            auto destination = folder.appendingPathComponent(Foundation::String(name), false);
            archive.extract(entry, destination, maximum1PUXFileSize);
            return destination;
        },
        progress, deliver);
}

// This program's exports name each attachment by its identifier; the files lie in the folder beside.
void attachFiles(ImportReadResult& result, const std::optional<Foundation::URL>& attachmentsFolder)
{
    for (auto& item : result.items) {
        for (auto& section : item.entry.sections) {
            for (auto& field : section.fields) {
                if (field.category != EntryFieldCategory::attachment || !attachmentsFolder)
                    continue;
                if (auto file = VaultDocument::attachmentFileURL(*attachmentsFolder, field.text))
                    item.attachments.push_back({field.text, *file});
            }
        }
    }
}

} // namespace

ImportReadResult ImportReader::read(ImporterFileFormat format, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsFolder,
                                    const Foundation::URL& workFolder, const ImportReadProgress& progress)
{
    ImportReadResult result;
    read(format, fileURL, attachmentsFolder, workFolder, progress, [&](ImportReadResult& part) {
        if (result.items.empty() && result.failures.empty()) {
            result = std::move(part);
            return;
        }
        std::move(part.items.begin(), part.items.end(), std::back_inserter(result.items));
        std::move(part.failures.begin(), part.failures.end(), std::back_inserter(result.failures));
    });
    return result;
}

void ImportReader::read(ImporterFileFormat format, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsFolder,
                        const Foundation::URL& workFolder, const ImportReadProgress& progress, const ImportReadDelivery& deliver)
{
    if (auto reason = unsupportedReason(format))
        throw ImporterError::unsupportedFileFormat(titleText(format), *reason);
    ImportFile::check(fileURL);
    if (format == F::onePassword1PUX)
        return read1PUX(fileURL, workFolder, progress, deliver);
    if (XMLImportReader::isXML(format))
        return XMLImportReader::read(format, fileURL, workFolder, progress, deliver);
    if (!JSONImportReader::isJSON(format) && !CSVImportReader::isCSV(format) && format != F::corvendaleCSV)
        throw ImporterError::unsupportedFileFormat(titleText(format), "the importer has no reader for it");
    bool attaches = acceptsAttachmentsFolder(format);
    auto withFiles = [&](ImportReadResult& part) {
        if (attaches)
            attachFiles(part, attachmentsFolder);
        deliver(part);
    };
    if (JSONImportReader::isJSON(format))
        return JSONImportReader::read(format, fileURL, progress, withFiles);
    auto rest = format == F::corvendaleCSV ? VaultDocument::readCSV(fileURL, progress, withFiles) : CSVImportReader::read(format, fileURL, progress, withFiles);
    if (!rest.items.empty() || !rest.failures.empty())
        withFiles(rest);
}

} // namespace Shared
