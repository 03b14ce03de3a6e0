#pragma once

#include "Shared/Transfer/ImportedItem.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

#include <optional>

namespace Shared {

// Reads an export file of any known format into items, with the files that come with them. Extracted
// and unpacked files go to `workFolder`, which the caller removes. Throws ImporterError (a format
// that cannot be read is `unsupportedFileFormat`), CSVParserError for a missing column label, or the
// system's error for a file that cannot be opened.
class ImportReader {
public:
    static ImportReadResult read(ImporterFileFormat format, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsFolder,
                                 const Foundation::URL& workFolder, const ImportReadProgress& progress);
    // The same, handed to `deliver` a part at a time as it is read (CSV exports a few thousand rows at a
    // time, the others whole), each part with the failures met on the way.
    static void read(ImporterFileFormat format, const Foundation::URL& fileURL, const std::optional<Foundation::URL>& attachmentsFolder,
                     const Foundation::URL& workFolder, const ImportReadProgress& progress, const ImportReadDelivery& deliver);
};

} // namespace Shared
