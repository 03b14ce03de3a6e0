#pragma once

#include "Shared/ImportedItem.hpp"
#include "Shared/Importer.FileFormat.hpp"

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
};

} // namespace Shared
