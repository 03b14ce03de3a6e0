#include "Shared/ImportReader.hpp"

#include "Shared/CSVImportReader.hpp"
#include "Shared/ImporterError.hpp"
#include "Shared/JSONImportReader.hpp"
#include "Shared/VaultDocument.hpp"
#include "Shared/XMLImportReader.hpp"
#include "Shared/ZipArchive.hpp"

#include <filesystem>

namespace Shared {

namespace {

using F = ImporterFileFormat;

constexpr std::uint64_t maximum1PUXDataSize = 512ULL * 1024 * 1024;
constexpr std::uint64_t maximum1PUXFileSize = 512ULL * 1024 * 1024;

ImportReadResult read1PUX(const Foundation::URL& fileURL, const Foundation::URL& workFolder, const ImportReadProgress& progress)
{
    ZipArchive archive(fileURL);
    if (!archive.contains("export.data"))
        throw ImporterError::invalidFile("it is not a 1PUX archive: export.data is missing");
    auto data = archive.read("export.data", maximum1PUXDataSize);
    std::int64_t fileCount = 0;
    return JSONImportReader::read1PUXData(
        data,
        [&](std::string_view documentID, std::string_view fileName) -> std::optional<Foundation::URL> {
            std::string entry = "files/" + std::string(documentID) + "__" + std::string(fileName);
            if (documentID.empty() || !archive.contains(entry))
                return std::nullopt;
            std::string name(fileName);
            if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
                name = "Attachment";
            auto folder = workFolder.appendingPathComponent(Foundation::String(std::to_string(++fileCount)), true);
            std::filesystem::create_directory(folder.path().utf8());
            auto destination = folder.appendingPathComponent(Foundation::String(name), false);
            archive.extract(entry, destination, maximum1PUXFileSize);
            return destination;
        },
        progress);
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
    if (auto reason = unsupportedReason(format))
        throw ImporterError::unsupportedFileFormat(titleText(format), *reason);
    if (format == F::onePassword1PUX)
        return read1PUX(fileURL, workFolder, progress);
    if (XMLImportReader::isXML(format))
        return XMLImportReader::read(format, fileURL, workFolder, progress);
    ImportReadResult result;
    if (JSONImportReader::isJSON(format))
        result = JSONImportReader::read(format, fileURL, progress);
    else if (CSVImportReader::isCSV(format))
        result = CSVImportReader::read(format, fileURL, progress);
    else
        throw ImporterError::unsupportedFileFormat(titleText(format), "the importer has no reader for it");
    if (acceptsAttachmentsFolder(format))
        attachFiles(result, attachmentsFolder);
    return result;
}

} // namespace Shared
