#pragma once

#include "Shared/Transfer/ImportedItem.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

#include <string_view>

namespace Shared {

// Reads the JSON exports (Bitwarden, Enpass, Keeper), 1Password's interchange format (JSON records
// between separator lines) and the item data of a 1PUX archive.
class JSONImportReader {
public:
    // The largest JSON file read.
    static constexpr std::int64_t maximumFileSize = 512LL * 1024 * 1024;

    static bool isJSON(ImporterFileFormat format);
    // The items go to `deliver` a part at a time as they are read.
    static void read(ImporterFileFormat format, const Foundation::URL& fileURL, const ImportReadProgress& progress, const ImportReadDelivery& deliver);
    // The "export.data" document of a 1PUX archive, extracted to `dataURL`; `fileNamed` gives the
    // extracted file of a document by its identifier and name, when the archive has it.
    static void read1PUXData(const Foundation::URL& dataURL,
                             const std::function<std::optional<Foundation::URL>(std::string_view documentID, std::string_view fileName)>& fileNamed,
                             const ImportReadProgress& progress, const ImportReadDelivery& deliver);
};

} // namespace Shared
